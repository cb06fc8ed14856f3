// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/mm/cs_notification.h"

#include "legacy/doc/elements.h"

namespace corvuna {

namespace {

// CLI octet 1a.
constexpr auto kPresentationIndicator = Element("presentat_indicator",
                                                {
                                                    "Presentation allowed",
                                                    "Presentation restricted",
                                                    "Number not available due to interworking",
                                                    "reserved",
                                                });
constexpr auto kScreeningIndicator = Element("screening_indicator",
                                             {
                                                 "User-provided, not screened",
                                                 "User-provided, verified and passed",
                                                 "User-provided, verified and failed",
                                                 "Network provided",
                                             });

// LCS indicator.
constexpr auto kLcsIndicator =
    Element("LCS_indicator_value", {{1, "MT-LR"}}, "Normal, unspecified in this version of the protocol");

}  // namespace

int ParseCli(BitCursor& cursor, int32_t length, Cli& record) {
    return ParseIeValue(cursor, length, [&] {
        ReadBits(cursor, 1);  // extension
        record.typeOfNumber = static_cast<uint8_t>(ReadBits(cursor, 3));
        record.numberingPlan = static_cast<uint8_t>(ReadBits(cursor, 4));
        record.octet3aPresent = 0;
        if (length > 1) {
            record.octet3aPresent = 1;
            ReadBits(cursor, 1);  // extension
            record.presentationIndicator = static_cast<uint8_t>(ReadBits(cursor, 2));
            ReadBits(cursor, 3);  // spare
            record.screeningIndicator = static_cast<uint8_t>(ReadBits(cursor, 2));
        }
        record.numberDigitCount = 0;
        // Two digits per octet, the low nibble first; a digit count that
        // reaches the array's size ends the reading.
        for (int32_t i = 2; i < length && record.numberDigitCount + 2 <= kMaxCliDigits; ++i) {
            const uint8_t octet = ReadOctet(cursor);
            record.numberDigits[record.numberDigitCount++] = static_cast<uint8_t>(octet & 0x0Fu);
            record.numberDigits[record.numberDigitCount++] = static_cast<uint8_t>(octet >> 4);
        }
    });
}

int RenderCli(const Cli& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("type_of_number", record.typeOfNumber, out);
    WriteNumber("Numbering_plan_identification", record.numberingPlan, out);
    if (record.octet3aPresent == 1) {
        WriteElement(kPresentationIndicator, record.presentationIndicator, out);
        WriteElement(kScreeningIndicator, record.screeningIndicator, out);
    }
    const int32_t count = record.numberDigitCount < kMaxCliDigits ? record.numberDigitCount : kMaxCliDigits;
    for (int32_t i = 0; i < count; ++i) WriteHexElement("Number_Digit", &record.numberDigits[i], out, 1);
    return 1;
}

int RenderSsCode(int32_t ssCode, OutputDocument& out) { return RenderElement("ss_code_value", ssCode, out); }

int RenderLcsIndicator(int32_t lcsIndicator, OutputDocument& out) {
    return RenderElement(kLcsIndicator, lcsIndicator, out);
}

}  // namespace corvuna
