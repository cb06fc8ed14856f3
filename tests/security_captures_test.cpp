// SPDX-License-Identifier: Apache-2.0
// NAS security on real captures (read from ../shared/captures at run time,
// skipped when absent): the S6a answers' KASMEs against Milenage and the
// KDF with the open5gs subscriber keys; every protected message that
// follows its UE's SECURITY MODE COMMAND on the same association has its
// MAC verified, with the test keys or with the capture's own KASMEs; and
// real messages ciphered here with 128-EEA1/2/3 under keys derived from a
// real authentication decode back to what they were.
#include <gtest/gtest.h>

#include "corvuna/corvuna.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "capture/capture_file.h"
#include "capture/diameter.h"
#include "capture/frames.h"
#include "cli/capture_run.h"
#include "security/kdf.h"
#include "security/keys.h"
#include "security/milenage.h"
#include "security/nas_algorithms.h"
#include "support/capture_builders.h"
#include "support/test_support.h"

namespace corvuna::test {
namespace {

namespace fs = std::filesystem;
using namespace corvuna::security;

// The open5gs test-suite subscribers (../shared/captures/README.md).
constexpr const char* kOpen5gsKeys = "* k=465b5ce8b199b49faa5f0a2ee238a6bc opc=e8ed289deba952e4283b54e88e6183ca\n";

fs::path CapturesDir() { return fs::path(CORVUNA_SOURCE_DIR) / ".." / "shared" / "captures"; }

std::string RunWith(const std::string& path, cli::Format format, const KeyStore* keys, bool captureKeys,
                cli::CaptureCounts* counts = nullptr) {
    cli::CaptureOptions options;
    options.format = format;
    options.keys = keys;
    options.captureKeys = captureKeys;
    if (path.find("dlt150") != std::string::npos) {  // S1AP PDUs in user link type 150
        options.users[3] = capture::UserPayload::kS1ap;
        options.usersGiven[3] = true;
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

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(SecurityCaptures, S6aKasmesAreWhatMilenageAndTheKdfGive) {
    if (!fs::exists(CapturesDir())) GTEST_SKIP() << "the real captures (../shared/captures) are not there; skipped";
    if (!MilenageAvailable()) GTEST_SKIP() << "built without libcrypto";
    const Key128 k = *FixedFromHex<16>("465b5ce8b199b49faa5f0a2ee238a6bc");
    const Key128 opc = *FixedFromHex<16>("e8ed289deba952e4283b54e88e6183ca");
    // testattach carries Diameter over SCTP, testepc over TCP.
    for (const char* name : {"s1ap_o5gs_testattach.pcapng", "s1ap_o5gs_testepc.pcapng"}) {
        SCOPED_TRACE(name);
        capture::CaptureFile file;
        std::string error;
        ASSERT_TRUE(file.Open((CapturesDir() / name).string(), error)) << error;
        capture::FrameDecoder decoder;
        capture::S6aMatcher matcher;
        capture::CapturedFrame frame;
        size_t vectors = 0, withPlmn = 0, ours = 0;
        std::set<std::string> others;
        while (file.Next(frame, error) == 1) {
            decoder.Decode(file.linkType(), frame.data, frame.wireLength);
            for (const capture::Bytes& message : decoder.diameter()) {
                capture::S6aAuthentication m;
                if (capture::ParseDiameter(message, m) != capture::DiameterResult::kS6aAuthentication) continue;
                capture::S6aVectors v;
                if (!matcher.Take(m, v)) continue;
                EXPECT_EQ(v.imsi.size(), 15u) << "frame " << frame.number;
                for (const capture::EutranVector& e : v.vectors) {
                    ++vectors;
                    const auto aka = MilenageAka(k, opc, e.rand, e.autn);
                    ASSERT_TRUE(aka.has_value());
                    if (!aka->macMatches) {
                        // A subscriber of other keys: the AUTN's MAC says so.
                        others.insert(v.imsi);
                        continue;
                    }
                    ++ours;
                    EXPECT_EQ(ToHex(std::span(aka->res).first(e.xres.size())), ToHex(e.xres));
                    ASSERT_TRUE(v.hasVisitedPlmn);
                    ++withPlmn;
                    const auto kasme = DeriveKasme(aka->ck, aka->ik, v.visitedPlmn, aka->sqnXorAk);
                    ASSERT_TRUE(kasme.has_value());
                    EXPECT_EQ(ToHex(*kasme), ToHex(e.kasme)) << "frame " << frame.number;
                }
            }
        }
        std::string otherList;
        for (const std::string& imsi : others) otherList += " " + imsi;
        std::printf("[ s6a      ] %-32s %zu vectors, %zu of the test keys with KASME = Milenage + KDF; other keys:%s\n",
                    name, vectors, ours, otherList.empty() ? " none" : otherList.c_str());
        EXPECT_GE(ours, 10u);
        EXPECT_EQ(withPlmn, ours);
    }
}

// Each protected message of a capture, with what the tracker made of it
// and whether its UE association had a SECURITY MODE COMMAND before it.
struct Protected {
    std::string frame;
    bool afterModeCommand;
    std::string mac;
    std::string body;
};

std::vector<Protected> ProtectedMessages(const std::string& path, const KeyStore* keys, bool captureKeys,
                                         cli::CaptureCounts& counts) {
    const std::vector<std::string> tsv = Lines(RunWith(path, cli::Format::kTsv, keys, captureKeys));
    const std::vector<std::string> json = Lines(RunWith(path, cli::Format::kJson, keys, captureKeys, &counts));
    EXPECT_EQ(tsv.size(), json.size());
    std::vector<Protected> out;
    std::map<std::string, bool> modeCommandSeen;  // by eNB UE S1AP id
    for (size_t i = 0; i < tsv.size() && i < json.size(); ++i) {
        std::vector<std::string> f;
        std::istringstream fields(tsv[i]);
        for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
        const nlohmann::json j = nlohmann::json::parse(json[i]);
        const std::string association = j.contains("enb_ue_s1ap_id") ? j["enb_ue_s1ap_id"].dump() : "";
        const std::string& hex = f[1];
        // An INITIAL UE MESSAGE starts a new UE association.
        if (j.value("procedure_code", -1) == 12) modeCommandSeen[association] = false;
        const int sht = std::stoi(hex.substr(0, 1), nullptr, 16);
        if (hex[1] != '7' || sht == 0) continue;
        const nlohmann::json& ciphering = j["view"]["message"]["ciphering"];
        Protected p{f[2], modeCommandSeen[association], ciphering["mac"], ciphering["body"]};
        out.push_back(p);
        if (sht == 3 && hex.size() >= 16 && hex.substr(12, 4) == "075d") modeCommandSeen[association] = true;
    }
    return out;
}

TEST(SecurityCaptures, ProtectedMessagesAfterTheirSecurityModeCommandVerify) {
    if (!fs::exists(CapturesDir())) GTEST_SKIP() << "the real captures (../shared/captures) are not there; skipped";
    if (!MilenageAvailable()) GTEST_SKIP() << "built without libcrypto";
    KeyStore open5gs, srsran;
    std::string error;
    ASSERT_TRUE(ParseKeys(kOpen5gsKeys, "open5gs", open5gs, error)) << error;
    // The subscriber of the srsRAN captures (README of the captures).
    ASSERT_TRUE(ParseKeys("001010000000001 k=bdfdfd2be954a1aa29765db6daeef5e7 opc=358422278845a5632bbfb7b354db103a\n",
                          "srsran", srsran, error))
        << error;
    const struct {
        const char* file;
        const KeyStore* keys;
        bool captureKeys;
        size_t minimumVerified;
    } cases[] = {
        // The test keys alone (the S6a answers unused).
        {"s1ap_o5gs_testattach.pcapng", &open5gs, false, 75},
        // Subscriber 001010000000002 of testepc has another K (its RES
        // differs): the S6a answers are used beside the test keys.
        {"s1ap_o5gs_testepc.pcapng", &open5gs, true, 127},
        // No keys at all: the KASMEs of the capture's S6a answers.
        {"s1ap_o5gs_srsenb_iphonexs.pcapng", nullptr, true, 15},
        {"s1ap_o5gs_srsenb_2022.pcapng", nullptr, true, 6},
        {"s1ap_magma_32ue.pcapng", nullptr, true, 288},
        {"s1ap_sll_quectel.pcapng", nullptr, true, 22},
        // srsEPC with the srsRAN subscriber's K and OPc.
        {"s1ap_dlt150_srsepc.pcap", &srsran, false, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        cli::CaptureCounts counts;
        const std::vector<Protected> messages =
            ProtectedMessages((CapturesDir() / c.file).string(), c.keys, c.captureKeys, counts);
        size_t checked = 0, wrong = 0;
        for (const Protected& p : messages) {
            if (p.body != "not_ciphered") {
                EXPECT_NE(p.body, "left_ciphered") << "frame " << p.frame;
            }
            if (!p.afterModeCommand) continue;
            ++checked;
            wrong += p.mac != "verified";
            EXPECT_EQ(p.mac, "verified") << "frame " << p.frame;
        }
        EXPECT_GE(counts.macVerified, c.minimumVerified);
        EXPECT_GT(checked, 0u);
        std::printf("[ security ] %-34s %3zu protected: %3lu verified, %2lu failed, %2lu unverifiable; "
                    "all %zu after their SECURITY MODE COMMAND verified: %s\n",
                    c.file, messages.size(), counts.macVerified, counts.macFailed, counts.macUnverifiable, checked,
                    wrong == 0 ? "yes" : "NO");
    }
    // Without keys of either kind nothing is verified, and each says why.
    cli::CaptureCounts counts;
    ProtectedMessages((CapturesDir() / "s1ap_o5gs_srsenb_iphonexs.pcapng").string(), nullptr, false, counts);
    EXPECT_EQ(counts.macVerified, 0u);
    EXPECT_EQ(counts.macFailed, 0u);
    EXPECT_GT(counts.unverifiableWhy["no key"], 0u);
}

// The open5gs 5GC test run: its subscriber's K and OPc (which the UDM's
// own answers in the capture show) give, by 5G AKA, RES* equal to what the
// UE sent and the KAMF whose 128-5G-IA1 key verifies every protected 5GMM
// message; the EPS test pair gives a RES* the UE did not send and no MAC.
TEST(SecurityCaptures, FiveGKeyChainVerifiesTheOpen5gsRegistrations) {
    const fs::path path = CapturesDir() / "neg_ngap_5g_registration.pcapng";
    if (!fs::exists(path)) GTEST_SKIP() << path << " is not there; skipped";
    if (!MilenageAvailable()) GTEST_SKIP() << "built without libcrypto";
    const struct {
        const char* keys;
        const char* resCheck;
        bool verified;
    } cases[] = {
        {"* k=70d49a71dd1a2b806a25abe0ef749f1e opc=6f1bf53d624b3a43af6592854e2444c7\n", "equal", true},
        {kOpen5gsKeys, "different", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        KeyStore keys;
        std::string error;
        ASSERT_TRUE(ParseKeys(c.keys, "test", keys, error)) << error;
        cli::CaptureCounts counts;
        size_t protectedMessages = 0, responses = 0, verified = 0;
        for (const std::string& line : Lines(RunWith(path.string(), cli::Format::kJson, &keys, false, &counts))) {
            const nlohmann::json j = nlohmann::json::parse(line);
            const nlohmann::json& message = j["view"]["message"];
            if (!j["security"]["res_check"].is_null()) {
                ++responses;
                EXPECT_EQ(j["security"]["res_check"], c.resCheck) << "frame " << j["frame"];
            }
            if (message["name"] != "security_protected_nas_message") continue;
            ++protectedMessages;
            const nlohmann::json& facts = message["ciphering"];
            verified += facts["mac"] == "verified";
            if (c.verified) {
                EXPECT_EQ(facts["mac"], "verified") << "frame " << j["frame"];
                EXPECT_EQ(facts["integrity_algorithm"]["text"], "5G integrity algorithm 128-5G-IA1");
                EXPECT_NE(facts["body"], "left_ciphered") << "frame " << j["frame"];
            }
        }
        EXPECT_GT(responses, 10u);
        EXPECT_GT(protectedMessages, 1000u);
        EXPECT_EQ(counts.macVerified, verified);
        if (!c.verified) {
            EXPECT_EQ(verified, 0u);
        }
        std::printf("[ 5g keys  ] %zu protected 5GMM messages, %zu verified; %zu RES* %s\n", protectedMessages,
                    verified, responses, c.resCheck);
    }
}

// ---------------------------------------------------------------------------
// Real messages ciphered here

struct Listed {
    int direction;
    Octets octets;
};

// The standard view of a plain message, as JSON.
nlohmann::json ViewJson(int direction, const Octets& octets) {
    std::vector<char> buffer(CORVUNA_MAX_VIEW_LENGTH + 1);
    CorvunaDecodeView(direction, octets.data(), static_cast<int>(octets.size()), CORVUNA_VIEW_JSON, 0, buffer.data(),
                      buffer.size(), nullptr);
    return nlohmann::json::parse(buffer.data());
}

// A message as the view decodes it, its octet offsets apart (a deciphered
// body stands 6 octets into the protected message).
nlohmann::json IeValues(nlohmann::json message) {
    const auto strip = [](auto& self, nlohmann::json& node) -> void {
        if (node.is_object()) {
            node.erase("offset");
            for (auto& [key, value] : node.items()) self(self, value);
        } else if (node.is_array()) {
            for (auto& value : node) self(self, value);
        }
    };
    strip(strip, message);
    return message;
}

std::vector<Listed> ListingRows(const std::string& stem, int firstFrame, int lastFrame) {
    std::vector<Listed> rows;
    std::ifstream listing(CapturesDir() / (stem + ".nas.tsv"));
    for (std::string line; std::getline(listing, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
        const int frame = std::stoi(f[0]);
        if (frame >= firstFrame && frame <= lastFrame) rows.push_back({std::stoi(f[2]), Hex(f[3])});
    }
    return rows;
}

TEST(SecurityCaptures, RealMessagesCipheredWithEachAlgorithmDecodeBack) {
    if (!fs::exists(CapturesDir())) GTEST_SKIP() << "the real captures (../shared/captures) are not there; skipped";
    if (!MilenageAvailable()) GTEST_SKIP() << "built without libcrypto";
    // The first attach of testattach (frames 43 to 70): ATTACH REQUEST,
    // authentication, security mode, ESM information, ATTACH ACCEPT and
    // COMPLETE, EMM INFORMATION, all sent with EEA0 and 128-EIA1.
    const std::vector<Listed> rows = ListingRows("s1ap_o5gs_testattach", 43, 70);
    ASSERT_EQ(rows.size(), 10u);
    KeyStore keys;
    std::string error;
    ASSERT_TRUE(ParseKeys(kOpen5gsKeys, "open5gs", keys, error)) << error;
    // The keys this attach gives, computed here from the AUTHENTICATION
    // REQUEST's RAND and AUTN (octets 3-18 and 20-35) and the serving network
    // of the test network (MCC 901, MNC 70).
    const Octets& request = rows[1].octets;
    ASSERT_EQ(request[1], 0x52);
    Rand rand{};
    Autn autn{};
    std::copy(request.begin() + 3, request.begin() + 19, rand.begin());
    std::copy(request.begin() + 20, request.begin() + 36, autn.begin());
    const SubscriberKeys* k = keys.Find("");
    const auto aka = MilenageAka(k->k, k->opc, rand, autn);
    ASSERT_TRUE(aka && aka->macMatches);
    const auto kasme = DeriveKasme(aka->ck, aka->ik, Plmn{0x09, 0xf1, 0x07}, aka->sqnXorAk);
    ASSERT_TRUE(kasme.has_value());

    NasAlgorithms algorithms;
    for (int algorithm = 1; algorithm <= 3; ++algorithm) {
        SCOPED_TRACE("EEA/EIA " + std::to_string(algorithm));
        if (CipheringUnavailable(algorithm) != nullptr || IntegrityUnavailable(algorithm) != nullptr) {
            std::printf("[ skipped  ] 128-EEA%d/EIA%d unavailable in this build\n", algorithm, algorithm);
            continue;
        }
        const Key128 enc = *DeriveNasKey(*kasme, kNasEncAlgorithm, static_cast<uint8_t>(algorithm));
        const Key128 integrity = *DeriveNasKey(*kasme, kNasIntAlgorithm, static_cast<uint8_t>(algorithm));
        std::vector<TestFrame> frames;
        std::vector<Octets> originals;  // the inner plain message of each protected one
        uint32_t second = 1;
        for (size_t i = 0; i < rows.size(); ++i) {
            Octets nas = rows[i].octets;
            const int sht = nas[0] >> 4;
            if (i == 0) {
                nas.erase(nas.begin(), nas.begin() + 6);  // the ATTACH REQUEST as a plain message
            } else if (sht >= 1 && sht <= 4) {
                Octets inner(nas.begin() + 6, nas.end());
                if (inner[0] == 0x07 && inner[1] == 0x5D) inner[2] = static_cast<uint8_t>(algorithm << 4 | algorithm);
                originals.push_back(inner);
                const uint32_t count = nas[5];
                const uint8_t direction = rows[i].direction == 1 ? kDirectionUplink : kDirectionDownlink;
                if (sht == 2 || sht == 4) {
                    Octets out(inner.size());
                    ASSERT_TRUE(algorithms.Cipher(algorithm, enc, count, 0, direction, inner, inner.size() * 8,
                                                  out.data()));
                    inner = out;
                }
                Octets covered{nas[5]};
                covered.insert(covered.end(), inner.begin(), inner.end());
                const auto mac = algorithms.Mac(algorithm, integrity, count, 0, direction, covered, covered.size() * 8);
                ASSERT_TRUE(mac.has_value());
                nas = {nas[0], static_cast<uint8_t>(*mac >> 24), static_cast<uint8_t>(*mac >> 16),
                       static_cast<uint8_t>(*mac >> 8), static_cast<uint8_t>(*mac), nas[5]};
                nas.insert(nas.end(), inner.begin(), inner.end());
            }
            const int procedure = i == 0 ? 12 : rows[i].direction == 1 ? 13 : 11;
            std::vector<Octets> ies = {S1apIe(8, S1apEnbUeIdValue(7)), S1apIe(26, S1apNasPduValue(nas))};
            if (i > 0) ies.insert(ies.begin(), S1apIe(0, S1apMmeUeIdValue(9)));
            const Octets pdu = S1apPdu(0, procedure, ies);
            frames.push_back({second++, 0,
                              Ethernet(0x0800, Ipv4(132, Sctp(36412, 36412, {{3, second, 1, 18, pdu}})), 0)});
        }
        const fs::path path = fs::temp_directory_path() / ("corvuna-security-eea" + std::to_string(algorithm) + ".pcap");
        const Octets file = PcapFile(1, frames);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        cli::CaptureCounts counts;
        const std::vector<std::string> lines = Lines(RunWith(path.string(), cli::Format::kJson, &keys, false, &counts));
        ASSERT_EQ(lines.size(), rows.size());
        size_t protectedSeen = 0, deciphered = 0;
        for (const std::string& line : lines) {
            const nlohmann::json j = nlohmann::json::parse(line);
            const nlohmann::json& message = j["view"]["message"];
            if (message["name"] != "security_protected_nas_message") continue;
            const nlohmann::json& facts = message["ciphering"];
            ASSERT_LT(protectedSeen, originals.size());
            EXPECT_EQ(facts["mac"], "verified") << line;
            EXPECT_EQ(facts["integrity_algorithm"]["value"].get<int>(), algorithm) << line;
            EXPECT_EQ(facts["key_source"], "k") << line;
            const int sht = message["security_header_type"]["value"].get<int>();
            if (sht == 2 || sht == 4) {
                ++deciphered;
                EXPECT_EQ(facts["body"], "deciphered") << line;
                EXPECT_EQ(facts["algorithm"]["value"].get<int>(), algorithm);
                // The deciphered message is the original: the view decodes
                // it to the same IEs as the original itself.
                EXPECT_EQ(j["view"]["result"], "decoded") << line;
                EXPECT_EQ(IeValues(message["message"]), IeValues(ViewJson(j["direction"] == "uplink" ? 1 : 0,
                                                                          originals[protectedSeen])["message"]))
                    << line;
            }
            ++protectedSeen;
        }
        EXPECT_EQ(protectedSeen, originals.size());
        EXPECT_EQ(deciphered, 6u);
        EXPECT_EQ(counts.deciphered, 6u);
        EXPECT_EQ(counts.macFailed, 0u);
        std::printf("[ ciphered ] 128-EEA%d/EIA%d: %zu protected messages verified, %zu deciphered back to the "
                    "originals\n",
                    algorithm, algorithm, protectedSeen, deciphered);
        fs::remove(path);
    }
}

}  // namespace
}  // namespace corvuna::test
