// SPDX-License-Identifier: Apache-2.0
// TS 24.008 IEs of the standard view: mobile station classmark 3 (10.5.1.7),
// quality of service (10.5.6.5), DRX parameter (10.5.5.6) and extended DRX
// parameters (10.5.5.32), and the coded fields of classmark 2, MS network
// capability and EPS network feature support that read as texts.
//
// How values are written:
// - An enumerated field (a class, a flag, a ratio such as a residual BER) is
//   Enum(label, coded value, text): the number is the field as coded.
// - A field whose meaning is a quantity with a unit is Enum(label, quantity,
//   text): the number is the decoded quantity (1500 for a maximum SDU size
//   of 1500 octets) and the text says it with its unit ("1500 octets").  The
//   unit of the number is the text's, except where the text's unit needs a
//   fraction (seconds of the eDRX cycles and paging time windows): those
//   numbers are milliseconds and their keys end in "_ms"; bit rates are in
//   kbit/s, keys ending in "_kbps".
// - A quantity field whose coding holds no quantity (subscribed, reserved,
//   best effort, not specified) is Absent(label, text) with what the coding
//   means.
// - A coding that the tables tell to read as another value gives that
//   value's quantity, and its text names the value received.
#include "view/eps/ies_24008.h"

#include <cstdio>


namespace corvuna::view::eps {

namespace {

// A text made while decoding (at most 95 characters); it lives as long as
// the buffer, which outlives the field written with it.
class TextBuf {
public:
    TextBuf& Put(std::string_view s) {
        for (char c : s) {
            if (size_ < sizeof chars_ - 1) chars_[size_++] = c;
        }
        return *this;
    }
    TextBuf& PutText(Text t) { return Put(std::string_view(t.text, t.size)); }
    TextBuf& Number(int64_t value) {
        char digits[24];
        size_t n = 0;
        uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        do {
            digits[n++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0) Put("-");
        while (n > 0) Put(std::string_view(&digits[--n], 1));
        return *this;
    }
    // Milliseconds as seconds with at most two decimals: 5120 -> "5.12",
    // 6400 -> "6.4", 20000 -> "20".
    TextBuf& Seconds(int64_t ms) {
        Number(ms / 1000);
        const int64_t hundredths = ms % 1000 / 10;
        if (hundredths != 0) {
            const char d[3] = {'.', static_cast<char>('0' + hundredths / 10), static_cast<char>('0' + hundredths % 10)};
            Put(std::string_view(d, hundredths % 10 == 0 ? 2 : 3));
        }
        return *this;
    }
    Text text() const {
        Text t = Text::Trusted(chars_, size_);
        t.plain = true;
        for (uint32_t i = 0; i < size_; ++i) {
            const char c = chars_[i];
            if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') t.plain = false;
        }
        return t;
    }

private:
    char chars_[96] = {};
    uint32_t size_ = 0;
};

bool FromUe(const Context& ctx) { return ctx.direction == 1; }

// ---------------------------------------------------------------------------
// Mobile station classmark 3

// The classmark 3 bit string read component by component (a component is
// one top-level term of the CSN.1 concatenation: a field, or an optional
// structure with its presence bit).  The receiver may add bits set to 0 at
// the end of the string (10.5.1.7), so a value that ends where the rest of
// the current component would be zero is spare padding; a value that ends
// after a bit set to 1 of a component cut short (a structure said present,
// or part of a field) lacks bits the CSN.1 requires, and that is said.
class Classmark3Reader {
public:
    Classmark3Reader(Context& ctx, Octets v)
        : ctx_(ctx), cursor_{v.data, static_cast<int32_t>(v.size > 1024 ? 8192 : 8 * v.size)} {}

    // Starts the next component.
    void Component() { componentStart_ = cursor_.position; }

    // Reads `n` (1..25) bits of the field `what`; false, with nothing read,
    // when the string ends before them (and for every read after that).
    bool Read(unsigned n, uint32_t& value, const char* what) {
        if (ended_) return false;
        const int32_t left = cursor_.bitCount - cursor_.position;
        if (left >= static_cast<int32_t>(n)) {
            value = cursor_.Read(n);
            return true;
        }
        ended_ = true;
        if (!ZeroFrom(componentStart_)) {
            char reason[120];
            const int k = std::snprintf(reason, sizeof reason, "classmark 3 ends inside %s: %u bit%s needed, %d left",
                                        what, n, n == 1 ? "" : "s", left);
            const size_t size = k < 0 ? 0 : static_cast<size_t>(k) < sizeof reason ? static_cast<size_t>(k) : sizeof reason - 1;
            ctx_.ValueError(std::string_view(reason, size));
        }
        return false;
    }
    bool Bit(uint32_t& value, const char* what) { return Read(1, value, what); }

    // The bits after the last field the structure defines (spare bits, or
    // fields of a later release): written as 0s and 1s when one is set.
    void SpareBits() {
        if (ended_ || ZeroFrom(cursor_.position)) return;
        char bits[8 * 34 + 1];
        size_t n = 0;
        while (cursor_.position < cursor_.bitCount && n < sizeof bits - 1) {
            bits[n++] = cursor_.Read(1) != 0 ? '1' : '0';
        }
        ctx_.out.Ascii("Spare bits"_f, std::string_view(bits, n));
    }

private:
    bool ZeroFrom(int32_t bit) const {
        for (int32_t b = bit; b < cursor_.bitCount; ++b) {
            if ((cursor_.octets[b >> 3] >> (7 - (b & 7))) & 1u) return false;
        }
        return true;
    }

    // The bits of the value, first bit the most significant of octet 1.
    struct Bits {
        const uint8_t* octets;
        int32_t bitCount;
        int32_t position = 0;
        uint32_t Read(unsigned n) {
            uint32_t value = 0;
            for (unsigned i = 0; i < n; ++i, ++position) {
                value = value << 1 | ((octets[position >> 3] >> (7 - (position & 7))) & 1u);
            }
            return value;
        }
    };

