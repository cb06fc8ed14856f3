// SPDX-License-Identifier: Apache-2.0
// Capability elements of the mobility-management messages: what a mobile
// station can do (UE network capability, UE security capability, MS network
// capability, mobile station classmark 2, DRX parameter) and the network's
// feature answer (EPS network feature support).
//
// Parsers take the cursor on the first value octet and the declared value
// length in octets.  A negative length returns 0 at once, without reading or
// moving the cursor.  Otherwise the parser reads its fixed octets whatever
// the length says, then reconciles the cursor with the declared length
// (ReconcileIeLength): an element shorter than the octets read returns 0
// with the cursor moved back to the element's declared end (the flags read
// beyond it keep the values of the following octets); a longer one is
// skipped to its end when that end lies within the message.
//
// Renderers write only the inner elements, one per field, and return 1; they
// return 0 without writing when the document has no buffer.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna {

// UE network capability (TS 24.301 9.9.3.34): 32 flags, one octet each,
// 1 = supported.  EIA0 is not kept.
struct UeNetworkCapability {
    uint8_t eea[8];  // EEA0..EEA7
    uint8_t eia[7];  // EIA1..EIA7 (index 0 is EIA1)
    uint8_t uea[8];  // UEA0..UEA7
    uint8_t ucs2;    // 1: no preference between the default alphabet and UCS2
    uint8_t uia[7];  // UIA1..UIA7 (index 0 is UIA1)
    uint8_t srvcc;   // SRVCC from E-UTRAN to cdma2000 1x CS
};
static_assert(sizeof(UeNetworkCapability) == 32);

// Reads five octets whatever the length, then reconciles.
int ParseUeNetworkCapability(BitCursor& cursor, int32_t length, UeNetworkCapability& record);
// 32 elements: EEA0-EEA7, EIA1-EIA7, UEA0-UEA7, UCS2, UIA1-UIA7, SRVCC.
int RenderUeNetworkCapability(const UeNetworkCapability& record, OutputDocument& out);

// UE security capability (TS 24.301 9.9.3.36), also the replayed UE security
// capabilities of SECURITY MODE COMMAND.  The EPS octets are always present;
// the UMTS, UIA and GPRS octets only when the length reaches them.
struct UeSecurityCapability {
    uint8_t umtsOctetPresent;  // length > 2: UEA0..UEA7 read
    uint8_t uiaOctetPresent;   // length > 3: UIA1..UIA7 read
    uint8_t gprsOctetPresent;  // length > 4: GEA1..GEA7 read
    uint8_t eea[8];            // EEA0..EEA7
    uint8_t eia[7];            // EIA1..EIA7 (index 0 is EIA1)
    uint8_t uea[8];            // UEA0..UEA7
    uint8_t uia[7];            // UIA1..UIA7 (index 0 is UIA1)
    uint8_t gea[7];            // GEA1..GEA7 (index 0 is GEA1)
};
static_assert(sizeof(UeSecurityCapability) == 40);

// Reads two octets whatever the length, one more for each of the lengths
// 3, 4 and 5 and over, then reconciles.
int ParseUeSecurityCapability(BitCursor& cursor, int32_t length, UeSecurityCapability& record);
// 15 elements (EEA0-EEA7, EIA1-EIA7), then UEA0-UEA7, UIA1-UIA7 and
// GEA1-GEA7 for each octet present: 15, 23, 30 or 37 elements.
int RenderUeSecurityCapability(const UeSecurityCapability& record, OutputDocument& out);

// MS network capability (TS 24.008 10.5.5.12), first three octets.
struct MsNetworkCapability {
    uint8_t gea[7];                 // GEA/1..GEA/7 (index 0 is GEA/1), 1 = available
    uint8_t geranNetworkSharing;    // read, never written
    int32_t ssScreeningIndicator;   // 2 bits
    uint8_t smViaDedicatedChannels;
    uint8_t smViaGprsChannels;
    uint8_t ucs2;
    uint8_t soLsa;
    uint8_t revisionLevel;
    uint8_t pfc;
    uint8_t lcsVa;
    uint8_t psInterRatHoToIu;
    uint8_t psInterRatHoToS1;
    uint8_t emmCombinedProcedures;
    uint8_t isr;
    uint8_t srvcc;
    uint8_t epc;
    uint8_t nf;
};

// Reads three octets whatever the length, then reconciles.
int ParseMsNetworkCapability(BitCursor& cursor, int32_t length, MsNetworkCapability& record);
// 22 elements.
int RenderMsNetworkCapability(const MsNetworkCapability& record, OutputDocument& out);

// Mobile station classmark 2 (TS 24.008 10.5.1.6).
struct MobileStationClassmark2 {
    int32_t revisionLevel;      // 2 bits
    uint8_t esInd;
    uint8_t a51;                // 1 = A5/1 not available
    int32_t rfPowerCapability;  // 3 bits
    uint8_t psCapability;
    int32_t ssScreenIndicator;  // 2 bits
    uint8_t smCapability;
    uint8_t vbs;
    uint8_t vgcs;
    uint8_t fc;
    uint8_t cm3;
    uint8_t lcsVa;
    uint8_t ucs2;
    uint8_t soLsa;
    uint8_t cmsp;
    uint8_t a53;
    uint8_t a52;
};

// Reads three octets whatever the length, then reconciles.
int ParseMobileStationClassmark2(BitCursor& cursor, int32_t length, MobileStationClassmark2& record);
// 17 elements.
int RenderMobileStationClassmark2(const MobileStationClassmark2& record, OutputDocument& out);

// DRX parameter (TS 24.008 10.5.5.6), a TV element of two value octets.
struct DrxParameter {
    int32_t splitPgCycleCode;                    // octet 1
    int32_t cnSpecificDrxCycleLengthCoefficient;  // bits 8-5 of octet 2
    int32_t splitOnCcch;                          // bit 4 of octet 2
    int32_t nonDrxTimer;                          // bits 3-1 of octet 2
};

// Reads two octets, then reconciles (message parsers pass the length 2).
int ParseDrxParameter(BitCursor& cursor, int32_t length, DrxParameter& record);
// 4 elements.
int RenderDrxParameter(const DrxParameter& record, OutputDocument& out);

// EPS network feature support (TS 24.301 9.9.3.12A): only IMS VoPS is kept.
struct EpsNetworkFeatureSupport {
    uint8_t imsVoPs;  // bit 1 of octet 1
};

// Reads one octet, then reconciles.
int ParseEpsNetworkFeatureSupport(BitCursor& cursor, int32_t length, EpsNetworkFeatureSupport& record);
// 1 element.
int RenderEpsNetworkFeatureSupport(const EpsNetworkFeatureSupport& record, OutputDocument& out);

}  // namespace corvuna
