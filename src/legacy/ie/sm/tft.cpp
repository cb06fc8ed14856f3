// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/sm/tft.h"

#include "legacy/doc/value_text.h"

namespace corvuna {

namespace {

constexpr Text kOperationTexts[] = {
    "Spare",
    "Create new TFT",
    "Delete existing TFT",
    "Add packet filters to existing TFT",
    "Replace packet filters in existing TFT",
    "Delete packet filters from existing TFT",
    "No TFT operation",
    "Reserved ",
};

constexpr Text kEBitTexts[] = {
    "parameters list is not included",
    "parameters list is included",
};

}  // namespace

int ParseTft(BitCursor& cursor, int32_t length, Tft& record) {
    return ParseIeValue(cursor, length, [&] {
        const uint8_t octet = ReadOctet(cursor);
        record.tftOperationCode = static_cast<uint8_t>(octet >> 5);
        record.eBit = static_cast<uint8_t>((octet >> 4) & 0x01);
        record.packetFilterCount = static_cast<uint8_t>(octet & 0x0F);
    });
}

int RenderTft(const Tft& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("TFTOperationCode", record.tftOperationCode, out,
                IndexedText(kOperationTexts, record.tftOperationCode, kOperationTexts[7]));
    WriteNumber("Ebit", record.eBit, out, kEBitTexts[record.eBit == 1 ? 1 : 0]);
    WriteNumber("Number_of_packet_filters", record.packetFilterCount, out);
    return 1;
}

}  // namespace corvuna
