// SPDX-License-Identifier: Apache-2.0
// LTE MAC (TS 36.321): the context framing that srsRAN, LTESniffer and
// other tools put before each MAC PDU in a capture (the layout of
// Wireshark's mac-lte framing: radio type, direction, RNTI type, then
// tagged fields up to the payload tag), and the subheaders of a DL-SCH or
// UL-SCH MAC PDU (6.1.2, 6.2.1) that split it into MAC SDUs per logical
// channel and control elements.
#pragma once

#include <cstdint>
#include <vector>

#include "capture/bytes.h"

namespace corvuna::capture::radio {

// Framing values.
namespace mac {
inline constexpr uint8_t kUplink = 0;  // the framing's direction field
inline constexpr uint8_t kDownlink = 1;
// RNTI types, numbered from 0 in this order.
enum RntiType : uint8_t { kNoRnti, kPRnti, kRaRnti, kCRnti, kSiRnti, kSpsRnti };
inline constexpr uint8_t kCrcOk = 1;
}  // namespace mac

// The context of one framed MAC PDU.
struct MacContext {
    uint8_t radioType = 0;  // 1 FDD, 2 TDD
    uint8_t direction = 0;  // mac::kUplink or mac::kDownlink
    uint8_t rntiType = 0;
    int rnti = -1;
    int ueId = -1;
    int sfn = -1;
    int subframe = -1;
    int crcStatus = -1;  // 1 when the CRC passed; -1 when not given
    int retx = -1;       // retransmission count, -1 when not given
    bool predefinedData = false;
    bool nbIot = false;  // NB-IoT mode
    bool hasPdu = false; // the payload tag was present
    Bytes pdu;
};

enum class FramingResult : uint8_t { kOk, kMalformed };

// Reads the framing that starts at the radio type (user link type 147, or
// what follows the "mac-lte" signature).  kMalformed with `error` set when
// a tag is unknown or runs past the frame.
FramingResult ReadMacContext(Bytes framed, MacContext& context, const char*& error);

// One element of a MAC PDU, in the order of the subheaders.
struct MacElement {
    uint8_t lcid = 0;
    bool sdu = false;  // a MAC SDU of logical channel `lcid` (else a control element or padding)
    Bytes octets;
};

enum class MacParse : uint8_t { kOk, kMalformed, kUnknownLcid };

// Splits a DL-SCH (`uplink` false) or UL-SCH MAC PDU into its elements
// (padding left out).  Nothing is given for a PDU whose header cannot be
// read to its end: a reserved LCID leaves the sizes of what follows
// unknown.
MacParse ParseMacPdu(Bytes pdu, bool uplink, std::vector<MacElement>& elements);

}  // namespace corvuna::capture::radio
