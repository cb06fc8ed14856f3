// SPDX-License-Identifier: Apache-2.0
// The decoders of the EPS session management IEs that are more than bit
// fields (esm_ies.h declares them with their IE types).
#include "view/eps/esm_ies.h"

#include <cstdio>
#include <iterator>

namespace corvuna::view::eps {

// A number written into a text of its own ("QCI 9").
struct Formatted {
    char text[8];
    uint32_t size;
    Text AsText() const { return Text::Trusted(text, size); }
};


// The bit rates of EPS QoS, in kbit/s (the keys say the unit, as those of
// QoS do).
constexpr Label kMaximumUplink = Field<"Maximum bit rate for uplink", "maximum_bit_rate_for_uplink_kbps">;
constexpr Label kMaximumDownlink = Field<"Maximum bit rate for downlink", "maximum_bit_rate_for_downlink_kbps">;
constexpr Label kGuaranteedUplink = Field<"Guaranteed bit rate for uplink", "guaranteed_bit_rate_for_uplink_kbps">;
constexpr Label kGuaranteedDownlink =
    Field<"Guaranteed bit rate for downlink", "guaranteed_bit_rate_for_downlink_kbps">;


Text QciText(unsigned qci, Formatted& scratch) {
    const bool standardised = (qci >= 1 && qci <= 9) || (qci >= 65 && qci <= 67) || (qci >= 69 && qci <= 76) ||
                              qci == 79 || qci == 80 || (qci >= 82 && qci <= 85);
    if (standardised) {
        // "QCI n" of a standardised value (1 to 85).
        char* p = scratch.text;
        *p++ = 'Q', *p++ = 'C', *p++ = 'I', *p++ = ' ';
        if (qci >= 10) *p++ = static_cast<char>('0' + qci / 10);
        *p++ = static_cast<char>('0' + qci % 10);
        scratch.size = static_cast<uint32_t>(p - scratch.text);
        return scratch.AsText();
    }
    if (qci >= 128 && qci <= 254) return "Operator-specific QCI";
    if (qci == 0 || qci == 255) return "Reserved";
    return "Spare";
}

void DecodeEpsQualityOfService(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    Formatted scratch{};
    ctx.out.Enum(Field<"Quality of Service Class Identifier (QCI)", "qci">, v.At(0), QciText(v.At(0), scratch));
    if (v.size < 5) return;
    static constexpr Label kLabels[] = {kMaximumUplink, kMaximumDownlink, kGuaranteedUplink, kGuaranteedDownlink};
    const bool extended = v.size >= 9, extended2 = v.size >= 13;
    for (size_t i = 0; i < 4; ++i) {
        const int64_t kbps = BitRateKbps(v.At(1 + i), v.At(5 + i), v.At(9 + i), extended, extended2);
        WriteBitRate(ctx, kLabels[i], kbps);
    }
}

void DecodeApnAggregateMaximumBitRate(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 2)) return;
    const bool extended = v.size >= 4, extended2 = v.size >= 6;
    static constexpr Label kLabels[] = {Field<"APN-AMBR for downlink", "apn_ambr_for_downlink_kbps">,
                                        Field<"APN-AMBR for uplink", "apn_ambr_for_uplink_kbps">};
    for (size_t i = 0; i < 2; ++i) {
        int64_t kbps = BitRateKbps(v.At(i), v.At(2 + i), 0, extended, false);
        // The extended-2 octet adds multiples of 256 Mbit/s.
        if (extended2 && kbps >= 0) kbps += static_cast<int64_t>(v.At(4 + i)) * 256000;
        WriteBitRate(ctx, kLabels[i], kbps);
    }
}




void DecodePacketFlowIdentifier(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kTexts[] = {{0, "Best Effort"}, {1, "Signalling"}, {2, "SMS"}, {3, "TOM8"}};
    const unsigned value = v.At(0) & 0x7F;
    WriteEnum(ctx, "Packet flow identifier value"_f, value, kTexts,
              value < 8 ? Text("reserved") : Text("dynamically assigned"));
}

