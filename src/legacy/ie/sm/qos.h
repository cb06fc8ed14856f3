// SPDX-License-Identifier: Apache-2.0
// Quality of service IE in its TS 24.008 form (10.5.6.5), carried by EPS
// bearers for interworking with GPRS.  Every field holds its coded value.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna {

inline constexpr int kQosOctetsRead = 16;

struct Qos {
    int32_t delayClass;                    // octet 1, bits 6..4
    int32_t reliabilityClass;              // octet 1, bits 3..1
    int32_t peakThroughput;                // octet 2, bits 8..5
    int32_t precedenceClass;               // octet 2, bits 3..1
    int32_t meanThroughput;                // octet 3, bits 5..1
    int32_t trafficClass;                  // octet 4, bits 8..6
    int32_t deliveryOrder;                 // octet 4, bits 5..4
    int32_t deliveryOfErroneousSdu;        // octet 4, bits 3..1
    int32_t maximumSduSize;                // octet 5
    int32_t maxBitRateUplink;              // octet 6
    int32_t maxBitRateDownlink;            // octet 7
    int32_t residualBer;                   // octet 8, bits 8..5
    int32_t sduErrorRatio;                 // octet 8, bits 4..1
    int32_t transferDelay;                 // octet 9, bits 8..3
    int32_t trafficHandlingPriority;       // octet 9, bits 2..1
    int32_t guaranteedBitRateUplink;       // octet 10
    int32_t guaranteedBitRateDownlink;     // octet 11
    int32_t signallingIndication;          // octet 12, bit 5
    int32_t sourceStatisticsDescriptor;    // octet 12, bits 4..1
    int32_t maxBitRateDownlinkExt;         // octet 13
    int32_t guaranteedBitRateDownlinkExt;  // octet 14
    int32_t maxBitRateUplinkExt;           // octet 15
    int32_t guaranteedBitRateUplinkExt;    // octet 16
};

// Always reads sixteen octets, whatever the declared length: a shorter IE
// takes its remaining fields from the octets after it (0 past the end of
// the data) and the cursor is put back at its declared end.
int ParseQos(BitCursor& cursor, int32_t length, Qos& record);

// The 23 fields as elements, in record order.
int RenderQos(const Qos& record, OutputDocument& out);

}  // namespace corvuna
