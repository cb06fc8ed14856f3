// SPDX-License-Identifier: Apache-2.0
// EPS mobility management IEs (TS 24.301 9.9.2, 9.9.3) and the TS 24.008
// IEs they carry, as the standard view decodes them.
#include <cstdio>

#include "view/ies.h"
#include "view/ies_24008.h"

namespace corvuna::view {

namespace {

// ---------------------------------------------------------------------------
// Half-octet values

constexpr ValueText kAdditionalUpdateResultTexts[] = {
    {0, "No additional information"}, {1, "CS Fallback not preferred"}, {2, "SMS only"}, {3, "Reserved"}};
void DecodeAdditionalUpdateResult(Context& ctx, Octets v) {
    WriteEnum(ctx, "Additional update result value"_f, v.At(0) & 0x03, kAdditionalUpdateResultTexts, "Reserved");
}

constexpr ValueText kPnbCiotTexts[] = {{0, "No additional information"},
                                       {1, "Control plane CIoT EPS optimization"},
                                       {2, "User plane CIoT EPS optimization"},
                                       {3, "Reserved"}};
void DecodeAdditionalUpdateType(Context& ctx, Octets v) {
    const uint8_t x = v.At(0);
    WriteBit(ctx, "Signalling active flag (SAF)"_f, x >> 3, "Keeping the NAS signalling connection is required",
             "Keeping the NAS signalling connection is not required");
    WriteEnum(ctx, "Preferred CIoT network behaviour (PNB-CIoT)"_f, (x >> 1) & 0x03, kPnbCiotTexts, "Reserved");
    WriteBit(ctx, "Additional update type value (AUTV)"_f, x, "SMS only", "No additional information");
}

void DecodeCipheringKeySequenceNumber(Context& ctx, Octets v) {
    const unsigned value = v.At(0) & 0x07;
    ctx.out.Enum("Key sequence"_f, value, value == 7 ? Text("No key is available") : Text("Possible value"));
}

void DecodeCsfbResponse(Context& ctx, Octets v) {
    static constexpr ValueText kTexts[] = {{0, "CS fallback rejected by the UE"}, {1, "CS fallback accepted by the UE"}};
    WriteEnum(ctx, "CSFB response value"_f, v.At(0) & 0x07, kTexts, "Reserved");
}

void DecodeDetachType(Context& ctx, Octets v, bool toNetwork) {
    static constexpr ValueText kToNetwork[] = {{1, "EPS detach"}, {2, "IMSI detach"}, {3, "combined EPS/IMSI detach"},
                                        {6, "reserved"},   {7, "reserved"}};
    static constexpr ValueText kToUe[] = {{1, "re-attach required"}, {2, "re-attach not required"}, {3, "IMSI detach"},
                                   {6, "reserved"},           {7, "reserved"}};
    const uint8_t x = v.At(0);
    WriteBit(ctx, "Switch off"_f, x >> 3, "Switch off", "Normal detach");
    if (toNetwork) {
        WriteEnum(ctx, "Type of detach"_f, x & 0x07, kToNetwork, "combined EPS/IMSI detach");
    } else {
        WriteEnum(ctx, "Type of detach"_f, x & 0x07, kToUe, "re-attach not required");
    }
}
void DecodeDetachTypeToNetwork(Context& ctx, Octets v) { DecodeDetachType(ctx, v, true); }
void DecodeDetachTypeToUe(Context& ctx, Octets v) { DecodeDetachType(ctx, v, false); }

void DecodeEpsAttachResult(Context& ctx, Octets v) {
    static constexpr ValueText kTexts[] = {{1, "EPS only"}, {2, "combined EPS/IMSI attach"}};
    WriteEnum(ctx, "EPS attach result value"_f, v.At(0) & 0x07, kTexts, "reserved");
}

void DecodeEpsAttachType(Context& ctx, Octets v) {
    static constexpr ValueText kTexts[] = {
        {1, "EPS attach"}, {2, "combined EPS/IMSI attach"}, {6, "EPS emergency attach"}, {7, "reserved"}};
    WriteEnum(ctx, "EPS attach type value"_f, v.At(0) & 0x07, kTexts, "EPS attach (unused value)");
}

void DecodeEpsUpdateResult(Context& ctx, Octets v) {
    static constexpr ValueText kTexts[] = {{0, "TA updated"},
                                    {1, "combined TA/LA updated"},
                                    {4, "TA updated and ISR activated"},
                                    {5, "combined TA/LA updated and ISR activated"}};
    WriteEnum(ctx, "EPS update result value"_f, v.At(0) & 0x07, kTexts, "reserved");
}

void DecodeEpsUpdateType(Context& ctx, Octets v) {
    static constexpr ValueText kTexts[] = {{0, "TA updating"},
                                    {1, "combined TA/LA updating"},
                                    {2, "combined TA/LA updating with IMSI attach"},
                                    {3, "periodic updating"},
                                    {4, "unused; shall be interpreted as TA updating"},
                                    {5, "unused; shall be interpreted as TA updating"}};
    const uint8_t x = v.At(0);
    WriteBit(ctx, "Active flag"_f, x >> 3, "Bearer establishment requested", "No bearer establishment requested");
    WriteEnum(ctx, "EPS update type value"_f, x & 0x07, kTexts, "reserved");
}

void DecodeIdentityType2(Context& ctx, Octets v) {
    static constexpr ValueText kTexts[] = {{1, "IMSI"}, {2, "IMEI"}, {3, "IMEISV"}, {4, "TMSI"}};
    WriteEnum(ctx, "Type of identity"_f, v.At(0) & 0x07, kTexts, "reserved");
}

void DecodeImeisvRequest(Context& ctx, Octets v) {
    static constexpr ValueText kTexts[] = {{0, "IMEISV not requested"}, {1, "IMEISV requested"}};
    WriteEnum(ctx, "IMEISV request value"_f, v.At(0) & 0x07, kTexts, "reserved");
}

void DecodeNasKeySetIdentifier(Context& ctx, Octets v) {
    const uint8_t x = v.At(0);
    WriteBit(ctx, "Type of security context flag (TSC)"_f, x >> 3, "mapped security context (for KSISGSN)",
             "native security context (for KSIASME)");
    const unsigned ksi = x & 0x07;
    ctx.out.Enum("NAS key set identifier"_f, ksi, ksi == 7 ? Text("no key is available") : Text("possible value"));
}

void DecodeServiceType(Context& ctx, Octets v) {
    static constexpr ValueText kTexts[] = {
        {0, "mobile originating CS fallback or 1xCS fallback"},
        {1, "mobile terminating CS fallback or 1xCS fallback"},
        {2, "mobile originating CS fallback emergency call or 1xCS fallback emergency call"},
        {3, "unused; shall be interpreted as mobile originating CS fallback or 1xCS fallback"},
        {4, "unused; shall be interpreted as mobile originating CS fallback or 1xCS fallback"},
        {8, "packet services via S1"},
    };
    WriteEnum(ctx, "Service type value"_f, v.At(0) & 0x0F, kTexts, "reserved");
}

void DecodeTmsiStatus(Context& ctx, Octets v) {
    WriteBit(ctx, "TMSI flag"_f, v.At(0), "valid TMSI available", "no valid TMSI available");
}

void DecodeUeRadioCapabilityUpdateNeeded(Context& ctx, Octets v) {
    WriteBit(ctx, "URC upd"_f, v.At(0), "UE radio capability information update needed",
             "UE radio capability information update not needed");
}

void DecodeGutiType(Context& ctx, Octets v) { WriteBit(ctx, "GUTI type"_f, v.At(0), "Mapped GUTI", "Native GUTI"); }

void DecodeExtendedEmmCause(Context& ctx, Octets v) {
    const uint8_t x = v.At(0);
    WriteBit(ctx, "EPS optimization info"_f, x >> 1, "Requested EPS optimization not supported",
             "No EPS optimization information");
    WriteBit(ctx, "E-UTRAN allowed"_f, x, "E-UTRAN not allowed", "E-UTRAN allowed");
}

void DecodeDeviceProperties(Context& ctx, Octets v) {
    WriteBit(ctx, "Low priority"_f, v.At(0), "MS is configured for NAS signalling low priority",
             "MS is not configured for NAS signalling low priority");
}

void DecodeMsNetworkFeatureSupport(Context& ctx, Octets v) {
    WriteBit(ctx, "Extended periodic timers"_f, v.At(0), "MS supports the extended periodic timer in this domain",
             "MS does not support the extended periodic timer in this domain");
}

void DecodeSmsServicesStatus(Context& ctx, Octets v) {
    static constexpr ValueText kTexts[] = {{0, "SMS services not available"},
                                    {1, "SMS services not available in this PLMN"},
                                    {2, "Network failure"},
                                    {3, "Congestion"}};
    WriteEnum(ctx, "SMS services status value"_f, v.At(0) & 0x07, kTexts, "reserved");
}

void DecodeNetworkPolicy(Context& ctx, Octets v) {
    WriteBit(ctx, "Redirection policy"_f, v.At(0), "Unsecured redirection to GERAN not allowed",
             "Unsecured redirection to GERAN allowed");
}

void DecodeNon3gppNwProvidedPolicies(Context& ctx, Octets v) {
    WriteBit(ctx, "Non-3GPP emergency numbers indicator"_f, v.At(0),
             "Use of non-3GPP emergency numbers permitted", "Use of non-3GPP emergency numbers not permitted");
}

void DecodeControlPlaneServiceType(Context& ctx, Octets v) {
    static constexpr ValueText kTexts[] = {{0, "mobile originating request"}, {1, "mobile terminating request"}};
    const uint8_t x = v.At(0);
    WriteBit(ctx, "Active flag"_f, x >> 3, "Radio bearer establishment requested",
             "No radio bearer establishment requested");
    WriteEnum(ctx, "Control plane service type value"_f, x & 0x07, kTexts, "reserved");
}

void DecodeUeRadioCapabilityIdRequest(Context& ctx, Octets v) {
    WriteBit(ctx, "UE radio capability ID request"_f, v.At(0), "UE radio capability ID requested",
             "UE radio capability ID not requested");
}

void DecodeUeRadioCapabilityIdDeletion(Context& ctx, Octets v) {
    static constexpr ValueText kTexts[] = {{0, "UE radio capability ID deletion not requested"},
                                    {1, "Network-assigned UE radio capability IDs deletion requested"}};
    WriteEnum(ctx, "Deletion request"_f, v.At(0) & 0x07, kTexts, "reserved");
}

void DecodeSpareHalfOctet(Context&, Octets) {}

// ---------------------------------------------------------------------------
// Digits and identities

// The digits of an identity whose first digit is the high half of the first
// octet (TS 24.008 10.5.1.4): `odd` tells whether the last octet's high half
// is a digit or the filler.
Digits IdentityDigits(Octets v, bool odd) {
    Digits digits;
    if (v.size == 0) return digits;
    digits.Put(TbcdDigit(v.At(0) >> 4));
    for (size_t i = 1; i < v.size; ++i) {
        digits.Put(TbcdDigit(v.At(i) & 0x0F));
        if (i + 1 < v.size || odd) digits.Put(TbcdDigit(v.At(i) >> 4));
    }
    return digits;
}

// BCD digits, low half first, the filler 0xF ending them.
Digits BcdDigits(Octets v) {
    Digits digits;
    for (size_t i = 0; i < v.size; ++i) {
        const unsigned low = v.At(i) & 0x0F, high = v.At(i) >> 4;
        if (low == 0x0F) break;
        digits.Put(TbcdDigit(low));
        if (high == 0x0F) break;
        digits.Put(TbcdDigit(high));
    }
    return digits;
}

void WriteOddEven(Context& ctx, unsigned odd) {
    WriteBit(ctx, "Odd/even indication"_f, odd, "odd number of identity digits",
             "even number of identity digits and also when the GUTI is used");
}

void DecodeEpsMobileIdentity(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kTypes[] = {{1, "IMSI"}, {3, "IMEI"}, {6, "GUTI"}};
    const unsigned type = v.At(0) & 0x07;
    WriteOddEven(ctx, (v.At(0) >> 3) & 1);
    WriteEnum(ctx, "Type of identity"_f, type, kTypes, "reserved");
    if (type == 6) {
        if (!RequireOctets(ctx, v, 11)) return;
        WritePlmn(ctx, v.From(1));
        ctx.out.Number("MME group ID"_f, v.Big(4, 2));
        ctx.out.Number("MME code"_f, v.At(6));
        ctx.out.Hex("M-TMSI"_f, v.data + 7, 4);
    } else if (type == 1 || type == 3) {
        const Digits digits = IdentityDigits(v, ((v.At(0) >> 3) & 1) != 0);
        ctx.out.Ascii(type == 1 ? "IMSI"_f : "IMEI"_f, digits.view());
    } else {
        WriteOctets(ctx, v.From(1), "Identity"_f);
    }
}

void DecodeMobileIdentity(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kTypes[] = {{0, "No Identity"}, {1, "IMSI"}, {2, "IMEI"}, {3, "IMEISV"},
                                    {4, "TMSI/P-TMSI/M-TMSI"}, {5, "TMGI and optional MBMS Session Identity"}};
    const uint8_t first = v.At(0);
    const unsigned type = first & 0x07;
    if (type != 5) WriteOddEven(ctx, (first >> 3) & 1);
    WriteEnum(ctx, "Type of identity"_f, type, kTypes, "reserved");
    switch (type) {
        case 1:
        case 2:
        case 3: {
            static constexpr Label kNames[] = {"IMSI"_f, "IMEI"_f, "IMEISV"_f};
            ctx.out.Ascii(kNames[type - 1], IdentityDigits(v, ((first >> 3) & 1) != 0).view());
            break;
        }
        case 4:
            if (!RequireOctets(ctx, v, 5)) return;
            ctx.out.Hex("TMSI/P-TMSI/M-TMSI"_f, v.data + 1, 4);
            break;
        case 5: {
            const bool sessionId = (first >> 5) & 1, mccMnc = (first >> 4) & 1;
            WriteBit(ctx, "MBMS Session Identity indication"_f, sessionId, "MBMS Session Identity is present",
                     "MBMS Session Identity is not present");
            WriteBit(ctx, "MCC/MNC indication"_f, mccMnc, "MCC/MNC is present", "MCC/MNC is not present");
            if (!RequireOctets(ctx, v, 4 + (mccMnc ? 3 : 0) + (sessionId ? 1 : 0))) return;
            ctx.out.Hex("MBMS Service ID"_f, v.data + 1, 3);
            size_t at = 4;
            if (mccMnc) {
                WritePlmn(ctx, v.From(at));
                at += 3;
            }
            if (sessionId) ctx.out.Number("MBMS Session Identity"_f, v.At(at));
            break;
        }
        default:
            break;
    }
}

// ---------------------------------------------------------------------------
// Areas and networks

void WriteTai(Context& ctx, Octets plmn, uint32_t tac) {
    ctx.out.Begin(Field<"Tracking area identity", "tai">);
    WritePlmn(ctx, plmn);
    ctx.out.Number("TAC"_f, tac);
    ctx.out.End();
}

void DecodeTrackingAreaIdentity(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 5)) return;
    WritePlmn(ctx, v);
    ctx.out.Number("TAC"_f, v.Big(3, 2));
}