void DecodeTransactionIdentifier(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    const uint8_t o1 = v.At(0);
    WriteBit(ctx, "TI flag"_f, o1 >> 7, "The message is sent to the side that originates the TI",
             "The message is sent from the side that originates the TI");
    const unsigned tio = (o1 >> 4) & 0x07;
    ctx.out.Enum("TIO"_f, tio, tio == 7 ? Text("The TI value is given by the TIE in octet 4") : Text("TI value"));
    // TS 24.007 11.2.3.1.3: the extension octet of a TI value of 7 or more.
    if (tio != 7) return;
    if (v.size < 2) {
        ctx.ValueError("TIO 7 without the extension octet holding the TIE");
        return;
    }
    WriteBit(ctx, "Extension"_f, v.At(1) >> 7, "last octet of the TI", "reserved for future extension");
    const unsigned tie = v.At(1) & 0x7F;
    ctx.out.Enum("TIE"_f, tie, tie < 7 ? Text("reserved (TI values 0 to 6 are coded in the TIO)") : Text("TI value"));
}

// ---------------------------------------------------------------------------
// APN and PDN address

void DecodeAccessPointName(Context& ctx, Octets v) {
    char text[256];
    size_t n = 0;
    size_t at = 0;
    while (at < v.size) {
        const size_t label = v.At(at);
        if (at + 1 + label > v.size) {
            // Not label-encoded (TS 23.003 9.1): the octets as they are.
            ctx.ValueError("APN label runs past the end of the IE");
            WriteOctets(ctx, v);
            return;
        }
        if (n > 0 && n < sizeof text) text[n++] = '.';
        for (size_t i = 0; i < label && n < sizeof text; ++i) text[n++] = static_cast<char>(v.At(at + 1 + i));
        at += 1 + label;
    }
    ctx.out.String("APN"_f, std::string_view(text, n));
}

void DecodePdnAddress(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kTypes[] = {{1, "IPv4"}, {2, "IPv6"}, {3, "IPv4v6"}, {5, "Non IP"}, {6, "Ethernet"}};
    const unsigned type = v.At(0) & 0x07;
    WriteEnum(ctx, "PDN type value"_f, type, kTypes, "Reserved");
    const Octets address = v.From(1);
    if (type == 1 && RequireOctets(ctx, address, 4)) ctx.out.Ascii("PDN IPv4"_f, Ipv4Text(address).view());
    // An IPv6 interface identifier is 64 bits of an address, not one: its
    // octets.
    if (type == 2 && RequireOctets(ctx, address, 8)) ctx.out.Hex("PDN IPv6 interface identifier"_f, address.Take(8));
    if (type == 3 && RequireOctets(ctx, address, 12)) {
        ctx.out.Hex("PDN IPv6 interface identifier"_f, address.Take(8));
        ctx.out.Ascii("PDN IPv4"_f, Ipv4Text(address.From(8)).view());
    }
}

// ---------------------------------------------------------------------------
// Protocol configuration options