    Context& ctx_;
    Bits cursor_;
    int32_t componentStart_ = 0;
    bool ended_ = false;
};

// A one-bit field of classmark 3 with the wording of its two values.
struct FlagField {
    Label label;
    const char* what;  // the field's name in an error
    Text set;
    Text clear;
};

// A radio capability field: the binary coding of the power class of a band
// (TS 45.005), classes 1 to 5, or 1 to 3 for GSM 1800 and GSM 1900.
void WritePowerClass(Context& ctx, Label label, uint32_t value, std::string_view band, bool dcsOrPcs) {
    TextBuf t;
    if (value >= 1 && value <= (dcsOrPcs ? 3u : 5u)) {
        t.Put("Power class ").Number(value);
    } else {
        t.Put("Reserved");
    }
    if (!band.empty()) t.Put(" (").Put(band).Put(")");
    ctx.out.Enum(label, value, t.text());
}

void WriteMultislotClass(Context& ctx, Label label, uint32_t value) {
    TextBuf t;
    if (value == 0) {
        t.Put("Reserved");
    } else {
        t.Put("Multislot class ").Number(value);
    }
    ctx.out.Enum(label, value, t.text());
}

// SMS_VALUE and SM_VALUE: (coded value + 1) quarters of a timeslot, with
// the table's approximate duration of each.
void WriteQuarterTimeslots(Context& ctx, Label label, uint32_t coded) {
    static constexpr int16_t kMicroseconds[] = {144,  288,  433,  577,  721,  865,  1009, 1154,
                                                1298, 1442, 1586, 1730, 1874, 2019, 2163, 2307};
    const int64_t quarters = (coded & 0x0F) + 1;
    TextBuf t;
    t.Number(quarters).Put("/4 timeslot (~").Number(kMicroseconds[coded & 0x0F]).Put(" microseconds)");
    ctx.out.Enum(label, quarters, t.text());
}

constexpr ValueText kDtmMultislot[] = {{0, "Unused. If received, the network shall interpret this as '01'"},
                                       {1, "Multislot class 5 supported"},
                                       {2, "Multislot class 9 supported"},
                                       {3, "Multislot class 11 supported"}};

// Extended DTM (E)GPRS Multi Slot Class read with the DTM (E)GPRS Multi
// Slot Class it extends (-1: absent).
Text ExtendedDtmText(int base, uint32_t extended, bool egprs) {
    switch (base) {
        case 1:
            return extended == 0   ? Text("Multislot class 5 supported")
                   : extended == 1 ? Text("Multislot class 6 supported")
                                   : Text("Unused. If received, it shall be interpreted as '01 00'");
        case 2:
            return extended == 0   ? Text("Multislot class 9 supported")
                   : extended == 1 ? Text("Multislot class 10 supported")
                                   : Text("Unused. If received, it shall be interpreted as '10 00'");
        case 3:
            return extended == 0 ? Text("Multislot class 11 supported")
                                  : Text("Unused. If received, it shall be interpreted as '11 00'");
        case 0:
            return "Unused. If received, it shall be interpreted as '01 00'";
        default:
            return egprs ? Text("Not considered: the DTM EGPRS Multi Slot Class field is not included")
                         : Text("Read with the DTM GPRS Multi Slot Class field, which is not included");
    }
}

// DTM (E)GPRS High Multi Slot Class: 001 to 011 are classes 36 to 38 when
// the offset t0 is required, 31 to 33 otherwise.
Text DtmHighMultislotText(uint32_t value, bool offset) {
    static constexpr Text kTexts[] = {"Unused. If received, the network shall interpret this as '0 0 1'",
                                      "Multislot class 31 supported", "Multislot class 32 supported",
                                      "Multislot class 33 supported", "Multislot class 41 supported",
                                      "Multislot class 42 supported", "Multislot class 43 supported",
                                      "Multislot class 44 supported"};
    static constexpr Text kWithOffset[] = {"Multislot class 36 supported", "Multislot class 37 supported",
                                           "Multislot class 38 supported"};
    if (offset && value >= 1 && value <= 3) return kWithOffset[value - 1];
    return kTexts[value & 7];
}

constexpr FlagField kUmtsFdd = {"UMTS FDD Radio Access Technology Capability"_f, "UMTS FDD RAT capability",
                                "UMTS FDD supported", "UMTS FDD not supported"};
constexpr FlagField kUmts384 = {"UMTS 3.84 Mcps TDD Radio Access Technology Capability"_f,
                                "UMTS 3.84 Mcps TDD RAT capability", "UMTS 3.84 Mcps TDD supported",
                                "UMTS 3.84 Mcps TDD not supported"};
constexpr FlagField kCdma2000 = {"CDMA 2000 Radio Access Technology Capability"_f, "CDMA 2000 RAT capability",
                                 "CDMA2000 supported", "CDMA2000 not supported"};
constexpr FlagField kUmts128 = {"UMTS 1.28 Mcps TDD Radio Access Technology Capability"_f,
                                "UMTS 1.28 Mcps TDD RAT capability", "UMTS 1.28 Mcps TDD supported",
                                "UMTS 1.28 Mcps TDD not supported"};
constexpr FlagField kGeranFp1 = {"GERAN Feature Package 1"_f, "GERAN Feature Package 1",
                                 "GERAN feature package 1 supported.", "GERAN feature package 1 not supported."};
constexpr FlagField kGeranFp2 = {"GERAN Feature Package 2"_f, "GERAN Feature Package 2",
                                 "GERAN feature package 2 supported.", "GERAN feature package 2 not supported."};
constexpr FlagField kDtmEnhancements = {
    "DTM Enhancements Capability"_f, "DTM Enhancements Capability",
    "The mobile station supports enhanced DTM CS establishment and enhanced DTM CS release procedures.",
    "The mobile station does not support enhanced DTM CS establishment and enhanced DTM CS release procedures."};
constexpr FlagField kRepeatedAcch = {"Repeated ACCH Capability"_f, "Repeated ACCH Capability",
                                     "The mobile station supports Repeated SACCH and Repeated Downlink FACCH",
                                     "The mobile station does not support Repeated SACCH"};
// One-bit fields from Ciphering Mode Setting Capability on; VAMOS Level,
// TIGHTER Capability and the CS to PS SRVCC fields (two bits each) come
// between kRelease8To9To9 and kRelease11To12To12.
constexpr FlagField kCipheringModeSetting = {
    "Ciphering Mode Setting Capability"_f, "Ciphering Mode Setting Capability",
    "The mobile station supports the Ciphering Mode Setting IE in the DTM ASSIGNMENT COMMAND message",
    "The mobile station does not support the Ciphering Mode Setting IE in the DTM ASSIGNMENT COMMAND message"};
constexpr FlagField kAdditionalPositioning = {
    "Additional Positioning Capabilities"_f, "Additional Positioning Capabilities",
    "The mobile station supports additional positioning capabilities which can be retrieved using RRLP",
    "The mobile station does not support additional positioning capabilities which can be retrieved using RRLP"};
constexpr FlagField kRelease8To9[] = {
    {"E-UTRA FDD support"_f, "E-UTRA FDD support", "E-UTRA FDD supported", "E-UTRA FDD not supported"},
    {"E-UTRA TDD support"_f, "E-UTRA TDD support", "E-UTRA TDD supported", "E-UTRA TDD not supported"},
    {"E-UTRA Measurement and Reporting support"_f, "E-UTRA Measurement and Reporting support",
     "E-UTRAN Neighbour Cell measurements and measurement reporting while having an RR connection supported",
     "E-UTRAN Neighbour Cell measurements and measurement reporting while having an RR connection not supported"},
    {"Priority-based reselection support"_f, "Priority-based reselection support",
     "Priority-based cell reselection supported", "Priority-based cell reselection not supported"},
    {"UTRA CSG Cells Reporting"_f, "UTRA CSG Cells Reporting", "Reporting of UTRAN CSG cells supported",
     "Reporting of UTRAN CSG cells not supported"},
};
constexpr FlagField kSelectiveCiphering = {"Selective Ciphering of Downlink SACCH"_f,
                                           "Selective Ciphering of Downlink SACCH",
                                           "Selective Ciphering of Downlink SACCH supported",
                                           "Selective Ciphering of Downlink SACCH not supported"};
constexpr FlagField kRelease11To12[] = {
    {"GERAN Network Sharing support"_f, "GERAN Network Sharing support", "GERAN network sharing supported",
     "GERAN network sharing not supported"},
    {"E-UTRA Wideband RSRQ measurements support"_f, "E-UTRA Wideband RSRQ measurements support",
     "E-UTRA wideband RSRQ measurements supported", "E-UTRA wideband RSRQ measurements not supported"},
    {"ER Band Support"_f, "ER Band Support", "ER-GSM supported", "ER-GSM not supported"},
    {"UTRA Multiple Frequency Band Indicators support"_f, "UTRA Multiple Frequency Band Indicators support",
     "Multiple Frequency Band Indicators in UTRAN supported",
     "Multiple Frequency Band Indicators in UTRAN not supported"},
    {"E-UTRA Multiple Frequency Band Indicators support"_f, "E-UTRA Multiple Frequency Band Indicators support",
     "Multiple Frequency Band Indicators in E-UTRAN supported",
     "Multiple Frequency Band Indicators in E-UTRAN not supported"},
    {"Extended TSC Set Capability support"_f, "Extended TSC Set Capability support", "Extended TSC sets supported",
     "Extended TSC sets not supported"},
    {"Extended EARFCN value range"_f, "Extended EARFCN value range", "Extended EARFCN value range supported",
     "Extended EARFCN value range not supported"},
};

// The decoding of one classmark 3 value: each step reads one component
// and writes it; false once the string has ended.
class Classmark3 {
public:
    Classmark3(Context& ctx, Octets v) : ctx_(ctx), r_(ctx, v) {}

