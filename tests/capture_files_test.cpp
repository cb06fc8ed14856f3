// SPDX-License-Identifier: Apache-2.0
// Captures read as the program reads them: the real captures beside the
// project against tshark's listings, and capture files the tests write
// (both formats and byte orders, time stamp precisions, security contexts,
// files that cannot be read).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "capture/ap.h"
#include "capture/capture_file.h"
#include "capture/radio/rrc_reader.h"
#include "cli/capture_run.h"
#include "support/capture_builders.h"
#include "support/test_support.h"

namespace corvuna::test {
namespace {

namespace fs = std::filesystem;

// What RunCapture writes for `path`.
std::string ReadCapture(const std::string& path, cli::Format format, cli::CaptureCounts* counts = nullptr,
                int userDlt = 0, capture::UserPayload payload = capture::UserPayload::kNone) {
    cli::CaptureOptions options;
    options.format = format;
    if (userDlt != 0) {
        options.users[userDlt - 147] = payload;
        options.usersGiven[userDlt - 147] = true;
    }
    std::FILE* sink = std::tmpfile();
    std::string text;
    {
        cli::Output out(sink);
        const cli::CaptureCounts c = cli::RunCapture(path, options, out).counts;
        if (counts != nullptr) *counts = c;
    }
    std::rewind(sink);
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, sink)) > 0) text.append(buffer, n);
    std::fclose(sink);
    return text;
}

std::string WriteTemp(const std::string& name, const Octets& content) {
    const fs::path path = fs::temp_directory_path() / ("corvuna-capture-test-" + name);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(content.data()),
                                                static_cast<std::streamsize>(content.size()));
    return path.string();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(CaptureFiles, RealCapturesGiveTsharksListings) {
    const fs::path dir = fs::path(CORVUNA_SOURCE_DIR) / ".." / "shared" / "captures";
    if (!fs::exists(dir)) GTEST_SKIP() << "the real captures (../shared/captures) are not there; skipped";
    if (capture::S1apTables() == nullptr) GTEST_SKIP() << "this build reads no S1AP (no ASN.1 tables); skipped";
    // NAS inside LTE RRC is compared once the build reads LTE RRC; until
    // then the RRC PDUs that carry it are checked apart
    // (CaptureRadioFiles.RrcPdusHoldEveryNasTsharkListsInRrc).
    const bool rrcRead = capture::radio::MakeRrcReader() != nullptr;
    if (!rrcRead) std::printf("[ capture  ] this build reads no LTE RRC: the listings' lte_rrc rows are left out\n");
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.size() < 8 || name.substr(name.size() - 8) != ".nas.tsv") continue;
        const std::string stem = name.substr(0, name.size() - 8);
        fs::path capture = dir / (stem + ".pcapng");
        if (!fs::exists(capture)) capture = dir / (stem + ".pcap");
        ASSERT_TRUE(fs::exists(capture)) << stem;
        // The listing's rows of the carriers read here.
        std::vector<std::tuple<std::string, std::string, std::string>> expected;
        std::ifstream listing(entry.path());
        for (std::string line; std::getline(listing, line);) {
            if (line.empty() || line[0] == '#') continue;
            std::vector<std::string> f;
            std::istringstream fields(line);
            for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
            ASSERT_GE(f.size(), 8u) << name << ": " << line;
            if (f[7].rfind("lte_rrc", 0) == 0 && !rrcRead) continue;
            expected.emplace_back(f[0], f[2], f[3]);
        }
        const bool s1apUser = stem.find("dlt150") != std::string::npos;
        const std::string tsv = ReadCapture(capture.string(), cli::Format::kTsv, nullptr, s1apUser ? 150 : 0,
                                    capture::UserPayload::kS1ap);
        std::vector<std::tuple<std::string, std::string, std::string>> got;
        size_t fivegs = 0;
        for (const std::string& line : Lines(tsv)) {
            std::vector<std::string> f;
            std::istringstream fields(line);
            for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
            // direction, hex, frame, time, carrier, and where a direction
            // the carrier did not give came from.
            ASSERT_TRUE(f.size() == 5u || (f.size() == 6u && (f[5] == "mac" || f[5] == "message_type" ||
                                                                f[5] == "option")))
                << line;
            // NGAP carries 5GS NAS (EPD 0x7E or 0x2E), never EPS NAS: the
            // listings of EPS NAS have none of it.
            if (f[4].rfind("ngap:", 0) == 0) {
                EXPECT_TRUE(f[1].rfind("7e", 0) == 0 || f[1].rfind("2e", 0) == 0) << stem << ": " << line;
                ++fivegs;
                continue;
            }
            got.emplace_back(f[2], f[0], f[1]);
        }
        // Raw NAS carries no direction ('?' in the listing).
        for (size_t i = 0; i < expected.size() && i < got.size(); ++i) {
            if (std::get<1>(expected[i]) == "?") std::get<1>(got[i]) = "?";
        }
        EXPECT_EQ(got, expected) << stem;
        std::printf("[ capture  ] %-40s %4zu NAS messages listed, %4zu found%s%s\n", stem.c_str(), expected.size(),
                    got.size(), got == expected ? ", all alike" : ", DIFFERENT",
                    fivegs > 0 ? (" (and " + std::to_string(fivegs) + " 5GS NAS in NGAP)").c_str() : "");
        ++files;
    }
    EXPECT_GE(files, 20u);
}

