// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include "legacy/ie/sm/qos.h"
#include "sm_ie_test_support.h"

namespace corvuna::test {
namespace {

// The document of the worked value 1B 93 1F 63 96 40 40 74 FB 00 00 11
// 00 00 00 00 with the last four octets given.
std::string WorkedQos(int dlExtMax, int dlExtGbr, int ulExtMax, int ulExtGbr) {
    const auto number = [](const char* name, int value) {
        return "<" + std::string(name) + ">" + std::to_string(value) + "</" + name + ">";
    };
    return Lines({
        "<DelayClass>(3)Delay class 3</DelayClass>",
        "<ReliabityClass>(3)Unacknowledged GTP and LLC; Acknowledged RLC, Protected data</ReliabityClass>",
        "<PeakThroughput>(9)Up to 256 000 octet/s</PeakThroughput>",
        "<PrecedenceClass>(3)Low priority</PrecedenceClass>",
        "<MeanThroughput>(31)Best effort</MeanThroughput>",
        "<TrafficClass>(3)Interactive class</TrafficClass>",
        "<DeliveryOrder>(0)Reserved</DeliveryOrder>",
        "<DeliveryOfErroneousSDU>(3)Erroneous SDUs are not delivered ('no')</DeliveryOfErroneousSDU>",
        "<MaximumSDUSize>(150)Reserved</MaximumSDUSize>",
        "<MaximumBitRateForUplink>64</MaximumBitRateForUplink>",
        "<MaximumBitRateForDownlink>64</MaximumBitRateForDownlink>",
        "<ResidualBER>7</ResidualBER>",
        "<SDUErrorRatio>4</SDUErrorRatio>",
        "<TransferDelay>62</TransferDelay>",
        "<TrafficHandlingPriority>(3)Priority level 3</TrafficHandlingPriority>",
        "<GuaranteedBitRate_UL>0</GuaranteedBitRate_UL>",
        "<GuaranteedBitRate_DL>0</GuaranteedBitRate_DL>",
        "<SignallingIndication>(1)Optimised for signalling traffic</SignallingIndication>",
        "<SourceStatisticsDescriptor>(1)speech</SourceStatisticsDescriptor>",
        number("MaxBitRate_DL_Ex", dlExtMax),
        number("GuaranteedBitRate_DL_Ex", dlExtGbr),
        number("MaxBitRate_UL_Ex", ulExtMax),
        number("GuaranteedBitRate_UL_Ex", ulExtGbr),
    });
}

constexpr char kWorked[] = "1B 93 1F 63 96 40 40 74 FB 00 00 11";

struct QosCase {
    const char* what;
    std::string hex;
    int32_t length;
    int result;
    int32_t endOctet;
    std::string rendered;
};

TEST(Qos, AlwaysReadsSixteenOctets) {
    const std::string worked = kWorked;
    const QosCase cases[] = {
        {"sixteen octets", worked + " 00 00 00 00", 16, 1, 16, WorkedQos(0, 0, 0, 0)},
        {"the extension octets in their order", worked + " 0D 0E 0F 10 27", 16, 1, 16, WorkedQos(13, 14, 15, 16)},
        {"eighteen octets: two skipped", worked + " 01 02 03 04 AA BB 5E", 18, 1, 18, WorkedQos(1, 2, 3, 4)},
        {"twelve octets followed by more: the extension from the next octets, cursor back", worked + " 21 22 23 24",
         12, 0, 12, WorkedQos(0x21, 0x22, 0x23, 0x24)},
        {"twelve octets ending the message: the rest reads 0, cursor back", worked, 12, 0, 12, WorkedQos(0, 0, 0, 0)},
    };
    for (const QosCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto parsed = RunParse(ParseQos, c.hex, c.length);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.endOctet * 8);
        EXPECT_EQ(RenderText(RenderQos, parsed.record), c.rendered);
    }
}

TEST(Qos, ShortIeTakesTheFollowingOctets) {
    // A release 97 QoS of three octets followed by an LLC SAPI IE and more:
    // octets 4..16 come from those, the cursor goes back after octet 3.
    const auto parsed = RunParse(ParseQos, "23 51 0A 32 03 80 11 22 33 44 55 66 77 88 99 AA BB", 3);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 3 * 8);
    const Qos& q = parsed.record;
    EXPECT_EQ(q.delayClass, 4);
    EXPECT_EQ(q.reliabilityClass, 3);
    EXPECT_EQ(q.peakThroughput, 5);
    EXPECT_EQ(q.precedenceClass, 1);
    EXPECT_EQ(q.meanThroughput, 10);
    EXPECT_EQ(q.trafficClass, 1);              // 0x32
    EXPECT_EQ(q.deliveryOrder, 2);
    EXPECT_EQ(q.deliveryOfErroneousSdu, 2);
    EXPECT_EQ(q.maximumSduSize, 3);
    EXPECT_EQ(q.maxBitRateUplink, 0x80);
    EXPECT_EQ(q.maxBitRateDownlink, 0x11);
    EXPECT_EQ(q.residualBer, 2);               // 0x22
    EXPECT_EQ(q.sduErrorRatio, 2);
    EXPECT_EQ(q.transferDelay, 0x33 >> 2);
    EXPECT_EQ(q.trafficHandlingPriority, 3);
    EXPECT_EQ(q.guaranteedBitRateUplink, 0x44);
    EXPECT_EQ(q.guaranteedBitRateDownlink, 0x55);
    EXPECT_EQ(q.signallingIndication, 0);      // 0x66: bit 5 clear
    EXPECT_EQ(q.sourceStatisticsDescriptor, 6);
    EXPECT_EQ(q.maxBitRateDownlinkExt, 0x77);
    EXPECT_EQ(q.guaranteedBitRateDownlinkExt, 0x88);
    EXPECT_EQ(q.maxBitRateUplinkExt, 0x99);
    EXPECT_EQ(q.guaranteedBitRateUplinkExt, 0xAA);
}