    // The components in the order of the CSN.1 description, Release 99 to
    // Release 12; the bits after them are spare.
    void Decode() {
        constexpr bool kGsm1800Or1900 = true;
        if (Bands() && RSupport() && Hscsd() && Flag(kUcs2) && Flag(kExtendedMeasurement) &&
            MeasurementCapability() && PositioningMethod() && Ecsd() && EightPsk() && Gsm400() &&
            RadioCapability("GSM 850 Associated Radio Capability"_f, "GSM 850 Associated Radio Capability") &&
            RadioCapability("GSM 1900 Associated Radio Capability"_f, "GSM 1900 Associated Radio Capability",
                            kGsm1800Or1900) &&
            Flag(kUmtsFdd) && Flag(kUmts384) && Flag(kCdma2000) && Dtm() && SingleBand() &&
            RadioCapability("GSM 750 Associated Radio Capability"_f, "GSM 750 Associated Radio Capability") &&
            Flag(kUmts128) && Flag(kGeranFp1) && ExtendedDtm() && HighMultislot() && GeranIu() && Flag(kGeranFp2) &&
            PowerProfiles() && TGsm400() &&
            RadioCapability("T-GSM 900 Associated Radio Capability"_f, "T-GSM 900 Associated Radio Capability") &&
            Downlink() && Flag(kDtmEnhancements) && DtmHigh() && Flag(kRepeatedAcch) &&
            RadioCapability("GSM 710 Associated Radio Capability"_f, "GSM 710 Associated Radio Capability") &&
            RadioCapability("T-GSM 810 Associated Radio Capability"_f, "T-GSM 810 Associated Radio Capability") &&
            Flag(kCipheringModeSetting) && Flag(kAdditionalPositioning) && Flags(kRelease8To9) && Release9To11() &&
            Flags(kRelease11To12)) {
            r_.SpareBits();
        }
    }

private:
    bool Flag(const FlagField& f) {
        r_.Component();
        uint32_t bit = 0;
        if (!r_.Bit(bit, f.what)) return false;
        WriteBit(ctx_, f.label, bit, f.set, f.clear);
        return true;
    }
    template <size_t N>
    bool Flags(const FlagField (&fields)[N]) {
        for (const FlagField& f : fields) {
            if (!Flag(f)) return false;
        }
        return true;
    }
    // A two-bit field with the texts of its values (the multislot power
    // profiles, DARP, VAMOS, TIGHTER, the CS to PS SRVCC capabilities).
    template <size_t N>
    bool TwoBits(Label label, const ValueText (&texts)[N]) {
        r_.Component();
        uint32_t value = 0;
        if (!r_.Read(2, value, label.text().text)) return false;
        WriteEnum(ctx_, label, value, texts, "");
        return true;
    }
    // The presence bit of an optional structure.
    bool Present(uint32_t& present, const char* what) {
        r_.Component();
        return r_.Bit(present, what);
    }

    // Spare bit, Multiband supported, A5 bits and the associated radio
    // capabilities of the bands indicated.
    bool Bands() {
        r_.Component();
        uint32_t spare = 0, bands = 0, a5 = 0;
        if (!r_.Bit(spare, "the spare bit") || !r_.Read(3, bands, "Multiband supported") ||
            !r_.Read(4, a5, "the A5 bits")) {
            return false;
        }
        const bool two = bands == 5 || bands == 6, one = bands == 1 || bands == 2 || bands == 4;
        if (bands != 0 && !two && !one) {
            ctx_.ValueError("Multiband supported indicates both P-GSM and E-GSM or R-GSM: no alternative of the "
                            "classmark 3 structure matches");
            return false;
        }
        uint32_t cap2 = 0, cap1 = 0;
        if ((two || one) && (!r_.Read(4, cap2, two ? "Associated Radio Capability 2" : "the spare bits") ||
                             !r_.Read(4, cap1, "Associated Radio Capability 1"))) {
            return false;
        }
        ctx_.out.Begin("Multiband supported"_f);
        WriteBit(ctx_, "Band 1 supported"_f, bands, "P-GSM supported", "P-GSM not supported");
        WriteBit(ctx_, "Band 2 supported"_f, bands >> 1, "E-GSM or R-GSM supported", "E-GSM or R-GSM not supported");
        WriteBit(ctx_, "Band 3 supported"_f, bands >> 2, "GSM 1800 supported", "GSM 1800 not supported");
        ctx_.out.End();
        static constexpr Label kA5[] = {"A5/7"_f, "A5/6"_f, "A5/5"_f, "A5/4"_f};
        static constexpr Text kAvailable[] = {"Encryption algorithm A5/7 available", "Encryption algorithm A5/6 available",
                                              "Encryption algorithm A5/5 available",
                                              "Encryption algorithm A5/4 available"};
        static constexpr Text kNotAvailable[] = {
            "Encryption algorithm A5/7 not available", "Encryption algorithm A5/6 not available",
            "Encryption algorithm A5/5 not available", "Encryption algorithm A5/4 not available"};
        for (unsigned i = 0; i < 4; ++i) WriteBit(ctx_, kA5[i], a5 >> (3 - i), kAvailable[i], kNotAvailable[i]);
        // Radio capability 1 is for the GSM 900 band indicated, or for GSM
        // 1800 when it is the only band; 2 for GSM 1800 beside a GSM 900 band.
        const std::string_view gsm900 = (bands & 1) != 0 ? "P-GSM" : "E-GSM or R-GSM";
        if (two) WritePowerClass(ctx_, "Associated Radio Capability 2"_f, cap2, "GSM 1800", true);
        if (two || one) {
            const bool dcs = bands == 4;
            WritePowerClass(ctx_, "Associated Radio Capability 1"_f, cap1, dcs ? "GSM 1800" : gsm900, dcs);
        }
        return true;
    }

    bool RSupport() {
        uint32_t present = 0, value = 0;
        if (!Present(present, "R Support")) return false;
        if (present == 0) return true;
        if (!r_.Read(3, value, "R-GSM band Associated Radio Capability")) return false;
        WritePowerClass(ctx_, "R-GSM band Associated Radio Capability"_f, value, "R-GSM", false);
        return true;
    }

    bool Hscsd() {
        uint32_t present = 0, value = 0;
        if (!Present(present, "HSCSD Multi Slot Capability")) return false;
        if (present == 0) return true;
        if (!r_.Read(5, value, "HSCSD Multi Slot Class")) return false;
        WriteMultislotClass(ctx_, "HSCSD Multi Slot Class"_f, value);
        return true;
    }

    static constexpr FlagField kUcs2 = {
        "UCS2 treatment"_f, "UCS2 treatment",
        "the ME has no preference between the use of the default alphabet and the use of UCS2.",
        "the ME has a preference for the default alphabet (defined in 3GPP TS 23.038) over UCS2."};
    static constexpr FlagField kExtendedMeasurement = {"Extended Measurement Capability"_f,
                                                       "Extended Measurement Capability",
                                                       "the MS supports Extended Measurements",
                                                       "the MS does not support Extended Measurements"};