// The 5G captures' listings (../shared/captures-5g/README.md): tshark's
// NAS-PDU and PDUSessionNAS-PDU fields of NGAP, one row per PDU in frame
// order (sub: its place in the frame), the direction from the procedure.
TEST(CaptureFiles, NgapCapturesGiveTsharksListingsOf5gsNas) {
    const fs::path shared = fs::path(CORVUNA_SOURCE_DIR) / ".." / "shared";
    if (!fs::exists(shared / "captures-5g")) GTEST_SKIP() << "../shared/captures-5g is not there; skipped";
    if (capture::NgapTables() == nullptr) GTEST_SKIP() << "this build reads no NGAP (no ASN.1 tables); skipped";
    const struct {
        fs::path capture;
        fs::path listing;
    } files[] = {
        {shared / "captures" / "neg_ngap_5g_registration.pcapng",
         shared / "captures-5g" / "ngap_o5gs_registration.nas5g.tsv"},
        {shared / "captures-5g" / "ngap_o5gs_roaming_hr.pcapng",
         shared / "captures-5g" / "ngap_o5gs_roaming_hr.nas5g.tsv"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.capture.filename().string());
        ASSERT_TRUE(fs::exists(file.capture) && fs::exists(file.listing));
        // (frame, sub, direction, octets)
        std::vector<std::tuple<std::string, int, std::string, std::string>> expected, got;
        std::ifstream listing(file.listing);
        for (std::string line; std::getline(listing, line);) {
            if (line.empty() || line[0] == '#') continue;
            std::vector<std::string> f;
            std::istringstream fields(line);
            for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
            ASSERT_GE(f.size(), 7u) << line;
            expected.emplace_back(f[0], std::stoi(f[1]), f[2], f[3]);
        }
        cli::CaptureCounts counts;
        const std::string tsv = ReadCapture(file.capture.string(), cli::Format::kTsv, &counts);
        for (const std::string& line : Lines(tsv)) {
            std::vector<std::string> f;
            std::istringstream fields(line);
            for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
            // direction, hex, frame, time, carrier, and where a direction
            // the carrier did not give came from.
            ASSERT_TRUE(f.size() == 5u || (f.size() == 6u && (f[5] == "mac" || f[5] == "message_type" ||
                                                                f[5] == "option")))
                << line;
            EXPECT_EQ(f[4].rfind("ngap:", 0), 0u) << line;
            const int sub = !got.empty() && std::get<0>(got.back()) == f[2] ? std::get<1>(got.back()) + 1 : 0;
            got.emplace_back(f[2], sub, f[0], f[1]);
        }
        EXPECT_EQ(got, expected);
        EXPECT_EQ(counts.fivegs, expected.size());
        EXPECT_EQ(counts.nas, expected.size()) << "every NAS message of them 5GS NAS";
        for (const auto& row : got) {
            const std::string& hex = std::get<3>(row);
            EXPECT_TRUE(hex.rfind("7e", 0) == 0 || hex.rfind("2e", 0) == 0) << "no EPS NAS: " << hex;
        }
        std::printf("[ capture  ] %-40s %4zu 5GS NAS PDUs listed, %4zu found%s\n",
                    file.capture.filename().string().c_str(), expected.size(), got.size(),
                    got == expected ? ", all alike" : ", DIFFERENT");
    }
}

