// SPDX-License-Identifier: Apache-2.0
// The radio side on capture files: the real captures of srsRAN, LTESniffer
// and rayhunter beside the project against tshark's listings of them, and
// what the program writes for NAS found inside LTE RRC.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "capture/capture_file.h"
#include "capture/frames.h"
#include "cli/capture_run.h"
#include "support/capture_builders.h"
#include "support/scripted_rrc.h"
#include "support/test_support.h"

namespace corvuna::test {
namespace {

namespace fs = std::filesystem;
using capture::radio::RrcClass;

// Whether the bits of `needle` appear in those of `hay` at any bit offset:
// an unaligned PER octet string (dedicatedInfoNAS) sits at any offset.
bool ContainsBits(const Octets& hay, const Octets& needle) {
    const size_t hayBits = hay.size() * 8, needleBits = needle.size() * 8;
    auto bit = [](const Octets& o, size_t i) { return (o[i / 8] >> (7 - i % 8)) & 1; };
    for (size_t at = 0; at + needleBits <= hayBits; ++at) {
        size_t i = 0;
        while (i < needleBits && bit(hay, at + i) == bit(needle, i)) ++i;
        if (i == needleBits) return true;
    }
    return false;
}

std::vector<std::vector<std::string>> ListingRows(const fs::path& listing) {
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(listing);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
        rows.push_back(f);
    }
    return rows;
}

TEST(CaptureRadioFiles, RrcPdusHoldEveryNasTsharkListsInRrc) {
    const fs::path dir = fs::path(CORVUNA_SOURCE_DIR) / ".." / "shared" / "captures";
    if (!fs::exists(dir)) GTEST_SKIP() << "the real captures (../shared/captures) are not there; skipped";
    const char* const files[] = {"rrc_dlt147_ltesniffer_ul.pcap",     "rrc_dlt149_srsenb_attach.pcap",
                                 "rrc_dlt149_srsenb_nas_ciphered.pcap", "rrc_dlt149_srsenb_smc_reject.pcap",
                                 "gsmtap_rayhunter_goodsim.pcapng",   "gsmtap_rayhunter_deadsim.pcapng"};
    for (const char* name : files) {
        SCOPED_TRACE(name);
        const fs::path path = dir / name;
        ASSERT_TRUE(fs::exists(path));
        capture::CaptureFile file;
        std::string error;
        ASSERT_TRUE(file.Open(path.string(), error)) << error;
        capture::FrameDecoder d;
        std::map<uint64_t, std::vector<std::pair<RrcClass, Octets>>> delivered;
        capture::CapturedFrame frame;
        size_t count = 0;
        while (file.Next(frame, error) == 1) {
            d.Decode(file.linkType(), frame.data, frame.wireLength,
                     static_cast<uint64_t>(frame.seconds) * 1000000 + frame.nanoseconds / 1000);
            EXPECT_TRUE(d.warnings().empty()) << frame.number << ": " << d.warnings().front();
            for (const capture::radio::RrcPdu& p : d.rrcPdus()) {
                delivered[frame.number].emplace_back(p.channel, Octets(p.octets.data, p.octets.data + p.octets.size));
                ++count;
                EXPECT_FALSE(p.asCiphered);  // no AS ciphering without an RRC part saying so
            }
        }
        d.Finish();
        EXPECT_TRUE(d.rrcPdus().empty());  // RLC held nothing back
        // eNodeB-side and modem-side captures: nothing lost, nothing twice.
        const capture::radio::RadioCounters& r = d.radioCounters();
        EXPECT_EQ(r.rlc.gaps, 0u);
        EXPECT_EQ(r.rlc.duplicates, 0u);
        EXPECT_EQ(r.rlc.discarded, 0u);
        EXPECT_EQ(r.rlc.malformed, 0u);
        EXPECT_EQ(r.macUnreadable, 0u);
        EXPECT_EQ(r.pdcpMalformed, 0u);
        size_t rows = 0, held = 0;
        const std::string stem = fs::path(name).stem().string();
        for (const std::vector<std::string>& row : ListingRows(dir / (stem + ".nas.tsv"))) {
            ASSERT_GE(row.size(), 8u);
            if (row[7].rfind("lte_rrc:", 0) != 0) continue;
            ++rows;
            // NAS rides in DCCH: UL-DCCH for the listing's 1, DL-DCCH for 0.
            const RrcClass channel = row[2] == "1" ? RrcClass::kUlDcch : RrcClass::kDlDcch;
            const Octets nas = Hex(row[3]);
            bool found = false;
            for (const auto& [c, octets] : delivered[std::stoull(row[0])]) found = found || (c == channel && ContainsBits(octets, nas));
            EXPECT_TRUE(found) << "frame " << row[0] << " " << row[3];
            if (found) ++held;
        }
        EXPECT_GT(rows, 0u);
        std::printf("[ radio    ] %-40s %4zu RRC PDUs, %3zu NAS listed in RRC, %3zu of them in the RRC PDUs\n", stem.c_str(),
                    count, rows, held);
    }
}

// What RunCapture writes for `path`.
std::string Read(const std::string& path, cli::Format format, capture::radio::RrcReader* reader,
                 cli::CaptureCounts* counts = nullptr) {
    cli::CaptureOptions options;
    options.format = format;
    options.rrcReader = reader;
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

Octets Srb1Frame(bool uplink, uint16_t sn, const Octets& rrc, uint8_t pdcpSn) {
    AmdPdu p;
    p.sn = sn;
    p.data = PdcpSrb(pdcpSn, rrc, 0xa1b2c3d4);
    MacFrame f;
    f.uplink = uplink;
    f.rnti = 70;
    f.sfn = 38;
    f.subframe = 8;
    f.pdu = MacPdu({{1, RlcAmd(p)}});
    return MacLteContext(f);
}

TEST(CaptureRadioFiles, TheProgramSaysWhereTheNasWasInRrc) {
    // Uplink: an RRC PDU that (says the script) carries two NAS PDUs, a
    // SECURITY MODE COMPLETE and an EMM STATUS.  Downlink: a PDU the RRC
    // part cannot decode (a warning), a SecurityModeCommand selecting EEA2,
    // then a PDU that is AS-ciphered.
    ScriptedRrc rrc;
    capture::radio::RrcContent info;
    info.message = "ulInformationTransfer";
    info.nas.push_back({"dedicatedInfoNAS", Hex("17b260bfdc00075e")});
    info.nas.push_back({"DedicatedInfoNAS", Hex("076023")});
    rrc.Say(Hex("4801aa"), info);
    capture::radio::RrcContent broken;
    broken.message = "dlInformationTransfer";
    broken.error = "cut short";
    rrc.Say(Hex("0801"), broken);
    capture::radio::RrcContent smc;
    smc.message = "securityModeCommand";
    smc.asCiphering = 2;
    rrc.Say(Hex("3000"), smc);
    const Octets file = PcapFile(147, {{1700000000, 5, Srb1Frame(true, 0, Hex("4801aa"), 0)},
                                       {1700000000, 9, Srb1Frame(false, 0, Hex("0801"), 0)},
                                       {1700000001, 6, Srb1Frame(false, 1, Hex("3000"), 1)},
                                       {1700000002, 7, Srb1Frame(false, 2, Hex("0badcafe"), 2)}});
    const fs::path path = fs::temp_directory_path() / "corvuna-capture-test-radio.pcap";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                static_cast<std::streamsize>(file.size()));
    cli::CaptureCounts counts;
    testing::internal::CaptureStderr();
    const std::string legacy = Read(path.string(), cli::Format::kLegacy, &rrc, &counts);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "frame 2: malformed LTE RRC DL-DCCH PDU (dlInformationTransfer): cut short"),
              std::string::npos);
    EXPECT_NE(legacy.find("# frame=1 time=2023-11-14T22:13:20.000005Z carrier=lte_rrc:dedicatedInfoNAS "
                          "rrc=ulInformationTransfer channel=UL-DCCH rnti=70 sfn=38 subframe=8 direction=uplink "
                          "security_header=1 mac=b260bfdc seq=0 ue=ue1 "
                          "mac_check=unverifiable(no_security_context_of_this_UE_in_the_capture)\n<L3Message>"),
              std::string::npos)
        << legacy;
    EXPECT_NE(legacy.find("<SECURITY_MODE_COMPLETE>"), std::string::npos);
    EXPECT_NE(legacy.find("# frame=1 time=2023-11-14T22:13:20.000005Z carrier=lte_rrc:DedicatedInfoNAS "
                          "rrc=ulInformationTransfer channel=UL-DCCH rnti=70 sfn=38 subframe=8 direction=uplink\n"
                          "<L3Message>"),
              std::string::npos);
    EXPECT_NE(legacy.find("# frame=4 time=2023-11-14T22:13:22.000007Z carrier=lte_rrc channel=DL-DCCH rnti=70 sfn=38 "
                          "subframe=8 direction=downlink as_ciphering=EEA2 decoded=no(AS-ciphered)\n"),
              std::string::npos)
        << legacy;
    EXPECT_EQ(counts.nas, 2u);
    EXPECT_EQ(counts.asCipheredRrc, 1u);
    EXPECT_EQ(counts.warnings, 1u);
    const std::string summary = capture::Summary(counts);
    EXPECT_NE(summary.find("radio: 4 LTE RRC PDUs (1 AS-ciphered, not read), 4 MAC PDUs"), std::string::npos) << summary;

    EXPECT_EQ(Read(path.string(), cli::Format::kTsv, &rrc),
              "1\t17b260bfdc00075e\t1\t2023-11-14T22:13:20.000005Z\tlte_rrc:dedicatedInfoNAS\t\n"
              "1\t076023\t1\t2023-11-14T22:13:20.000005Z\tlte_rrc:DedicatedInfoNAS\t\n");
    const std::string json = Read(path.string(), cli::Format::kJson, &rrc);
    EXPECT_NE(json.find("\"carrier\":\"lte_rrc\",\"rrc_field\":\"dedicatedInfoNAS\",\"rrc_message\":"
                        "\"ulInformationTransfer\",\"rrc_channel\":\"UL-DCCH\",\"rnti\":70,\"sfn\":38,\"subframe\":8"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"as_ciphering\":\"EEA2\",\"decoded\":false}"), std::string::npos) << json;
    // -T rrc: the RRC PDUs, whatever reads them.
    const std::string listing = Read(path.string(), cli::Format::kRrc, nullptr);
    EXPECT_EQ(listing.substr(0, listing.find('\n')),
              "1\tul-dcch\t4801aa\tuplink rnti=70 ue_id=0 sfn=38 subframe=8 lcid=1 pdcp_sn=0 count=0 mac_i=a1b2c3d4");
    fs::remove(path);
}

}  // namespace
}  // namespace corvuna::test