    bool MeasurementCapability() {
        uint32_t present = 0, sms = 0, sm = 0;
        if (!Present(present, "MS measurement capability")) return false;
        if (present == 0) return true;
        if (!r_.Read(4, sms, "SMS_VALUE") || !r_.Read(4, sm, "SM_VALUE")) return false;
        ctx_.out.Begin("MS measurement capability"_f);
        WriteQuarterTimeslots(ctx_, Field<"SMS_VALUE (Switch-Measure-Switch)", "sms_value_quarter_timeslots">, sms);
        WriteQuarterTimeslots(ctx_, Field<"SM_VALUE (Switch-Measure)", "sm_value_quarter_timeslots">, sm);
        ctx_.out.End();
        return true;
    }

    bool PositioningMethod() {
        uint32_t present = 0, value = 0;
        if (!Present(present, "MS Positioning Method Capability")) return false;
        if (present == 0) return true;
        if (!r_.Read(5, value, "MS Positioning Method")) return false;
        ctx_.out.Begin("MS Positioning Method"_f);
        WriteBit(ctx_, "MS assisted E-OTD"_f, value >> 4, "MS assisted E-OTD supported", "MS assisted E-OTD not supported");
        WriteBit(ctx_, "MS based E-OTD"_f, value >> 3, "MS based E-OTD supported", "MS based E-OTD not supported");
        WriteBit(ctx_, "MS assisted GPS"_f, value >> 2, "MS assisted GPS supported", "MS assisted GPS not supported");
        WriteBit(ctx_, "MS based GPS"_f, value >> 1, "MS based GPS supported", "MS based GPS not supported");
        WriteBit(ctx_, "MS Conventional GPS"_f, value, "conventional GPS supported", "conventional GPS not supported");
        ctx_.out.End();
        return true;
    }

    bool Ecsd() {
        uint32_t present = 0, value = 0;
        if (!Present(present, "ECSD Multi Slot Capability")) return false;
        if (present == 0) return true;
        if (!r_.Read(5, value, "ECSD Multi Slot Class")) return false;
        WriteMultislotClass(ctx_, "ECSD Multi Slot Class"_f, value);
        return true;
    }

    bool EightPsk() {
        uint32_t present = 0, modulation = 0, has1 = 0, power1 = 0, has2 = 0, power2 = 0;
        if (!Present(present, "8-PSK Struct")) return false;
        if (present == 0) return true;
        if (!r_.Bit(modulation, "Modulation Capability") || !r_.Bit(has1, "8-PSK RF Power Capability 1") ||
            (has1 != 0 && !r_.Read(2, power1, "8-PSK RF Power Capability 1")) ||
            !r_.Bit(has2, "8-PSK RF Power Capability 2") ||
            (has2 != 0 && !r_.Read(2, power2, "8-PSK RF Power Capability 2"))) {
            return false;
        }
        static constexpr ValueText kPower[] = {
            {0, "Reserved"}, {1, "Power class E1"}, {2, "Power class E2"}, {3, "Power class E3"}};
        ctx_.out.Begin("8-PSK Struct"_f);
        WriteBit(ctx_, "Modulation Capability"_f, modulation, "8-PSK supported for uplink transmission and downlink reception",
                 "8-PSK supported for downlink reception only");
        if (has1 != 0) WriteEnum(ctx_, "8-PSK RF Power Capability 1"_f, power1, kPower, "");
        if (has2 != 0) WriteEnum(ctx_, "8-PSK RF Power Capability 2"_f, power2, kPower, "");
        ctx_.out.End();
        return true;
    }

    bool Gsm400() {
        uint32_t present = 0, bands = 0, cap = 0;
        if (!Present(present, "GSM 400 Bands Supported")) return false;
        if (present == 0) return true;
        if (!r_.Read(2, bands, "GSM 400 Bands Supported") || !r_.Read(4, cap, "GSM 400 Associated Radio Capability")) {
            return false;
        }
        static constexpr ValueText kBands[] = {{1, "GSM 480 supported, GSM 450 not supported"},
                                               {2, "GSM 450 supported, GSM 480 not supported"},
                                               {3, "GSM 450 supported, GSM 480 supported"}};
        WriteEnum(ctx_, "GSM 400 Bands Supported"_f, bands, kBands, "No band indicated: not a coding of the field");
        WritePowerClass(ctx_, "GSM 400 Associated Radio Capability"_f, cap, "", false);
        return true;
    }

    // `{ 0 | 1 < ... Associated Radio Capability : bit(4) > }` of one band;
    // the bit after T-GSM 400 Bands Supported is 0 in this version, 1 being
    // the presence of the T-GSM 900 Associated Radio Capability in earlier
    // versions.
    bool RadioCapability(Label label, const char* what, bool dcsOrPcs = false) {
        uint32_t present = 0, value = 0;
        if (!Present(present, what)) return false;
        if (present == 0) return true;
        if (!r_.Read(4, value, what)) return false;
        WritePowerClass(ctx_, label, value, "", dcsOrPcs);
        return true;
    }

    bool Dtm() {
        uint32_t present = 0, gprs = 0, single = 0, hasEgprs = 0, egprs = 0;
        if (!Present(present, "DTM GPRS Multi Slot Class")) return false;
        if (present == 0) return true;
        if (!r_.Read(2, gprs, "DTM GPRS Multi Slot Class") || !r_.Bit(single, "Single Slot DTM") ||
            !r_.Bit(hasEgprs, "DTM EGPRS Multi Slot Class") ||
            (hasEgprs != 0 && !r_.Read(2, egprs, "DTM EGPRS Multi Slot Class"))) {
            return false;
        }
        dtmGprs_ = static_cast<int>(gprs);
        WriteEnum(ctx_, "DTM GPRS Multi Slot Class"_f, gprs, kDtmMultislot, "");
        WriteBit(ctx_, "Single Slot DTM"_f, single, "Single Slot DTM supported", "Single Slot DTM not supported");
        if (hasEgprs != 0) {
            dtmEgprs_ = static_cast<int>(egprs);
            WriteEnum(ctx_, "DTM EGPRS Multi Slot Class"_f, egprs, kDtmMultislot, "");
        }
        return true;
    }

    bool SingleBand() {
        uint32_t present = 0, band = 0;
        if (!Present(present, "Single Band Support")) return false;
        if (present == 0) return true;
        if (!r_.Read(4, band, "GSM Band")) return false;
        static constexpr ValueText kBands[] = {
            {0, "E-GSM is supported"},    {1, "P-GSM is supported"},    {2, "GSM 1800 is supported"},
            {3, "GSM 450 is supported"},  {4, "GSM 480 is supported"},  {5, "GSM 850 is supported"},
            {6, "GSM 1900 is supported"}, {7, "GSM 750 is supported"},  {8, "GSM 710 is supported"},
            {9, "T-GSM 810 is supported"}};
        WriteEnum(ctx_, "GSM Band"_f, band, kBands, "Reserved for future use");
        return true;
    }

    bool ExtendedDtm() {
        uint32_t present = 0, gprs = 0, egprs = 0;
        if (!Present(present, "Extended DTM GPRS Multi Slot Class")) return false;
        if (present == 0) return true;
        if (!r_.Read(2, gprs, "Extended DTM GPRS Multi Slot Class") ||
            !r_.Read(2, egprs, "Extended DTM EGPRS Multi Slot Class")) {
            return false;
        }
        ctx_.out.Enum("Extended DTM GPRS Multi Slot Class"_f, gprs, ExtendedDtmText(dtmGprs_, gprs, false));
        ctx_.out.Enum("Extended DTM EGPRS Multi Slot Class"_f, egprs, ExtendedDtmText(dtmEgprs_, egprs, true));
        return true;
    }