TEST(CaptureFiles, FivegsNasIsDecodedByTheViewAndNeverAsEps) {
    const fs::path capture = fs::path(CORVUNA_SOURCE_DIR) / ".." / "shared" / "captures-5g" / "ngap_o5gs_roaming_hr.pcapng";
    if (!fs::exists(capture)) GTEST_SKIP() << capture << " is not there; skipped";
    if (capture::NgapTables() == nullptr) GTEST_SKIP() << "this build reads no NGAP (no ASN.1 tables); skipped";
    const std::vector<std::string> legacy = Lines(ReadCapture(capture.string(), cli::Format::kLegacy));
    ASSERT_EQ(legacy.size(), 2u * 13u);
    EXPECT_EQ(legacy[0].rfind("# frame=1344 time=", 0), 0u);
    EXPECT_NE(legacy[0].find(" carrier=ngap procedure=initialUEMessage(15) ran_ue_ngap_id=1 direction=uplink nas=5gs"),
              std::string::npos)
        << legacy[0];
    EXPECT_EQ(legacy[1],
              "# 5GS NAS (TS 24.501), 21 octets: no legacy document (the legacy document is of EPS NAS only)");
    EXPECT_NE(legacy[2].find("procedure=downlinkNASTransport(4) ran_ue_ngap_id=1 amf_ue_ngap_id=1"),
              std::string::npos);
    for (const std::string& line : legacy) EXPECT_EQ(line[0], '#') << "no document: " << line;
    const std::vector<std::string> json = Lines(ReadCapture(capture.string(), cli::Format::kJson));
    ASSERT_EQ(json.size(), 13u);
    EXPECT_NE(json[1].find("\"procedure\":\"downlinkNASTransport\",\"procedure_code\":4,\"ran_ue_ngap_id\":1,"
                           "\"amf_ue_ngap_id\":1,\"direction\":\"downlink\",\"octets\":\"7e005b01\""),
              std::string::npos)
        << json[1];
    // The standard view decodes it as the 5GMM IDENTITY REQUEST it is.
    EXPECT_NE(json[1].find("\"name\":\"identity_request\""), std::string::npos) << json[1];
    EXPECT_NE(json[1].find("\"result\":\"decoded\""), std::string::npos) << json[1];
}

// The frames of the tests' own captures: raw NAS in user link type 148.
std::vector<TestFrame> RawNasFrames() {
    return {{1700000000, 123456, Hex("0741710831012098802351f002804000040201d031")},  // ATTACH REQUEST (uplink)
            {1700000001, 5, Hex("0745090bf600f11000010000000001")},                  // DETACH REQUEST (either)
            {1700000002, 999999, Hex("07440f")}};                                    // ATTACH REJECT (downlink)
}

TEST(CaptureFiles, FormatsByteOrdersAndPrecisions) {
    const struct {
        const char* what;
        Octets file;
        const char* firstTime;
    } cases[] = {
        {"pcap, microseconds", PcapFile(148, RawNasFrames()), "2023-11-14T22:13:20.123456Z"},
        {"pcap, nanoseconds", PcapFile(148, RawNasFrames(), true), "2023-11-14T22:13:20.000123456Z"},
        {"pcapng, two interfaces, nanoseconds, big-endian", PcapngFile({148, 148}, RawNasFrames(), true, true),
         "2023-11-14T22:13:20.000123456Z"},
        {"pcapng, little-endian, microseconds", PcapngFile({148}, RawNasFrames(), false, false),
         "2023-11-14T22:13:20.123456Z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        cli::CaptureCounts counts;
        const std::vector<std::string> lines =
            Lines(ReadCapture(WriteTemp("formats", c.file), cli::Format::kLegacy, &counts));
        EXPECT_FALSE(counts.failed);
        EXPECT_EQ(counts.frames, 3u);
        EXPECT_EQ(counts.nas, 3u);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], std::string("# frame=1 time=") + c.firstTime +
                                " carrier=user_dlt direction=uplink(from the message type)");
        std::vector<std::string> comments;
        for (const std::string& l : lines) {
            if (l[0] == '#') comments.push_back(l);
        }
        ASSERT_EQ(comments.size(), 3u);
        EXPECT_NE(comments[1].find("frame=2 "), std::string::npos);
        EXPECT_NE(comments[1].find("direction=uplink(from -d)"), std::string::npos);
        EXPECT_NE(comments[2].find("direction=downlink(from the message type)"), std::string::npos);
        EXPECT_EQ(lines[1], "<L3Message>");
    }
}