void DecodeTrackingAreaIdentityList(Context& ctx, Octets v) {
    static constexpr ValueText kTypes[] = {
        {0, "list of TACs belonging to one PLMN, with non-consecutive TAC values"},
        {1, "list of TACs belonging to one PLMN, with consecutive TAC values"},
        {2, "list of TAIs belonging to different PLMNs"},
    };
    ctx.out.BeginList(Field<"Partial tracking area identity lists", "partial_lists">);
    size_t at = 0;
    while (at < v.size) {
        const uint8_t header = v.At(at);
        const unsigned type = (header >> 5) & 0x03, count = (header & 0x1F) + 1u;
        const size_t need = type == 0 ? 1 + 3 + 2 * count : type == 1 ? 1 + 3 + 2 : 1 + 5 * count;
        ctx.out.Begin("Partial tracking area identity list"_f);
        WriteEnum(ctx, "Type of list"_f, type, kTypes, "reserved");
        ctx.out.Number("Number of elements"_f, count);
        if (type == 3 || at + need > v.size) {
            ctx.ValueError(type == 3 ? "reserved type of list" : "partial list runs past the end of the IE");
            ctx.out.End();
            break;
        }
        ctx.out.BeginList(Field<"TAIs", "tais">);
        for (unsigned i = 0; i < count; ++i) {
            if (type == 0) WriteTai(ctx, v.From(at + 1), v.Big(at + 4 + 2 * i, 2));
            if (type == 1) WriteTai(ctx, v.From(at + 1), (v.Big(at + 4, 2) + i) & 0xFFFF);
            if (type == 2) WriteTai(ctx, v.From(at + 1 + 5 * i), v.Big(at + 4 + 5 * i, 2));
        }
        ctx.out.EndList();
        ctx.out.End();
        at += need;
    }
    ctx.out.EndList();
}