Text ContainerName(unsigned id, bool toNetwork) {
    switch (id) {
        case 0xC021: return "Link Control Protocol (LCP)";
        case 0xC023: return "Password Authentication Protocol (PAP)";
        case 0xC223: return "Challenge Handshake Authentication Protocol (CHAP)";
        case 0x8021: return "Internet Protocol Control Protocol (IPCP)";
        default: break;
    }
    static constexpr Text kFromMs[] = {
        "Reserved",
        "P-CSCF IPv6 Address Request",
        "IM CN Subsystem Signaling Flag",
        "DNS Server IPv6 Address Request",
        "Not Supported",
        "MS Support of Network Requested Bearer Control indicator",
        "Reserved",
        "DSMIPv6 Home Agent Address Request",
        "DSMIPv6 Home Network Prefix Request",
        "DSMIPv6 IPv4 Home Agent Address Request",
        "IP address allocation via NAS signalling",
        "IPv4 address allocation via DHCPv4",
        "P-CSCF IPv4 Address Request",
        "DNS Server IPv4 Address Request",
        "MSISDN Request",
        "IFOM-Support-Request",
        "IPv4 Link MTU Request",
        "MS support of Local address in TFT indicator",
        "P-CSCF Re-selection support",
        "NBIFOM request indicator",
        "NBIFOM mode",
        "Non-IP Link MTU Request",
        "APN rate control support indicator",
        "3GPP PS data off UE status",
        "Reliable Data Service request indicator",
        "Additional APN rate control for exception data support indicator",
        "PDU session ID",
        "Reserved",
        "Reserved",
        "Reserved",
        "Reserved",
        "Reserved",
        "Ethernet Frame Payload MTU Request",
        "Unstructured Link MTU Request",
        "5GSM cause value",
        "QoS rules with the length of two octets support indicator",
        "QoS flow descriptions with the length of two octets support indicator",
    };
    static constexpr Text kToMs[] = {
        "Reserved",
        "P-CSCF IPv6 Address",
        "IM CN Subsystem Signaling Flag",
        "DNS Server IPv6 Address",
        "Policy Control rejection code",
        "Selected Bearer Control Mode",
        "Reserved",
        "DSMIPv6 Home Agent Address",
        "DSMIPv6 Home Network Prefix",
        "DSMIPv6 IPv4 Home Agent Address",
        "Reserved",
        "Reserved",
        "P-CSCF IPv4 Address",
        "DNS Server IPv4 Address",
        "MSISDN",
        "IFOM-Support",
        "IPv4 Link MTU",
        "Network support of Local address in TFT indicator",
        "Reserved",
        "NBIFOM accepted indicator",
        "NBIFOM mode",
        "Non-IP Link MTU",
        "APN rate control parameters",
        "3GPP PS data off support indication",
        "Reliable Data Service accepted indicator",
        "Additional APN rate control for exception data parameters",
        "Reserved",
        "S-NSSAI",
        "QoS rules",
        "Session-AMBR",
        "PDU session address lifetime",
        "QoS flow descriptions",
        "Ethernet Frame Payload MTU",
        "Unstructured Link MTU",
        "5GSM cause value",
        "QoS rules with the length of two octets",
        "QoS flow descriptions with the length of two octets",
    };
    static_assert(std::size(kFromMs) == std::size(kToMs));
    if (id < std::size(kFromMs)) return toNetwork ? kFromMs[id] : kToMs[id];
    if (id >= 0xFF00) return "Operator specific use";
    return "Unknown";
}

// IPCP options (RFC 1332, RFC 1877): the addresses they carry as text.
void WriteIpcp(Context& ctx, Octets contents) {
    if (contents.size < 4) {
        WriteOctets(ctx, contents);
        return;
    }
    ctx.out.Begin("IPCP packet"_f);
    ctx.out.Number("Code"_f, contents.At(0));
    ctx.out.Number("Identifier"_f, contents.At(1));
    const size_t length = contents.Big(2, 2);
    ctx.out.Number("Length"_f, static_cast<int64_t>(length));
    ctx.out.BeginList(Field<"Options", "options">);
    const Octets options = contents.Take(length).From(4);
    size_t at = 0;
    while (at + 2 <= options.size) {
        const unsigned type = options.At(at), optionLength = options.At(at + 1);
        if (optionLength < 2 || at + optionLength > options.size) break;
        ctx.out.Begin("Option"_f);
        ctx.out.Number("Type"_f, type);
        const Octets data{options.data + at + 2, optionLength - 2u};
        if ((type == 3 || (type >= 129 && type <= 132)) && data.size == 4) {
            static constexpr Label kNames[] = {"Primary DNS server"_f, "Primary NBNS server"_f, "Secondary DNS server"_f,
                                              "Secondary NBNS server"_f};
            ctx.out.Ascii(type == 3 ? "IP address"_f : kNames[type - 129], Ipv4Text(data).view());
        } else {
            WriteOctets(ctx, data, "Data"_f);
        }
        ctx.out.End();
        at += optionLength;
    }
    ctx.out.EndList();
    ctx.out.End();
}

