// SPDX-License-Identifier: Apache-2.0
#include "capture/radio/mac_lte.h"

namespace corvuna::capture::radio {

namespace {

// Framing tags, numbered from 1 in this order, and the sizes of their
// values (no length is carried: the tag says it).
enum Tag : uint8_t {
    kTagPayload = 0x01,
    kTagRnti,
    kTagUeId,
    kTagFrameSubframe,
    kTagPredefinedData,
    kTagRetx,
    kTagCrcStatus,
    kTagExtendedBsrSizes,
    kTagSendPreamble,
    kTagCarrierId,
    kTagPhy,  // a length octet, then that many
    kTagSimultPucchPuschPCell,
    kTagSimultPucchPuschPSCell,
    kTagCeMode,
    kTagNbMode,
    kTagNUlRb,
    kTagSr,  // a 16-bit count, then that many UE id and RNTI pairs
};
static_assert(kTagPhy == 0x0B && kTagSr == 0x11);

constexpr uint8_t kLcidPadding = 31;
constexpr int kVariable = -1;  // the subheader carries a length field
constexpr int kUnknown = -2;   // reserved: the size cannot be known

// The size of what a subheader's LCID stands for (TS 36.321 Tables 6.2.1-1
// and 6.2.1-2): MAC SDUs of logical channels 0-10 and the variable-size
// control elements carry a length; the other control elements have a
// fixed size.
int ElementSize(uint8_t lcid, bool uplink) {
    if (lcid <= 10) return kVariable;
    if (uplink) {
        switch (lcid) {
            case 20: return 2;          // Recommended bit rate query
            case 21: return 0;          // SPS confirmation
            case 22:                    // Truncated Sidelink BSR
            case 23:                    // Sidelink BSR
            case 24:                    // Dual Connectivity Power Headroom Report
            case 25: return kVariable;  // Extended Power Headroom Report
            case 26: return 1;          // Power Headroom Report
            case 27: return 2;          // C-RNTI
            case 28: return 1;          // Truncated BSR
            case 29: return 1;          // Short BSR
            case 30: return 3;          // Long BSR
            case 31: return 0;          // Padding
            default: return kUnknown;
        }
    }
    switch (lcid) {
        case 18: return 1;          // Activation/Deactivation of PDCP Duplication
        case 19: return 1;          // Hibernation (1 octet)
        case 20: return 4;          // Hibernation (4 octets)
        case 21: return kVariable;  // Activation/Deactivation of CSI-RS
        case 22: return 2;          // Recommended bit rate
        case 23: return 0;          // SC-PTM Stop Indication
        case 24: return 4;          // Activation/Deactivation (4 octets)
        case 25: return kVariable;  // SC-MCCH, SC-MTCH
        case 26: return 0;          // Long DRX Command
        case 27: return 1;          // Activation/Deactivation (1 octet)
        case 28: return 6;          // UE Contention Resolution Identity
        case 29: return 1;          // Timing Advance Command
        case 30: return 0;          // DRX Command
        case 31: return 0;          // Padding
        default: return kUnknown;
    }
}

}  // namespace

FramingResult ReadMacContext(Bytes framed, MacContext& c, const char*& error) {
    c = MacContext{};
    if (framed.size < 3) {
        error = "MAC-LTE framing cut short";
        return FramingResult::kMalformed;
    }
    c.radioType = framed.At(0);
    c.direction = framed.At(1);
    c.rntiType = framed.At(2);
    if ((c.radioType != 1 && c.radioType != 2) || c.direction > 1) {
        error = "MAC-LTE framing with an unknown radio type or direction";
        return FramingResult::kMalformed;
    }
    size_t at = 3;
    while (at < framed.size) {
        const uint8_t tag = framed.At(at++);
        size_t length = 0;
        switch (tag) {
            case kTagPayload:
                c.hasPdu = true;
                c.pdu = framed.From(at);
                return FramingResult::kOk;
            case kTagRnti:
            case kTagUeId:
            case kTagFrameSubframe:
            case kTagSendPreamble:
                length = 2;
                break;
            case kTagPredefinedData:
            case kTagRetx:
            case kTagCrcStatus:
            case kTagCarrierId:
            case kTagCeMode:
            case kTagNbMode:
            case kTagNUlRb:
                length = 1;
                break;
            case kTagExtendedBsrSizes:
            case kTagSimultPucchPuschPCell:
            case kTagSimultPucchPuschPSCell:
                length = 0;
                break;
            case kTagPhy:
                length = 1 + static_cast<size_t>(framed.At(at));
                break;
            case kTagSr:
                length = 2 + 4 * static_cast<size_t>(framed.Be16(at));
                break;
            default:
                error = "MAC-LTE framing with an unknown tag";
                return FramingResult::kMalformed;
        }
        if (at + length > framed.size) {
            error = "MAC-LTE framing tag runs past the frame";
            return FramingResult::kMalformed;
        }
        switch (tag) {
            case kTagRnti: c.rnti = framed.Be16(at); break;
            case kTagUeId: c.ueId = framed.Be16(at); break;
            case kTagFrameSubframe:
                c.sfn = framed.Be16(at) >> 4;
                c.subframe = framed.Be16(at) & 0x0F;
                break;
            case kTagPredefinedData: c.predefinedData = framed.At(at) != 0; break;
            case kTagRetx: c.retx = framed.At(at); break;
            case kTagCrcStatus: c.crcStatus = framed.At(at); break;
            case kTagNbMode: c.nbIot = framed.At(at) != 0; break;
            default: break;
        }
        at += length;
    }
    // No payload tag: an event without a PDU (a preamble sent, a
    // scheduling request).
    return FramingResult::kOk;
}

MacParse ParseMacPdu(Bytes pdu, bool uplink, std::vector<MacElement>& elements) {
    elements.clear();
    // The subheaders first; a length of kVariable left on the last one
    // means the rest of the PDU.
    struct Sub {
        uint8_t lcid;
        int size;
    };
    Sub subs[64];
    size_t count = 0;
    size_t at = 0;
    for (;;) {
        if (at >= pdu.size || count == sizeof subs / sizeof subs[0]) return MacParse::kMalformed;
        const uint8_t first = pdu.At(at++);
        const bool f2 = (first & 0x40) != 0;
        const bool more = (first & 0x20) != 0;
        const uint8_t lcid = first & 0x1F;
        int size = ElementSize(lcid, uplink);
        if (size == kUnknown) return MacParse::kUnknownLcid;
        if (size == kVariable && more) {
            if (f2) {  // a 16-bit length
                size = pdu.Be16(at);
                at += 2;
            } else if ((pdu.At(at) & 0x80) == 0) {  // F = 0: a 7-bit length
                size = pdu.At(at) & 0x7F;
                at += 1;
            } else {  // F = 1: a 15-bit length
                size = pdu.Be16(at) & 0x7FFF;
                at += 2;
            }
            if (at > pdu.size) return MacParse::kMalformed;
        }
        if (lcid == kLcidPadding) size = more ? 0 : kVariable;
        subs[count++] = Sub{lcid, size};
        if (!more) break;
    }
    // Then the payloads, in the same order.
    for (size_t i = 0; i < count; ++i) {
        size_t size = subs[i].size == kVariable ? pdu.size - at : static_cast<size_t>(subs[i].size);
        if (subs[i].size != kVariable && size > pdu.size - at) {
            elements.clear();
            return MacParse::kMalformed;
        }
        if (subs[i].lcid != kLcidPadding) {
            MacElement e;
            e.lcid = subs[i].lcid;
            e.sdu = subs[i].lcid <= 10 || (!uplink && subs[i].lcid == 25);
            e.octets = Bytes{pdu.data + at, size};
            elements.push_back(e);
        }
        at += size;
    }
    return MacParse::kOk;
}

}  // namespace corvuna::capture::radio