TEST(CaptureFiles, CiphersAreTrackedPerUe) {
    if (capture::S1apTables() == nullptr) GTEST_SKIP() << "this build reads no S1AP (no ASN.1 tables); skipped";
    // UE 1's SECURITY MODE COMMAND selects EEA0 and EIA0; UE 2 and UE 3
    // have none.  UEs 1 and 2 then get a ciphered EMM INFORMATION, UE 3 a
    // body that reads as no NAS message.
    const Octets smc = Hex("37aabbccdd00075d0002028040");
    const Octets ciphered = Hex("2711223344010761490100");
    const Octets garbage = Hex("27112233440193a4b5c6d7");
    auto frame = [](uint32_t ue, const Octets& nas) {
        const Octets pdu = S1apPdu(0, 11, {S1apIe(8, S1apEnbUeIdValue(ue)), S1apIe(26, S1apNasPduValue(nas))});
        return Ethernet(0x0800, Ipv4(132, Sctp(36412, 40000, {{3, ue, 1, 18, pdu}})), 0);
    };
    const Octets file = PcapFile(
        1, {{1, 0, frame(1, smc)}, {2, 0, frame(1, ciphered)}, {3, 0, frame(2, ciphered)}, {4, 0, frame(3, garbage)}});
    cli::CaptureCounts counts;
    const std::vector<std::string> lines = Lines(ReadCapture(WriteTemp("ciphers", file), cli::Format::kLegacy, &counts));
    std::vector<std::string> comments;
    size_t documents = 0;
    for (const std::string& l : lines) {
        if (l[0] == '#') comments.push_back(l);
        if (l == "<L3Message>") ++documents;
    }
    ASSERT_EQ(comments.size(), 4u);
    // EIA0's MAC is 32 zero bits: the SMC's is not.
    EXPECT_NE(comments[0].find("security_header=3 mac=aabbccdd seq=0 ue=ue1 ksi=2 count=0 mac_check=failed(eia0) "
                               "expected_mac=00000000"),
              std::string::npos)
        << comments[0];
    EXPECT_NE(comments[1].find("enb_ue_s1ap_id=1 direction=downlink security_header=2 mac=11223344 seq=1"),
              std::string::npos)
        << comments[1];
    EXPECT_NE(comments[1].find(" count=1 "), std::string::npos) << comments[1];
    EXPECT_NE(comments[1].find(" ciphering=eea0"), std::string::npos) << comments[1];
    EXPECT_NE(comments[2].find("mac_check=unverifiable(no_security_context_of_this_UE_in_the_capture) "
                               "ciphering=eea0(guessed:"),
              std::string::npos)
        << comments[2];
    EXPECT_NE(comments[3].find("left_ciphered:no_security_context) decoded=no(ciphered)"), std::string::npos)
        << comments[3];
    EXPECT_EQ(documents, 3u);  // the fourth is not pretended to be decoded
    EXPECT_EQ(counts.ciphered, 3u);
    EXPECT_EQ(counts.cipheredDecoded, 2u);
    EXPECT_EQ(counts.nullCiphered, 1u);
    EXPECT_EQ(counts.guessedNull, 1u);
    EXPECT_EQ(counts.leftCiphered, 1u);
}

TEST(CaptureFiles, FilesThatCannotBeReadSaySoPlainly) {
    const Octets good = PcapFile(148, RawNasFrames());
    const struct {
        const char* what;
        Octets file;
        unsigned long frames;
        const char* says;
    } cases[] = {
        {"not a capture", Octets{'h', 'e', 'l', 'l', 'o', '\n'}, 0, "not a pcap or pcapng capture"},
        {"cut inside its second frame", Octets(good.begin(), good.begin() + 24 + 16 + 21 + 20), 1, "after frame 1"},
        {"interfaces of different link types", PcapngFile({148, 1}, RawNasFrames(), false, false), 0,
         "different link types"},
        {"an unmapped user link type", PcapFile(151, RawNasFrames()), 0,
         "link type 151 (user link type 4, DLT_USER4) is not read: what a user link type carries"},
        {"a link type carrying no NAS", PcapFile(127, RawNasFrames()), 0,
         "link type 127 (IEEE 802.11 with radiotap) is not read: no NAS is looked for in it"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = WriteTemp("bad", c.file);
        // The reason goes to standard error; capture it.
        testing::internal::CaptureStderr();
        cli::CaptureCounts counts;
        ReadCapture(path, cli::Format::kLegacy, &counts);
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(counts.failed);
        EXPECT_LE(counts.frames, c.frames + 2);
        EXPECT_NE(errors.find(c.says), std::string::npos) << errors;
        EXPECT_NE(errors.find(path), std::string::npos) << errors;
    }
}

TEST(CaptureFiles, TimeStampsAndPrecision) {
    EXPECT_EQ(capture::IsoTime(0, 0, 6), "1970-01-01T00:00:00.000000Z");
    EXPECT_EQ(capture::IsoTime(1700000000, 123456789, 9), "2023-11-14T22:13:20.123456789Z");
    EXPECT_EQ(capture::IsoTime(1700000000, 123456789, 3), "2023-11-14T22:13:20.123Z");
    EXPECT_EQ(capture::IsoTime(1700000000, 999999999, 0), "2023-11-14T22:13:20Z");
    const Octets pcapng = PcapngFile({1}, {}, true, false);
    const capture::CaptureHeader h = capture::ReadCaptureHeader(capture::Bytes{pcapng.data(), pcapng.size()});
    EXPECT_TRUE(h.pcapng);
    EXPECT_EQ(h.fractionDigits, 9);
    EXPECT_EQ(h.linkType, 1);
}

}  // namespace
}  // namespace corvuna::test
