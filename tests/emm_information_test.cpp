// SPDX-License-Identifier: Apache-2.0
// EMM INFORMATION (stopping scan over its optional IEs) and EMM STATUS.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "corvuna/corvuna.h"
#include "legacy/emm/emm_information.h"
#include "support/document_check.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Decode;
using test::Framed;
using test::Lines;

constexpr int kDownlink = 0;
constexpr int kUplink = 1;

const std::string kCbsCoding = Lines({"<coding_scheme>(0)Cell Broadcast data coding scheme</coding_scheme>"});
const std::string kUcs2Coding = Lines({"<coding_scheme>(1)UCS2</coding_scheme>"});
const std::string kNoCi =
    Lines({"<AddCI>(0)The MS should not add the letters for the Country's Initials to the text string</AddCI>"});
const std::string kAddCi = Lines(
    {"<AddCI>(1)The MS should add the letters for the Country's Initials and a separator to the text string</AddCI>"});
const std::string kNoSpareInfo =
    Lines({"<Numberofsparebitsinlastoctet>(0)this field carries no information about the number of spare bits in "
           "octet n</Numberofsparebitsinlastoctet>"});
const std::string kOneSpareBit =
    Lines({"<Numberofsparebitsinlastoctet>(1)bit 8 is spare and set to 0 in octet n</Numberofsparebitsinlastoctet>"});

std::string Group(std::string_view name, const std::string& inner) {
    return "<" + std::string(name) + ">\n" + inner + "</" + std::string(name) + ">\n";
}

// A network name group with the header elements of octet 0x80 unless given.
std::string Name(std::string_view group, std::string_view text, const std::string& coding = kCbsCoding,
                 const std::string& addCi = kNoCi, const std::string& spare = kNoSpareInfo) {
    return Group(group, coding + addCi + spare + "<TextString>" + std::string(text) + "</TextString>\n");
}

std::string TimeZone(int value) {
    return Group("Local_time_zone", "<TimeZone>" + std::to_string(value) + "</TimeZone>\n");
}

std::string UniversalTime(std::initializer_list<int> values) {
    static const char* const kNames[] = {"Year", "Month", "Day", "Hour", "Minute", "Second", "TimeZone"};
    std::string inner;
    size_t i = 0;
    for (int v : values) {
        inner += "<" + std::string(kNames[i]) + ">" + std::to_string(v) + "</" + kNames[i] + ">\n";
        ++i;
    }
    return Group("UniversalTime_and_localTimeZone", inner);
}

std::string DaylightSaving(std::string_view line) {
    return Group("Network_daylight_saving_time", std::string(line) + "\n");
}

std::string Information(const std::string& groups) { return Group("EMM_INFORMATION", groups); }

struct MessageCase {
    const char* label;
    int direction;
    const char* hex;
    std::string inner;
};

TEST(EmmInformationTest, DecodesTheOptionalIes) {
    const std::vector<MessageCase> cases = {
        {"empty body", kDownlink, "07 61", Information("")},
        {"every IE once, in fixed order", kDownlink,
         "07 61 43 03 80 41 42 45 04 91 53 4F 53 46 80 47 21 70 11 21 43 65 80 49 01 01",
         Information(Name("Full_name_for_network", "AB") +
                     Name("Short_name_for_network", "SOS", kUcs2Coding, kNoCi, kOneSpareBit) + TimeZone(128) +
                     UniversalTime({33, 112, 17, 33, 67, 101, 128}) +
                     DaylightSaving("<value>(1)+1 hour adjustment for Daylight Saving Time</value>"))},
        {"daylight saving first, full name rendered first", kDownlink, "07 61 49 01 03 43 02 88 43",
         Information(Name("Full_name_for_network", "C", kCbsCoding, kAddCi) +
                     DaylightSaving("<value>(3)Reserved</value>"))},
        {"0x44 ends the scan before the universal time", kDownlink, "07 61 46 80 44 01 00 47 21 70 11 21 43 65 80",
         Information(TimeZone(128))},
        {"an unknown first octet ends the scan", kDownlink, "07 61 44 46 80", Information("")},
        {"unknown IEI is not skipped over: its length octet is no IEI", kDownlink, "07 61 70 46 46 10",
         Information("")},
        {"IE value octets are not taken as IEIs", kDownlink, "07 61 43 03 80 46 45 49 01 02",
         Information(Name("Full_name_for_network", "FE") +
                     DaylightSaving("<value>(2)+2 hours adjustment for Daylight Saving Time</value>"))},
        {"a later full name replaces the earlier wholly", kDownlink, "07 61 43 04 80 41 42 43 43 02 8F 5A",
         Information(Name("Full_name_for_network", "Z", kCbsCoding, kAddCi,
                          Lines({"<Numberofsparebitsinlastoctet>(7)bits 2 to 8(inclusive) are spare and set to 0 "
                                 "in octet n</Numberofsparebitsinlastoctet>"})))},
        {"a later time zone replaces the earlier", kDownlink, "07 61 46 01 46 02", Information(TimeZone(2))},
        {"a later universal time replaces the earlier", kDownlink,
         "07 61 47 01 02 03 04 05 06 07 47 11 12 13 14 15 16 17",
         Information(UniversalTime({17, 18, 19, 20, 21, 22, 23}))},
        {"a name longer than the body: header only, scan ends", kDownlink, "07 61 43 09 80 41 42 46 01",
         Information(Name("Full_name_for_network", ""))},
        {"universal time cut by the body reads zeros", kDownlink, "07 61 47 21 70",
         Information(UniversalTime({33, 112, 0, 0, 0, 0, 0}))},
        {"daylight saving keeps bits 2-1; a longer value is skipped to its end", kDownlink, "07 61 49 02 FD 99 46 05",
         Information(TimeZone(5) + DaylightSaving("<value>(1)+1 hour adjustment for Daylight Saving Time</value>"))},
        {"time zone IEI ends the body: value reads as 0", kDownlink, "07 61 46", Information(TimeZone(0))},
        // EMM STATUS: one cause octet.
        {"status cause 96, later octets ignored", kUplink, "07 60 60 5B 21",
         Group("EMM_STATUS", Lines({"<EMMCause>(96)Invalid mandatory information</EMMCause>"}))},
        {"status with empty body", kUplink, "07 60",
         Group("EMM_STATUS", Lines({"<EMMCause>(0)Protocol error, unspecified</EMMCause>"}))},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Decode(c.direction, c.hex), Framed(c.direction, c.inner));
    }
}