void DecodeLocationAreaIdentification(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 5)) return;
    WritePlmn(ctx, v);
    ctx.out.Number("LAC"_f, v.Big(3, 2));
}

void DecodePlmnList(Context& ctx, Octets v) {
    ctx.out.BeginList(Field<"PLMNs", "plmns">);
    for (size_t at = 0; at + 3 <= v.size; at += 3) {
        ctx.out.Begin("PLMN"_f);
        WritePlmn(ctx, v.From(at));
        ctx.out.End();
    }
    ctx.out.EndList();
    if (v.size % 3 != 0) ctx.ValueError("length is not a multiple of 3 octets");
}

void DecodeEpsBearerContextStatus(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 2)) return;
    ctx.out.BeginList(Field<"Active EPS bearer identities", "active_ebis">);
    for (unsigned ebi = 0; ebi < 16; ++ebi) {
        if ((v.At(ebi / 8) >> (ebi % 8)) & 1u) ctx.out.Number("EBI"_f, ebi);
    }
    ctx.out.EndList();
}

void DecodeEmergencyNumberList(Context& ctx, Octets v) {
    static constexpr Text kServices[] = {"Police", "Ambulance", "Fire Brigade", "Marine Guard", "Mountain Rescue"};
    ctx.out.BeginList(Field<"Emergency numbers", "numbers">);
    size_t at = 0;
    while (at < v.size) {
        const size_t length = v.At(at);
        if (length == 0 || at + 1 + length > v.size) {
            ctx.ValueError("emergency number information runs past the end of the IE");
            break;
        }
        ctx.out.Begin("Emergency number information"_f);
        const uint8_t category = v.At(at + 1) & 0x1F;
        ctx.out.BeginList(Field<"Emergency service category", "categories">);
        for (unsigned bit = 0; bit < 5; ++bit) {
            if ((category >> bit) & 1u) ctx.out.Ascii("Service"_f, std::string_view(kServices[bit].text, kServices[bit].size));
        }
        ctx.out.EndList();
        ctx.out.Ascii("Number"_f, BcdDigits(Octets{v.data + at + 2, length - 1}).view());
        ctx.out.End();
        at += 1 + length;
    }
    ctx.out.EndList();
}

// ---------------------------------------------------------------------------
// Timers

void WriteTimer(Context& ctx, uint8_t octet, bool timer3) {
    static constexpr ValueText kUnits[] = {{0, "value is incremented in multiples of 2 seconds"},
                                    {1, "value is incremented in multiples of 1 minute"},
                                    {2, "value is incremented in multiples of decihours"},
                                    {7, "value indicates that the timer is deactivated"}};
    static constexpr ValueText kUnits3[] = {{0, "value is incremented in multiples of 10 minutes"},
                                     {1, "value is incremented in multiples of 1 hour"},
                                     {2, "value is incremented in multiples of 10 hours"},
                                     {3, "value is incremented in multiples of 2 seconds"},
                                     {4, "value is incremented in multiples of 30 seconds"},
                                     {5, "value is incremented in multiples of 1 minute"},
                                     {6, "value is incremented in multiples of 320 hours"},
                                     {7, "value indicates that the timer is deactivated"}};
    constexpr int64_t kSeconds[] = {2, 60, 360, 60, 60, 60, 60, 0};
    constexpr int64_t kSeconds3[] = {600, 3600, 36000, 2, 30, 60, 1152000, 0};
    const unsigned unit = octet >> 5, value = octet & 0x1F;
    if (timer3) {
        WriteEnum(ctx, "Unit"_f, unit, kUnits3, "");
    } else {
        // Other values are interpreted as multiples of 1 minute.
        WriteEnum(ctx, "Unit"_f, unit, kUnits, "value is incremented in multiples of 1 minute");
    }
    ctx.out.Number("Timer value"_f, value);
    if (unit == 7) {
        ctx.out.Flag("Deactivated"_f, true, "yes", "no");
    } else {
        ctx.out.Number("Seconds"_f, value * (timer3 ? kSeconds3 : kSeconds)[unit]);
    }
}

void DecodeGprsTimer(Context& ctx, Octets v) {
    if (RequireOctets(ctx, v, 1)) WriteTimer(ctx, v.At(0), false);
}
void DecodeGprsTimer3(Context& ctx, Octets v) {
    if (RequireOctets(ctx, v, 1)) WriteTimer(ctx, v.At(0), true);
}

// ---------------------------------------------------------------------------
// Capabilities

