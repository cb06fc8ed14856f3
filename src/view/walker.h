// SPDX-License-Identifier: Apache-2.0
// The message walker of the standard view, shared by every NAS protocol: it
// finds a message's protocol by its first octet, lets the protocol read its
// header, and walks the IEs of the message in the standard's way (TS 24.007
// clause 11.2.4): the mandatory part in the order of the message table,
// then the optional IEs in any order, an unknown IEI or a repeated IE
// passed over by its format and shown with its octets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "view/context.h"
#include "view/tables.h"

namespace corvuna::view {

// Octets decoded of one message; a longer one is cut there, and says so.
inline constexpr size_t kMaxViewInput = 10240;

// Decodes `length` octets sent in `direction` (1 uplink, 0 downlink) as a
// record of `out` (a member `member` of the caller's open group, or the
// root when none).  `options` holds kOptionNullCiphering when the
// ciphered messages are known to use EEA0; `protection` what the caller's
// security context knows of the message (may be null).
Result DecodeView(int direction, const uint8_t* message, size_t length, uint32_t options,
                  const Protection* protection, Sink& out, Label member = Label());

// Decodes one message as the group `member` of the open group: its
// protocol found by its first octet.
Result DecodeMessage(Context& ctx, Octets message, Label member);

// A message carried in an IE value (a container): the group "Message", or
// its octets where messages nest too deep.
void DecodeNestedMessage(Context& ctx, Octets message);

// For a protocol's header decoder: from the message type octet on, the
// message of `table`: its type, name and IEs.
Result DecodeTyped(Context& ctx, const MessageTable& table, uint8_t protocol, Octets fromType);

// The IEs of `layout` in `body` (the octets after the message type).
void WalkIes(Context& ctx, const MessageTable& table, const MessageLayout& layout, Octets body);

// An IE value as its type says: its bit fields, its decoder, or its octets.
void DecodeValue(Context& ctx, const IeType& type, Octets value);

// The "Ciphering" facts of a security-protected message whose header says
// it is `ciphered`: what the caller's security context knows (Context::
// protection), or else what the options tell.  The algorithms are named by
// the protocol's tables.  Returns how the body is to be read.
Protection::Body WriteProtection(Context& ctx, bool ciphered, std::span<const ValueText> cipheringNames,
                                 std::span<const ValueText> integrityNames);

// The message inside a protected one: the plain octets (`inner` itself, or
// the deciphered body when the body was deciphered) decoded as the group
// "Message", at octet `inner` of the message for the offsets.
Result DecodeInnerMessage(Context& ctx, Protection::Body body, Octets inner);

// The security-protected NAS message of TS 24.301 9.1 and TS 24.501 9.1
// as a protocol frames it: its header octets (the MAC follows them), how
// the header is written, and how the ciphering facts are.
struct ProtectedFraming {
    size_t headerOctets;
    void (*writeHeader)(Context& ctx, unsigned securityHeader);
    Protection::Body (*writeFacts)(Context& ctx, bool ciphered);
    const char* tooShort;  // the reason when the message ends inside the MAC and sequence number
};

// The security-protected message of `framing`: its MAC and sequence
// number, the ciphering facts, then the message they protect (or its
// ciphered octets).
Result DecodeProtectedMessage(Context& ctx, Octets message, unsigned securityHeader, const ProtectedFraming& framing);

// A message whose security header type is reserved: its header and its
// octets, unknown.
Result DecodeReservedSecurityHeader(Context& ctx, Octets message, unsigned securityHeader,
                                    const ProtectedFraming& framing);

// A message that ends inside its header, before its message type: no name,
// no message type, no IEs, and where and why decoding stopped.
Result StopInHeader(Context& ctx, const uint8_t* at, Label where, std::string_view reason);

// The empty list of IEs of a message whose IEs are not walked (every
// message object has its list).
void WriteNoIes(Sink& out);

// Whether the output has reached its limit; decoding then stops at `at`.
bool OutputFull(Context& ctx, const uint8_t* at);

// The longest chain of messages inside messages.
inline constexpr int kMaxNesting = 3;

}  // namespace corvuna::view
