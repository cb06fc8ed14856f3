// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/sm/tft.h"

#include "legacy/doc/elements.h"

namespace corvuna {

namespace {

constexpr auto kOperationCode = Element("TFTOperationCode",
                                        {
                                            "Spare",
                                            "Create new TFT",
                                            "Delete existing TFT",
                                            "Add packet filters to existing TFT",
                                            "Replace packet filters in existing TFT",
                                            "Delete packet filters from existing TFT",
                                            "No TFT operation",
                                            "Reserved ",
                                        },
                                        "Reserved ");
constexpr auto kEBit = Element("Ebit", {{1, "parameters list is included"}}, "parameters list is not included");
constexpr auto kPacketFilterCount = Element("Number_of_packet_filters");

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
    return RenderElements(out, kOperationCode, record.tftOperationCode, kEBit, record.eBit, kPacketFilterCount,
                          record.packetFilterCount);
}

}  // namespace corvuna