void DecodeUeNetworkCapability(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 2)) return;
    static constexpr Label kOctet1[] = {"EEA0"_f, "128-EEA1"_f, "128-EEA2"_f, "128-EEA3"_f, "EEA4"_f, "EEA5"_f, "EEA6"_f, "EEA7"_f};
    static constexpr Label kOctet2[] = {"EIA0"_f, "128-EIA1"_f, "128-EIA2"_f, "128-EIA3"_f, "EIA4"_f, "EIA5"_f, "EIA6"_f, "EIA7"_f};
    static constexpr Label kOctet3[] = {"UEA0"_f, "UEA1"_f, "UEA2"_f, "UEA3"_f, "UEA4"_f, "UEA5"_f, "UEA6"_f, "UEA7"_f};
    static constexpr Label kOctet4[] = {"UCS2"_f, "UIA1"_f, "UIA2"_f, "UIA3"_f, "UIA4"_f, "UIA5"_f, "UIA6"_f, "UIA7"_f};
    static constexpr Label kOctet5[] = {"ProSe-dd"_f, "ProSe"_f, "H.245-ASH"_f, "ACC-CSFB"_f, "LPP"_f, "LCS"_f, "1xSRVCC"_f, "NF"_f};
    static constexpr Label kOctet6[] = {"ePCO"_f, "HC-CP CIoT"_f, "ERw/oPDN"_f, "S1-U data"_f,
                                       "UP CIoT"_f, "CP CIoT"_f, "ProSe-relay"_f, "ProSe-dc"_f};
    static constexpr Label kOctet7[] = {"15 bearers"_f, "SGC"_f, "N1mode"_f, "DCNR"_f,
                                       "CP backoff"_f, "RestrictEC"_f, "V2X PC5"_f, "multipleDRB"_f};
    static constexpr const Label* kOctets[] = {kOctet1, kOctet2, kOctet3, kOctet4, kOctet5, kOctet6, kOctet7};
    for (size_t i = 0; i < v.size && i < 7; ++i) {
        for (unsigned bit = 0; bit < 8; ++bit) {
            const Label name = kOctets[i][bit];
            const unsigned value = (v.At(i) >> (7 - bit)) & 1u;
            if (i == 3 && bit == 0) {
                WriteBit(ctx, name, value,
                         "The UE has no preference between the use of the default alphabet and the use of UCS2",
                         "The UE has a preference for the default alphabet");
            } else {
                WriteSupport(ctx, name, value);
            }
        }
    }
    if (v.size > 7) WriteOctets(ctx, v.From(7), "Further octets"_f);
}

void DecodeUeSecurityCapability(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 2)) return;
    static constexpr Label kNames[5][8] = {
        {"EEA0"_f, "128-EEA1"_f, "128-EEA2"_f, "128-EEA3"_f, "EEA4"_f, "EEA5"_f, "EEA6"_f, "EEA7"_f},
        {"EIA0"_f, "128-EIA1"_f, "128-EIA2"_f, "128-EIA3"_f, "EIA4"_f, "EIA5"_f, "EIA6"_f, "EIA7"_f},
        {"UEA0"_f, "UEA1"_f, "UEA2"_f, "UEA3"_f, "UEA4"_f, "UEA5"_f, "UEA6"_f, "UEA7"_f},
        {Label(), "UIA1"_f, "UIA2"_f, "UIA3"_f, "UIA4"_f, "UIA5"_f, "UIA6"_f, "UIA7"_f},
        {Label(), "GEA1"_f, "GEA2"_f, "GEA3"_f, "GEA4"_f, "GEA5"_f, "GEA6"_f, "GEA7"_f},
    };
    for (size_t i = 0; i < v.size && i < 5; ++i) {
        for (unsigned bit = 0; bit < 8; ++bit) {
            if (!kNames[i][bit]) continue;  // spare
            WriteSupport(ctx, kNames[i][bit], (v.At(i) >> (7 - bit)) & 1u);
        }
    }
    if (v.size > 5) WriteOctets(ctx, v.From(5), "Further octets"_f);
}

void DecodeMsNetworkCapability(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    const uint8_t o1 = v.At(0);
    WriteBit(ctx, "GEA/1"_f, o1 >> 7, "encryption algorithm available", "encryption algorithm not available");
    WriteBit(ctx, "SM capabilities via dedicated channels"_f, o1 >> 6,
             "Mobile station supports mobile terminated point to point SMS via CS domain",
             "Mobile station does not support mobile terminated point to point SMS via CS domain");
    WriteBit(ctx, "SM capabilities via GPRS channels"_f, o1 >> 5,
             "Mobile station supports mobile terminated point to point SMS via PS domain",
             "Mobile station does not support mobile terminated point to point SMS via PS domain");
    WriteBit(ctx, "UCS2 support"_f, o1 >> 4,
             "the ME has no preference between the use of the default alphabet and the use of UCS2",
             "the ME has a preference for the default alphabet over UCS2");
    WriteSsScreeningIndicator(ctx, "SS screening indicator"_f, (o1 >> 2) & 0x03);
    WriteSupport(ctx, "SoLSA capability"_f, o1 >> 1);
    WriteBit(ctx, "Revision level indicator"_f, o1, "used by a mobile station supporting R99 or later versions",
             "used by a mobile station not supporting R99 or later versions");
    if (v.size < 2) return;
    const uint8_t o2 = v.At(1);
    WriteSupport(ctx, "PFC feature mode"_f, o2 >> 7);
    static constexpr Label kGea[] = {"GEA/2"_f, "GEA/3"_f, "GEA/4"_f, "GEA/5"_f, "GEA/6"_f, "GEA/7"_f};
    for (unsigned i = 0; i < 6; ++i) {
        WriteBit(ctx, kGea[i], o2 >> (6 - i), "encryption algorithm available", "encryption algorithm not available");
    }
    WriteSupport(ctx, "LCS VA capability"_f, o2);
    if (v.size < 3) return;
    static constexpr Label kOctet3[] = {"PS inter-RAT HO from GERAN to UTRAN Iu mode capability"_f,
                                       "PS inter-RAT HO from GERAN to E-UTRAN S1 mode capability"_f,
                                       "EMM Combined procedures capability"_f,
                                       "ISR support"_f,
                                       "SRVCC to GERAN/UTRAN capability"_f,
                                       "EPC capability"_f,
                                       "NF capability"_f,
                                       "GERAN network sharing capability"_f};
    for (unsigned bit = 0; bit < 8; ++bit) WriteSupport(ctx, kOctet3[bit], v.At(2) >> (7 - bit));
    if (v.size > 3) WriteOctets(ctx, v.From(3), "Further octets"_f);
}

