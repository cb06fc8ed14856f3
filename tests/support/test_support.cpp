#include "support/test_support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

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

}  // namespace corvuna::test
