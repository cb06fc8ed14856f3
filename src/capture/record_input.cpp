// SPDX-License-Identifier: Apache-2.0
#include "capture/record_input.h"

#include <charconv>

namespace corvuna::capture {

namespace {

constexpr char kSeparator = '|';
constexpr std::string_view kVersion = "r1";
constexpr char kHex[] = "0123456789abcdef";

void Put(std::string& out, int64_t value) {
    char text[24];
    out.append(text, static_cast<size_t>(std::to_chars(text, text + sizeof text, value).ptr - text));
    out += kSeparator;
}

// A string with its separators and control characters kept out (they never
// occur in the texts it carries: reasons, names, hex).
void Put(std::string& out, std::string_view value) {
    const size_t at = out.size();
    out.append(value);
    for (size_t i = at; i < out.size(); ++i) {
        if (out[i] == kSeparator || static_cast<unsigned char>(out[i]) < 0x20) out[i] = ' ';
    }
    out += kSeparator;
}

void PutHex(std::string& out, const uint8_t* data, size_t size) {
    const size_t at = out.size();
    out.resize(at + 2 * size + 1);
    char* p = out.data() + at;
    for (size_t i = 0; i < size; ++i) {
        *p++ = kHex[data[i] >> 4];
        *p++ = kHex[data[i] & 0x0F];
    }
    *p = kSeparator;
}

// The fields of a record input, read in order.
class Fields {
public:
    explicit Fields(std::string_view text) : rest_(text) {}

