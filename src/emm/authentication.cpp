#include "emm/authentication.h"

#include "api/codec.h"
#include "bits/bit_cursor.h"

namespace corvuna {

namespace {

// Body sizes (octets) that hold the whole RAND and the whole AUTN value:
// octet 1, RAND in octets 2-17, the AUTN length octet 18, AUTN in 19-34.
constexpr int32_t kBodyWithRand = 1 + static_cast<int32_t>(kAuthVectorOctets);
constexpr int32_t kBodyWithAutn = kBodyWithRand + 1 + static_cast<int32_t>(kAuthVectorOctets);

constexpr uint8_t kAuthenticationFailureParameterIei = 0x30;

void ReadVector(BitCursor& cursor, uint8_t (&octets)[kAuthVectorOctets]) {
    for (uint8_t& octet : octets) octet = ReadOctet(cursor);
}

void WriteVector(const char* name, const uint8_t (&octets)[kAuthVectorOctets], OutputDocument& out) {
    for (const uint8_t& octet : octets) WriteHexElement(name, &octet, out, 1);
}

}  // namespace

std::unique_ptr<AuthenticationRequestRecord> ParseAuthenticationRequest(int, int32_t bodyLength,
                                                                        const uint8_t* body) {
    auto record = NewRecord<AuthenticationRequestRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);

    // Octet 1: spare half-octet, then the NAS key set identifier in the low
    // half (TSC in bit 4, the identifier in bits 3-1).
    ReadBits(cursor, 4);
    record->ksi.tsc = static_cast<uint8_t>(ReadBits(cursor, 1));
    record->ksi.keySetId = static_cast<uint8_t>(ReadBits(cursor, 3));

    // A vector the body does not hold whole stays zero.
    if (cursor.bitCount < 8 * kBodyWithRand) return record;
    ReadVector(cursor, record->rand);
    ReadOctet(cursor);  // AUTN length: the value is always 16 octets
    if (cursor.bitCount >= 8 * kBodyWithAutn) ReadVector(cursor, record->autn);
    return record;
}

int RenderAuthenticationRequest(const AuthenticationRequestRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("AUTHENTICATION_REQUEST", out);
    RenderKeySetIdentifier(record.ksi, out);
    WriteVector("RAND", record.rand, out);
    WriteVector("AUTN", record.autn, out);
    WriteCloseTag("AUTHENTICATION_REQUEST", out);
    return 1;
}

std::unique_ptr<AuthenticationResponseRecord> ParseAuthenticationResponse(int, int32_t bodyLength,
                                                                          const uint8_t* body) {
    auto record = NewRecord<AuthenticationResponseRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    ParseRes(cursor, ReadOctet(cursor), record->res);
    return record;
}

int RenderAuthenticationResponse(const AuthenticationResponseRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("AUTHENTICATION_RESPONSE", out);
    RenderRes(record.res, out);
    WriteCloseTag("AUTHENTICATION_RESPONSE", out);
    return 1;
}

int RenderAuthenticationReject(const EmptyBodyRecord&, OutputDocument& out) {
    return RenderEmptyMessage("AUTHENTICATION_REJECT", out);
}

std::unique_ptr<AuthenticationFailureRecord> ParseAuthenticationFailure(int, int32_t bodyLength,
                                                                        const uint8_t* body) {
    auto record = NewRecord<AuthenticationFailureRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    record->emmCause = ReadOctet(cursor);
    // Only the octet after the cause is looked at for the optional IE.
    if (!HasOctet(cursor) || ReadOctet(cursor) != kAuthenticationFailureParameterIei) return record;
    record->autsPresent = 1;
    ParseAuts(cursor, ReadOctet(cursor), record->auts);
    return record;
}

int RenderAuthenticationFailure(const AuthenticationFailureRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    // This message writes the cause as a bare number.
    WriteLineTag("AUTHENTICATION_FAILUR", out);
    WriteNumber("EMM_cause", &record.emmCause, -1, out);
    if (record.autsPresent) RenderAuts(record.auts, out);
    WriteCloseTag("AUTHENTICATION_FAILUR", out);
    return 1;
}

}  // namespace corvuna
