// SPDX-License-Identifier: Apache-2.0
// Whole-corpus robustness: every real message, every prefix of it and
// single-octet mutations decode to a well-formed document within the
// published bound, on one thread and on several at once.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "corvuna/corvuna.h"
#include "support/document_check.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::CheckDocument;
using test::Decode;

// Decodes into a buffer of exactly the published size with a guard zone
// behind it, and checks the document.
void ExpectSoundDecode(int direction, const std::vector<uint8_t>& octets, const std::string& what) {
    std::vector<char> buffer(CORVUNA_MAX_DOCUMENT_LENGTH + 1 + 64, '#');
    buffer[0] = '\0';
    static const uint8_t kNothing = 0;
    const int result = Corvunadecode(direction, octets.empty() ? &kNothing : octets.data(),
                                     static_cast<int>(octets.size()), buffer.data(), 0, 0);
    ASSERT_EQ(result, 1) << what;
    for (size_t i = CORVUNA_MAX_DOCUMENT_LENGTH + 1; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '#') << what;
    const std::string document(buffer.data());
    ASSERT_LE(document.size(), static_cast<size_t>(CORVUNA_MAX_DOCUMENT_LENGTH)) << what;
    const std::string problem = CheckDocument(document, direction);
    ASSERT_TRUE(problem.empty()) << what << ": " << problem << "\n" << document;
}

std::string Describe(const test::CorpusMessage& m, size_t index) {
    return "corpus row " + std::to_string(index + 2) + " (" + m.name + ")";
}

TEST(Corpus, EveryMessageDecodesInBothDirections) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    for (size_t i = 0; i < corpus.size(); ++i) {
        for (int direction : {0, 1}) ExpectSoundDecode(direction, corpus[i].octets, Describe(corpus[i], i));
    }
}

TEST(Corpus, EveryPrefixOfEveryMessageDecodes) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    for (size_t i = 0; i < corpus.size(); ++i) {
        const auto& m = corpus[i];
        for (size_t n = 0; n < m.octets.size(); ++n) {
            const std::vector<uint8_t> prefix(m.octets.begin(), m.octets.begin() + static_cast<long>(n));
            ExpectSoundDecode(m.direction, prefix, Describe(m, i) + " prefix " + std::to_string(n));
            if (HasFatalFailure()) return;
        }
    }
}

TEST(Corpus, SingleOctetMutationsDecode) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    // Every 7th message, every octet position, a handful of replacement values
    // chosen to hit lengths, IEIs and type-1 IEIs.
    const uint8_t replacements[] = {0x00, 0x01, 0x0F, 0x10, 0x7F, 0x80, 0xFE, 0xFF};
    for (size_t i = 0; i < corpus.size(); i += 7) {
        const auto& m = corpus[i];
        for (size_t pos = 0; pos < m.octets.size(); ++pos) {
            for (uint8_t value : replacements) {
                std::vector<uint8_t> mutated = m.octets;
                mutated[pos] = value;
                ExpectSoundDecode(m.direction, mutated, Describe(m, i) + " octet " + std::to_string(pos));
                if (HasFatalFailure()) return;
            }
        }
    }
}

TEST(Corpus, ConcurrentDecodesMatchTheSingleThreadedDocuments) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    std::vector<std::string> expected;
    expected.reserve(corpus.size());
    for (const auto& m : corpus) expected.push_back(Decode(m.direction, m.octets));

    constexpr int kThreads = 4;
    std::atomic<size_t> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            std::vector<char> buffer(CORVUNA_MAX_DOCUMENT_LENGTH + 1);
            // Each thread walks the corpus from its own starting point.
            for (size_t k = 0; k < corpus.size(); ++k) {
                const size_t i = (k + static_cast<size_t>(t) * corpus.size() / kThreads) % corpus.size();
                const auto& m = corpus[i];
                buffer[0] = '\0';
                if (Corvunadecode(m.direction, m.octets.data(), static_cast<int>(m.octets.size()),
                                  buffer.data(), 0, 0) != 1 ||
                    expected[i] != buffer.data()) {
                    ++mismatches;
                }
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(mismatches.load(), 0u);
}

}  // namespace
}  // namespace corvuna