void WriteContainer(Context& ctx, unsigned id, Octets contents) {
    const bool toNetwork = ctx.direction == 1;
    ctx.out.Begin("Container"_f);
    ctx.out.Enum("Container identifier"_f, id, ContainerName(id, toNetwork));
    ctx.out.Number("Length"_f, static_cast<int64_t>(contents.size));
    const bool address = id == 0x0001 || id == 0x0003 || id == 0x000C || id == 0x000D;
    if (id == 0x8021) {
        WriteIpcp(ctx, contents);
    } else if (address && contents.size == 4) {
        ctx.out.Ascii("IPv4 address"_f, Ipv4Text(contents).view());
    } else if (address && contents.size == 16) {
        ctx.out.Ascii("IPv6 address"_f, Ipv6AddressText(contents).view());
    } else if ((id == 0x0010 || id == 0x0015) && contents.size == 2) {
        ctx.out.Number("MTU"_f, contents.Big(0, 2));
    } else if (contents.size > 0) {
        // Operator-specific containers (FF00H-FFFFH) and the others: octets.
        WriteOctets(ctx, contents);
    }
    ctx.out.End();
}

void WriteContainers(Context& ctx, Octets list) {
    ctx.out.BeginList(Field<"Containers", "containers">);
    size_t at = 0;
    while (at < list.size) {
        if (at + 3 > list.size) {
            ctx.ValueError("container header runs past the end of the IE");
            break;
        }
        const unsigned id = list.Big(at, 2);
        const size_t length = list.At(at + 2);
        if (at + 3 + length > list.size) {
            ctx.ValueError("container contents run past the end of the IE");
            break;
        }
        WriteContainer(ctx, id, Octets{list.data + at + 3, length});
        at += 3 + length;
    }
    ctx.out.EndList();
}

void DecodeProtocolConfigurationOptions(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    ctx.out.Number("Configuration protocol"_f, v.At(0) & 0x07);
    WriteContainers(ctx, v.From(1));
}

// ---------------------------------------------------------------------------
// Traffic flow templates

namespace {

constexpr ValueText kOwnComponentTypes[] = {{0x20, "IPv6 remote address type"}};
constexpr auto kComponentTypes =
    MakeDenseText<256>(Join(kOwnComponentTypes, kPacketFilterComponentTypes), "reserved");

void WriteComponent(Context& ctx, unsigned type, Octets c) {
    ctx.out.Begin("Packet filter component"_f);
    ctx.out.Enum("Component type identifier"_f, type, kComponentTypes(type));
    static constexpr ComponentLabels kLabels{"Low limit"_f, "High limit"_f, "Mask"_f};
    if (type == 0x20) {
        ctx.out.Ascii("IPv6 address"_f, Ipv6AddressText(c).view());
        ctx.out.Ascii("Prefix mask"_f, Ipv6AddressText(c.From(16)).view());
    } else if (!WriteSharedComponent(ctx, type, c, kLabels)) {
        WriteOctets(ctx, c, "Value"_f);
    }
    ctx.out.End();
}

// Value octets of each component type; 0: unknown (the rest of the filter).
size_t ComponentOctets(unsigned type) { return type == 0x20 ? 32 : PacketFilterComponentOctets(type); }

}  // namespace

size_t PacketFilterComponentOctets(unsigned type) {
    switch (type) {
        case 0x10: case 0x11: return 8;
        case 0x21: case 0x23: return 17;
        case 0x30: case 0x85: case 0x86: return 1;
        case 0x40: case 0x50: case 0x70: case 0x83: case 0x84: case 0x87: return 2;
        case 0x41: case 0x51: case 0x60: return 4;
        case 0x80: return 3;
        case 0x81: case 0x82: return 6;
        default: return 0;
    }
}

bool WriteSharedComponent(Context& ctx, unsigned type, Octets c, const ComponentLabels& labels) {
    switch (type) {
        case 0x10:
        case 0x11:
            ctx.out.Ascii("IPv4 address"_f, Ipv4Text(c).view());
            ctx.out.Ascii("Subnet mask"_f, Ipv4Text(c.From(4)).view());
            return true;
        case 0x21:
        case 0x23:
            ctx.out.Ascii("IPv6 address"_f, Ipv6AddressText(c).view());
            ctx.out.Number("Prefix length"_f, c.At(16));
            return true;
        case 0x30:
            ctx.out.Number("Protocol identifier/Next header"_f, c.At(0));
            return true;
        case 0x40:
        case 0x50:
            ctx.out.Number("Port"_f, c.Big(0, 2));
            return true;
        case 0x41:
        case 0x51:
            ctx.out.Number(labels.portLow, c.Big(0, 2));
            ctx.out.Number(labels.portHigh, c.Big(2, 2));
            return true;
        case 0x70:
            ctx.out.Number("Type of service/Traffic class"_f, c.At(0));
            ctx.out.Number(labels.trafficClassMask, c.At(1));
            return true;
        case 0x60:
            ctx.out.Hex("Security parameter index"_f, c);
            return true;
        case 0x80:
            ctx.out.Number("Flow label"_f, c.Big(0, 3) & 0xFFFFF);
            return true;
        default:
            return false;
    }
}

