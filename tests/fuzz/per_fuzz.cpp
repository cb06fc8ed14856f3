// SPDX-License-Identifier: Apache-2.0
// Fuzz target: the PER walker over each top-level PDU type of the tables.
// Octet 0 picks the type (S1AP-PDU, NGAP-PDU, UL-DCCH, DL-DCCH, UL-CCCH,
// DL-CCCH-Message); the rest, a heap block of its exact size, is walked
// twice: wholly (the contents of CONTAINING strings too, fragments
// reassembled), and with every third constructed element skipped and the
// walk stopped at a point the input picks.  Every span the visitor is
// given must lie in the encoding or in the scratch area, and is read
// through (the sanitizers check each octet).
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "per/per_ngap.h"
#include "per/per_rrc.h"
#include "per/per_s1ap.h"
#include "per/walker.h"

namespace {

using namespace corvuna::per;

struct Target {
    const Module* module;
    TypeId type;
};

const Target kTargets[] = {
    {&s1ap::kModule, s1ap::type::S1AP_PDU},        {&ngap::kModule, ngap::type::NGAP_PDU},
    {&rrc::kModule, rrc::type::UL_DCCH_Message}, {&rrc::kModule, rrc::type::DL_DCCH_Message},
    {&rrc::kModule, rrc::type::UL_CCCH_Message}, {&rrc::kModule, rrc::type::DL_CCCH_Message},
};

class Checker : public Visitor {
public:
    Checker(const uint8_t* data, size_t size, const std::vector<uint8_t>& scratch, bool skipSome, size_t stopAfter)
        : data_(data), size_(size), scratch_(scratch), skipSome_(skipSome), stopAfter_(stopAfter) {}

    Action Enter(const Walker& w, const Field& f) override {
        Check(w, f);
        if (++events_ == stopAfter_) return Action::kStop;
        return skipSome_ && events_ % 3 == 0 ? Action::kSkip : Action::kDescend;
    }

    Action Primitive(const Walker& w, const Field& f, const Value& v) override {
        Check(w, f);
        if (v.bits.bits > 0) {
            const bool inInput = v.bits.data == data_ && v.bits.bit + v.bits.bits <= size_ * 8;
            const bool inScratch =
                v.bits.data == scratch_.data() && v.bits.bit + v.bits.bits <= scratch_.size() * 8;
            if (!inInput && !inScratch) abort();
            std::vector<uint8_t> copy(v.bits.octets());
            if (v.bits.CopyOctets(copy.data(), copy.size()) != copy.size()) abort();
            (void)v.bits.Value(0, v.bits.bits < 64 ? static_cast<unsigned>(v.bits.bits) : 64);
        }
        if (v.kind == Kind::kEnumerated && !v.extended && v.text == nullptr) abort();
        if (++events_ == stopAfter_) return Action::kStop;
        return Action::kDescend;
    }

private:
    void Check(const Walker& w, const Field& f) {
        if (w.depth() < 1 || w.depth() > Walker::kMaxDepth) abort();
        if (f.type != kNoType && f.type >= w.module().typeCount) abort();
        char path[96];
        if (w.Path(path, sizeof path) >= sizeof path) abort();
    }

    const uint8_t* data_;
    size_t size_;
    const std::vector<uint8_t>& scratch_;
    bool skipSome_;
    size_t stopAfter_;
    size_t events_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const Target& target = kTargets[data[0] % (sizeof kTargets / sizeof kTargets[0])];
    const size_t n = size - 1;
    std::unique_ptr<uint8_t[]> encoding(new uint8_t[n == 0 ? 1 : n]);
    for (size_t i = 0; i < n; ++i) encoding[i] = data[1 + i];
    std::vector<uint8_t> scratch(256 * 1024);
    for (int pass = 0; pass < 2; ++pass) {
        Checker checker(encoding.get(), n, scratch, pass == 1, pass == 1 ? 1 + data[0] / 6 : 0);
        Walker walker(*target.module, checker);
        walker.SetScratch(scratch.data(), scratch.size());
        const Result r = walker.Walk(target.type, encoding.get(), n);
        if (r.status == Status::kMalformed && (r.reason == nullptr || *r.reason == '\0')) abort();
        if (r.bit > n * 8) abort();
    }
    return 0;
}
