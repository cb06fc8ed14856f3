// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/sm/qos.h"

#include "legacy/doc/elements.h"

namespace corvuna {

namespace {

constexpr Text kReserved = "Reserved";

constexpr ValueText kDelayClassTexts[] = {
    {1, "Delay class 1"},
    {2, "Delay class 2"},
    {3, "Delay class 3"},
    {4, "Delay class 4"},
};

constexpr ValueText kReliabilityClassTexts[] = {
    {3, "Unacknowledged GTP and LLC; Acknowledged RLC, Protected data"},
    {4, "Unacknowledged GTP, LLC, and RLC, Protected data"},
    {5, "Unacknowledged GTP, LLC, and RLC, Unprotected data"},
    {7, kReserved},
};
constexpr Text kReliabilityClassOther = "Unacknowledged GTP; Acknowledged LLC and RLC, Protected data";

constexpr ValueText kPeakThroughputTexts[] = {
    {0, kReserved},
    {2, "Up to 2 000 octet/s"},
    {3, "Up to 4 000 octet/s"},
    {4, "Up to 8 000 octet/s"},
    {5, "Up to 16 000 octet/s"},
    {6, "Up to 32 000 octet/s"},
    {7, "Up to 64 000 octet/s"},
    {8, "Up to 128 000 octet/s"},
    {9, "Up to 256 000 octet/s"},
    {15, kReserved},
};
constexpr Text kPeakThroughputOther = "Up to 1 000 octet/s";

constexpr ValueText kPrecedenceClassTexts[] = {
    {0, kReserved},
    {1, "High priority"},
    {3, "Low priority"},
    {7, kReserved},
};
constexpr Text kPrecedenceClassOther = "Normal priority";

constexpr ValueText kMeanThroughputTexts[] = {
    {1, "100 octet/h"},
    {2, "200 octet/h"},
    {3, "500 octet/h"},
    {4, "1 000 octet/h"},
    {5, "2 000 octet/h"},
    {6, "5 000 octet/h"},
    {7, "10 000 octet/h"},
    {8, "20 000 octet/h"},
    {9, "50 000 octet/h"},
    {10, "100 000 octet/h"},
    {11, "200 000 octet/h"},
    {12, "500 000 octet/h"},
    {13, "1 000 000 octet/h"},
    {14, "2 000 000 octet/h"},
    {15, "5 000 000 octet/h"},
    {16, "10 000 000 octet/h"},
    {17, "20 000 000 octet/h"},
    {18, "50 000 000 octet/h"},
    {30, kReserved},
};
constexpr Text kMeanThroughputOther = "Best effort";

constexpr ValueText kTrafficClassTexts[] = {
    {1, "Conversational class"},
    {2, "Streaming class"},
    {3, "Interactive class"},
    {4, "Background class"},
};

constexpr ValueText kDeliveryOrderTexts[] = {
    {1, "With delivery order ('yes')"},
    {2, "Without delivery order ('no')"},
};

constexpr ValueText kErroneousSduTexts[] = {
    {1, "No detect ('-')"},
    {2, "Erroneous SDUs are delivered ('yes')"},
    {3, "Erroneous SDUs are not delivered ('no')"},
};

constexpr ValueText kMaximumSduSizeTexts[] = {
    {151, "1502 octets"},
    {152, "1510 octets "},
    {153, "1520 octets"},
};

constexpr ValueText kTrafficHandlingPriorityTexts[] = {
    {1, "Priority level 1"},
    {2, "Priority level 2"},
    {3, "Priority level 3"},
};

constexpr ValueText kSignallingIndicationTexts[] = {
    {0, "Not optimised for signalling traffic"},
};
constexpr Text kSignallingIndicationOther = "Optimised for signalling traffic";

constexpr ValueText kSourceStatisticsTexts[] = {
    {1, "speech"},
};
constexpr Text kSourceStatisticsOther = "unknown";

// The elements in record order, each with the texts of its values.
constexpr NumberField<Qos> kElements[] = {
    {"DelayClass", &Qos::delayClass, kDelayClassTexts, kReserved},
    {"ReliabityClass", &Qos::reliabilityClass, kReliabilityClassTexts, kReliabilityClassOther},
    {"PeakThroughput", &Qos::peakThroughput, kPeakThroughputTexts, kPeakThroughputOther},
    {"PrecedenceClass", &Qos::precedenceClass, kPrecedenceClassTexts, kPrecedenceClassOther},
    {"MeanThroughput", &Qos::meanThroughput, kMeanThroughputTexts, kMeanThroughputOther},
    {"TrafficClass", &Qos::trafficClass, kTrafficClassTexts, kReserved},
    {"DeliveryOrder", &Qos::deliveryOrder, kDeliveryOrderTexts, kReserved},
    {"DeliveryOfErroneousSDU", &Qos::deliveryOfErroneousSdu, kErroneousSduTexts, kReserved},
    {"MaximumSDUSize", &Qos::maximumSduSize, kMaximumSduSizeTexts, kReserved},
    {"MaximumBitRateForUplink", &Qos::maxBitRateUplink},
    {"MaximumBitRateForDownlink", &Qos::maxBitRateDownlink},
    {"ResidualBER", &Qos::residualBer},
    {"SDUErrorRatio", &Qos::sduErrorRatio},
    {"TransferDelay", &Qos::transferDelay},
    {"TrafficHandlingPriority", &Qos::trafficHandlingPriority, kTrafficHandlingPriorityTexts, kReserved},
    {"GuaranteedBitRate_UL", &Qos::guaranteedBitRateUplink},
    {"GuaranteedBitRate_DL", &Qos::guaranteedBitRateDownlink},
    {"SignallingIndication", &Qos::signallingIndication, kSignallingIndicationTexts, kSignallingIndicationOther},
    {"SourceStatisticsDescriptor", &Qos::sourceStatisticsDescriptor, kSourceStatisticsTexts,
     kSourceStatisticsOther},
    {"MaxBitRate_DL_Ex", &Qos::maxBitRateDownlinkExt},
    {"GuaranteedBitRate_DL_Ex", &Qos::guaranteedBitRateDownlinkExt},
    {"MaxBitRate_UL_Ex", &Qos::maxBitRateUplinkExt},
    {"GuaranteedBitRate_UL_Ex", &Qos::guaranteedBitRateUplinkExt},
};

}  // namespace

int ParseQos(BitCursor& cursor, int32_t length, Qos& record) {
    return ParseIeValue(cursor, length, [&] {
        uint8_t o[kQosOctetsRead];
        ReadOctets(cursor, o, kQosOctetsRead);
        record.delayClass = (o[0] >> 3) & 0x07;
        record.reliabilityClass = o[0] & 0x07;
        record.peakThroughput = o[1] >> 4;
        record.precedenceClass = o[1] & 0x07;
        record.meanThroughput = o[2] & 0x1F;
        record.trafficClass = o[3] >> 5;
        record.deliveryOrder = (o[3] >> 3) & 0x03;
        record.deliveryOfErroneousSdu = o[3] & 0x07;
        record.maximumSduSize = o[4];
        record.maxBitRateUplink = o[5];
        record.maxBitRateDownlink = o[6];
        record.residualBer = o[7] >> 4;
        record.sduErrorRatio = o[7] & 0x0F;
        record.transferDelay = o[8] >> 2;
        record.trafficHandlingPriority = o[8] & 0x03;
        record.guaranteedBitRateUplink = o[9];
        record.guaranteedBitRateDownlink = o[10];
        record.signallingIndication = (o[11] >> 4) & 0x01;
        record.sourceStatisticsDescriptor = o[11] & 0x0F;
        record.maxBitRateDownlinkExt = o[12];
        record.guaranteedBitRateDownlinkExt = o[13];
        record.maxBitRateUplinkExt = o[14];
        record.guaranteedBitRateUplinkExt = o[15];
    });
}

int RenderQos(const Qos& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteFields<kElements>(record, out);
    return 1;
}

}  // namespace corvuna