TEST(Qos, ShortIeAtTheMessageEndReadsZeros) {
    const auto parsed = RunParse(ParseQos, "FF FF FF", 3);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 3 * 8);
    EXPECT_EQ(parsed.record.delayClass, 7);
    EXPECT_EQ(parsed.record.peakThroughput, 15);
    EXPECT_EQ(parsed.record.meanThroughput, 31);
    EXPECT_EQ(parsed.record.trafficClass, 0);
    EXPECT_EQ(parsed.record.guaranteedBitRateUplinkExt, 0);
}

TEST(Qos, DroppedBitsDoNotLeak) {
    // Every bit set: the fields hold only their own bits.
    const auto parsed = RunParse(ParseQos, "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF", 16);
    const Qos& q = parsed.record;
    EXPECT_EQ(q.delayClass, 7);
    EXPECT_EQ(q.reliabilityClass, 7);
    EXPECT_EQ(q.peakThroughput, 15);
    EXPECT_EQ(q.precedenceClass, 7);
    EXPECT_EQ(q.meanThroughput, 31);
    EXPECT_EQ(q.trafficClass, 7);
    EXPECT_EQ(q.deliveryOrder, 3);
    EXPECT_EQ(q.deliveryOfErroneousSdu, 7);
    EXPECT_EQ(q.maximumSduSize, 255);
    EXPECT_EQ(q.residualBer, 15);
    EXPECT_EQ(q.sduErrorRatio, 15);
    EXPECT_EQ(q.transferDelay, 63);
    EXPECT_EQ(q.trafficHandlingPriority, 3);
    EXPECT_EQ(q.signallingIndication, 1);
    EXPECT_EQ(q.sourceStatisticsDescriptor, 15);
    EXPECT_EQ(q.guaranteedBitRateUplinkExt, 255);
}

// The value text of one element for one field value.
struct TextCase {
    const char* element;
    int32_t Qos::*field;
    int32_t value;
    const char* text;
};

