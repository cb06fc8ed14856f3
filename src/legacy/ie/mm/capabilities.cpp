// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/mm/capabilities.h"

#include <cstddef>
#include <iterator>
#include <utility>

#include "legacy/doc/fixed_lines.h"
#include "legacy/doc/elements.h"

namespace corvuna {

namespace {

// ---------------------------------------------------------------------------
// Value texts.  A flag element carries the first text when the flag is set,
// the second when it is clear.

struct FlagText {
    Name name;
    Text setText;
    Text clearText;
};

// A flag element whose name also depends on the flag.
struct NamedFlagText {
    Name nameIfSet;
    Name nameIfClear;
    Text setText;
    Text clearText;
};

// UE network capability.
constexpr FlagText kEeaTexts[8] = {
    {"EEA0", "EPS encryption algorithm EEA0 supported", "EPS encryption algorithm EEA0 not supported"},
    {"EEA1", "EPS encryption algorithm 128-EEA1 supported", "EPS encryption algorithm 128-EEA1 not supported"},
    {"EEA2", "EPS encryption algorithm 128-EEA2 supported", "EPS encryption algorithm 128-EEA2 not supported"},
    {"EEA3", "EPS encryption algorithm EEA3 supported", "EPS encryption algorithm EEA3 not supported"},
    {"EEA4", "EPS encryption algorithm EEA4 supported", "EPS encryption algorithm EEA4 not supported"},
    {"EEA5", "EPS encryption algorithm EEA5 supported", "EPS encryption algorithm EEA5 not supported"},
    {"EEA6", "EPS encryption algorithm EEA6 supported", "EPS encryption algorithm EEA6 not supported"},
    {"EEA7", "EPS encryption algorithm EEA7 supported", "EPS encryption algorithm EEA7 not supported"},
};

constexpr FlagText kEiaTexts[7] = {
    {"EIA1", "EPS integrity algorithm 128-EIA1 supported", "EPS integrity algorithm 128-EIA1 not supported"},
    {"EIA2", "EPS integrity algorithm 128-EIA2 supported", "EPS integrity algorithm 128-EIA2 not supported"},
    {"EIA3", "EPS integrity algorithm EIA3 supported", "EPS integrity algorithm EIA3 not supported"},
    {"EIA4", "EPS integrity algorithm EIA4 supported", "EPS integrity algorithm EIA4 not supported"},
    {"EIA5", "EPS integrity algorithm EIA5 supported", "EPS integrity algorithm EIA5 not supported"},
    {"EIA6", "EPS integrity algorithm EIA6 supported", "EPS integrity algorithm EIA6 not supported"},
    {"EIA7", "EPS integrity algorithm EIA7 supported", "EPS integrity algorithm EIA7 not supported"},
};

constexpr FlagText kUeaTexts[8] = {
    {"UEA0", "UMTS encryption algorithm UEA0 supported", "UMTS encryption algorithm UEA0 not supported"},
    {"UEA1", "UMTS encryption algorithm UEA1 supported", "UMTS encryption algorithm UEA1 not supported"},
    {"UEA2", "UMTS encryption algorithm UEA2 supported", "UMTS encryption algorithm UEA2 not supported"},
    {"UEA3", "UMTS encryption algorithm UEA3 supported", "UMTS encryption algorithm UEA3 not supported"},
    {"UEA4", "UMTS encryption algorithm UEA4 supported", "UMTS encryption algorithm UEA4 not supported"},
    {"UEA5", "UMTS encryption algorithm UEA5 supported", "UMTS encryption algorithm UEA5 not supported"},
    {"UEA6", "UMTS encryption algorithm UEA6 supported", "UMTS encryption algorithm UEA6 not supported"},
    {"UEA7", "UMTS encryption algorithm UEA7 supported", "UMTS encryption algorithm UEA7 not supported"},
};

constexpr FlagText kUeUcs2Text = {
    "UCS2", "The UE has no preference between the use of the default alphabet and the use of UCS2",
    "The UE has preference between the use of the default alphabet and the use of UCS2"};

constexpr FlagText kUiaTexts[7] = {
    {"UIA1", "UMTS integrity algorithm UIA1 supported", "UMTS integrity algorithm UIA1 not supported"},
    {"UIA2", "UMTS integrity algorithm UIA2 supported", "UMTS integrity algorithm UIA2 not supported"},
    {"UIA3", "UMTS integrity algorithm UIA3 supported", "UMTS integrity algorithm UIA3 not supported"},
    {"UIA4", "UMTS integrity algorithm UIA4 supported", "UMTS integrity algorithm UIA4 not supported"},
    {"UIA5", "UMTS integrity algorithm UIA5 supported", "UMTS integrity algorithm UIA5 not supported"},
    {"UIA6", "UMTS integrity algorithm UIA6 supported", "UMTS integrity algorithm UIA6 not supported"},
    {"UIA7", "UMTS integrity algorithm UIA7 supported", "UMTS integrity algorithm UIA7 not supported"},
};

constexpr FlagText kUeSrvccText = {"SRVCC", "SRVCC from E-UTRAN to cdma2000 1x CS supported",
                                   "SRVCC from E-UTRAN to cdma2000 1x CS not supported"};

// UE security capability: the EPS encryption texts of a clear flag read
// "EEPS" from EEA1 on, and the element of a supported UEA4 is "UEA14".
constexpr FlagText kSecurityEeaTexts[8] = {
    {"EEA0", "EPS encryption algorithm EEA0 supported", "EPS encryption algorithm EEA0 not supported"},
    {"EEA1", "EPS encryption algorithm 128-EEA1 supported", "EEPS encryption algorithm 128-EEA1 not supported"},
    {"EEA2", "EPS encryption algorithm 128-EEA2 supported", "EEPS encryption algorithm 128-EEA2 not supported"},
    {"EEA3", "EPS encryption algorithm EEA3 supported", "EEPS encryption algorithm EEA3 not supported"},
    {"EEA4", "EPS encryption algorithm EEA4 supported", "EEPS encryption algorithm EEA4 not supported"},
    {"EEA5", "EPS encryption algorithm EEA5 supported", "EEPS encryption algorithm EEA5 not supported"},
    {"EEA6", "EPS encryption algorithm EEA6 supported", "EEPS encryption algorithm EEA6 not supported"},
    {"EEA7", "EPS encryption algorithm EEA7 supported", "EEPS encryption algorithm EEA7 not supported"},
};

constexpr NamedFlagText kSecurityUeaTexts[8] = {
    {"UEA0", "UEA0", "UMTS encryption algorithm UEA0 supported", "UMTS encryption algorithm UEA0 not supported"},
    {"UEA1", "UEA1", "UMTS encryption algorithm UEA1 supported", "UMTS encryption algorithm UEA1 not supported"},
    {"UEA2", "UEA2", "UMTS encryption algorithm UEA2 supported", "UMTS encryption algorithm UEA2 not supported"},
    {"UEA3", "UEA3", "UMTS encryption algorithm UEA3 supported", "UMTS encryption algorithm UEA3 not supported"},
    {"UEA14", "UEA4", "UMTS encryption algorithm UEA4 supported", "UMTS encryption algorithm UEA4 not supported"},
    {"UEA5", "UEA5", "UMTS encryption algorithm UEA5 supported", "UMTS encryption algorithm UEA5 not supported"},
    {"UEA6", "UEA6", "UMTS encryption algorithm UEA6 supported", "UMTS encryption algorithm UEA6 not supported"},
    {"UEA7", "UEA7", "UMTS encryption algorithm UEA7 supported", "UMTS encryption algorithm UEA7 not supported"},
};

constexpr FlagText kSecurityGeaTexts[7] = {
    {"GEA1", "GPRS encryption algorithm GEA1 supported", "GPRS encryption algorithm GEA1 not supported"},
    {"GEA2", "GPRS encryption algorithm GEA2 supported", "GPRS encryption algorithm GEA2 not supported"},
    {"GEA3", "GPRS encryption algorithm GEA3 supported", "GPRS encryption algorithm GEA3 not supported"},
    {"GEA4", "GPRS encryption algorithm GEA4 supported", "GPRS encryption algorithm GEA4 not supported"},
    {"GEA5", "GPRS encryption algorithm GEA5 supported", "GPRS encryption algorithm GEA5 not supported"},
    {"GEA6", "GPRS encryption algorithm GEA6 supported", "GPRS encryption algorithm GEA6 not supported"},
    {"GEA7", "GPRS encryption algorithm GEA7 supported", "GPRS encryption algorithm GEA7 not supported"},
};

// MS network capability.
constexpr FlagText kMsGeaTexts[7] = {
    {"GEA1", "encryption algorithm GEA/1 available", "encryption algorithm GEA/1 not available"},
    {"GEA2", "encryption algorithm GEA/2 available", "encryption algorithm GEA/2 not available"},
    {"GEA3", "encryption algorithm GEA/3 available", "encryption algorithm GEA/3 not available"},
    {"GEA4", "encryption algorithm GEA/4 available", "encryption algorithm GEA/4 not available"},
    {"GEA5", "encryption algorithm GEA/5 available", "encryption algorithm GEA/5 not available"},
    {"GEA6", "encryption algorithm GEA/6 available", "encryption algorithm GEA/6 not available"},
    {"GEA7", "encryption algorithm GEA/7 available", "encryption algorithm GEA/7 not available"},
};
constexpr FlagText kMsSmViaDedicatedText = {
    "SM_capabilities_via_dedicated_channels",
    "Mobile station supports mobile terminated point to point SMS via CS domain",
    "Mobile station does not support mobile terminated point to point SMS via CS domain"};
constexpr FlagText kMsSmViaGprsText = {
    "SM_capabilities_via_GPRS_channels",
    "Mobile station supports mobile terminated point to point SMS via PS domain",
    "Mobile station does not support mobile terminated point to point SMS via PS domain"};
constexpr FlagText kMsUcs2Text = {
    "UCS2", "the ME has no preference between the use of the default alphabet and the use of UCS2",
    "the ME has a preference for the default alphabet over UCS2"};
constexpr Name kMsSsScreeningName = "SS_Screening_Indicator";
// The SoLSA element carries the LCS VA wording.
constexpr FlagText kMsSoLsaText = {"SoLSA_capability", "location request notification via PS domain supported",
                                   "location request notification via PS domain not supported"};
constexpr FlagText kMsRevisionLevelText = {
    "Revision_level_indicator", "used by a mobile station supporting R99 or later versions of the protocol",
    "used by a mobile station not supporting R99 or later versions of the protocol"};
constexpr FlagText kMsPfcText = {"PFC_feature_mode", "Mobile station supports BSS packet flow procedures",
                                 "Mobile station does not support BSS packet flow procedures"};
constexpr FlagText kMsLcsVaText = {"LCS_VA_capability", "location request notification via PS domain supported",
                                   "location request notification via PS domain not supported"};
constexpr FlagText kMsHoToIuText = {"PS_inter_RAT_HO_Iu", "PS inter-RAT HO from GERAN to UTRAN Iu mode supported",
                                    "PS inter-RAT HO from GERAN to UTRAN Iu mode not supported"};
constexpr FlagText kMsHoToS1Text = {"PS_inter_RAT_HO_S1",
                                    "PS inter-RAT HO from GERAN to E-UTRAN S1 mode supported",
                                    "PS inter-RAT HO from GERAN to E-UTRAN S1 mode not supported"};
constexpr FlagText kMsEmmCombinedText = {"EMM_combined_procedure_capability",
                                         "Mobile station supports EMM combined procedures",
                                         "Mobile station does not support EMM combined procedures"};
constexpr FlagText kMsIsrText = {"ISR", "The mobile station supports ISR.",
                                 "The mobile station does not support ISR."};
constexpr FlagText kMsSrvccText = {"SRVCC_to_GERAN_OR_UTRAN_capability",
                                   "SRVCC from UTRAN HSPA or E-UTRAN to GERAN/UTRAN supported",
                                   "SRVCC from UTRAN HSPA or E-UTRAN to GERAN/UTRAN not supported"};
constexpr FlagText kMsEpcText = {"EPC", "EPC supported", "EPC not supported"};
constexpr FlagText kMsNfText = {"NF", "Mobile station supports the notification procedure",
                                "Mobile station does not support the notification procedure"};

// Mobile station classmark 2.
constexpr auto kRevisionLevel = Element(
    "Revision_Level",
    {
        "Reserved for GSM phase 1",
        "Used by GSM phase 2 mobile stations",
        "Used by mobile stations supporting R99 or later versions of the protocol",
        ("Reserved for future use. If the network receives a revision level specified as 'reserved for future use', "
         "then it shall use the highest revision level supported by the network."),
    });
constexpr auto kRfPowerCapability =  // 5 to 7 are reserved
    Element("RF_Power_capability", {"class 1", "class 2", "class 3", "class 4", "class 5"}, "reserved");
constexpr FlagText kCm2EsIndText = {"ES_IND", "Controlled Early Classmark Sending option is implemented in the MS",
                                    "Controlled Early Classmark Sending option is not implemented in the MS"};
// A5/1 is coded the other way round: 1 means not available.
constexpr FlagText kCm2A51Text = {"A5_1", "encryption algorithm A5/1 not available",
                                  "encryption algorithm A5/1 available"};
constexpr FlagText kCm2PsCapabilityText = {"PS_capability", "PS capability present", "PS capability not present"};
constexpr FlagText kCm2SmCapabilityText = {"SM_capability",
                                           "Mobile station supports mobile terminated point to point SMS",
                                           "Mobile station does not support mobile terminated point to point SMS"};
constexpr FlagText kCm2VbsText = {"VBS_notification_reception", "VBS capability or no notifications wanted",
                                  "no VBS capability or no notifications wanted"};
constexpr FlagText kCm2VgcsText = {"VGCS_notification_reception", "VGCS capability or no notifications wanted",
                                   "no VGCS capability or no notifications wanted"};
constexpr FlagText kCm2Cm3Text = {"CM3", "The MS supports options that are indicated in classmark 3 IE",
                                  "The MS does not support any options that are indicated in CM3"};
constexpr FlagText kCm2LcsVaText = {"LCS_VA_capability", "location request notification via CS domain supported",
                                    "location request notification via CS domain not supported"};
constexpr FlagText kCm2Ucs2Text = {
    "UCS2_treatment", "the ME has no preference between the use of the default alphabet and the use of UCS2",
    "the ME has a preference for the default alphabet over UCS2"};
constexpr FlagText kCm2SoLsaText = {"SoLSA", "The ME supports SoLSA", "The ME does not support SoLSA"};
constexpr FlagText kCm2CmspText = {"CM_Service_Prompt",
                                   "Network initiated MO CM connection request supported for at least one CM protocol",
                                   "Network initiated MO CM connection request not supported"};
constexpr FlagText kCm2A53Text = {"A5_3", "encryption algorithm A5/3 available",
                                  "encryption algorithm A5/3 not available"};
constexpr FlagText kCm2A52Text = {"A5_2", "Not used. This value was allocated in earlier versions of the protocol",
                                  "encryption algorithm A5/2 not available"};

// DRX parameter.
constexpr auto kSplitPgCycleCode = Element("split_cycle_code");
constexpr auto kDrxCoefficient = Element(
    "CN_Specific_DRX_cycle_length_coefficient_and_DRX_value_for_S1_mode",
    {
        {0, "For Iu mode, CN Specific DRX cycle length coefficient not specified by the MS. For S1 mode, DRX value "
            "not specified by the MS"},
        {6, "CN Specific DRX cycle length coefficient 6 and T = 32"},
        {7, "CN Specific DRX cycle length coefficient 7 and T = 64"},
        {8, "CN Specific DRX cycle length coefficient 8 and T = 128"},
        {9, "CN Specific DRX cycle length coefficient 9 and T = 256"},
    },
    "CN Specific DRX cycle length coefficient not specified by the MS.DRX value not specified by the MS");
constexpr auto kSplitOnCcch = Element("split_on_CCCH",
                                      {{0, "Split pg cycle on CCCH is not supported by the mobile station"}},
                                      "Split pg cycle on CCCH is supported by the mobile station");
constexpr auto kNonDrxTimer = Element("non_DRX_timer",
                                      {
                                          "no non-DRX mode after transfer state",
                                          "max.1 sec non-DRX mode after transfer state",
                                          "max.2 sec non-DRX mode after transfer state",
                                          "max.4 sec non-DRX mode after transfer state",
                                          "max.8 sec non-DRX mode after transfer state",
                                          "max.16 sec non-DRX mode after transfer state",
                                          "max.32 sec non-DRX mode after transfer state",
                                          "max.64 sec non-DRX mode after transfer state",
                                      });

// EPS network feature support.
constexpr auto kImsVoPs = Element("IMS_VoPS", {{0, "IMS voice over PS session in S1 mode not supported"}},
                                  "IMS voice over PS session in S1 mode supported");

// ---------------------------------------------------------------------------
// Reading and writing helpers.

// N one-bit flags in a row, first bit first.
template <size_t N>
void TakeFlags(BitWindow& bits, uint8_t (&flags)[N]) {
    for (uint8_t& flag : flags) flag = bits.Flag();
}

// The two lines of a flag element, prepared when the code is compiled.
consteval size_t FlagLineCapacity(const FlagText& row) {
    return DigitLineSize(row.name, row.setText.size > row.clearText.size ? row.setText : row.clearText);
}
consteval size_t FlagLineCapacity(const NamedFlagText& row) {
    const size_t set = DigitLineSize(row.nameIfSet, row.setText);
    const size_t clear = DigitLineSize(row.nameIfClear, row.clearText);
    return set > clear ? set : clear;
}
template <size_t N>
consteval BinaryLines<N> FlagLines(const FlagText& row) {
    return MakeBinaryLines<N>(row.name, row.clearText, row.name, row.setText);
}
template <size_t N>
consteval BinaryLines<N> FlagLines(const NamedFlagText& row) {
    return MakeBinaryLines<N>(row.nameIfClear, row.clearText, row.nameIfSet, row.setText);
}
template <const auto& Row>
inline constexpr auto kFlagLines = FlagLines<FlagLineCapacity(Row)>(Row);
template <const auto& Rows, size_t I>
inline constexpr auto kRowFlagLines = FlagLines<FlagLineCapacity(Rows[I])>(Rows[I]);

// One flag element: the row's set text for a set flag, its clear text else.
template <const auto& Row>
void WriteFlag(uint8_t flag, OutputDocument& out) {
    WriteBinaryElement(kFlagLines<Row>, flag, out);
}

// The flag of row I of a table.
template <const auto& Rows, size_t I>
void WriteRowFlag(uint8_t flag, OutputDocument& out) {
    WriteBinaryElement(kRowFlagLines<Rows, I>, flag, out);
}

// The flags of one table, row by row.
template <const auto& Rows, size_t N>
void WriteFlags(const uint8_t (&flags)[N], OutputDocument& out) {
    static_assert(std::size(Rows) == N);
    [&]<size_t... I>(std::index_sequence<I...>) {
        (WriteBinaryElement(kRowFlagLines<Rows, I>, flags[I], out), ...);
    }(std::make_index_sequence<N>{});
}

}  // namespace

// ---------------------------------------------------------------------------
// UE network capability

int ParseUeNetworkCapability(BitCursor& cursor, int32_t length, UeNetworkCapability& record) {
    return ParseIeValue(cursor, length, [&] {
        BitWindow first(cursor, 24);  // octets 1 to 3
        TakeFlags(first, record.eea);
        first.Take(1);  // octet 2: EIA0 not kept
        TakeFlags(first, record.eia);
        TakeFlags(first, record.uea);
        BitWindow second(cursor, 16);  // octets 4 and 5
        record.ucs2 = second.Flag();
        TakeFlags(second, record.uia);
        second.Take(6);  // octet 5: bits 8-3 not kept
        record.srvcc = second.Flag();
        second.Take(1);
    });
}

int RenderUeNetworkCapability(const UeNetworkCapability& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteFlags<kEeaTexts>(record.eea, out);
    WriteFlags<kEiaTexts>(record.eia, out);
    WriteFlags<kUeaTexts>(record.uea, out);
    WriteFlag<kUeUcs2Text>(record.ucs2, out);
    WriteFlags<kUiaTexts>(record.uia, out);
    WriteFlag<kUeSrvccText>(record.srvcc, out);
    return 1;
}

// ---------------------------------------------------------------------------
// UE security capability

int ParseUeSecurityCapability(BitCursor& cursor, int32_t length, UeSecurityCapability& record) {
    return ParseIeValue(cursor, length, [&] {
        BitWindow eps(cursor, 16);  // octets 1 and 2
        TakeFlags(eps, record.eea);
        eps.Take(1);  // EIA0 not kept
        TakeFlags(eps, record.eia);
        // The optional octets present are those the length reaches (set afresh,
        // so that an element parsed again replaces the earlier one).
        record.umtsOctetPresent = length > 2 ? 1 : 0;
        record.uiaOctetPresent = length > 3 ? 1 : 0;
        record.gprsOctetPresent = length > 4 ? 1 : 0;
        if (record.umtsOctetPresent != 0) {  // octet 3
            BitWindow umts(cursor, 8);
            TakeFlags(umts, record.uea);
        }
        if (record.uiaOctetPresent != 0) {  // octet 4: bit 8 spare
            BitWindow uia(cursor, 8);
            uia.Take(1);
            TakeFlags(uia, record.uia);
        }
        if (record.gprsOctetPresent != 0) {  // octet 5: bit 8 spare
            BitWindow gprs(cursor, 8);
            gprs.Take(1);
            TakeFlags(gprs, record.gea);
        }
    });
}

int RenderUeSecurityCapability(const UeSecurityCapability& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteFlags<kSecurityEeaTexts>(record.eea, out);
    WriteFlags<kEiaTexts>(record.eia, out);
    if (record.umtsOctetPresent != 0) WriteFlags<kSecurityUeaTexts>(record.uea, out);
    if (record.uiaOctetPresent != 0) WriteFlags<kUiaTexts>(record.uia, out);
    if (record.gprsOctetPresent != 0) WriteFlags<kSecurityGeaTexts>(record.gea, out);
    return 1;
}

// ---------------------------------------------------------------------------
// MS network capability

int ParseMsNetworkCapability(BitCursor& cursor, int32_t length, MsNetworkCapability& record) {
    return ParseIeValue(cursor, length, [&] {
        BitWindow bits(cursor, 24);
        // Octet 1.
        record.gea[0] = bits.Flag();
        record.smViaDedicatedChannels = bits.Flag();
        record.smViaGprsChannels = bits.Flag();
        record.ucs2 = bits.Flag();
        record.ssScreeningIndicator = static_cast<int32_t>(bits.Take(2));
        record.soLsa = bits.Flag();
        record.revisionLevel = bits.Flag();
        // Octet 2: PFC, GEA/2 to GEA/7, LCS VA.
        record.pfc = bits.Flag();
        for (size_t i = 1; i < 7; ++i) record.gea[i] = bits.Flag();
        record.lcsVa = bits.Flag();
        // Octet 3.
        record.psInterRatHoToIu = bits.Flag();
        record.psInterRatHoToS1 = bits.Flag();
        record.emmCombinedProcedures = bits.Flag();
        record.isr = bits.Flag();
        record.srvcc = bits.Flag();
        record.epc = bits.Flag();
        record.nf = bits.Flag();
        record.geranNetworkSharing = bits.Flag();
    });
}

int RenderMsNetworkCapability(const MsNetworkCapability& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteRowFlag<kMsGeaTexts, 0>(record.gea[0], out);
    WriteFlag<kMsSmViaDedicatedText>(record.smViaDedicatedChannels, out);
    WriteFlag<kMsSmViaGprsText>(record.smViaGprsChannels, out);
    WriteFlag<kMsUcs2Text>(record.ucs2, out);
    WriteNumber(kMsSsScreeningName, record.ssScreeningIndicator, out);
    WriteFlag<kMsSoLsaText>(record.soLsa, out);
    WriteFlag<kMsRevisionLevelText>(record.revisionLevel, out);
    WriteFlag<kMsPfcText>(record.pfc, out);
    WriteRowFlag<kMsGeaTexts, 1>(record.gea[1], out);
    WriteRowFlag<kMsGeaTexts, 2>(record.gea[2], out);
    WriteRowFlag<kMsGeaTexts, 3>(record.gea[3], out);
    WriteRowFlag<kMsGeaTexts, 4>(record.gea[4], out);
    WriteRowFlag<kMsGeaTexts, 5>(record.gea[5], out);
    WriteRowFlag<kMsGeaTexts, 6>(record.gea[6], out);
    WriteFlag<kMsLcsVaText>(record.lcsVa, out);
    WriteFlag<kMsHoToIuText>(record.psInterRatHoToIu, out);
    WriteFlag<kMsHoToS1Text>(record.psInterRatHoToS1, out);
    WriteFlag<kMsEmmCombinedText>(record.emmCombinedProcedures, out);
    WriteFlag<kMsIsrText>(record.isr, out);
    WriteFlag<kMsSrvccText>(record.srvcc, out);
    WriteFlag<kMsEpcText>(record.epc, out);
    WriteFlag<kMsNfText>(record.nf, out);
    return 1;
}

// ---------------------------------------------------------------------------
// Mobile station classmark 2

int ParseMobileStationClassmark2(BitCursor& cursor, int32_t length, MobileStationClassmark2& record) {
    return ParseIeValue(cursor, length, [&] {
        BitWindow bits(cursor, 24);
        // Octet 1: spare, revision level, ES IND, A5/1, RF power capability.
        bits.Take(1);
        record.revisionLevel = static_cast<int32_t>(bits.Take(2));
        record.esInd = bits.Flag();
        record.a51 = bits.Flag();
        record.rfPowerCapability = static_cast<int32_t>(bits.Take(3));
        // Octet 2: spare, PS capability, SS screen indicator, SM, VBS, VGCS, FC.
        bits.Take(1);
        record.psCapability = bits.Flag();
        record.ssScreenIndicator = static_cast<int32_t>(bits.Take(2));
        record.smCapability = bits.Flag();
        record.vbs = bits.Flag();
        record.vgcs = bits.Flag();
        record.fc = bits.Flag();
        // Octet 3: CM3, spare, LCS VA, UCS2, SoLSA, CMSP, A5/3, A5/2.
        record.cm3 = bits.Flag();
        bits.Take(1);
        record.lcsVa = bits.Flag();
        record.ucs2 = bits.Flag();
        record.soLsa = bits.Flag();
        record.cmsp = bits.Flag();
        record.a53 = bits.Flag();
        record.a52 = bits.Flag();
    });
}

int RenderMobileStationClassmark2(const MobileStationClassmark2& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteElement(kRevisionLevel, record.revisionLevel, out);
    WriteFlag<kCm2EsIndText>(record.esInd, out);
    WriteFlag<kCm2A51Text>(record.a51, out);
    WriteElement(kRfPowerCapability, record.rfPowerCapability, out);
    WriteFlag<kCm2PsCapabilityText>(record.psCapability, out);
    WriteNumber("SS_Screen_Indicator", record.ssScreenIndicator, out);
    WriteFlag<kCm2SmCapabilityText>(record.smCapability, out);
    WriteFlag<kCm2VbsText>(record.vbs, out);
    WriteFlag<kCm2VgcsText>(record.vgcs, out);
    WriteNumber("FC_Frequency_Capability", record.fc, out);
    WriteFlag<kCm2Cm3Text>(record.cm3, out);
    WriteFlag<kCm2LcsVaText>(record.lcsVa, out);
    WriteFlag<kCm2Ucs2Text>(record.ucs2, out);
    WriteFlag<kCm2SoLsaText>(record.soLsa, out);
    WriteFlag<kCm2CmspText>(record.cmsp, out);
    WriteFlag<kCm2A53Text>(record.a53, out);
    WriteFlag<kCm2A52Text>(record.a52, out);
    return 1;
}

// ---------------------------------------------------------------------------
// DRX parameter

int ParseDrxParameter(BitCursor& cursor, int32_t length, DrxParameter& record) {
    return ParseIeValue(cursor, length, [&] {
        record.splitPgCycleCode = static_cast<int32_t>(ReadBits(cursor, 8));
        record.cnSpecificDrxCycleLengthCoefficient = static_cast<int32_t>(ReadBits(cursor, 4));
        record.splitOnCcch = static_cast<int32_t>(ReadBits(cursor, 1));
        record.nonDrxTimer = static_cast<int32_t>(ReadBits(cursor, 3));
    });
}

int RenderDrxParameter(const DrxParameter& record, OutputDocument& out) {
    return RenderElements(out, kSplitPgCycleCode, record.splitPgCycleCode, kDrxCoefficient,
                          record.cnSpecificDrxCycleLengthCoefficient, kSplitOnCcch, record.splitOnCcch, kNonDrxTimer,
                          record.nonDrxTimer);
}

// ---------------------------------------------------------------------------
// EPS network feature support

int ParseEpsNetworkFeatureSupport(BitCursor& cursor, int32_t length, EpsNetworkFeatureSupport& record) {
    return ParseIeValue(cursor, length, [&] { record.imsVoPs = static_cast<uint8_t>(ReadBits(cursor, 8) & 0x01u); });
}

int RenderEpsNetworkFeatureSupport(const EpsNetworkFeatureSupport& record, OutputDocument& out) {
    return RenderElement(kImsVoPs, record.imsVoPs, out);
}

}  // namespace corvuna