    bool HighMultislot() {
        uint32_t present = 0, value = 0;
        if (!Present(present, "High Multislot Capability")) return false;
        if (present == 0) return true;
        if (!r_.Read(2, value, "High Multislot Capability")) return false;
        // Combined with each multislot class field by the rule of the MS
        // Radio Access Capability IE: a number on its own here.
        ctx_.out.Number("High Multislot Capability"_f, value);
        return true;
    }

    // The bit after High Multislot Capability is 0 in this version; 1 was
    // the presence of GERAN Iu Mode Capabilities in earlier versions:
    // < Length : bit(4) > then Length bits, FLO Iu Capability and spare.
    bool GeranIu() {
        uint32_t present = 0, length = 0, flo = 0, spare = 0;
        if (!Present(present, "GERAN Iu Mode Capabilities")) return false;
        if (present == 0) return true;
        if (!r_.Read(4, length, "GERAN Iu Mode Capabilities") ||
            (length >= 1 && !r_.Bit(flo, "FLO Iu Capability")) ||
            (length >= 2 && !r_.Read(length - 1, spare, "GERAN Iu Mode Capabilities"))) {
            return false;
        }
        ctx_.out.Begin("GERAN Iu Mode Capabilities"_f);
        ctx_.out.Number("Length"_f, length);
        if (length >= 1) {
            WriteBit(ctx_, "FLO Iu Capability"_f, flo, "FLO in GERAN Iu Mode supported",
                     "FLO in GERAN Iu Mode not supported");
        }
        ctx_.out.End();
        return true;
    }

    bool PowerProfiles() {
        static constexpr ValueText kGmsk[] = {{0, "GMSK_MULTISLOT_POWER_PROFILE 0"},
                                              {1, "GMSK_MULTISLOT_POWER_PROFILE 1"},
                                              {2, "GMSK_MULTISLOT_POWER_PROFILE 2"},
                                              {3, "GMSK_MULTISLOT_POWER_PROFILE 3"}};
        static constexpr ValueText kEightPsk[] = {{0, "8-PSK_MULTISLOT_POWER_PROFILE 0"},
                                                  {1, "8-PSK_MULTISLOT_POWER_PROFILE 1"},
                                                  {2, "8-PSK_MULTISLOT_POWER_PROFILE 2"},
                                                  {3, "8-PSK_MULTISLOT_POWER_PROFILE 3"}};
        return TwoBits("GMSK Multislot Power Profile"_f, kGmsk) && TwoBits("8-PSK Multislot Power Profile"_f, kEightPsk);
    }

    bool TGsm400() {
        uint32_t present = 0, bands = 0, cap = 0;
        if (!Present(present, "T-GSM 400 Bands Supported")) return false;
        if (present == 0) return true;
        if (!r_.Read(2, bands, "T-GSM 400 Bands Supported") ||
            !r_.Read(4, cap, "T-GSM 400 Associated Radio Capability")) {
            return false;
        }
        static constexpr ValueText kBands[] = {{1, "T-GSM 380 supported, T-GSM 410 not supported"},
                                               {2, "T-GSM 410 supported, T-GSM 380 not supported"},
                                               {3, "T-GSM 410 supported, T-GSM 380 supported"}};
        WriteEnum(ctx_, "T-GSM 400 Bands Supported"_f, bands, kBands, "No band indicated: not a coding of the field");
        WritePowerClass(ctx_, "T-GSM 400 Associated Radio Capability"_f, cap, "", false);
        return true;
    }

    bool Downlink() {
        static constexpr ValueText kDarp[] = {
            {0, "Downlink Advanced Receiver Performance not supported"},
            {1, "Downlink Advanced Receiver Performance - phase I supported"},
            {2, "Downlink Advanced Receiver Performance - phase II supported"},
            {3, "Not to be used by the MS; interpreted as '10', phase II supported"}};
        return TwoBits("Downlink Advanced Receiver Performance"_f, kDarp);
    }

    bool DtmHigh() {
        uint32_t present = 0, gprs = 0, offset = 0, hasEgprs = 0, egprs = 0;
        if (!Present(present, "DTM GPRS High Multi Slot Class")) return false;
        if (present == 0) return true;
        if (!r_.Read(3, gprs, "DTM GPRS High Multi Slot Class") || !r_.Bit(offset, "Offset required") ||
            !r_.Bit(hasEgprs, "DTM EGPRS High Multi Slot Class") ||
            (hasEgprs != 0 && !r_.Read(3, egprs, "DTM EGPRS High Multi Slot Class"))) {
            return false;
        }
        ctx_.out.Enum("DTM GPRS High Multi Slot Class"_f, gprs, DtmHighMultislotText(gprs, offset != 0));
        WriteBit(ctx_, "Offset required"_f, offset, "The mobile station requires the offset",
                 "The mobile station does not require the offset");
        if (hasEgprs != 0) {
            ctx_.out.Enum("DTM EGPRS High Multi Slot Class"_f, egprs, DtmHighMultislotText(egprs, offset != 0));
        }
        return true;
    }

    // VAMOS Level (Release 9), TIGHTER Capability, Selective Ciphering of
    // Downlink SACCH (Release 10) and the CS to PS SRVCC fields (Release 11).
    bool Release9To11() {
        static constexpr ValueText kVamos[] = {
            {0, "VAMOS not supported"}, {1, "VAMOS I supported"}, {2, "VAMOS II supported"}, {3, "VAMOS III supported"}};
        static constexpr ValueText kTighter[] = {
            {0, "TIGHTER not supported"},
            {1, "TIGHTER supported for speech and signalling channels only"},
            {2, "TIGHTER supported for speech and signalling channels and for GPRS and EGPRS, but not for EGPRS2"},
            {3, "TIGHTER supported for speech and signalling channels and for GPRS, EGPRS and EGPRS2"}};
        static constexpr ValueText kToUtra[] = {
            {0, "CS to PS SRVCC from GERAN to UMTS FDD and 1.28 Mcps TDD not supported"},
            {1, "CS to PS SRVCC from GERAN to UMTS FDD supported"},
            {2, "CS to PS SRVCC from GERAN to UMTS 1.28 Mcps TDD supported"},
            {3, "CS to PS SRVCC from GERAN to UMTS FDD and 1.28 Mcps TDD supported"}};
        static constexpr ValueText kToEutra[] = {{0, "CS to PS SRVCC from GERAN to E-UTRA FDD and TDD not supported"},
                                                 {1, "CS to PS SRVCC from GERAN to E-UTRA FDD supported"},
                                                 {2, "CS to PS SRVCC from GERAN to E-UTRA TDD supported"},
                                                 {3, "CS to PS SRVCC from GERAN to E-UTRA FDD and TDD supported"}};
        return TwoBits("VAMOS Level"_f, kVamos) && TwoBits("TIGHTER Capability"_f, kTighter) &&
               Flag(kSelectiveCiphering) && TwoBits("CS to PS SRVCC from GERAN to UTRA"_f, kToUtra) &&
               TwoBits("CS to PS SRVCC from GERAN to E-UTRA"_f, kToEutra);
    }

