// SPDX-License-Identifier: Apache-2.0
#include "legacy/emm/authentication.h"

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/optional_ies.h"

namespace corvuna {

namespace {

// Body sizes (octets) that hold the whole RAND and the whole AUTN value:
// octet 1, RAND in octets 2-17, the AUTN length octet 18, AUTN in 19-34.
constexpr int32_t kBodyWithRand = 1 + static_cast<int32_t>(kAuthVectorOctets);
constexpr int32_t kBodyWithAutn = kBodyWithRand + 1 + static_cast<int32_t>(kAuthVectorOctets);

// The one optional IE of AUTHENTICATION FAILURE, single look.
constexpr OptionalIe<AuthenticationFailureRecord> kFailureRows[] = {
    Tlv<&AuthenticationFailureRecord::autsPresent, &AuthenticationFailureRecord::auts, ParseAuts>(0x30),
};
constexpr OptionalIes<AuthenticationFailureRecord> kFailureIes{Scan::kSingleLook, kFailureRows};

void ReadVector(BitCursor& cursor, uint8_t (&octets)[kAuthVectorOctets]) {
    ReadOctets(cursor, octets, kAuthVectorOctets);
}

void WriteVector(Name name, const uint8_t (&octets)[kAuthVectorOctets], OutputDocument& out) {
    for (const uint8_t& octet : octets) WriteHexElement(name, &octet, out, 1);
}

}  // namespace

void ParseAuthenticationRequest(int, BitCursor& cursor, AuthenticationRequestRecord& record) {

    // Octet 1: spare half-octet, then the NAS key set identifier in the low
    // half (TSC in bit 4, the identifier in bits 3-1).
    ReadBits(cursor, 4);
    record.ksi = KeySetIdentifierOf(ReadBits(cursor, 4));

    // A vector the body does not hold whole stays zero.
    if (cursor.bitCount < 8 * kBodyWithRand) return;
    ReadVector(cursor, record.rand);
    ReadOctet(cursor);  // AUTN length: the value is always 16 octets
    if (cursor.bitCount >= 8 * kBodyWithAutn) ReadVector(cursor, record.autn);
}

int RenderAuthenticationRequest(const AuthenticationRequestRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    RenderKeySetIdentifier(record.ksi, out);
    WriteVector("RAND", record.rand, out);
    WriteVector("AUTN", record.autn, out);
    return 1;
}

void ParseAuthenticationResponse(int, BitCursor& cursor, AuthenticationResponseRecord& record) {
    ParseRes(cursor, ReadOctet(cursor), record.res);
}

int RenderAuthenticationResponse(const AuthenticationResponseRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    RenderRes(record.res, out);
    return 1;
}

void ParseAuthenticationFailure(int, BitCursor& cursor, AuthenticationFailureRecord& record) {
    record.emmCause = ReadOctet(cursor);
    // Only the octet after the cause is looked at for the optional IE.
    ScanOptionalIes(cursor, kFailureIes, record);
}

int RenderAuthenticationFailure(const AuthenticationFailureRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    // This message writes the cause as a bare number.
    WriteNumber("EMM_cause", record.emmCause, out);
    if (record.autsPresent) RenderAuts(record.auts, out);
    return 1;
}

}  // namespace corvuna
