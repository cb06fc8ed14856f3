// SPDX-License-Identifier: Apache-2.0
#include "security/nas_locator.h"

#include "view/protocols.h"

namespace corvuna::security {

std::optional<LocatedIe> LocateIe(ConstOctets plain, int direction, const view::IeType& type, int occurrence) {
    // EMM: protocol discriminator and message type; 5GMM: EPD, security
    // header type and message type.
    const bool fivegs = !plain.empty() && plain[0] == view::fivegs::kMm;
    const size_t typeAt = fivegs ? 2 : 1;
    if (plain.size() <= typeAt || (plain[0] != view::eps::kEmm && !(fivegs && plain[1] == 0))) return std::nullopt;
    const view::MessageTable& table = fivegs ? view::fivegs::kMessageTable : view::eps::kMessageTable;
    const view::MessageLayout* layout = table.Find(plain[0], plain[typeAt], direction);
    if (layout == nullptr) return std::nullopt;
    const ConstOctets body = plain.subspan(typeAt + 1);
    int seen = 0;
    auto hit = [&](const view::IeRow& row) { return row.type == &type && seen++ == occurrence; };
    size_t at = 0;
    bool highHalf = false;
    size_t row = 0;
    for (; row < layout->ies.size() && layout->ies[row].format < view::IeFormat::kT; ++row) {
        const view::IeRow& r = layout->ies[row];
        if (r.format != view::IeFormat::kHalfV && highHalf) {
            highHalf = false;
            ++at;
        }
        if (at >= body.size()) return std::nullopt;
        LocatedIe ie;
        switch (r.format) {
            case view::IeFormat::kHalfV:
                ie.half = highHalf ? body[at] >> 4 : body[at] & 0x0F;
                if (highHalf) ++at;
                highHalf = !highHalf;
                break;
            case view::IeFormat::kV:
                if (at + r.minLength > body.size()) return std::nullopt;
                ie.value = body.subspan(at, r.minLength);
                at += r.minLength;
                break;
            default: {
                const size_t lengthOctets = r.format == view::IeFormat::kLVE ? 2 : 1;
                if (at + lengthOctets > body.size()) return std::nullopt;
                const size_t length = lengthOctets == 2 ? static_cast<size_t>(body[at]) << 8 | body[at + 1] : body[at];
                if (at + lengthOctets + length > body.size()) return std::nullopt;
                ie.value = body.subspan(at + lengthOctets, length);
                at += lengthOctets + length;
                break;
            }
        }
        if (hit(r)) return ie;
    }
    if (highHalf) ++at;
    // Optional IEs, in any order.
    while (at < body.size()) {
        const uint8_t iei = body[at];
        const int index = table.OptionalRow(*layout, iei);
        const view::IeFormat format = index >= 0 ? layout->ies[static_cast<size_t>(index)].format
                                      : (iei & 0x80) != 0 ? view::IeFormat::kTV1
                                      : (iei & 0xF0) == 0x70 ? view::IeFormat::kTLVE
                                                             : view::IeFormat::kTLV;
        LocatedIe ie;
        size_t length = 1;
        switch (format) {
            case view::IeFormat::kTV1:
                ie.half = iei & 0x0F;
                break;
            case view::IeFormat::kT:
                break;
            case view::IeFormat::kTV:
                length = layout->ies[static_cast<size_t>(index)].minLength;
                if (at + length > body.size()) return std::nullopt;
                ie.value = body.subspan(at + 1, length - 1);
                break;
            default: {
                const size_t header = format == view::IeFormat::kTLVE ? 3 : 2;
                if (at + header > body.size()) return std::nullopt;
                const size_t value = header == 3 ? static_cast<size_t>(body[at + 1]) << 8 | body[at + 2] : body[at + 1];
                length = header + value;
                if (at + length > body.size()) return std::nullopt;
                ie.value = body.subspan(at + header, value);
                break;
            }
        }
        if (index >= 0 && hit(layout->ies[static_cast<size_t>(index)])) return ie;
        at += length;
    }
    return std::nullopt;
}

}  // namespace corvuna::security
