// SPDX-License-Identifier: Apache-2.0
// Helpers shared by the unit tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna::test {

// Octets from hex text; blanks are ignored ("07 41 71" or "074171").
std::vector<uint8_t> Hex(std::string_view text);

// The document Corvunadecode appends to an empty buffer (empty string when
// it returns 0).
std::string Decode(int direction, const std::vector<uint8_t>& message);
inline std::string Decode(int direction, std::string_view hex) { return Decode(direction, Hex(hex)); }

// Lines joined, each ended by "\n".
std::string Lines(std::initializer_list<std::string_view> lines);

// The document frame around `inner` (lines already ended by "\n").
std::string Framed(int direction, std::string_view inner);

// A renderer's output: runs `render` against a fresh document handle.
template <typename Render>
std::string Rendered(Render render) {
    std::string text(1 << 16, '\0');
    OutputDocument out = MakeDocument(text.data(), 0, text.size());
    render(out);
    text.resize(out.Length());
    return text;
}

// A message parser's record for `body` (the octets after the message type).
template <typename Record>
Record ParseBody(void (*parse)(int, BitCursor&, Record&), int direction, const std::vector<uint8_t>& body) {
    Record record{};
    BitCursor cursor;
    LoadBody(cursor, body.empty() ? nullptr : body.data(), static_cast<int32_t>(body.size()));
    parse(direction, cursor, record);
    return record;
}

struct CorpusMessage {
    int direction;
    std::vector<uint8_t> octets;
    std::string name;  // message type name as the corpus gives it
};

// The real-message corpus (../shared/corpus/real-nas.tsv beside the project,
// or the file named by CORVUNA_CORPUS); nullopt when it is not there.
std::optional<std::vector<CorpusMessage>> LoadCorpus();

// Every NAS PDU of tshark's listings of the 5G captures
// (../shared/captures-5g/*.nas5g.tsv beside the project, or the folder named
// by CORVUNA_CAPTURES_5G), in file and frame order; `name` is
// "FILE:FRAME:SHT" with SHT the listing's security header type column (0-4,
// or "sm" for a bare 5GSM PDU).  nullopt when there is no listing.
std::optional<std::vector<CorpusMessage>> LoadFiveGsListings();

// The project's sample messages (samples/messages.tsv), in file order.
std::vector<CorpusMessage> LoadSamples();

// A deterministic pseudo-random sequence (splitmix64): the same seed gives
// the same numbers on every platform and standard library.
class SeededRandom {
public:
    explicit SeededRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // A number in 0 .. bound-1 (bound > 0).
    uint32_t Below(uint32_t bound) { return static_cast<uint32_t>(Next() % bound); }

private:
    uint64_t state_;
};

// One mutation of `message`: an octet changed, inserted or removed, a run
// repeated, the message cut, or a length-like octet set to an edge value.
// Messages stay non-empty and at most 255 octets longer than they were.
std::vector<uint8_t> Mutate(const std::vector<uint8_t>& message, SeededRandom& random);

// Skip the current test with a message when the corpus is absent.
#define CORVUNA_REQUIRE_CORPUS(var)                                            \
    auto var##_loaded = ::corvuna::test::LoadCorpus();                         \
    if (!var##_loaded) GTEST_SKIP() << "real-message corpus not found; skipped"; \
    const auto& var = *var##_loaded

}  // namespace corvuna::test
