// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/mm/identities.h"

#include <cstring>

#include "legacy/doc/elements.h"
#include "legacy/ie/mm/plmn.h"

namespace corvuna {

namespace {

// EPS mobile identity (TS 24.301 9.9.3.12).  The element names
// "odd_even_indic" and "Type_Of_Indetity" are spelled so in the document.
constexpr uint8_t kEpsIdentityImsi = 1;
constexpr uint8_t kEpsIdentityGuti = 6;
constexpr auto kEpsOddEven = Element("odd_even_indic",
                                     {
                                         "even number of identity digits and also when the GUTI is used",
                                         "odd number of identity digits",
                                     });
constexpr auto kEpsIdentityType =
    Element("Type_Of_Indetity", {{kEpsIdentityImsi, "IMSI"}, {kEpsIdentityGuti, "GUTI"}}, "Unknown Type");

// Mobile identity (TS 24.008 10.5.1.4).
constexpr int32_t kIdentityTmgi = 5;
constexpr auto kMbmsSessionIndicator = Element("MBMS_Sess_ID_Indic", {{1, "MBMS Session Identity is present"}},
                                               "MBMS Session Identity is not present");
constexpr auto kMccMncIndicator = Element("MCC_MNC_Indic", {{1, "MCC/MNC is present"}}, "MCC/MNC is not present");
constexpr auto kOddEven = Element("Odd_Even_Indic", {{1, "odd number of identity digits"}},
                                  "even number of identity digits and also when the TMSI/P-TMSI or TMGI and "
                                  "optional MBMS Session Identity is used");
constexpr auto kIdentityType = Element("Type_Of_Identity",
                                       {
                                           "No Identity",
                                           "IMSI",
                                           "IMEI",
                                           "IMEISV",
                                           "TMSI/P-TMSI/M-TMSI",
                                           "TMGI and optional MBMS Session Identity",
                                       },
                                       "reserved");

// Reads `count` octets (at most 4), the first least significant.
uint32_t ReadLittleEndian(BitCursor& cursor, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value |= static_cast<uint32_t>(ReadOctet(cursor)) << (8 * i);
    return value;
}

}  // namespace

int ParseEpsMobileIdentity(BitCursor& cursor, int32_t length, EpsMobileIdentity& record) {
    return ParseIeValue(cursor, length, [&] {
        const uint8_t first = ReadOctet(cursor);
        record.oddEven = static_cast<uint8_t>(TestBit(first, 3));
        record.identityType = static_cast<uint8_t>(first & 0x07);
        if (record.identityType == kEpsIdentityImsi) {
            // Only the lead digits are decoded; the reconciliation passes over
            // the rest of the IMSI.
            const uint8_t second = ReadOctet(cursor);
            record.imsiLeadDigits = second * 16 + (first >> 4);
            return 1;
        }
        if (record.identityType == kEpsIdentityGuti) {
            uint8_t o[11] = {first};
            ReadOctets(cursor, o + 1, 10);
            const PlmnOctets plmn{o[1], o[2], o[3]};
            record.mcc = Mcc(plmn);
            record.mnc = TwoDigitMnc(plmn);
            record.mmeGroupId = o[4] * 256 + o[5];
            record.mmeCode = o[6];
            record.mTmsi = static_cast<uint32_t>(o[7]) << 24 | static_cast<uint32_t>(o[8]) << 16 |
                           static_cast<uint32_t>(o[9]) << 8 | o[10];
            return 1;
        }
        return 0;  // no other type is decoded
    });
}

int RenderEpsMobileIdentity(const EpsMobileIdentity& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteElement(kEpsOddEven, record.oddEven, out);
    WriteElement(kEpsIdentityType, record.identityType, out);
    if (record.identityType == kEpsIdentityImsi) {
        WriteNumber("Identity_Digit", record.imsiLeadDigits, out);
    } else if (record.identityType == kEpsIdentityGuti) {
        WriteNumber("MCC", record.mcc, out);
        WriteNumber("MNC", record.mnc, out);
        WriteNumber("MME_Group_ID", record.mmeGroupId, out);
        WriteNumber("MME_Code", record.mmeCode, out);
        const uint8_t tmsi[4] = {static_cast<uint8_t>(record.mTmsi >> 24), static_cast<uint8_t>(record.mTmsi >> 16),
                                 static_cast<uint8_t>(record.mTmsi >> 8), static_cast<uint8_t>(record.mTmsi)};
        WriteHexElement("M_TMSI", tmsi, out, 4);
    } else {
        return 0;
    }
    return 1;
}

int ParseMobileIdentity(BitCursor& cursor, int32_t length, MobileIdentity& record) {
    return ParseIeValue(cursor, length, [&] {
        const uint8_t first = ReadOctet(cursor);
        record.oddEven = TestBit(first, 3);
        record.identityType = first & 0x07;
        if (record.identityType >= 1 && record.identityType <= 4) {
            // Identity digit 1 sits in the high half of the first octet; only
            // the next two digits are kept (for a TMSI: the filler 0xF and the
            // first TMSI octet).
            record.digits[0] = static_cast<uint8_t>(first >> 4);
            record.digitCount = 1;
            if (length > 1) {
                const uint8_t second = ReadOctet(cursor);
                record.digits[1] = static_cast<uint8_t>(second & 0x0F);
                record.digits[2] = static_cast<uint8_t>(second >> 4);
                record.digitCount = 3;
            }
        } else if (record.identityType == kIdentityTmgi) {
            record.mbmsSessionIdPresent = static_cast<uint8_t>(TestBit(first, 5));
            record.mccMncPresent = static_cast<uint8_t>(TestBit(first, 4));
            record.mbmsServiceId = static_cast<int32_t>(ReadBits(cursor, 24));
            if (record.mccMncPresent == 1) {
                const PlmnOctets plmn = ReadPlmn(cursor, ReadOctet(cursor));
                record.mcc = Mcc(plmn);
                record.mnc = ThreeDigitMnc(plmn);
            }
            if (record.mbmsSessionIdPresent == 1) record.mbmsSessionId = ReadOctet(cursor);
        }
    });
}

int RenderMobileIdentity(const MobileIdentity& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    const bool tmgi = record.identityType == kIdentityTmgi;
    if (tmgi) {
        WriteElement(kMbmsSessionIndicator, record.mbmsSessionIdPresent, out);
        WriteElement(kMccMncIndicator, record.mccMncPresent, out);
    }
    WriteElement(kOddEven, record.oddEven, out);
    WriteElement(kIdentityType, record.identityType, out);
    if (record.identityType >= 1 && record.identityType <= 4) {
        const size_t count = record.digitCount < kMobileIdentityDigits ? record.digitCount : kMobileIdentityDigits;
        for (size_t i = 0; i < count; ++i) WriteHexElement("digit", &record.digits[i], out, 1);
    }
    if (tmgi) {
        WriteNumber("MBMS_Service_ID", record.mbmsServiceId, out);
        WriteNumber("MCC", record.mcc, out);
        WriteNumber("MNC", record.mnc, out);
        WriteNumber("MBMS_Session_Identity", record.mbmsSessionId, out);
    }
    return 1;
}

int ParsePtmsiSignature(BitCursor& cursor, int32_t length, uint32_t& value) {
    return ParseIeValue(cursor, length, [&] { value = ReadLittleEndian(cursor, 3); });
}

int RenderPtmsiSignature(uint32_t value, OutputDocument& out) {
    return RenderElement("P_TMSI_SignatureValue", value, out);
}

int ParseNonce(BitCursor& cursor, int32_t length, uint32_t& value) {
    return ParseIeValue(cursor, length, [&] { value = ReadLittleEndian(cursor, 4); });
}

// The element prints 32-bit values signed: a fourth octet of 0x80 or more
// gives a negative number.
int RenderNonce(uint32_t value, OutputDocument& out) { return RenderElement("NonceValue", value, out); }

int ParseAuthOctetString(BitCursor& cursor, int32_t length, uint8_t (&octets)[kAuthParameterOctets]) {
    return ParseIeValue(cursor, length, [&] {
        std::memset(octets, 0, sizeof octets);
        if (length > RemainingOctets(cursor)) {
            // The value runs past the message: nothing of it is kept, and the
            // rest of the message belongs to it.
            if (cursor.position < cursor.bitCount) cursor.position = cursor.bitCount;
        } else if (length <= static_cast<int32_t>(kAuthParameterOctets)) {
            for (int32_t i = 0; i < length; ++i) octets[i] = ReadOctet(cursor);
        }
        // A value longer than the array is passed over by the reconciliation.
    });
}

namespace {

int RenderAuthOctets(Name name, const uint8_t (&octets)[kAuthParameterOctets], OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    for (const uint8_t& octet : octets) WriteHexElement(name, &octet, out, 1);
    return 1;
}

}  // namespace

int RenderAuts(const uint8_t (&octets)[kAuthParameterOctets], OutputDocument& out) {
    return RenderAuthOctets("AUTS", octets, out);
}

int RenderRes(const uint8_t (&octets)[kAuthParameterOctets], OutputDocument& out) {
    return RenderAuthOctets("RES", octets, out);
}

}  // namespace corvuna
