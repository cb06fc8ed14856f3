// SPDX-License-Identifier: Apache-2.0
// A message's record input (what a host keeps to write the record later)
// read back writes the same record: over real captures of every carrier,
// with keys shown and facts of every kind, and for the largest system frame
// number and subframe the MAC-LTE framing can carry.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "capture/reader.h"
#include "capture/record_input.h"
#include "security/keys.h"
#include "view/json_sink.h"

namespace corvuna::test {
namespace {

namespace fs = std::filesystem;
using namespace corvuna::capture;

std::string Record(const Message& m, bool showKeys) {
    std::vector<char> room(view::kMaxViewOutput + 4096);
    view::JsonSink sink(room.data(), room.size());
    WriteRecord(sink, m, true, showKeys);
    sink.Finish();
    return std::string(room.data(), sink.Length());
}

// The record of `m` against the record of its record input read back.
void ExpectRoundTrip(const Message& m, bool showKeys) {
    std::string input;
    AppendRecordInput(m, showKeys, input);
    auto back = std::make_unique<RecordInput>();
    ASSERT_TRUE(ParseRecordInput(input, *back)) << input;
    EXPECT_EQ(Record(back->message, back->showKeys), Record(m, showKeys)) << "frame " << m.frame;
}

TEST(RecordInput, RealCapturesWriteTheSameRecordsBack) {
    const fs::path dir = fs::path(CORVUNA_SOURCE_DIR) / ".." / "shared" / "captures";
    if (!fs::exists(dir)) GTEST_SKIP() << "the real captures (../shared/captures) are not there; skipped";
    security::KeyStore keys;
    std::string error;
    ASSERT_TRUE(security::ParseKeys(
        "001010000000001 k=bdfdfd2be954a1aa29765db6daeef5e7 opc=358422278845a5632bbfb7b354db103a\n"
        "901700000021309 k=70d49a71dd1a2b806a25abe0ef749f1e opc=6f1bf53d624b3a43af6592854e2444c7\n"
        "* k=465b5ce8b199b49faa5f0a2ee238a6bc opc=e8ed289deba952e4283b54e88e6183ca\n",
        "test", keys, error))
        << error;
    const char* const files[] = {"rrc_dlt147_ltesniffer_ul.pcap", "rrc_dlt149_srsenb_nas_ciphered.pcap",
                                 "gsmtap_rayhunter_goodsim.pcapng", "s1ap_o5gs_testepc.pcapng",
                                 "neg_ngap_5g_registration.pcapng"};
    for (const char* file : files) {
        SCOPED_TRACE(file);
        ReaderOptions options;
        options.keys = &keys;
        options.showKeys = true;
        Reader reader(options);
        ASSERT_TRUE(reader.Open((dir / file).string(), error)) << error;
        Message m;
        size_t messages = 0;
        while (reader.Next(m)) {
            ExpectRoundTrip(m, true);
            if (messages == 0 && m.found->sfn >= 0) {
                // The framing's 12-bit frame number and 4-bit subframe, past
                // what TS 36.211 numbers, are kept as the capture said them.
                FoundNas largest = *m.found;
                largest.sfn = 4095;
                largest.subframe = 15;
                Message copy = m;
                copy.found = &largest;
                ExpectRoundTrip(copy, false);
            }
            ++messages;
        }
        EXPECT_GT(messages, 0u);
    }
}

}  // namespace
}  // namespace corvuna::test