void DecodeMsClassmark2(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 3)) return;
    static constexpr ValueText kRevision[] = {{0, "Reserved for GSM phase 1"},
                                       {1, "Used by GSM phase 2 mobile stations"},
                                       {2, "Used by mobile stations supporting R99 or later versions of the protocol"},
                                       {3, "Reserved for future use"}};
    const uint8_t o1 = v.At(0), o2 = v.At(1), o3 = v.At(2);
    WriteEnum(ctx, "Revision level"_f, (o1 >> 5) & 0x03, kRevision, "");
    WriteBit(ctx, "ES IND"_f, o1 >> 4, "Controlled Early Classmark Sending option is implemented",
             "Controlled Early Classmark Sending option is not implemented");
    WriteBit(ctx, "A5/1"_f, o1 >> 3, "encryption algorithm A5/1 not available", "encryption algorithm A5/1 available");
    WriteRfPowerCapability(ctx, o1 & 0x07);
    WriteBit(ctx, "PS capability"_f, o2 >> 6, "PS capability present", "PS capability not present");
    WriteSsScreeningIndicator(ctx, "SS screen indicator"_f, (o2 >> 4) & 0x03);
    WriteSupport(ctx, "SM capability"_f, o2 >> 3);
    WriteSupport(ctx, "VBS notification reception"_f, o2 >> 2);
    WriteSupport(ctx, "VGCS notification reception"_f, o2 >> 1);
    WriteBit(ctx, "FC"_f, o2, "The MS does support the E-GSM or R-GSM band",
             "The MS does not support the E-GSM or R-GSM band");
    WriteBit(ctx, "CM3"_f, o3 >> 7, "The MS supports options that are indicated in classmark 3 IE",
             "The MS does not support any options that are indicated in CM3");
    WriteSupport(ctx, "LCS VA capability"_f, o3 >> 5);
    WriteBit(ctx, "UCS2 treatment"_f, o3 >> 4,
             "the ME has no preference between the use of the default alphabet and the use of UCS2",
             "the ME has a preference for the default alphabet over UCS2");
    WriteSupport(ctx, "SoLSA"_f, o3 >> 3);
    WriteSupport(ctx, "CMSP"_f, o3 >> 2);
    WriteBit(ctx, "A5/3"_f, o3 >> 1, "encryption algorithm A5/3 available", "encryption algorithm A5/3 not available");
    WriteBit(ctx, "A5/2"_f, o3, "encryption algorithm A5/2 available", "encryption algorithm A5/2 not available");
}

void DecodeSupportedCodecList(Context& ctx, Octets v) {
    ctx.out.BeginList(Field<"Codecs", "codecs">);
    size_t at = 0;
    while (at + 2 <= v.size) {
        const size_t length = v.At(at + 1);
        if (at + 2 + length > v.size) {
            ctx.ValueError("codec bitmap runs past the end of the IE");
            break;
        }
        ctx.out.Begin("Codec"_f);
        ctx.out.HexNumber("System identification"_f, v.At(at), 2);
        ctx.out.Hex("Codec bitmap"_f, v.data + at + 2, length);
        ctx.out.End();
        at += 2 + length;
    }
    ctx.out.EndList();
}

void DecodeEpsNetworkFeatureSupport(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    const uint8_t o1 = v.At(0);
    WriteSupport(ctx, "CP CIoT"_f, o1 >> 7);
    WriteSupport(ctx, "ERw/oPDN"_f, o1 >> 6);
    WriteSupport(ctx, "ESR PS"_f, o1 >> 5);
    WriteCsLcs(ctx, (o1 >> 3) & 0x03);
    WriteSupport(ctx, "EPC-LCS"_f, o1 >> 2);
    WriteSupport(ctx, "EMC BS"_f, o1 >> 1);
    WriteBit(ctx, "IMS VoPS"_f, o1, "IMS voice over PS session in S1 mode supported",
             "IMS voice over PS session in S1 mode not supported");
    if (v.size < 2) return;
    static constexpr Label kOctet2[] = {"15 bearers"_f, "IWK N26"_f, "RestrictDCNR"_f, "RestrictEC"_f,
                                       "ePCO"_f,       "HC-CP CIoT"_f, "S1-U data"_f, "UP CIoT"_f};
    for (unsigned bit = 0; bit < 8; ++bit) WriteSupport(ctx, kOctet2[bit], v.At(1) >> (7 - bit));
    if (v.size > 2) WriteOctets(ctx, v.From(2), "Further octets"_f);
}

// ---------------------------------------------------------------------------
// Causes, security and authentication

constexpr ValueText kEmmCauses[] = {
    {2, "IMSI unknown in HSS"},
    {3, "Illegal UE"},
    {5, "IMEI not accepted"},
    {6, "Illegal ME"},
    {7, "EPS services not allowed"},
    {8, "EPS services and non-EPS services not allowed"},
    {9, "UE identity cannot be derived by the network"},
    {10, "Implicitly detached"},
    {11, "PLMN not allowed"},
    {12, "Tracking Area not allowed"},
    {13, "Roaming not allowed in this tracking area"},
    {14, "EPS services not allowed in this PLMN"},
    {15, "No Suitable Cells In tracking area"},
    {16, "MSC temporarily not reachable"},
    {17, "Network failure"},
    {18, "CS domain not available"},
    {19, "ESM failure"},
    {20, "MAC failure"},
    {21, "Synch failure"},
    {22, "Congestion"},
    {23, "UE security capabilities mismatch"},
    {24, "Security mode rejected, unspecified"},
    {25, "Not authorized for this CSG"},
    {26, "Non-EPS authentication unacceptable"},
    {31, "Redirection to 5GCN required"},
    {35, "Requested service option not authorized in this PLMN"},
    {39, "CS service temporarily not available"},
    {40, "No EPS bearer context activated"},
    {42, "Severe network failure"},
    {78, "PLMN not allowed to operate at the present UE location"},
    {95, "Semantically incorrect message"},
    {96, "Invalid mandatory information"},
    {97, "Message type non-existent or not implemented"},
    {98, "Message type not compatible with the protocol state"},
    {99, "Information element non-existent or not implemented"},
    {100, "Conditional IE error"},
    {101, "Message not compatible with the protocol state"},
    {111, "Protocol error, unspecified"},
};
constexpr auto kEmmCauseTexts =
    MakeDenseText<256>(kEmmCauses, "unassigned (treated as #111, protocol error, unspecified)");

void DecodeEmmCause(Context& ctx, Octets v) {
    if (RequireOctets(ctx, v, 1)) ctx.out.Enum("Cause value"_f, v.At(0), kEmmCauseTexts(v.At(0)));
}

void DecodeNasSecurityAlgorithms(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr Text kCiphering[] = {"EPS encryption algorithm EEA0 (null ciphering algorithm)",
                                          "EPS encryption algorithm 128-EEA1",
                                          "EPS encryption algorithm 128-EEA2",
                                          "EPS encryption algorithm 128-EEA3",
                                          "EPS encryption algorithm EEA4",
                                          "EPS encryption algorithm EEA5",
                                          "EPS encryption algorithm EEA6",
                                          "EPS encryption algorithm EEA7"};
    static constexpr Text kIntegrity[] = {"EPS integrity algorithm EIA0 (null integrity protection algorithm)",
                                          "EPS integrity algorithm 128-EIA1",
                                          "EPS integrity algorithm 128-EIA2",
                                          "EPS integrity algorithm 128-EIA3",
                                          "EPS integrity algorithm EIA4",
                                          "EPS integrity algorithm EIA5",
                                          "EPS integrity algorithm EIA6",
                                          "EPS integrity algorithm EIA7"};
    const unsigned cipher = (v.At(0) >> 4) & 0x07, integrity = v.At(0) & 0x07;
    ctx.out.Enum("Type of ciphering algorithm"_f, cipher, kCiphering[cipher]);
    ctx.out.Enum("Type of integrity protection algorithm"_f, integrity, kIntegrity[integrity]);
}

