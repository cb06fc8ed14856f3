// SPDX-License-Identifier: Apache-2.0
// The PER walker on the real captures beside the project: every S1AP PDU
// of ../shared/captures and every NGAP PDU of the 5G captures decoded
// whole (the octet strings that say what they contain decoded too), and
// the LTE RRC PDUs that the rayhunter captures carry in GSMTAP decoded by
// the RRC extraction, whose NAS PDUs must be tshark's of the same frames.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "capture/capture_file.h"
#include "capture/frames.h"
#include "capture/rrc.h"
#include "per/per_ngap.h"
#include "per/per_s1ap.h"
#include "per/walker.h"

namespace corvuna::test {
namespace {

namespace fs = std::filesystem;

const fs::path kShared = fs::path(CORVUNA_SOURCE_DIR) / ".." / "shared";

// Walks everything, the contents of CONTAINING strings too.
class Everything : public per::Visitor {
public:
    per::Action Primitive(const per::Walker&, const per::Field&, const per::Value&) override {
        ++values;
        return per::Action::kDescend;
    }
    size_t values = 0;
};

// Calls `each(frame number, link type, octets)` for every frame of `path`.
template <typename Each>
bool ForEachFrame(const fs::path& path, Each each) {
    capture::CaptureFile file;
    std::string error;
    if (!file.Open(path.string(), error)) {
        ADD_FAILURE() << path << ": " << error;
        return false;
    }
    capture::CapturedFrame frame;
    while (file.Next(frame, error) == 1) each(frame.number, file.linkType(), frame);
    return true;
}

TEST(CapturePer, EveryS1apAndNgapPduOfTheRealCapturesDecodes) {
    if (!fs::exists(kShared / "captures")) GTEST_SKIP() << "the real captures (../shared/captures) are not there";
    std::vector<fs::path> captures;
    for (const auto& entry : fs::directory_iterator(kShared / "captures")) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".pcap" || ext == ".pcapng") captures.push_back(entry.path());
    }
    if (fs::exists(kShared / "captures-5g" / "ngap_o5gs_roaming_hr.pcapng")) {
        captures.push_back(kShared / "captures-5g" / "ngap_o5gs_roaming_hr.pcapng");
    }
    size_t s1ap = 0, ngap = 0, failed = 0;
    for (const fs::path& path : captures) {
        capture::FrameDecoder decoder;
        if (path.filename().string().find("dlt150") != std::string::npos) {
            decoder.SetUserPayload(150, capture::UserPayload::kS1ap);
        }
        ForEachFrame(path, [&](uint64_t number, int type, const capture::CapturedFrame& frame) {
            decoder.Decode(type, frame.data, frame.wireLength);
            for (const auto& m : decoder.apPdus()) {
                const bool isS1ap = m.protocol == capture::ApProtocol::kS1ap;
                const per::Module& module = isS1ap ? per::s1ap::kModule : per::ngap::kModule;
                Everything visitor;
                per::Walker walker(module, visitor);
                const per::Result r = walker.Walk(isS1ap ? per::s1ap::type::S1AP_PDU : per::ngap::type::NGAP_PDU,
                                                  m.pdu.data, m.pdu.size);
                (isS1ap ? s1ap : ngap) += 1;
                if (r.status != per::Status::kOk) {
                    ++failed;
                    ADD_FAILURE() << path.filename() << " frame " << number << ": " << per::StatusName(r.status)
                                  << ", " << r.reason << " at bit " << r.bit << " in " << r.path;
                }
                EXPECT_GT(visitor.values, 3u);
            }
        });
    }
    std::printf("[ per      ] %zu S1AP and %zu NGAP PDUs of %zu captures walked whole, %zu failed\n", s1ap, ngap,
                captures.size(), failed);
    // tshark finds 2826 S1AP and NGAP PDUs in these captures: these, and one
    // of s1ap_o5gs_ims_reg in IP fragments (IP reassembly is not done).
    EXPECT_GE(s1ap, 1479u);
    EXPECT_GE(ngap, 1346u);
}

// The GSMTAP LTE RRC PDUs (GSMTAP type 0x0D) of a raw IPv4 capture:
// frame number, channel (the GSMTAP subtype: 0 DL-CCCH, 1 DL-DCCH, 2
// UL-CCCH, 3 UL-DCCH), octets.
struct RrcPdu {
    uint64_t frame;
    capture::RrcChannel channel;
    std::vector<uint8_t> octets;
};

