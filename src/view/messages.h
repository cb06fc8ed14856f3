// SPDX-License-Identifier: Apache-2.0
// The EMM and ESM messages of TS 24.301 (message type tables 9.8.1 and 9.8.2,
// Release 17) as data: each message's IEs as its message table lists them.
#pragma once

#include <cstdint>
#include <span>

#include "doc/value_text.h"
#include "view/ies.h"

namespace corvuna::view {

// IE formats of TS 24.007 clause 11.2.
enum class IeFormat : uint8_t {
    kV,       // value of fixed length (mandatory)
    kHalfV,   // half an octet (mandatory): the first of a pair is bits 4-1
    kLV,      // length octet and value (mandatory)
    kLVE,     // two length octets and value (mandatory)
    kT,       // type 2: the IEI octet alone (optional)
    kTV1,     // type 1: IEI in bits 8-5, value in bits 4-1 (optional)
    kTV,      // IEI and value of fixed length (optional)
    kTLV,     // IEI, length octet, value (optional)
    kTLVE,    // IEI, two length octets, value (optional)
};

inline constexpr uint16_t kAnyLength = 0xFFFF;

struct IeRow {
    Label role;  // the IE as the message table names it ("Old GUTI or IMSI")
    const IeType* type;
    IeFormat format;
    uint8_t iei;         // optional IEs: the IEI (kTV1: the value of bits 8-5)
    uint16_t minLength;  // the IE's length in octets as the message table
    uint16_t maxLength;  // gives it (IEI and length octets included)
};

// Which directions a message is sent in.
inline constexpr uint8_t kUplink = 1;
inline constexpr uint8_t kDownlink = 2;
inline constexpr uint8_t kBoth = kUplink | kDownlink;

struct MessageLayout {
    uint8_t protocol;   // 7 EMM, 2 ESM
    uint8_t type;       // message type
    uint8_t directions;
    Label name;         // "Attach request"
    Text reference;     // clause of TS 24.301: "8.2.4"
    std::span<const IeRow> ies;
};

// The message of `protocol` and `type` as sent in `direction` (1 uplink, 0
// downlink); null for a type that protocol does not define.  DETACH REQUEST
// has a layout for each direction.
const MessageLayout* FindMessageLayout(uint8_t protocol, uint8_t type, int direction);

// The directions the message of `protocol` and `type` is sent in (0 when
// unknown).
uint8_t MessageDirections(uint8_t protocol, uint8_t type);

// The optional IE of `layout` (one of the tables') that `iei` introduces: its
// index in layout.ies, or -1 when the message has none.
int OptionalRow(const MessageLayout& layout, uint8_t iei);

// Every message, for tests.
std::span<const MessageLayout> AllMessageLayouts();

}  // namespace corvuna::view