void DecodeAutn(Context& ctx, Octets v) {
    if (v.size != 16) {
        WriteOctets(ctx, v, "AUTN"_f);
        return;
    }
    ctx.out.Hex("SQN xor AK"_f, v.data, 6);
    ctx.out.Hex("AMF"_f, v.data + 6, 2);
    ctx.out.Hex("MAC"_f, v.data + 8, 8);
}

void DecodeAuts(Context& ctx, Octets v) {
    if (v.size != 14) {
        WriteOctets(ctx, v, "AUTS"_f);
        return;
    }
    ctx.out.Hex("SQN MS xor AK"_f, v.data, 6);
    ctx.out.Hex("MAC-S"_f, v.data + 6, 8);
}

void DecodeRand(Context& ctx, Octets v) { WriteOctets(ctx, v, "RAND value"_f); }
void DecodeRes(Context& ctx, Octets v) { WriteOctets(ctx, v, "RES"_f); }
void DecodeNonce(Context& ctx, Octets v) { WriteOctets(ctx, v, "Nonce value"_f); }
void DecodePtmsiSignature(Context& ctx, Octets v) { WriteOctets(ctx, v, "P-TMSI signature value"_f); }
void DecodeShortMac(Context& ctx, Octets v) { WriteOctets(ctx, v, "Short MAC value"_f); }

void DecodePagingIdentity(Context& ctx, Octets v) {
    if (RequireOctets(ctx, v, 1)) WriteBit(ctx, "Paging identity value"_f, v.At(0), "TMSI", "IMSI");
}

// ---------------------------------------------------------------------------
// Network name and time

// The GSM 7-bit default alphabet (TS 23.038 6.2.1) in UTF-8, and its
// extension table after the escape 0x1B.
constexpr const char* kGsm7[128] = {
    "@", "\xC2\xA3", "$", "\xC2\xA5", "\xC3\xA8", "\xC3\xA9", "\xC3\xB9", "\xC3\xAC", "\xC3\xB2", "\xC3\x87",
    "\n", "\xC3\x98", "\xC3\xB8", "\r", "\xC3\x85", "\xC3\xA5", "\xCE\x94", "_", "\xCE\xA6", "\xCE\x93",
    "\xCE\x9B", "\xCE\xA9", "\xCE\xA0", "\xCE\xA8", "\xCE\xA3", "\xCE\x98", "\xCE\x9E", "\xC2\xA0", "\xC3\x86",
    "\xC3\xA6", "\xC3\x9F", "\xC3\x89", " ", "!", "\"", "#", "\xC2\xA4", "%", "&", "'", "(", ")", "*", "+", ",",
    "-", ".", "/", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ":", ";", "<", "=", ">", "?", "\xC2\xA1",
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q", "R", "S", "T", "U",
    "V", "W", "X", "Y", "Z", "\xC3\x84", "\xC3\x96", "\xC3\x91", "\xC3\x9C", "\xC2\xA7", "\xC2\xBF", "a", "b",
    "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q", "r", "s", "t", "u", "v", "w",
    "x", "y", "z", "\xC3\xA4", "\xC3\xB6", "\xC3\xB1", "\xC3\xBC", "\xC3\xA0",
};

const char* Gsm7Extension(unsigned septet) {
    switch (septet) {
        case 0x0A: return "\f";
        case 0x14: return "^";
        case 0x28: return "{";
        case 0x29: return "}";
        case 0x2F: return "\\";
        case 0x3C: return "[";
        case 0x3D: return "~";
        case 0x3E: return "]";
        case 0x40: return "|";
        case 0x65: return "\xE2\x82\xAC";
        default: return " ";
    }
}

// UTF-8 text of at most 1024 octets.
struct Utf8 {
    char text[1024] = {};
    size_t size = 0;
    void Put(const char* s) {
        for (; *s != '\0' && size < sizeof text; ++s) text[size++] = *s;
    }
    void PutCodePoint(uint32_t c) {
        char b[4];
        size_t n = 0;
        if (c < 0x80) {
            b[n++] = static_cast<char>(c);
        } else if (c < 0x800) {
            b[n++] = static_cast<char>(0xC0 | c >> 6);
            b[n++] = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            b[n++] = static_cast<char>(0xE0 | c >> 12);
            b[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            b[n++] = static_cast<char>(0x80 | (c & 0x3F));
        }
        if (size + n > sizeof text) return;
        for (size_t i = 0; i < n; ++i) text[size++] = b[i];
    }
};

void DecodeNetworkName(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kCoding[] = {{0, "Cell Broadcast data coding scheme, GSM default alphabet"}, {1, "UCS2 (16 bit)"}};
    const uint8_t o1 = v.At(0);
    const unsigned coding = (o1 >> 4) & 0x07, spare = o1 & 0x07;
    WriteEnum(ctx, "Coding scheme"_f, coding, kCoding, "reserved");
    WriteBit(ctx, "Add CI"_f, o1 >> 3, "The MS should add the letters for the Country's Initials and a separator",
             "The MS should not add the letters for the Country's Initials");
    ctx.out.Number("Number of spare bits in last octet"_f, spare);
    const Octets text = v.From(1);
    Utf8 name;
    if (coding == 0) {
        const size_t bits = text.size * 8;
        const size_t septets = (bits >= spare ? bits - spare : 0) / 7;
        bool escape = false;
        for (size_t i = 0; i < septets; ++i) {
            const size_t bit = i * 7;
            const unsigned low = text.At(bit / 8), high = text.At(bit / 8 + 1);
            const unsigned septet = ((low | high << 8) >> (bit % 8)) & 0x7F;
            if (escape) {
                name.Put(Gsm7Extension(septet));
                escape = false;
            } else if (septet == 0x1B) {
                escape = true;
            } else {
                name.Put(kGsm7[septet]);
            }
        }
    } else if (coding == 1) {
        for (size_t i = 0; i + 1 < text.size; i += 2) {
            const uint32_t unit = text.Big(i, 2);
            // A surrogate half is no character on its own.
            name.PutCodePoint(unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
        }
    } else {
        WriteOctets(ctx, text, "Text octets"_f);
        return;
    }
    ctx.out.String("Text string"_f, std::string_view(name.text, name.size), true);
}

// The time zone octet (TS 24.008 10.5.3.8): quarters of an hour from UTC.
void WriteTimeZone(Context& ctx, uint8_t octet) {
    const int quarters = (octet & 0x07) * 10 + (octet >> 4);
    const int signedQuarters = (octet & 0x08) != 0 ? -quarters : quarters;
    // "UTC+hh:mm" (quarters <= 85: hours two digits, minutes 00 to 45).
    const int hours = quarters / 4, minutes = quarters % 4 * 15;
    const char text[9] = {'U', 'T', 'C', signedQuarters < 0 ? '-' : '+', static_cast<char>('0' + hours / 10),
                          static_cast<char>('0' + hours % 10), ':', static_cast<char>('0' + minutes / 10),
                          static_cast<char>('0' + minutes % 10)};
    ctx.out.Enum("Time zone"_f, signedQuarters, Text::Trusted(text, sizeof text));
}

void DecodeTimeZone(Context& ctx, Octets v) {
    if (RequireOctets(ctx, v, 1)) WriteTimeZone(ctx, v.At(0));
}

int SwappedBcd(uint8_t octet) { return (octet & 0x0F) * 10 + (octet >> 4); }

void DecodeTimeZoneAndTime(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 7)) return;
    ctx.out.Number("Year"_f, 2000 + SwappedBcd(v.At(0)));
    ctx.out.Number("Month"_f, SwappedBcd(v.At(1)));
    ctx.out.Number("Day"_f, SwappedBcd(v.At(2)));
    ctx.out.Number("Hour"_f, SwappedBcd(v.At(3)));
    ctx.out.Number("Minute"_f, SwappedBcd(v.At(4)));
    ctx.out.Number("Second"_f, SwappedBcd(v.At(5)));
    WriteTimeZone(ctx, v.At(6));
}

