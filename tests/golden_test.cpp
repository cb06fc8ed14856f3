// The golden-document net: a digest of the document and the result of
// Corvunadecode for every corpus message in both directions, every prefix of
// a sample of them, a few thousand seeded mutations of the sample messages
// and the sample messages themselves, held in tests/golden/documents.golden.
// Any change to any byte of any of those documents fails and names the
// message.  scripts/update-golden.sh rewrites the file; run it only when the
// documents are meant to change.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "corvuna/corvuna.h"
#include "support/test_support.h"

namespace corvuna::test {
namespace {

constexpr char kGoldenPath[] = "/tests/golden/documents.golden";
constexpr uint64_t kMutationSeed = 0x43C0F1A5EEDull;
constexpr int kMutationsPerSample = 120;
// Every this-many-th corpus message, besides the first of each type, has
// all its prefixes in the net.
constexpr size_t kPrefixStride = 40;

struct Case {
    int direction;
    std::vector<uint8_t> octets;
};

std::string Describe(const Case& c) {
    std::string text = c.direction == 1 ? "uplink " : "downlink ";
    static const char kDigits[] = "0123456789abcdef";
    for (uint8_t o : c.octets) {
        text += kDigits[o >> 4];
        text += kDigits[o & 0x0F];
    }
    if (c.octets.empty()) text += "(no octets)";
    return text;
}

// FNV-1a over the result and the document, folded to 32 bits.
uint32_t Digest(const Case& c) {
    std::string buffer(CORVUNA_MAX_DOCUMENT_LENGTH + 1, '\0');
    static const uint8_t kNothing = 0;
    const int result = Corvunadecode(c.direction, c.octets.empty() ? &kNothing : c.octets.data(),
                                     static_cast<int>(c.octets.size()), buffer.data(), 0, 0);
    uint64_t h = 0xCBF29CE484222325ull;
    auto mix = [&h](uint8_t byte) {
        h ^= byte;
        h *= 0x100000001B3ull;
    };
    mix(static_cast<uint8_t>(result));
    for (const char* p = buffer.c_str(); *p != '\0'; ++p) mix(static_cast<uint8_t>(*p));
    return static_cast<uint32_t>(h ^ (h >> 32));
}

// The cases of each section, in a fixed order.
std::map<std::string, std::vector<Case>> Sections(bool& corpusFound) {
    std::map<std::string, std::vector<Case>> sections;
    const std::vector<CorpusMessage> samples = LoadSamples();
    for (const CorpusMessage& m : samples) {
        for (int direction : {m.direction, 1 - m.direction}) sections["samples"].push_back({direction, m.octets});
    }
    SeededRandom random(kMutationSeed);
    for (const CorpusMessage& m : samples) {
        std::vector<uint8_t> octets = m.octets;
        for (int i = 0; i < kMutationsPerSample; ++i) {
            // Mutations pile up for a few steps, then start again from the sample.
            octets = Mutate(i % 4 == 0 ? m.octets : octets, random);
            sections["mutations"].push_back({static_cast<int>(random.Below(2)), octets});
        }
    }
    const auto corpus = LoadCorpus();
    corpusFound = corpus.has_value();
    if (!corpus) return sections;
    std::set<std::string> typesSeen;
    for (size_t i = 0; i < corpus->size(); ++i) {
        const CorpusMessage& m = (*corpus)[i];
        for (int direction : {0, 1}) sections["corpus"].push_back({direction, m.octets});
        if (typesSeen.insert(m.name).second || i % kPrefixStride == 0) {
            for (size_t n = 0; n < m.octets.size(); ++n) {
                sections["prefixes"].push_back({m.direction, {m.octets.begin(), m.octets.begin() + static_cast<long>(n)}});
            }
        }
    }
    return sections;
}

// The file: "section NAME COUNT" lines, each followed by its digests as
// eight hex digits, eight to a line.
std::map<std::string, std::vector<uint32_t>> ReadGolden(const std::string& path) {
    std::map<std::string, std::vector<uint32_t>> golden;
    std::ifstream in(path);
    std::string line;
    std::vector<uint32_t>* current = nullptr;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "section") {
            std::string name;
            words >> name;
            current = &golden[name];
            continue;
        }
        if (current == nullptr) continue;
        do {
            current->push_back(static_cast<uint32_t>(std::stoul(word, nullptr, 16)));
        } while (words >> word);
    }
    return golden;
}

void WriteGolden(const std::string& path, const std::map<std::string, std::vector<Case>>& sections) {
    std::ofstream out(path);
    out << "# Digests of the documents Corvunadecode writes (FNV-1a of the result and the\n"
           "# document, folded to 32 bits); read by tests/golden_test.cpp, which lists the\n"
           "# cases.  Written by scripts/update-golden.sh: a changed line means changed\n"
           "# documents.\n";
    for (const auto& [name, cases] : sections) {
        out << "section " << name << " " << cases.size() << "\n";
        for (size_t i = 0; i < cases.size(); ++i) {
            char digits[9];
            std::snprintf(digits, sizeof digits, "%08x", Digest(cases[i]));
            out << digits << ((i % 8 == 7 || i + 1 == cases.size()) ? "\n" : " ");
        }
    }
}

TEST(GoldenDocuments, EveryDocumentIsAsRecorded) {
    bool corpusFound = false;
    const auto sections = Sections(corpusFound);
    const std::string path = std::string(CORVUNA_SOURCE_DIR) + kGoldenPath;
    if (const char* update = std::getenv("CORVUNA_GOLDEN_UPDATE"); update != nullptr && *update != '\0') {
        ASSERT_TRUE(corpusFound) << "the golden file is written from the whole corpus, which was not found";
        WriteGolden(path, sections);
        GTEST_SKIP() << "golden file written: " << path;
    }
    const auto golden = ReadGolden(path);
    ASSERT_FALSE(golden.empty()) << path << " is missing or empty";
    if (!corpusFound) std::printf("note: real-message corpus not found; its sections are skipped\n");
    for (const auto& [name, cases] : sections) {
        SCOPED_TRACE("section " + name);
        const auto recorded = golden.find(name);
        ASSERT_NE(recorded, golden.end()) << "no digests recorded for this section";
        ASSERT_EQ(recorded->second.size(), cases.size()) << "the section's cases changed; the file is stale";
        int reported = 0;
        size_t changed = 0;
        for (size_t i = 0; i < cases.size(); ++i) {
            if (Digest(cases[i]) == recorded->second[i]) continue;
            ++changed;
            if (reported++ < 20) ADD_FAILURE() << "document changed: " << Describe(cases[i]);
        }
        EXPECT_EQ(changed, 0u) << "documents changed in this section";
    }
    EXPECT_EQ(golden.size(), corpusFound ? sections.size() : sections.size() + 2);
}

}  // namespace
}  // namespace corvuna::test
