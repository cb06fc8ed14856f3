// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/sm/pco.h"

#include <cstring>

#include "legacy/doc/value_text.h"
#include "legacy/ie/sm/octet_run.h"

namespace corvuna {

namespace {

// Only the two defined configuration protocols get an element.
constexpr Text kConfigurationProtocolTexts[] = {
    "PPP for use with IP PDP type, or EPS without use of PPP",
    "EPS use of PPP",
};

// Octets of a container header: identifier (2) and length (1).
constexpr int32_t kContainerHeader = 3;

}  // namespace

int ParseProtocolConfigOptions(BitCursor& cursor, int32_t length, ProtocolConfigOptions& record) {
    return ParseIeValue(cursor, length, [&] {
        record.containerCount = 0;
        record.configurationProtocol = ReadOctet(cursor) & 0x07;
        // The count starts at the whole length, configuration protocol octet
        // included: a well-formed list leaves exactly 1.
        int32_t unaccounted = length;
        while (unaccounted > 1 && record.containerCount < kPcoMaxContainers) {
            const int32_t i = record.containerCount;
            record.protocolId[i] = static_cast<int32_t>(ReadBits(cursor, 16));
            const uint8_t contentsLength = ReadOctet(cursor);
            record.contentsLength[i] = contentsLength;
            if (!TakeOctetRun(cursor, contentsLength, record.contents[i], kPcoMaxContents)) {
                // Contents that run past the message are shown as zeros.
                std::memset(record.contents[i], 0, contentsLength < kPcoMaxContents ? contentsLength : kPcoMaxContents);
            }
            ++record.containerCount;
            unaccounted -= contentsLength + kContainerHeader;
        }
    });
}

int RenderProtocolConfigOptions(const ProtocolConfigOptions& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    const Text text = IndexedText(kConfigurationProtocolTexts, record.configurationProtocol, nullptr);
    if (text) WriteNumber("ConfigurationProtocol", record.configurationProtocol, out, text);
    const int32_t count = record.containerCount < kPcoMaxContainers ? record.containerCount : kPcoMaxContainers;
    for (int32_t i = 0; i < count; ++i) {
        WriteNumber("ProtocolID", record.protocolId[i], out);
        const int32_t shown = record.contentsLength[i] < kPcoMaxContents ? record.contentsLength[i] : kPcoMaxContents;
        WriteHexElement("ProtocolContents", record.contents[i], out, shown);
    }
    return 1;
}

}  // namespace corvuna