TEST(Qos, ValueTexts) {
    const TextCase cases[] = {
        {"DelayClass", &Qos::delayClass, 0, "Reserved"},
        {"DelayClass", &Qos::delayClass, 1, "Delay class 1"},
        {"DelayClass", &Qos::delayClass, 4, "Delay class 4"},
        {"DelayClass", &Qos::delayClass, 7, "Reserved"},
        {"ReliabityClass", &Qos::reliabilityClass, 0, "Unacknowledged GTP; Acknowledged LLC and RLC, Protected data"},
        {"ReliabityClass", &Qos::reliabilityClass, 4, "Unacknowledged GTP, LLC, and RLC, Protected data"},
        {"ReliabityClass", &Qos::reliabilityClass, 5, "Unacknowledged GTP, LLC, and RLC, Unprotected data"},
        {"ReliabityClass", &Qos::reliabilityClass, 6, "Unacknowledged GTP; Acknowledged LLC and RLC, Protected data"},
        {"ReliabityClass", &Qos::reliabilityClass, 7, "Reserved"},
        {"PeakThroughput", &Qos::peakThroughput, 0, "Reserved"},
        {"PeakThroughput", &Qos::peakThroughput, 1, "Up to 1 000 octet/s"},
        {"PeakThroughput", &Qos::peakThroughput, 2, "Up to 2 000 octet/s"},
        {"PeakThroughput", &Qos::peakThroughput, 10, "Up to 1 000 octet/s"},
        {"PeakThroughput", &Qos::peakThroughput, 14, "Up to 1 000 octet/s"},
        {"PeakThroughput", &Qos::peakThroughput, 15, "Reserved"},
        {"PrecedenceClass", &Qos::precedenceClass, 0, "Reserved"},
        {"PrecedenceClass", &Qos::precedenceClass, 1, "High priority"},
        {"PrecedenceClass", &Qos::precedenceClass, 2, "Normal priority"},
        {"PrecedenceClass", &Qos::precedenceClass, 7, "Reserved"},
        {"MeanThroughput", &Qos::meanThroughput, 0, "Best effort"},
        {"MeanThroughput", &Qos::meanThroughput, 1, "100 octet/h"},
        {"MeanThroughput", &Qos::meanThroughput, 13, "1 000 000 octet/h"},
        {"MeanThroughput", &Qos::meanThroughput, 18, "50 000 000 octet/h"},
        {"MeanThroughput", &Qos::meanThroughput, 19, "Best effort"},
        {"MeanThroughput", &Qos::meanThroughput, 29, "Best effort"},
        {"MeanThroughput", &Qos::meanThroughput, 30, "Reserved"},
        {"TrafficClass", &Qos::trafficClass, 0, "Reserved"},
        {"TrafficClass", &Qos::trafficClass, 1, "Conversational class"},
        {"TrafficClass", &Qos::trafficClass, 4, "Background class"},
        {"TrafficClass", &Qos::trafficClass, 5, "Reserved"},
        {"DeliveryOrder", &Qos::deliveryOrder, 1, "With delivery order ('yes')"},
        {"DeliveryOrder", &Qos::deliveryOrder, 2, "Without delivery order ('no')"},
        {"DeliveryOrder", &Qos::deliveryOrder, 3, "Reserved"},
        {"DeliveryOfErroneousSDU", &Qos::deliveryOfErroneousSdu, 0, "Reserved"},
        {"DeliveryOfErroneousSDU", &Qos::deliveryOfErroneousSdu, 1, "No detect ('-')"},
        {"DeliveryOfErroneousSDU", &Qos::deliveryOfErroneousSdu, 2, "Erroneous SDUs are delivered ('yes')"},
        {"DeliveryOfErroneousSDU", &Qos::deliveryOfErroneousSdu, 4, "Reserved"},
        {"MaximumSDUSize", &Qos::maximumSduSize, 1, "Reserved"},
        {"MaximumSDUSize", &Qos::maximumSduSize, 151, "1502 octets"},
        {"MaximumSDUSize", &Qos::maximumSduSize, 152, "1510 octets "},
        {"MaximumSDUSize", &Qos::maximumSduSize, 153, "1520 octets"},
        {"MaximumSDUSize", &Qos::maximumSduSize, 154, "Reserved"},
        {"TrafficHandlingPriority", &Qos::trafficHandlingPriority, 0, "Reserved"},
        {"TrafficHandlingPriority", &Qos::trafficHandlingPriority, 1, "Priority level 1"},
        {"TrafficHandlingPriority", &Qos::trafficHandlingPriority, 2, "Priority level 2"},
        {"SignallingIndication", &Qos::signallingIndication, 0, "Not optimised for signalling traffic"},
        {"SignallingIndication", &Qos::signallingIndication, 1, "Optimised for signalling traffic"},
        {"SourceStatisticsDescriptor", &Qos::sourceStatisticsDescriptor, 0, "unknown"},
        {"SourceStatisticsDescriptor", &Qos::sourceStatisticsDescriptor, 1, "speech"},
        {"SourceStatisticsDescriptor", &Qos::sourceStatisticsDescriptor, 2, "unknown"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(std::string(c.element) + " " + std::to_string(c.value));
        Qos record{};
        record.*c.field = c.value;
        EXPECT_EQ(ElementLine(RenderText(RenderQos, record), c.element),
                  "<" + std::string(c.element) + ">(" + std::to_string(c.value) + ")" + c.text + "</" + c.element +
                      ">");
    }
}

TEST(Qos, NegativeLengthReadsNothing) {
    const auto parsed = RunParse(ParseQos, kWorked, -1);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_EQ(parsed.record.delayClass, 0);
}

TEST(Qos, RenderWithoutBufferWritesNothing) {
    OutputDocument none;
    EXPECT_EQ(RenderQos(Qos{}, none), 0);
}

}  // namespace
}  // namespace corvuna::test