    Context& ctx_;
    Classmark3Reader r_;
    int dtmGprs_ = -1;   // DTM GPRS Multi Slot Class, -1 when absent
    int dtmEgprs_ = -1;  // DTM EGPRS Multi Slot Class, -1 when absent
};

// ---------------------------------------------------------------------------
// Quality of service

// A field whose value 0 is the subscribed value from the MS and reserved
// from the network.
template <size_t N>
void WriteSubscribable(Context& ctx, Label label, uint32_t value, const ValueText (&table)[N], Text fallback,
                       Text subscribed) {
    if (value == 0) {
        ctx.out.Enum(label, 0, FromUe(ctx) ? subscribed : Text("Reserved"));
    } else {
        WriteEnum(ctx, label, value, table, fallback);
    }
}

// A quantity field without a quantity for the coding 0: subscribed from
// the MS, reserved from the network.
void WriteSubscribedAbsent(Context& ctx, Label label, Text subscribed) {
    ctx.out.Absent(label, FromUe(ctx) ? subscribed : Text("Reserved"));
}

void WritePeakThroughput(Context& ctx, uint32_t code) {
    static constexpr Text kTexts[] = {"Up to 1 000 octet/s",  "Up to 2 000 octet/s",   "Up to 4 000 octet/s",
                                      "Up to 8 000 octet/s",  "Up to 16 000 octet/s",  "Up to 32 000 octet/s",
                                      "Up to 64 000 octet/s", "Up to 128 000 octet/s", "Up to 256 000 octet/s"};
    constexpr Label kLabel = Field<"Peak throughput", "peak_throughput_octets_per_s">;
    if (code == 0) return WriteSubscribedAbsent(ctx, kLabel, "Subscribed peak throughput");
    if (code == 15) return ctx.out.Absent(kLabel, "Reserved");
    if (code <= 9) return ctx.out.Enum(kLabel, int64_t{1000} << (code - 1), kTexts[code - 1]);
    // All other values are read as class 1.
    TextBuf t;
    t.PutText(kTexts[0]).Put(" (unassigned value ").Number(code).Put(")");
    ctx.out.Enum(kLabel, 1000, t.text());
}

void WriteMeanThroughput(Context& ctx, uint32_t code) {
    static constexpr Text kTexts[] = {
        "100 octet/h",        "200 octet/h",        "500 octet/h",         "1 000 octet/h",      "2 000 octet/h",
        "5 000 octet/h",      "10 000 octet/h",     "20 000 octet/h",      "50 000 octet/h",     "100 000 octet/h",
        "200 000 octet/h",    "500 000 octet/h",    "1 000 000 octet/h",   "2 000 000 octet/h",  "5 000 000 octet/h",
        "10 000 000 octet/h", "20 000 000 octet/h", "50 000 000 octet/h"};
    static constexpr int64_t kOctetsPerHour[] = {100,     200,     500,      1000,     2000,     5000,
                                                 10000,   20000,   50000,    100000,   200000,   500000,
                                                 1000000, 2000000, 5000000, 10000000, 20000000, 50000000};
    constexpr Label kLabel = Field<"Mean throughput", "mean_throughput_octets_per_h">;
    if (code == 0) return WriteSubscribedAbsent(ctx, kLabel, "Subscribed mean throughput");
    if (code <= 18) return ctx.out.Enum(kLabel, kOctetsPerHour[code - 1], kTexts[code - 1]);
    if (code == 30) return ctx.out.Absent(kLabel, "Reserved");
    if (code == 31) return ctx.out.Absent(kLabel, "Best effort");
    // All other values are read as best effort.
    TextBuf t;
    t.Put("Best effort (unassigned value ").Number(code).Put(")");
    ctx.out.Absent(kLabel, t.text());
}

void WriteMaximumSduSize(Context& ctx, uint32_t code) {
    constexpr Label kLabel = Field<"Maximum SDU size", "maximum_sdu_size_octets">;
    if (code == 0) return WriteSubscribedAbsent(ctx, kLabel, "Subscribed maximum SDU size");
    int64_t octets = 0;
    if (code <= 150) octets = code * 10;
    if (code == 151) octets = 1502;
    if (code == 152) octets = 1510;
    if (code == 153) octets = 1520;
    if (octets == 0) return ctx.out.Absent(kLabel, "Reserved");
    TextBuf t;
    t.Number(octets).Put(" octets");
    ctx.out.Enum(kLabel, octets, t.text());
}

void WriteTransferDelay(Context& ctx, uint32_t code) {
    constexpr Label kLabel = Field<"Transfer delay", "transfer_delay_ms">;
    if (code == 0) return WriteSubscribedAbsent(ctx, kLabel, "Subscribed transfer delay");
    if (code == 63) return ctx.out.Absent(kLabel, "Reserved");
    const int64_t ms = code <= 15 ? code * 10 : code <= 31 ? 200 + (code - 16) * 50 : 1000 + (code - 32) * 100;
    TextBuf t;
    t.Number(ms).Put(" ms");
    ctx.out.Enum(kLabel, ms, t.text());
}

// A bit rate from its octet and, when the IE holds them, its extended and
// extended-2 octets.
void WriteBitRate(Context& ctx, Label label, Text subscribed, Octets v, size_t base, size_t extended,
                  size_t extended2) {
    const int64_t kbps =
        BitRateKbps(v.At(base), v.At(extended), v.At(extended2), v.size > extended, v.size > extended2);
    if (kbps < 0) return WriteSubscribedAbsent(ctx, label, subscribed);
    TextBuf t;
    t.Number(kbps).Put(" kbit/s");
    ctx.out.Enum(label, kbps, t.text());
}

// ---------------------------------------------------------------------------
// Extended DRX parameters

// One entry of the tables of 10.5.5.32: a duration and its text.
struct Duration {
    int64_t ms;
    Text text;
};

void WriteDuration(Context& ctx, Label label, const Duration& d, Text note = Text()) {
    if (!note) return ctx.out.Enum(label, d.ms, d.text);
    TextBuf t;
    t.PutText(d.text).Put(" (").PutText(note).Put(")");
    ctx.out.Enum(label, d.ms, t.text());
}

// "value 1101 <what>": the note of a coding read as another.
TextBuf CodingNote(unsigned code, std::string_view what) {
    TextBuf t;
    const char bits[4] = {static_cast<char>('0' + ((code >> 3) & 1)), static_cast<char>('0' + ((code >> 2) & 1)),
                          static_cast<char>('0' + ((code >> 1) & 1)), static_cast<char>('0' + (code & 1))};
    t.Put("value ").Put(std::string_view(bits, 4)).Put(" ").Put(what);
    return t;
}

// A paging time window of (code + 1) steps.
void WritePagingTimeWindow(Context& ctx, uint32_t code, int64_t stepMs) {
    TextBuf t;
    const int64_t ms = (code + 1) * stepMs;
    t.Seconds(ms).Put(" s");
    ctx.out.Enum(Field<"Paging Time Window length", "paging_time_window_length_ms">, ms, t.text());
}

constexpr Label kEutranCycle = Field<"E-UTRAN eDRX cycle length duration", "e_utran_edrx_cycle_length_duration_ms">;

// The E-UTRAN eDRX cycle and its parameter TeDRX (TS 36.304): the number
// of hyperframes of 10.24 s in the cycle, not used for 5.12 s.
void WriteEutranCycle(Context& ctx, uint32_t code, Text note = Text()) {
    static constexpr Duration kCycles[] = {
        {5120, "5.12 s"},       {10240, "10.24 s"},     {20480, "20.48 s"},     {40960, "40.96 s"},
        {61440, "61.44 s"},     {81920, "81.92 s"},     {102400, "102.4 s"},    {122880, "122.88 s"},
        {143360, "143.36 s"},   {163840, "163.84 s"},   {327680, "327.68 s"},   {655360, "655.36 s"},
        {1310720, "1310.72 s"}, {2621440, "2621.44 s"}, {5242880, "5242.88 s"}, {10485760, "10485.76 s"}};
    const Duration& cycle = kCycles[code & 0x0F];
    WriteDuration(ctx, kEutranCycle, cycle, note);
    constexpr Label kTeDrx = "eDRX cycle parameter 'TeDRX'"_f;
    if (cycle.ms == 5120) {
        ctx.out.Absent(kTeDrx, "Not used: a cycle of 5.12 s follows its own rule (TS 36.304)");
    } else {
        ctx.out.Number(kTeDrx, cycle.ms / 10240);
    }
}

}  // namespace

// ---------------------------------------------------------------------------

void DecodeMsClassmark3(Context& ctx, Octets v) {
    Classmark3 classmark(ctx, v);
    classmark.Decode();
}

void DecodeQualityOfService(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 3)) return;
    static constexpr ValueText kDelay[] = {
        {1, "Delay class 1"}, {2, "Delay class 2"}, {3, "Delay class 3"}, {4, "Delay class 4 (best effort)"}, {7, "Reserved"}};
    static constexpr ValueText kReliability[] = {
        {1, "Unused. If received, it shall be interpreted as '010'"},
        {2, "Unacknowledged GTP; Acknowledged LLC and RLC, Protected data"},
        {3, "Unacknowledged GTP and LLC; Acknowledged RLC, Protected data"},
        {4, "Unacknowledged GTP, LLC, and RLC, Protected data"},
        {5, "Unacknowledged GTP, LLC, and RLC, Unprotected data"},
        {7, "Reserved"}};
    static constexpr ValueText kPrecedence[] = {
        {1, "High priority"}, {2, "Normal priority"}, {3, "Low priority"}, {7, "Reserved"}};
    const uint8_t o3 = v.At(0), o4 = v.At(1), o5 = v.At(2);
    WriteSubscribable(ctx, "Delay class"_f, (o3 >> 3) & 0x07, kDelay, "Delay class 4 (best effort)",
                      "Subscribed delay class");
    WriteSubscribable(ctx, "Reliability class"_f, o3 & 0x07, kReliability,
                      "Unacknowledged GTP and LLC; Acknowledged RLC, Protected data", "Subscribed reliability class");
    WritePeakThroughput(ctx, o4 >> 4);
    WriteSubscribable(ctx, "Precedence class"_f, o4 & 0x07, kPrecedence, "Normal priority", "Subscribed precedence");
    WriteMeanThroughput(ctx, o5 & 0x1F);
    if (v.size == 3) return;
    if (v.size < 11) {
        // Octets 6 to 13 come together (octet 14 and the extended octets
        // may be left out, they may not).
        ctx.ValueError("octets 6 to 13 are incomplete");
        return;
    }
    static constexpr ValueText kTrafficClass[] = {{1, "Conversational class"},
                                                  {2, "Streaming class"},
                                                  {3, "Interactive class"},
                                                  {4, "Background class"},
                                                  {7, "Reserved"}};
    static constexpr ValueText kDeliveryOrder[] = {
        {1, "With delivery order ('yes')"}, {2, "Without delivery order ('no')"}, {3, "Reserved"}};
    static constexpr ValueText kErroneous[] = {{1, "No detect ('-')"},
                                               {2, "Erroneous SDUs are delivered ('yes')"},
                                               {3, "Erroneous SDUs are not delivered ('no')"},
                                               {7, "Reserved"}};
    static constexpr ValueText kResidualBer[] = {{1, "5*10-2"}, {2, "1*10-2"}, {3, "5*10-3"}, {4, "4*10-3"},
                                                 {5, "1*10-3"}, {6, "1*10-4"}, {7, "1*10-5"}, {8, "1*10-6"},
                                                 {9, "6*10-8"}, {15, "Reserved"}};
    static constexpr ValueText kSduErrorRatio[] = {{1, "1*10-2"}, {2, "7*10-3"}, {3, "1*10-3"}, {4, "1*10-4"},
                                                   {5, "1*10-5"}, {6, "1*10-6"}, {7, "1*10-1"}, {15, "Reserved"}};
    static constexpr ValueText kHandlingPriority[] = {
        {1, "Priority level 1"}, {2, "Priority level 2"}, {3, "Priority level 3"}};
    const uint8_t o6 = v.At(3);
    WriteSubscribable(ctx, "Traffic class"_f, o6 >> 5, kTrafficClass, "Reserved", "Subscribed traffic class");
    WriteSubscribable(ctx, "Delivery order"_f, (o6 >> 3) & 0x03, kDeliveryOrder, "Reserved",
                      "Subscribed delivery order");
    WriteSubscribable(ctx, "Delivery of erroneous SDUs"_f, o6 & 0x07, kErroneous, "Reserved",
                      "Subscribed delivery of erroneous SDUs");
    WriteMaximumSduSize(ctx, v.At(4));
    // Value octets (from 0) of each rate and of its extended and extended-2
    // octets: octets 8 (17, 21), 9 (15, 19), 12 (18, 22) and 13 (16, 20).
    WriteBitRate(ctx, Field<"Maximum bit rate for uplink", "maximum_bit_rate_for_uplink_kbps">,
                 "Subscribed maximum bit rate for uplink", v, 5, 14, 18);
    WriteBitRate(ctx, Field<"Maximum bit rate for downlink", "maximum_bit_rate_for_downlink_kbps">,
                 "Subscribed maximum bit rate for downlink", v, 6, 12, 16);
    WriteSubscribable(ctx, "Residual Bit Error Rate (BER)"_f, v.At(7) >> 4, kResidualBer, "Reserved",
                      "Subscribed residual BER");
    WriteSubscribable(ctx, "SDU error ratio"_f, v.At(7) & 0x0F, kSduErrorRatio, "Reserved",
                      "Subscribed SDU error ratio");
    WriteTransferDelay(ctx, v.At(8) >> 2);
    WriteSubscribable(ctx, "Traffic handling priority"_f, v.At(8) & 0x03, kHandlingPriority, "",
                      "Subscribed traffic handling priority");
    WriteBitRate(ctx, Field<"Guaranteed bit rate for uplink", "guaranteed_bit_rate_for_uplink_kbps">,
                 "Subscribed guaranteed bit rate for uplink", v, 9, 15, 19);
    WriteBitRate(ctx, Field<"Guaranteed bit rate for downlink", "guaranteed_bit_rate_for_downlink_kbps">,
                 "Subscribed guaranteed bit rate for downlink", v, 10, 13, 17);
    if (v.size < 12) return;
    const uint8_t o14 = v.At(11);
    WriteBit(ctx, "Signalling Indication"_f, o14 >> 4, "Optimised for signalling traffic",
             "Not optimised for signalling traffic");
    // From the network, bits 4 to 1 of octet 14 are spare.
    if (FromUe(ctx)) {
        const unsigned ssd = o14 & 0x0F;
        ctx.out.Enum("Source Statistics Descriptor"_f, ssd, ssd == 1 ? Text("speech") : Text("unknown"));
    }
    if (v.size > 20) WriteOctets(ctx, v.From(20), "Further octets"_f);
}

