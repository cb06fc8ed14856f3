// SPDX-License-Identifier: Apache-2.0
// The decoders of the 5GS session management IEs that are more than bit
// fields (sm_ies.h declares them with their IE types).
#include "view/fivegs/sm_ies.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "common/decimal.h"
#include "view/causes.h"

namespace corvuna::view::fivegs {

namespace {

// TS 24.501 9.11.4.14 and 9.11.4.12: the units of session-AMBR, GFBR and
// MFBR in kbit/s (1 Mbps is 1000 kbit/s).
constexpr ValueText kRateUnits[] = {
    {0, "value is not used"}, {1, "multiple of 1 Kbps"},   {2, "multiple of 4 Kbps"},   {3, "multiple of 16 Kbps"},
    {4, "multiple of 64 Kbps"}, {5, "multiple of 256 Kbps"}, {6, "multiple of 1 Mbps"},   {7, "multiple of 4 Mbps"},
    {8, "multiple of 16 Mbps"}, {9, "multiple of 64 Mbps"},  {10, "multiple of 256 Mbps"}, {11, "multiple of 1 Gbps"},
    {12, "multiple of 4 Gbps"}, {13, "multiple of 16 Gbps"}, {14, "multiple of 64 Gbps"}, {15, "multiple of 256 Gbps"},
    {16, "multiple of 1 Tbps"}, {17, "multiple of 4 Tbps"},  {18, "multiple of 16 Tbps"}, {19, "multiple of 64 Tbps"},
    {20, "multiple of 256 Tbps"}, {21, "multiple of 1 Pbps"}, {22, "multiple of 4 Pbps"}, {23, "multiple of 16 Pbps"},
    {24, "multiple of 64 Pbps"}, {25, "multiple of 256 Pbps"}};

int64_t UnitKbps(unsigned unit) {
    static constexpr int64_t kPowers[] = {1, 1000, 1000000, 1000000000, 1000000000000};
    static constexpr int64_t kSteps[] = {1, 4, 16, 64, 256};
    if (unit == 0 || unit > 25) return 0;
    return kPowers[(unit - 1) / 5] * kSteps[(unit - 1) % 5];
}

// A bit rate of a unit octet and a two-octet value: the unit, the value
// and the rate in kbit/s.
void WriteRate(Context& ctx, Label label, unsigned unit, unsigned value) {
    ctx.out.Begin(label);
    WriteEnum(ctx, "Unit"_f, unit, kRateUnits, "reserved");
    ctx.out.Number("Value"_f, value);
    const int64_t per = UnitKbps(unit);
    if (per == 0) {
        ctx.out.Absent("Rate"_f, unit == 0 ? Text("value is not used") : Text("reserved unit"));
    } else if (static_cast<uint64_t>(per) * value > static_cast<uint64_t>(INT64_MAX)) {
        ctx.out.Absent("Rate"_f, "beyond the range of a 64-bit count of kbit/s");
    } else {
        const int64_t kbps = per * static_cast<int64_t>(value);
        char text[40];
        const size_t n = FormatDecimal64(kbps, text);
        std::memcpy(text + n, " kbit/s", 7);
        ctx.out.Enum("Rate"_f, kbps, Text::Printable(text, static_cast<uint32_t>(n + 7)));
    }
    ctx.out.End();
}

// TS 24.501 table 9.11.4.13.1: packet filter component types.
constexpr ValueText kOwnComponentTypes[] = {
    {0x01, "Match-all type"},
    {0x88, "Destination MAC address range type"},
    {0x89, "Source MAC address range type"},
};
constexpr auto kComponentTypes =
    MakeDenseText<256>(Join(kOwnComponentTypes, eps::kPacketFilterComponentTypes), "reserved");

size_t ComponentOctets(unsigned type) {
    if (type == 0x01) return 0;
    if (type == 0x88 || type == 0x89) return 12;
    const size_t n = eps::PacketFilterComponentOctets(type);
    return n > 0 ? n : static_cast<size_t>(-1);
}

void WriteComponent(Context& ctx, unsigned type, Octets c) {
    static constexpr eps::ComponentLabels kLabels{"Port range low limit"_f, "Port range high limit"_f,
                                                  "Type of service/Traffic class mask"_f};
    if (eps::WriteSharedComponent(ctx, type, c, kLabels)) return;
    switch (type) {
        case 0x81:
        case 0x82:
            ctx.out.Hex("MAC address"_f, c);
            break;
        case 0x83:
        case 0x84:
            ctx.out.Number("VID"_f, c.Big(0, 2) & 0x0FFF);
            break;
        case 0x85:
        case 0x86:
            ctx.out.Number("PCP"_f, (c.At(0) >> 1) & 0x07);
            ctx.out.Number("DEI"_f, c.At(0) & 1);
            break;
        case 0x87:
            ctx.out.HexNumber("Ethertype"_f, c.Big(0, 2), 4);
            break;
        case 0x88:
        case 0x89:
            ctx.out.Hex("MAC address range low limit"_f, c.Take(6));
            ctx.out.Hex("MAC address range high limit"_f, c.From(6));
            break;
        default:
            break;
    }
}

void WriteComponents(Context& ctx, Octets contents) {
    ctx.out.BeginList(Field<"Packet filter components", "components">);
    size_t at = 0;
    while (at < contents.size) {
        const unsigned type = contents.At(at);
        const size_t n = ComponentOctets(type);
        ctx.out.Begin("Packet filter component"_f);
        ctx.out.Enum("Packet filter component type"_f, type, kComponentTypes(type));
        if (n == static_cast<size_t>(-1) || at + 1 + n > contents.size) {
            ctx.ValueErrorAt(contents.data + at, n == static_cast<size_t>(-1)
                                                     ? "packet filter component of a reserved type"
                                                     : "packet filter component runs past the end of the filter");
            ctx.out.Hex("Octets"_f, contents.From(at + 1));
            ctx.out.End();
            break;
        }
        WriteComponent(ctx, type, Octets{contents.data + at + 1, n});
        ctx.out.End();
        at += 1 + n;
    }
    ctx.out.EndList();
}

constexpr ValueText kFilterDirections[] = {
    {0, "reserved"}, {1, "downlink only"}, {2, "uplink only"}, {3, "bidirectional"}};

// The packet filter list of one QoS rule; the octets it took, or 0 when it
// runs past the rule.
size_t WritePacketFilters(Context& ctx, unsigned operation, unsigned count, Octets v) {
    ctx.out.BeginList(Field<"Packet filters", "packet_filters">);
    size_t at = 0;
    const bool idsOnly = operation == 5;
    const bool none = operation == 2 || operation == 6;
    for (unsigned i = 0; i < count && !none; ++i) {
        if (at + (idsOnly ? 1 : 2) > v.size || (!idsOnly && at + 2 + v.At(at + 1) > v.size)) {
            ctx.ValueErrorAt(v.data + at, "packet filter runs past the end of the QoS rule");
            ctx.out.EndList();
            return 0;
        }
        ctx.out.Begin("Packet filter"_f);
        if (!idsOnly) WriteEnum(ctx, "Packet filter direction"_f, (v.At(at) >> 4) & 0x03, kFilterDirections, "");
        ctx.out.Number("Packet filter identifier"_f, v.At(at) & 0x0F);
        if (idsOnly) {
            at += 1;
        } else {
            const size_t length = v.At(at + 1);
            WriteComponents(ctx, Octets{v.data + at + 2, length});
            at += 2 + length;
        }
        ctx.out.End();
    }
    ctx.out.EndList();
    return at;
}

bool StandardFiveQi(unsigned q) {
    return (q >= 1 && q <= 10) || (q >= 65 && q <= 67) || (q >= 69 && q <= 76) || q == 79 || q == 80 ||
           (q >= 82 && q <= 90);
}

}  // namespace

void DecodeMaximumPacketFilters(Context& ctx, Octets v) {
    if (RequireOctets(ctx, v, 2)) {
        ctx.out.Number("Maximum number of packet filters"_f, static_cast<int64_t>(v.At(0)) << 3 | v.At(1) >> 5);
    }
}

void DecodePduAddress(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kTypes[] = {{1, "IPv4"}, {2, "IPv6"}, {3, "IPv4v6"}};
    const unsigned type = v.At(0) & 0x07;
    const bool linkLocal = (v.At(0) >> 3) & 1;
    WriteBit(ctx, "SMF's IPv6 link local address field (SI6LLA)"_f, linkLocal ? 1 : 0,
             "SMF's IPv6 link local address field is present", "SMF's IPv6 link local address field is absent");
    WriteEnum(ctx, "PDU session type value"_f, type, kTypes, "reserved");
    const Octets address = v.From(1);
    size_t after = 0;
    if (type == 1 && RequireOctets(ctx, address, 4)) {
        ctx.out.Ascii(Field<"PDU address information (IPv4)", "pdu_ipv4">, Ipv4Text(address).view());
        after = 4;
    } else if (type == 2 && RequireOctets(ctx, address, 8)) {
        // An interface identifier: the last 64 bits of a link-local address.
        ctx.out.Hex(Field<"PDU address information (IPv6 interface identifier)", "pdu_ipv6_interface_identifier">,
                    address.Take(8));
        after = 8;
    } else if (type == 3 && RequireOctets(ctx, address, 12)) {
        ctx.out.Hex(Field<"PDU address information (IPv6 interface identifier)", "pdu_ipv6_interface_identifier">,
                    address.Take(8));
        ctx.out.Ascii(Field<"PDU address information (IPv4)", "pdu_ipv4">, Ipv4Text(address.From(8)).view());
        after = 12;
    } else if (type < 1 || type > 3) {
        WriteOctets(ctx, address, "PDU address information"_f);
        return;
    } else {
        return;
    }
    if (linkLocal && RequireOctets(ctx, address, after + 16)) {
        ctx.out.Ascii("SMF's IPv6 link local address"_f, Ipv6AddressText(address.From(after)).view());
    }
}

void DecodeQosRules(Context& ctx, Octets v) {
    static constexpr ValueText kOperations[] = {
        {1, "Create new QoS rule"},
        {2, "Delete existing QoS rule"},
        {3, "Modify existing QoS rule and add packet filters"},
        {4, "Modify existing QoS rule and replace all packet filters"},
        {5, "Modify existing QoS rule and delete packet filters"},
        {6, "Modify existing QoS rule without modifying packet filters"}};
    ctx.out.BeginList(Field<"QoS rules", "qos_rules">);
    size_t at = 0;
    while (at < v.size) {
        if (at + 3 > v.size || at + 3 + v.Big(at + 1, 2) > v.size) {
            ctx.ValueErrorAt(v.data + at, "QoS rule runs past the end of the IE");
            break;
        }
        const Octets rule{v.data + at + 3, v.Big(at + 1, 2)};
        ctx.out.Begin("QoS rule"_f);
        ctx.out.Number("QoS rule identifier"_f, v.At(at));
        ctx.out.Number("Length of QoS rule"_f, rule.size);
        if (rule.size == 0) {
            ctx.ValueErrorAt(v.data + at, "QoS rule of no octets");
            ctx.out.End();
            at += 3;
            continue;
        }
        const uint8_t o = rule.At(0);
        const unsigned operation = o >> 5, count = o & 0x0F;
        WriteEnum(ctx, "Rule operation code"_f, operation, kOperations, "reserved");
        WriteBit(ctx, "DQR bit"_f, o >> 4, "the QoS rule is the default QoS rule",
                 "the QoS rule is not the default QoS rule");
        ctx.out.Number("Number of packet filters"_f, count);
        const size_t filters = WritePacketFilters(ctx, operation, count, rule.From(1));
        const bool whole = filters > 0 || count == 0 || operation == 2 || operation == 6;
        if (whole) {
            const Octets rest = rule.From(1 + filters);
            if (rest.size >= 1) ctx.out.Number("QoS rule precedence"_f, rest.At(0));
            if (rest.size >= 2) {
                WriteBit(ctx, "Segregation"_f, rest.At(1) >> 6, "Segregation requested", "Segregation not requested");
                ctx.out.Number(Field<"QoS flow identifier (QFI)", "qfi">, rest.At(1) & 0x3F);
            }
            if (rest.size > 2) ctx.ValueErrorAt(rest.data + 2, "octets after the end of the QoS rule");
        }
        ctx.out.End();
        at += 3 + rule.size;
    }
    ctx.out.EndList();
}

void DecodeQosFlowDescriptions(Context& ctx, Octets v) {
    static constexpr ValueText kOperations[] = {{1, "Create new QoS flow description"},
                                                {2, "Delete existing QoS flow description"},
                                                {3, "Modify existing QoS flow description"}};
    static constexpr ValueText kParameters[] = {
        {1, "5QI"}, {2, "GFBR uplink"}, {3, "GFBR downlink"}, {4, "MFBR uplink"}, {5, "MFBR downlink"},
        {6, "Averaging window"}, {7, "EPS bearer identity"}};
    ctx.out.BeginList(Field<"QoS flow descriptions", "qos_flow_descriptions">);
    size_t at = 0;
    while (at < v.size) {
        if (at + 3 > v.size) {
            ctx.ValueErrorAt(v.data + at, "QoS flow description runs past the end of the IE");
            break;
        }
        ctx.out.Begin("QoS flow description"_f);
        ctx.out.Number(Field<"QoS flow identifier (QFI)", "qfi">, v.At(at) & 0x3F);
        WriteEnum(ctx, "Operation code"_f, v.At(at + 1) >> 5, kOperations, "reserved");
        WriteBit(ctx, "E bit"_f, v.At(at + 2) >> 6, "parameters list is included (or replaces the previous one)",
                 "parameters list is not included (or extends the previous one)");
        const unsigned count = v.At(at + 2) & 0x3F;
        ctx.out.Number("Number of parameters"_f, count);
        at += 3;
        ctx.out.BeginList(Field<"Parameters", "parameters">);
        bool broken = false;
        for (unsigned i = 0; i < count && !broken; ++i) {
            const TypedValue parameter = NextTypedValue(ctx, v, at, "QoS flow parameter runs past the end of the IE");
            if (!parameter.fits) {
                broken = true;
                continue;
            }
            const unsigned id = parameter.type;
            const Octets p = parameter.value;
            ctx.out.Begin("Parameter"_f);
            WriteEnum(ctx, "Parameter identifier"_f, id, kParameters, "reserved");
            if (id == 1 && p.size >= 1) {
                const unsigned q = p.At(0);
                ctx.out.Enum(Field<"5QI", "5qi">, q,
                             StandardFiveQi(q) ? Text("standardized 5QI")
                             : q >= 128 && q <= 254 ? Text("operator-specific 5QI")
                                                    : Text("reserved"));
            } else if (id >= 2 && id <= 5 && p.size >= 3) {
                static constexpr Label kRates[] = {"GFBR uplink"_f, "GFBR downlink"_f, "MFBR uplink"_f,
                                                   "MFBR downlink"_f};
                WriteRate(ctx, kRates[id - 2], p.At(0), p.Big(1, 2));
            } else if (id == 6 && p.size >= 2) {
                ctx.out.Quantity("Averaging window"_f, p.Big(0, 2), "ms");
            } else if (id == 7 && p.size >= 1) {
                ctx.out.Number(Field<"EPS bearer identity", "ebi">, p.At(0) >> 4);
            } else {
                ctx.out.Hex("Contents"_f, p);
            }
            ctx.out.End();
            at += 2 + p.size;
        }
        ctx.out.EndList();
        ctx.out.End();
        if (broken) break;
    }
    ctx.out.EndList();
}

void DecodeSessionAmbr(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 6)) return;
    WriteRate(ctx, "Session-AMBR for downlink"_f, v.At(0), v.Big(1, 2));
    WriteRate(ctx, "Session-AMBR for uplink"_f, v.At(3), v.Big(4, 2));
}

}  // namespace corvuna::view::fivegs