    bool Next(std::string_view& field) {
        if (failed_) return false;
        const size_t end = rest_.find(kSeparator);
        if (end == std::string_view::npos) {
            failed_ = true;
            return false;
        }
        field = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        return true;
    }
    template <typename T>
    T Number(int64_t low, int64_t high) {
        std::string_view f;
        int64_t v = 0;
        if (!Next(f) || std::from_chars(f.data(), f.data() + f.size(), v).ptr != f.data() + f.size() || f.empty() ||
            v < low || v > high) {
            failed_ = true;
            return T{};
        }
        return static_cast<T>(v);
    }
    std::string Text() {
        std::string_view f;
        return Next(f) ? std::string(f) : std::string();
    }
    void Hex(uint8_t* out, size_t size) {
        std::vector<uint8_t> v;
        Hex(v);
        if (v.size() != size) {
            failed_ = true;
            return;
        }
        for (size_t i = 0; i < size; ++i) out[i] = v[i];
    }
    void Hex(std::vector<uint8_t>& out) {
        std::string_view f;
        out.clear();
        if (!Next(f) || f.size() % 2 != 0) {
            failed_ = true;
            return;
        }
        auto nibble = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
        for (size_t i = 0; i < f.size(); i += 2) {
            const int hi = nibble(f[i]), lo = nibble(f[i + 1]);
            if (hi < 0 || lo < 0) {
                failed_ = true;
                return;
            }
            out.push_back(static_cast<uint8_t>(hi << 4 | lo));
        }
    }
    bool Done() const { return !failed_ && rest_.empty(); }

private:
    std::string_view rest_;
    bool failed_ = false;
};

constexpr int64_t kMaxId = int64_t{1} << 40;

}  // namespace

void AppendRecordInput(const Message& m, bool showKeys, std::string& out) {
    const FoundNas& f = *m.found;
    const security::SecurityFacts& s = *m.facts;
    const view::Protection& p = m.protection;
    out += kVersion;
    out += kSeparator;
    Put(out, static_cast<int64_t>(m.kind));
    Put(out, static_cast<int64_t>(m.frame));
    Put(out, m.time);
    Put(out, static_cast<int64_t>(f.carrier));
    Put(out, f.rrcField);
    Put(out, f.rrcMessage);
    Put(out, static_cast<int64_t>(f.rrcClass));
    Put(out, f.rnti);
    Put(out, f.sfn);
    Put(out, f.subframe);
    Put(out, f.procedure);
    Put(out, f.enbUeId);
    Put(out, f.mmeUeId);
    Put(out, f.ranUeNgapId);
    Put(out, f.amfUeNgapId);
    const UeLocation& l = f.location;
    Put(out, l.sTmsi ? 1 : 0);
    Put(out, l.mmec);
    Put(out, l.mTmsi);
    Put(out, l.tai ? 1 : 0);
    PutHex(out, l.taiPlmn, 3);
    Put(out, l.tac);
    Put(out, l.ecgi ? 1 : 0);
    PutHex(out, l.ecgiPlmn, 3);
    Put(out, l.cellId);
    Put(out, f.asCiphering);
    PutHex(out, f.octets.data, f.octets.size);
    Put(out, m.direction);
    Put(out, DirectionSourceName(m.directionSource));
    Put(out, s.ue);
    Put(out, s.ksi);
    Put(out, s.mapped ? 1 : 0);
    Put(out, s.resCheck);
    Put(out, s.resFrom);
    Put(out, s.expectedRes);
    Put(out, showKeys ? 1 : 0);
    Put(out, showKeys ? s.kasme : std::string());
    Put(out, showKeys ? s.nasInt : std::string());
    Put(out, showKeys ? s.nasEnc : std::string());
    Put(out, static_cast<int64_t>(p.body));
    Put(out, std::string_view(p.reason.text, p.reason.size));
    Put(out, p.cipheringAlgorithm);
    Put(out, p.integrityAlgorithm);
    Put(out, p.count);
    Put(out, std::string_view(p.keySource.text, p.keySource.size));
    Put(out, static_cast<int64_t>(p.mac));
    Put(out, p.expectedMac);
    Put(out, std::string_view(p.macReason.text, p.macReason.size));
    Put(out, p.plain.data != nullptr ? 1 : 0);
    PutHex(out, p.plain.data, p.plain.data != nullptr ? p.plain.size : 0);
}

bool ParseRecordInput(std::string_view text, RecordInput& in) {
    in = RecordInput();
    Fields r(text);
    std::string_view version;
    if (!r.Next(version) || version != kVersion) return false;
    Message& m = in.message;
    FoundNas& f = in.found;
    security::SecurityFacts& s = in.facts;
    m.kind = r.Number<Message::Kind>(0, 2);
    m.frame = r.Number<uint64_t>(0, INT64_MAX);
    m.time = r.Text();
    f.carrier = r.Number<Carrier>(0, static_cast<int64_t>(Carrier::kNgap));
    f.rrcField = r.Text();
    f.rrcMessage = r.Text();
    f.rrcClass = r.Number<radio::RrcClass>(0, 3);
    f.rnti = r.Number<int>(-1, 65535);
    // As the MAC-LTE framing carries them (12 and 4 bits), whatever TS 36.211
    // allows: the record shows what the capture said.
    f.sfn = r.Number<int>(-1, 4095);
    f.subframe = r.Number<int>(-1, 15);
    f.procedure = r.Number<int>(-1, 255);
    f.enbUeId = r.Number<int64_t>(-1, kMaxId);
    f.mmeUeId = r.Number<int64_t>(-1, kMaxId);
    f.ranUeNgapId = r.Number<int64_t>(-1, kMaxId);
    f.amfUeNgapId = r.Number<int64_t>(-1, kMaxId);
    UeLocation& l = f.location;
    l.sTmsi = r.Number<int>(0, 1) != 0;
    l.mmec = r.Number<uint8_t>(0, 255);
    l.mTmsi = r.Number<uint32_t>(0, UINT32_MAX);
    l.tai = r.Number<int>(0, 1) != 0;
    r.Hex(l.taiPlmn, 3);
    l.tac = r.Number<uint16_t>(0, 65535);
    l.ecgi = r.Number<int>(0, 1) != 0;
    r.Hex(l.ecgiPlmn, 3);
    l.cellId = r.Number<uint32_t>(0, UINT32_MAX);
    f.asCiphering = r.Number<int>(-1, 7);
    r.Hex(in.octets);
    f.octets = Bytes{in.octets.data(), in.octets.size()};
    m.direction = r.Number<int>(0, 1);
    f.direction = m.direction;
    const std::string source = r.Text();
    m.directionSource = source == "mac"            ? "(from the MAC)"
                        : source == "message_type" ? "(from the message type)"
                        : source == "option"       ? "(from -d)"
                                                   : "";
    if (!source.empty() && *m.directionSource == '\0') return false;
    f.fivegs = m.kind == Message::Kind::kFivegs;
    s.fivegs = f.fivegs;  // a 5G context: 5G-EA/5G-IA and KAMF
    f.asCipheredRrc = m.kind == Message::Kind::kAsCiphered;
    s.ue = r.Text();
    s.ksi = r.Number<int>(-1, 15);
    s.mapped = r.Number<int>(0, 1) != 0;
    s.resCheck = r.Number<int>(-1, 1);
    in.resFrom = r.Text();
    s.expectedRes = r.Text();
    in.showKeys = r.Number<int>(0, 1) != 0;
    s.kasme = r.Text();
    s.nasInt = r.Text();
    s.nasEnc = r.Text();
    view::Protection& p = m.protection;
    p.body = r.Number<view::Protection::Body>(0, static_cast<int64_t>(view::Protection::Body::kLeftCiphered));
    in.reason = r.Text();
    p.cipheringAlgorithm = r.Number<int>(-1, 15);
    p.integrityAlgorithm = r.Number<int>(-1, 15);
    p.count = r.Number<int64_t>(-1, UINT32_MAX);
    in.keySource = r.Text();
    p.mac = r.Number<view::Protection::Mac>(0, static_cast<int64_t>(view::Protection::Mac::kUncheckable));
    p.expectedMac = r.Number<uint32_t>(0, UINT32_MAX);
    in.macReason = r.Text();
    const bool plain = r.Number<int>(0, 1) != 0;
    r.Hex(in.plain);
    if (!r.Done()) return false;
    // The texts live in this object; the facts point into it.
    s.resFrom = in.resFrom.c_str();
    auto held = [](const std::string& v) {
        return v.empty() ? Text() : Text::Trusted(v.data(), static_cast<uint32_t>(v.size()));
    };
    p.reason = held(in.reason);
    p.keySource = held(in.keySource);
    p.macReason = held(in.macReason);
    p.plain = plain ? Octets{in.plain.data(), in.plain.size()} : Octets{};
    m.found = &f;
    m.facts = &s;
    return true;
}

}  // namespace corvuna::capture