void DecodeDrxParameter(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 2)) return;
    // SPLIT PG CYCLE values of the codes 65 to 98.
    static constexpr int16_t kSplitAbove64[] = {71,  72,  74,  75,  77,  79,  80,  83,  86,  88,  90,  92,
                                                96,  101, 103, 107, 112, 116, 118, 128, 141, 144, 150, 160,
                                                171, 176, 192, 214, 224, 235, 256, 288, 320, 352};
    static constexpr ValueText kNonDrx[] = {{0, "no non-DRX mode after transfer state"},
                                            {1, "max. 1 sec non-DRX mode after transfer state"},
                                            {2, "max. 2 sec non-DRX mode after transfer state"},
                                            {4, "max. 4 sec non-DRX mode after transfer state"},
                                            {8, "max. 8 sec non-DRX mode after transfer state"},
                                            {16, "max. 16 sec non-DRX mode after transfer state"},
                                            {32, "max. 32 sec non-DRX mode after transfer state"},
                                            {64, "max. 64 sec non-DRX mode after transfer state"}};
    const uint8_t code = v.At(0), o3 = v.At(1);
    TextBuf t;
    int64_t split = 1;
    if (code == 0) {
        split = 704;
        t.Put("704 (equivalent to no DRX)");
    } else if (code <= 98) {
        split = code <= 64 ? code : kSplitAbove64[code - 65];
        t.Put("SPLIT PG CYCLE ").Number(split).Put(" (code ").Number(code).Put(")");
    } else {
        t.Put("Reserved code ").Number(code).Put(", interpreted as 1");
    }
    ctx.out.Enum("SPLIT PG CYCLE CODE"_f, split, t.text());
    // Octet 3 bits 8 to 5 hold two values: the CN Specific DRX cycle length
    // coefficient for Iu mode and the DRX cycle parameter T for S1 mode;
    // codes other than 6 to 9 are "not specified by the MS".
    const unsigned coefficient = o3 >> 4;
    if (coefficient >= 6 && coefficient <= 9) {
        TextBuf k;
        k.Put("CN Specific DRX cycle length coefficient ").Number(coefficient);
        ctx.out.Enum("CN Specific DRX cycle length coefficient"_f, coefficient, k.text());
        TextBuf frames;
        const int64_t t1 = int64_t{1} << (coefficient - 1);
        frames.Put("T = ").Number(t1).Put(" radio frames");
        ctx.out.Enum(Field<"DRX value for S1 mode", "drx_value_for_s1_mode_radio_frames">, t1, frames.text());
    } else {
        ctx.out.Absent("CN Specific DRX cycle length coefficient"_f,
                       "Not specified by the MS: the system information value is used");
        ctx.out.Absent(Field<"DRX value for S1 mode", "drx_value_for_s1_mode_radio_frames">,
                       "DRX value not specified by the MS");
    }
    WriteBit(ctx, "SPLIT on CCCH"_f, o3 >> 3, "Split pg cycle on CCCH is supported by the mobile station",
             "Split pg cycle on CCCH is not supported by the mobile station");
    const unsigned timer = o3 & 0x07;
    const int64_t seconds = timer == 0 ? 0 : int64_t{1} << (timer - 1);
    WriteEnum(ctx, Field<"Non-DRX timer", "non_drx_timer_seconds">, seconds, kNonDrx, "");
}