void DecodeDaylightSavingTime(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kTexts[] = {{0, "No adjustment for Daylight Saving Time"},
                                    {1, "+1 hour adjustment for Daylight Saving Time"},
                                    {2, "+2 hours adjustment for Daylight Saving Time"}};
    WriteEnum(ctx, "DST value"_f, v.At(0) & 0x03, kTexts, "Reserved");
}

// ---------------------------------------------------------------------------
// CS service notification

void DecodeCli(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    const uint8_t o1 = v.At(0);
    ctx.out.Number("Type of number"_f, (o1 >> 4) & 0x07);
    ctx.out.Number("Numbering plan identification"_f, o1 & 0x0F);
    size_t at = 1;
    if ((o1 & 0x80) == 0 && v.size > 1) {
        static constexpr ValueText kPresentation[] = {{0, "Presentation allowed"},
                                               {1, "Presentation restricted"},
                                               {2, "Number not available due to interworking"}};
        static constexpr ValueText kScreening[] = {{0, "User-provided, not screened"},
                                            {1, "User-provided, verified and passed"},
                                            {2, "User-provided, verified and failed"},
                                            {3, "Network provided"}};
        WriteEnum(ctx, "Presentation indicator"_f, (v.At(1) >> 5) & 0x03, kPresentation, "Reserved");
        WriteEnum(ctx, "Screening indicator"_f, v.At(1) & 0x03, kScreening, "");
        at = 2;
    }
    ctx.out.Ascii("Number"_f, BcdDigits(v.From(at)).view());
}

void DecodeSsCode(Context& ctx, Octets v) {
    if (RequireOctets(ctx, v, 1)) ctx.out.HexNumber("SS code"_f, v.At(0), 2);
}

void DecodeLcsIndicator(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kTexts[] = {{0, "Normal, unspecified"}, {1, "MT-LR"}};
    WriteEnum(ctx, "LCS indicator value"_f, v.At(0), kTexts, "Normal, unspecified (unassigned value)");
}

// ---------------------------------------------------------------------------
// Containers

void DecodeEsmMessageContainer(Context& ctx, Octets v) { DecodeNestedMessage(ctx, v); }

void DecodeNasMessageContainer(Context& ctx, Octets v) {
    ctx.out.Ascii("Carries"_f, "SMS message (CP-DATA, CP-ACK or CP-ERROR, TS 24.011)");
    WriteOctets(ctx, v);
}

void DecodeGenericMessageContainerType(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kTexts[] = {
        {1, "LTE Positioning Protocol (LPP) message container"}, {2, "Location services message container"}};
    WriteEnum(ctx, "Container type"_f, v.At(0), kTexts, "Reserved");
}

void DecodeVoiceDomainPreference(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kTexts[] = {{0, "CS Voice only"},
                                    {1, "IMS PS Voice only"},
                                    {2, "CS voice preferred, IMS PS Voice as secondary"},
                                    {3, "IMS PS voice preferred, CS Voice as secondary"}};
    WriteBit(ctx, "UE's usage setting"_f, v.At(0) >> 2, "Data centric", "Voice centric");
    WriteEnum(ctx, "Voice domain preference for E-UTRAN"_f, v.At(0) & 0x03, kTexts, "");
}

void DecodeOctets(Context& ctx, Octets v) { DecodeOctetsValue(ctx, v); }

constexpr IeType Ie(Text name, Text reference, IeDecoder decode) { return {name, reference, decode}; }

}  // namespace

void DecodeOctetsValue(Context& ctx, Octets value) { WriteOctets(ctx, value); }

const IeType kAdditionalUpdateResult = Ie("Additional update result", "9.9.3.0A", DecodeAdditionalUpdateResult);
const IeType kAdditionalUpdateType = Ie("Additional update type", "9.9.3.0B", DecodeAdditionalUpdateType);
const IeType kCipheringKeySequenceNumber =
    Ie("Ciphering key sequence number", "9.9.3.4a", DecodeCipheringKeySequenceNumber);
const IeType kCsfbResponse = Ie("CSFB response", "9.9.3.5", DecodeCsfbResponse);
const IeType kDetachTypeToNetwork = Ie("Detach type", "9.9.3.7", DecodeDetachTypeToNetwork);
const IeType kDetachTypeToUe = Ie("Detach type", "9.9.3.7", DecodeDetachTypeToUe);
const IeType kEpsAttachResult = Ie("EPS attach result", "9.9.3.10", DecodeEpsAttachResult);
const IeType kEpsAttachType = Ie("EPS attach type", "9.9.3.11", DecodeEpsAttachType);
const IeType kEpsUpdateResult = Ie("EPS update result", "9.9.3.13", DecodeEpsUpdateResult);
const IeType kEpsUpdateType = Ie("EPS update type", "9.9.3.14", DecodeEpsUpdateType);
const IeType kIdentityType2 = Ie("Identity type 2", "9.9.3.17", DecodeIdentityType2);
const IeType kImeisvRequest = Ie("IMEISV request", "9.9.3.18", DecodeImeisvRequest);
const IeType kNasKeySetIdentifier = Ie("NAS key set identifier", "9.9.3.21", DecodeNasKeySetIdentifier);
const IeType kServiceType = Ie("Service type", "9.9.3.27", DecodeServiceType);
const IeType kTmsiStatus = Ie("TMSI status", "9.9.3.31", DecodeTmsiStatus);
const IeType kUeRadioCapabilityUpdateNeeded =
    Ie("UE radio capability information update needed", "9.9.3.35", DecodeUeRadioCapabilityUpdateNeeded);
const IeType kGutiType = Ie("GUTI type", "9.9.3.45", DecodeGutiType);
const IeType kExtendedEmmCause = Ie("Extended EMM cause", "9.9.3.26A", DecodeExtendedEmmCause);
const IeType kDeviceProperties = Ie("Device properties", "9.9.2.0A", DecodeDeviceProperties);
const IeType kMsNetworkFeatureSupport = Ie("MS network feature support", "9.9.3.20A", DecodeMsNetworkFeatureSupport);
const IeType kSmsServicesStatus = Ie("SMS services status", "9.9.3.4B", DecodeSmsServicesStatus);
const IeType kNetworkPolicy = Ie("Network policy", "9.9.3.52", DecodeNetworkPolicy);
const IeType kNon3gppNwProvidedPolicies =
    Ie("Non-3GPP NW provided policies", "9.9.3.49", DecodeNon3gppNwProvidedPolicies);
