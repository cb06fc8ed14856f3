// SPDX-License-Identifier: Apache-2.0
#include "support/test_support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "corvuna/corvuna.h"

namespace corvuna::test {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::vector<uint8_t> Hex(std::string_view text) {
    std::vector<uint8_t> octets;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n') continue;
        const int v = HexValue(c);
        if (v < 0) throw std::invalid_argument("bad hex digit in test data");
        if (high < 0) {
            high = v;
        } else {
            octets.push_back(static_cast<uint8_t>(high * 16 + v));
            high = -1;
        }
    }
    if (high >= 0) throw std::invalid_argument("odd number of hex digits in test data");
    return octets;
}

std::string Decode(int direction, const std::vector<uint8_t>& message) {
    std::string buffer(CORVUNA_MAX_DOCUMENT_LENGTH + 1, '\0');
    static const uint8_t kEmpty = 0;
    const uint8_t* data = message.empty() ? &kEmpty : message.data();
    const int result =
        Corvunadecode(direction, data, static_cast<int>(message.size()), buffer.data(), 0, 0);
    if (result != 1) return std::string();
    buffer.resize(buffer.find('\0'));
    return buffer;
}

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

std::string Framed(int direction, std::string_view inner) {
    std::string text = "<L3Message>\n<dir>";
    text += direction == 1 ? "UPLINK" : "DOWNLINK";
    text += "</dir>\n<message>\n";
    text += inner;
    text += "</message>\n</L3Message>\n";
    return text;
}

std::optional<std::vector<CorpusMessage>> LoadCorpus() {
    std::string path;
    if (const char* env = std::getenv("CORVUNA_CORPUS")) {
        path = env;
    } else {
        path = std::string(CORVUNA_SOURCE_DIR) + "/../shared/corpus/real-nas.tsv";
    }
    std::ifstream in(path);
    if (!in) return std::nullopt;
    std::vector<CorpusMessage> messages;
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream fields(line);
        std::string direction, hex, name;
        if (!std::getline(fields, direction, '\t') || !std::getline(fields, hex, '\t')) continue;
        std::getline(fields, name, '\t');
        messages.push_back({direction == "1" ? 1 : 0, Hex(hex), name});
    }
    if (messages.empty()) return std::nullopt;
    return messages;
}

std::optional<std::vector<CorpusMessage>> LoadFiveGsListings() {
    std::string folder;
    if (const char* env = std::getenv("CORVUNA_CAPTURES_5G")) {
        folder = env;
    } else {
        folder = std::string(CORVUNA_SOURCE_DIR) + "/../shared/captures-5g";
    }
    std::error_code error;
    std::vector<std::filesystem::path> listings;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 10 && name.compare(name.size() - 10, 10, ".nas5g.tsv") == 0) listings.push_back(entry.path());
    }
    std::sort(listings.begin(), listings.end());
    std::vector<CorpusMessage> messages;
    for (const auto& path : listings) {
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line[0] == '#') continue;
            // frame, sub, dir, nas_hex, sht, field, procedure
            std::istringstream fields(line);
            std::string frame, sub, direction, hex, sht;
            if (!std::getline(fields, frame, '\t') || !std::getline(fields, sub, '\t') ||
                !std::getline(fields, direction, '\t') || !std::getline(fields, hex, '\t') ||
                !std::getline(fields, sht, '\t')) {
                continue;
            }
            messages.push_back({direction == "1" ? 1 : 0, Hex(hex), path.filename().string() + ":" + frame + ":" + sht});
        }
    }
    if (messages.empty()) return std::nullopt;
    return messages;
}

std::vector<CorpusMessage> LoadSamples() {
    std::ifstream in(std::string(CORVUNA_SOURCE_DIR) + "/samples/messages.tsv");
    if (!in) throw std::runtime_error("samples/messages.tsv not found");
    std::vector<CorpusMessage> samples;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#' || line.rfind("direction", 0) == 0) continue;
        std::istringstream fields(line);
        std::string direction, hex, name;
        std::getline(fields, direction, '\t');
        std::getline(fields, hex, '\t');
        std::getline(fields, name, '\t');
        samples.push_back({direction == "1" ? 1 : 0, Hex(hex), name});
    }
    return samples;
}

uint64_t SeededRandom::Next() {
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::vector<uint8_t> Mutate(const std::vector<uint8_t>& message, SeededRandom& random) {
    // Values that tend to matter in NAS: lengths at their edges, common
    // IEIs and type-1 IEI nibbles.
    static const uint8_t kEdges[] = {0x00, 0x01, 0x02, 0x05, 0x0F, 0x10, 0x27, 0x28, 0x30, 0x50, 0x5B,
                                     0x5D, 0x7F, 0x80, 0x90, 0xC0, 0xD1, 0xFE, 0xFF};
    std::vector<uint8_t> m = message.empty() ? std::vector<uint8_t>{0x07} : message;
    const uint32_t size = static_cast<uint32_t>(m.size());
    const uint32_t at = random.Below(size);
    switch (random.Below(7)) {
        case 0:  // one bit flipped
            m[at] = static_cast<uint8_t>(m[at] ^ (1u << random.Below(8)));
            break;
        case 1:  // one octet replaced by any value
            m[at] = static_cast<uint8_t>(random.Below(256));
            break;
        case 2:  // one octet set to an edge value
            m[at] = kEdges[random.Below(sizeof kEdges)];
            break;
        case 3:  // an octet inserted
            m.insert(m.begin() + at, static_cast<uint8_t>(random.Below(256)));
            break;
        case 4:  // an octet removed (never the last one)
            if (size > 1) m.erase(m.begin() + at);
            break;
        case 5: {  // a run repeated after itself
            const uint32_t run = 1 + random.Below(size - at < 16 ? size - at : 16);
            const std::vector<uint8_t> copy(m.begin() + at, m.begin() + at + run);
            m.insert(m.begin() + at + run, copy.begin(), copy.end());
            break;
        }
        default:  // cut short, or random octets appended
            if (size > 2 && random.Below(2) == 0) {
                m.resize(1 + at);
            } else {
                for (uint32_t n = 1 + random.Below(24); n > 0; --n) m.push_back(static_cast<uint8_t>(random.Below(256)));
            }
            break;
    }
    return m;
}

}  // namespace corvuna::test