void DecodeExtendedDrxParameters(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr Duration kIuWindows[] = {
        {0, "0 s (PTW not used)"}, {1000, "1 s"},   {2000, "2 s"},   {3000, "3 s"},   {4000, "4 s"},   {5000, "5 s"},
        {6000, "6 s"},             {7000, "7 s"},   {8000, "8 s"},   {9000, "9 s"},   {10000, "10 s"}, {12000, "12 s"},
        {14000, "14 s"},           {16000, "16 s"}, {18000, "18 s"}, {20000, "20 s"}};
    // GERAN: the cycle is a number of 51-multiframes of 3.06/13 s each.
    static constexpr Duration kGeranCycles[] = {
        {1883, "~1.88 s"},    {3766, "~3.76 s"},    {7532, "~7.53 s"},     {12240, "12.24 s"},
        {24480, "24.48 s"},   {48960, "48.96 s"},   {97920, "97.92 s"},    {195840, "195.84 s"},
        {391680, "391.68 s"}, {783360, "783.36 s"}, {1566720, "1566.72 s"}, {3133440, "3133.44 s"}};
    static constexpr int16_t kMultiframes[] = {8, 16, 32, 52, 104, 208, 416, 832, 1664, 3328, 6656, 13312};
    static constexpr Duration kUtranCycles[] = {
        {10240, "10.24 s"},   {20480, "20.48 s"},   {40960, "40.96 s"},     {81920, "81.92 s"},
        {163840, "163.84 s"}, {327680, "327.68 s"}, {655360, "655.36 s"},   {1310720, "1310.72 s"},
        {1966080, "1966.08 s"}, {2621440, "2621.44 s"}};
    const unsigned ptw = v.At(0) >> 4, edrx = v.At(0) & 0x0F;
    ctx.out.Number("Paging Time Window"_f, ptw);
    ctx.out.Number("eDRX value"_f, edrx);

    // A/Gb mode: the eDRX value alone; codes 1100 to 1111 read as 0000.
    ctx.out.Begin("A/Gb mode"_f);
    const unsigned geran = edrx <= 11 ? edrx : 0;
    const TextBuf unassigned = CodingNote(edrx, "unassigned, read as 0000");
    WriteDuration(ctx, Field<"GERAN eDRX cycle length duration", "geran_edrx_cycle_length_duration_ms">,
                  kGeranCycles[geran], edrx <= 11 ? Text() : unassigned.text());
    ctx.out.Number("Number of 51-MF per GERAN eDRX cycle"_f, kMultiframes[geran]);
    ctx.out.End();

    // Iu mode: codes 1010 to 1111 read as 0000.
    ctx.out.Begin("Iu mode"_f);
    WriteDuration(ctx, Field<"Paging Time Window length", "paging_time_window_length_ms">, kIuWindows[ptw]);
    WriteDuration(ctx, Field<"UTRAN eDRX cycle length duration", "utran_edrx_cycle_length_duration_ms">,
                  kUtranCycles[edrx <= 9 ? edrx : 0], edrx <= 9 ? Text() : unassigned.text());
    ctx.out.End();

    // WB-S1 mode: 1110 and 1111 are for NB-S1 mode and read as 1101.
    ctx.out.Begin("WB-S1 mode"_f);
    WritePagingTimeWindow(ctx, ptw, 1280);
    if (edrx >= 14) {
        WriteEutranCycle(ctx, 13, CodingNote(edrx, "for NB-S1 mode only, read as 1101").text());
    } else {
        WriteEutranCycle(ctx, edrx);
    }
    ctx.out.End();

    // NB-S1 mode: 0000 and 0001 are for WB-S1 mode only and the IE is then
    // taken as not included; 0100 and 0110 to 1000 read as 0010.
    ctx.out.Begin("NB-S1 mode"_f);
    WritePagingTimeWindow(ctx, ptw, 2560);
    if (edrx <= 1) {
        ctx.out.Absent(kEutranCycle, CodingNote(edrx, "for WB-S1 mode only: the IE is taken as not included").text());
    } else if (edrx == 4 || (edrx >= 6 && edrx <= 8)) {
        WriteEutranCycle(ctx, 2, CodingNote(edrx, "for WB-S1 mode only, read as 0010").text());
    } else {
        WriteEutranCycle(ctx, edrx);
    }
    ctx.out.End();

    // Octet 4, the extended paging time window: its coded value.
    if (v.size >= 2) ctx.out.Number("Extended Paging Time Window"_f, v.At(1));
    if (v.size > 2) WriteOctets(ctx, v.From(2), "Further octets"_f);
}

}  // namespace corvuna::view::eps