TEST(EmmInformationTest, RenderersWithoutBufferWriteNothing) {
    OutputDocument none;
    const auto record = test::ParseBody(ParseEmmInformation, kDownlink, {});
    EXPECT_EQ(RenderEmmInformation(record, none), 0);
}

// The largest document: both names with the longest text a length octet
// allows, every other IE, and IEs repeated (which replace, not add).
TEST(EmmInformationTest, LongestDocumentIsBounded) {
    std::vector<uint8_t> message = {0x07, 0x61};
    for (int round = 0; round < 3; ++round) {
        for (uint8_t iei : {0x43, 0x45}) {
            message.push_back(iei);
            message.push_back(0xFF);
            message.push_back(0xFF);
            message.insert(message.end(), 254, 'W');
        }
        message.insert(message.end(), {0x46, 0xFF, 0x47, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x49, 0x01, 0xFF});
    }
    const std::string document = Decode(kDownlink, message);
    EXPECT_EQ(test::CheckDocument(document, kDownlink), "");
    EXPECT_EQ(document.find("<Full_name_for_network>"), document.rfind("<Full_name_for_network>"));
    EXPECT_NE(document.find("<TextString>" + std::string(254, 'W') + "</TextString>"), std::string::npos);
    EXPECT_LT(document.size(), 2048u);
    EXPECT_LE(document.size(), static_cast<size_t>(CORVUNA_MAX_DOCUMENT_LENGTH));
}

// Real messages: the groups rendered are those of the IEs found by walking
// the message's IEs, and a universal time shows the octets it carries.
TEST(EmmInformationTest, CorpusMessagesDecode) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    struct GroupOf {
        uint8_t iei;
        const char* tag;
    };
    static const GroupOf kGroups[] = {{0x43, "<Full_name_for_network>\n"},
                                      {0x45, "<Short_name_for_network>\n"},
                                      {0x46, "<Local_time_zone>\n"},
                                      {0x47, "<UniversalTime_and_localTimeZone>\n"},
                                      {0x49, "<Network_daylight_saving_time>\n"}};
    int informations = 0;
    int times = 0;
    for (const auto& m : corpus) {
        if (m.name != "EMM information" && m.name != "EMM status") continue;
        ++informations;
        const std::string document = Decode(m.direction, m.octets);
        const auto& o = m.octets;
        if (m.name == "EMM status") {
            EXPECT_NE(document.find("<EMM_STATUS>\n<EMMCause>(" + std::to_string(o[2]) + ")"), std::string::npos);
            continue;
        }
        ASSERT_NE(document.find("<message>\n<EMM_INFORMATION>\n"), std::string::npos) << document;
        ASSERT_NE(document.find("</EMM_INFORMATION>\n</message>\n"), std::string::npos) << document;
        std::set<uint8_t> seen;
        size_t i = 2;
        while (i < o.size()) {
            const uint8_t iei = o[i];
            if (iei == 0x46) {
                i += 2;
            } else if (iei == 0x47) {
                if (i + 7 < o.size()) {
                    ++times;
                    EXPECT_NE(document.find("<Year>" + std::to_string(o[i + 1]) + "</Year>\n<Month>" +
                                            std::to_string(o[i + 2]) + "</Month>\n"),
                              std::string::npos);
                }
                i += 8;
            } else if (iei == 0x43 || iei == 0x45 || iei == 0x49) {
                if (i + 1 >= o.size()) break;
                i += 2 + o[i + 1];
            } else {
                break;
            }
            seen.insert(iei);
        }
        for (const GroupOf& g : kGroups) {
            EXPECT_EQ(document.find(g.tag) != std::string::npos, seen.count(g.iei) == 1) << g.tag << document;
        }
    }
    EXPECT_GT(informations, 0);
    EXPECT_GT(times, 0);
}

}  // namespace
}  // namespace corvuna