void WriteComponents(Context& ctx, Octets contents) {
    ctx.out.BeginList(Field<"Packet filter components", "components">);
    size_t at = 0;
    while (at < contents.size) {
        const unsigned type = contents.At(at);
        const Octets rest = contents.From(at + 1);
        const size_t n = ComponentOctets(type);
        const Octets value = n == 0 ? rest : rest.Take(n);  // unknown: the rest is its value
        if (value.size < n) {
            ctx.ValueError("packet filter component runs past the end of the filter");
            break;
        }
        WriteComponent(ctx, type, value);
        at += 1 + value.size;
    }
    ctx.out.EndList();
}

void DecodeTrafficFlowTemplate(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kOperations[] = {{0, "Ignore this IE"},
                                         {1, "Create new TFT"},
                                         {2, "Delete existing TFT"},
                                         {3, "Add packet filters to existing TFT"},
                                         {4, "Replace packet filters in existing TFT"},
                                         {5, "Delete packet filters from existing TFT"},
                                         {6, "No TFT operation"},
                                         {7, "Reserved"}};
    static constexpr ValueText kDirections[] = {
        {0, "pre Rel-7 TFT filter"}, {1, "downlink only"}, {2, "uplink only"}, {3, "bidirectional"}};
    const uint8_t o1 = v.At(0);
    const unsigned operation = o1 >> 5, count = o1 & 0x0F;
    const bool parameters = (o1 >> 4) & 1;
    WriteEnum(ctx, "TFT operation code"_f, operation, kOperations, "");
    WriteBit(ctx, "E bit"_f, parameters, "parameters list is included", "parameters list is not included");
    ctx.out.Number("Number of packet filters"_f, count);
    size_t at = 1;
    ctx.out.BeginList(Field<"Packet filters", "packet_filters">);
    for (unsigned i = 0; i < count && at < v.size; ++i) {
        ctx.out.Begin("Packet filter"_f);
        if (operation == 5) {
            ctx.out.Number("Packet filter identifier"_f, v.At(at) & 0x0F);
            at += 1;
            ctx.out.End();
            continue;
        }
        if (at + 3 > v.size || at + 3 + v.At(at + 2) > v.size) {
            ctx.ValueError("packet filter runs past the end of the IE");
            ctx.out.End();
            at = v.size;
            break;
        }
        WriteEnum(ctx, "Packet filter direction"_f, (v.At(at) >> 4) & 0x03, kDirections, "");
        ctx.out.Number("Packet filter identifier"_f, v.At(at) & 0x0F);
        ctx.out.Number("Packet filter evaluation precedence"_f, v.At(at + 1));
        const size_t length = v.At(at + 2);
        WriteComponents(ctx, Octets{v.data + at + 3, length});
        at += 3 + length;
        ctx.out.End();
    }
    ctx.out.EndList();
    if (!parameters) {
        if (at < v.size) WriteOctets(ctx, v.From(at), "Further octets"_f);
        return;
    }
    ctx.out.BeginList(Field<"Parameters", "parameters">);
    while (at + 2 <= v.size) {
        const size_t length = v.At(at + 1);
        if (at + 2 + length > v.size) {
            ctx.ValueError("parameter runs past the end of the IE");
            break;
        }
        static constexpr ValueText kParameters[] = {
            {1, "Authorization Token"}, {2, "Flow Identifier"}, {3, "Packet Filter Identifier"}};
        ctx.out.Begin("Parameter"_f);
        WriteEnum(ctx, "Parameter identifier"_f, v.At(at), kParameters, "reserved");
        ctx.out.Hex("Contents"_f, v.data + at + 2, length);
        ctx.out.End();
        at += 2 + length;
    }
    ctx.out.EndList();
}


}  // namespace corvuna::view::eps
