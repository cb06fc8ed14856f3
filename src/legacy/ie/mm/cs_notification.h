// SPDX-License-Identifier: Apache-2.0
// Optional elements of CS SERVICE NOTIFICATION, with which the network
// announces a circuit-switched call or supplementary service to a mobile in
// EPS: the calling line identification (CLI, coded as the TS 24.008 calling
// party BCD number), the SS code, the LCS indicator and the LCS client
// identity.
//
// The SS code and the LCS indicator are read with ParseSingleOctetValue
// (length 1, declared in network_info.h); the LCS client identity is passed
// over with SkipIe and not decoded.
//
// Renderers write only the inner elements and return 1; they return 0
// without writing when the document has no buffer.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/mm/network_info.h"

namespace corvuna {

// Most digits of a CLI kept (ten digit octets).
inline constexpr int32_t kMaxCliDigits = 20;

// Calling line identification (TS 24.008 10.5.4.9 calling party BCD number).
struct Cli {
    uint8_t octet3aPresent;         // 1 when the element is longer than one octet
    uint8_t typeOfNumber;           // bits 7-5 of octet 1
    uint8_t numberingPlan;          // bits 4-1 of octet 1
    uint8_t presentationIndicator;  // bits 7-6 of octet 1a
    uint8_t screeningIndicator;     // bits 2-1 of octet 1a
    int32_t numberDigitCount;       // digits stored, at most kMaxCliDigits
    uint8_t numberDigits[kMaxCliDigits];  // one nibble value per octet (15: end mark)
};

// A negative length returns 0 without reading.  Reads octet 1 whatever the
// length; octet 1a when the length exceeds 1 (whatever the extension bit
// says); then the digit octets, low nibble first, until the length or
// kMaxCliDigits digits is reached.  Reconciles the cursor with the length
// (the digit octets not stored are skipped).
int ParseCli(BitCursor& cursor, int32_t length, Cli& record);
// "type_of_number", "Numbering_plan_identification", with octet 1a
// "presentat_indicator" and "screening_indicator", then one "Number_Digit"
// per stored digit.
int RenderCli(const Cli& record, OutputDocument& out);

// SS code: "ss_code_value".
int RenderSsCode(int32_t ssCode, OutputDocument& out);

// LCS indicator: "LCS_indicator_value".
int RenderLcsIndicator(int32_t lcsIndicator, OutputDocument& out);

}  // namespace corvuna