const IeType kControlPlaneServiceType = Ie("Control plane service type", "9.9.3.47", DecodeControlPlaneServiceType);
const IeType kUeRadioCapabilityIdRequest =
    Ie("UE radio capability ID request", "9.9.3.60", DecodeUeRadioCapabilityIdRequest);
const IeType kUeRadioCapabilityIdDeletion =
    Ie("UE radio capability ID deletion indication", "9.9.3.61", DecodeUeRadioCapabilityIdDeletion);
const IeType kSpareHalfOctet = Ie("Spare half octet", "9.9.2.9", DecodeSpareHalfOctet);

const IeType kAuthenticationFailureParameter =
    Ie("Authentication failure parameter", "9.9.3.1", DecodeAuts);
const IeType kAuthenticationParameterAutn = Ie("Authentication parameter AUTN", "9.9.3.2", DecodeAutn);
const IeType kAuthenticationParameterRand = Ie("Authentication parameter RAND", "9.9.3.3", DecodeRand);
const IeType kAuthenticationResponseParameter = Ie("Authentication response parameter", "9.9.3.4", DecodeRes);
const IeType kDaylightSavingTime = Ie("Daylight saving time", "9.9.3.6", DecodeDaylightSavingTime);
const IeType kDrxParameter = Ie("DRX parameter", "9.9.3.8", DecodeDrxParameter);
const IeType kEmmCause = Ie("EMM cause", "9.9.3.9", DecodeEmmCause);
const IeType kEpsMobileIdentity = Ie("EPS mobile identity", "9.9.3.12", DecodeEpsMobileIdentity);
const IeType kEpsNetworkFeatureSupport =
    Ie("EPS network feature support", "9.9.3.12A", DecodeEpsNetworkFeatureSupport);
const IeType kEsmMessageContainer = Ie("ESM message container", "9.9.3.15", DecodeEsmMessageContainer);
const IeType kGprsTimer = Ie("GPRS timer", "9.9.3.16", DecodeGprsTimer);
const IeType kGprsTimer2 = Ie("GPRS timer 2", "9.9.3.16A", DecodeGprsTimer);
const IeType kGprsTimer3 = Ie("GPRS timer 3", "9.9.3.16B", DecodeGprsTimer3);
const IeType kMsNetworkCapability = Ie("MS network capability", "9.9.3.20", DecodeMsNetworkCapability);
const IeType kNasMessageContainer = Ie("NAS message container", "9.9.3.22", DecodeNasMessageContainer);
const IeType kNasSecurityAlgorithms = Ie("NAS security algorithms", "9.9.3.23", DecodeNasSecurityAlgorithms);
const IeType kNetworkName = Ie("Network name", "9.9.3.24", DecodeNetworkName);
const IeType kNonce = Ie("Nonce", "9.9.3.25", DecodeNonce);
const IeType kPagingIdentity = Ie("Paging identity", "9.9.3.25A", DecodePagingIdentity);
const IeType kPtmsiSignature = Ie("P-TMSI signature", "9.9.3.26", DecodePtmsiSignature);
const IeType kTimeZone = Ie("Time zone", "9.9.3.29", DecodeTimeZone);
const IeType kTimeZoneAndTime = Ie("Time zone and time", "9.9.3.30", DecodeTimeZoneAndTime);
const IeType kTrackingAreaIdentity = Ie("Tracking area identity", "9.9.3.32", DecodeTrackingAreaIdentity);
const IeType kTrackingAreaIdentityList =
    Ie("Tracking area identity list", "9.9.3.33", DecodeTrackingAreaIdentityList);
const IeType kUeNetworkCapability = Ie("UE network capability", "9.9.3.34", DecodeUeNetworkCapability);
const IeType kUeSecurityCapability = Ie("UE security capability", "9.9.3.36", DecodeUeSecurityCapability);
const IeType kEmergencyNumberList = Ie("Emergency number list", "9.9.3.37", DecodeEmergencyNumberList);
const IeType kCli = Ie("CLI", "9.9.3.38", DecodeCli);
const IeType kSsCode = Ie("SS Code", "9.9.3.39", DecodeSsCode);
const IeType kLcsIndicator = Ie("LCS indicator", "9.9.3.40", DecodeLcsIndicator);
const IeType kLcsClientIdentity = Ie("LCS client identity", "9.9.3.41", DecodeOctets);
const IeType kGenericMessageContainerType =
    Ie("Generic message container type", "9.9.3.42", DecodeGenericMessageContainerType);
const IeType kGenericMessageContainer = Ie("Generic message container", "9.9.3.43", DecodeOctets);
const IeType kAdditionalInformation = Ie("Additional information", "9.9.2.0", DecodeOctets);
const IeType kVoiceDomainPreference =
    Ie("Voice domain preference and UE's usage setting", "9.9.3.44", DecodeVoiceDomainPreference);
const IeType kExtendedDrxParameters = Ie("Extended DRX parameters", "9.9.3.46", DecodeExtendedDrxParameters);
const IeType kEpsBearerContextStatus = Ie("EPS bearer context status", "9.9.2.1", DecodeEpsBearerContextStatus);
const IeType kLocationAreaIdentification =
    Ie("Location area identification", "9.9.2.2", DecodeLocationAreaIdentification);
const IeType kMobileIdentity = Ie("Mobile identity", "9.9.2.3", DecodeMobileIdentity);
const IeType kMsClassmark2 = Ie("Mobile station classmark 2", "9.9.2.4", DecodeMsClassmark2);
const IeType kMsClassmark3 = Ie("Mobile station classmark 3", "9.9.2.5", DecodeMsClassmark3);
const IeType kPlmnList = Ie("PLMN list", "9.9.2.8", DecodePlmnList);
const IeType kSupportedCodecList = Ie("Supported codec list", "9.9.2.10", DecodeSupportedCodecList);
const IeType kDcnId = Ie("DCN-ID", "9.9.3.48", DecodeOctets);
const IeType kHashMme = Ie("HashMME", "9.9.3.50", DecodeOctets);
const IeType kReplayedNasMessageContainer = Ie("Replayed NAS message container", "9.9.3.51", DecodeOctets);
const IeType kUeAdditionalSecurityCapability =
    Ie("UE additional security capability", "9.9.3.53", DecodeOctets);
const IeType kUeStatus = Ie("UE status", "9.9.3.54", DecodeOctets);
const IeType kAdditionalInformationRequested = Ie("Additional information requested", "9.9.3.55", DecodeOctets);
const IeType kCipheringKeyData = Ie("Ciphering key data", "9.9.3.56", DecodeOctets);
const IeType kN1UeNetworkCapability = Ie("N1 UE network capability", "9.9.3.57", DecodeOctets);
const IeType kUeRadioCapabilityId = Ie("UE radio capability ID", "9.9.3.58", DecodeOctets);
const IeType kNriContainer = Ie("Network resource identifier container", "9.9.3.24A", DecodeOctets);
const IeType kHeaderCompressionConfigurationStatus =
    Ie("Header compression configuration status", "9.9.4.27", DecodeOctets);
const IeType kExtendedEmergencyNumberList = Ie("Extended emergency number list", "9.9.3.37A", DecodeOctets);
const IeType kShortMac = Ie("Short MAC", "9.9.3.28", DecodeShortMac);

}  // namespace corvuna::view