std::vector<RrcPdu> GsmtapRrc(const fs::path& path) {
    std::vector<RrcPdu> out;
    ForEachFrame(path, [&](uint64_t number, int type, const capture::CapturedFrame& frame) {
        const capture::Bytes ip = frame.data;
        if (type != 228 || ip.size < 20 || ip.At(9) != 17) return;
        const capture::Bytes udp = ip.From(static_cast<size_t>(ip.At(0) & 0x0F) * 4);
        if (udp.Be16(0) != 4729 && udp.Be16(2) != 4729) return;
        const capture::Bytes gsmtap = udp.From(8);
        if (gsmtap.At(0) != 2 || gsmtap.At(2) != 0x0D || gsmtap.At(12) > 3) return;
        static constexpr capture::RrcChannel kChannels[] = {capture::RrcChannel::kDlCcch, capture::RrcChannel::kDlDcch,
                                                            capture::RrcChannel::kUlCcch, capture::RrcChannel::kUlDcch};
        const capture::Bytes rrc = gsmtap.From(static_cast<size_t>(gsmtap.At(1)) * 4);
        out.push_back({number, kChannels[gsmtap.At(12)], std::vector<uint8_t>(rrc.data, rrc.data + rrc.size)});
    });
    return out;
}

std::string Hex(capture::Bytes b) {
    std::string text;
    char two[3];
    for (size_t i = 0; i < b.size; ++i) {
        std::snprintf(two, sizeof two, "%02x", b.data[i]);
        text += two;
    }
    return text;
}

TEST(CapturePer, RrcOfTheGsmtapCapturesGivesTsharksNasPdus) {
    if (!fs::exists(kShared / "captures")) GTEST_SKIP() << "the real captures (../shared/captures) are not there";
    size_t pdus = 0, nas = 0;
    std::map<std::string, size_t> names;
    for (const char* stem : {"gsmtap_rayhunter_goodsim", "gsmtap_rayhunter_deadsim"}) {
        // tshark's NAS PDUs of LTE RRC, by frame, in order.
        std::map<uint64_t, std::vector<std::string>> expected;
        std::ifstream listing(kShared / "captures" / (std::string(stem) + ".nas.tsv"));
        for (std::string line; std::getline(listing, line);) {
            std::vector<std::string> f;
            std::istringstream fields(line);
            for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
            if (line.empty() || line[0] == '#' || f.size() < 8 || f[7].rfind("lte_rrc", 0) != 0) continue;
            expected[std::stoull(f[0])].push_back(f[3]);
        }
        std::map<uint64_t, std::vector<std::string>> got;
        capture::RrcMessage m;
        for (const RrcPdu& p : GsmtapRrc(kShared / "captures" / (std::string(stem) + ".pcapng"))) {
            ++pdus;
            const capture::RrcResult r =
                capture::DecodeRrc(p.channel, capture::Bytes{p.octets.data(), p.octets.size()}, m);
            EXPECT_EQ(r, capture::RrcResult::kOk) << stem << " frame " << p.frame << ": " << m.problem;
            ++names[m.name];
            for (size_t i = 0; i < m.nasCount(); ++i) got[p.frame].push_back(Hex(m.nas(i)));
        }
        for (const auto& [frame, list] : expected) nas += list.size();
        EXPECT_EQ(got, expected) << stem;
    }
    std::printf("[ per      ] %zu LTE RRC PDUs of %zu kinds decoded, %zu NAS PDUs as tshark lists them\n", pdus,
                names.size(), nas);
    EXPECT_GE(names.size(), 14u);
    EXPECT_GT(nas, 200u);
}

TEST(CapturePer, RrcSecurityAndHandoverFactsOfARealCapture) {
    const fs::path path = kShared / "captures" / "gsmtap_rayhunter_goodsim.pcapng";
    if (!fs::exists(path)) GTEST_SKIP() << path << " is not there";
    // What tshark shows for these frames: SECURITY MODE COMMANDs selecting
    // eea1 and eia2; a handover's RRCConnectionReconfiguration (frame 251)
    // with newUE-Identity 84c9 (33993) and the same algorithms; a
    // reestablishment request (frame 317) from C-RNTI 83d7 (33751).
    size_t commands = 0;
    capture::RrcMessage m;
    for (const RrcPdu& p : GsmtapRrc(path)) {
        ASSERT_EQ(capture::DecodeRrc(p.channel, capture::Bytes{p.octets.data(), p.octets.size()}, m),
                  capture::RrcResult::kOk);
        if (std::string(m.name) == "securityModeCommand") {
            ++commands;
            EXPECT_STREQ(m.cipheringName, "eea1");
            EXPECT_EQ(m.integrityAlgorithm, 2);
        }
        if (p.frame == 251) {
            EXPECT_STREQ(m.name, "rrcConnectionReconfiguration");
            EXPECT_EQ(m.newCRnti, 33993);
            EXPECT_EQ(m.cipheringAlgorithm, 1);
        }
        if (p.frame == 317) {
            EXPECT_EQ(m.reestablishmentCRnti, 33751);
        }
    }
    EXPECT_GE(commands, 20u);
}

}  // namespace
}  // namespace corvuna::test
