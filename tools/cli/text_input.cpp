// SPDX-License-Identifier: Apache-2.0
#include "cli/text_input.h"

#include <cctype>

namespace corvuna::cli {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

constexpr int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ':' || c == '-' || c == '.'; }

}  // namespace

std::optional<int> ParseDirection(std::string_view text) {
    if (text.size() == 1 && (text[0] == '0' || text[0] == '1')) return text[0] - '0';  // the common case
    text = Trim(text);
    for (std::string_view word : {"1", "ul", "up", "uplink"}) {
        if (EqualsIgnoringCase(text, word)) return kUplink;
    }
    for (std::string_view word : {"0", "dl", "down", "downlink"}) {
        if (EqualsIgnoringCase(text, word)) return kDownlink;
    }
    return std::nullopt;
}

namespace {

// Per character: its hex digit value, or kSeparator, or kOther.
constexpr int8_t kSeparator = -1;
constexpr int8_t kOther = -2;
constexpr auto kHexClass = [] {
    struct Table {
        int8_t value[256];
    } table{};
    for (int c = 0; c < 256; ++c) {
        table.value[c] = HexDigit(static_cast<char>(c)) >= 0 ? static_cast<int8_t>(HexDigit(static_cast<char>(c)))
                         : IsSeparator(static_cast<char>(c)) ? kSeparator
                                                              : kOther;
    }
    return table;
}();

// Why `text` is no hex, found the slow way once the fast reading failed.
std::string HexError(std::string_view text) {
    size_t digits = 0;
    bool pendingHalf = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsSeparator(c)) {
            if (pendingHalf) {
                return "odd number of hex digits before '" + Printable(text.substr(i, 1)) + "' at column " +
                       std::to_string(i + 1);
            }
            continue;
        }
        if (!pendingHalf && c == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
            (i == 0 || IsSeparator(text[i - 1]))) {
            ++i;
            continue;
        }
        if (HexDigit(c) < 0) return "not a hex digit: '" + Printable(text.substr(i, 1)) + "' at column " + std::to_string(i + 1);
        ++digits;
        pendingHalf = !pendingHalf;
    }
    if (digits == 0) return "no hex digits";
    return "odd number of hex digits (" + std::to_string(digits) + ")";
}

}  // namespace

size_t ParseHexInto(std::string_view text, uint8_t* octets, std::string& error) {
    uint8_t* out = octets;
    const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto* p = begin;
    const auto* const end = p + text.size();
    bool ok = true;
    while (p < end) {
        const int8_t high = kHexClass.value[*p];
        if (high >= 0 && p + 1 < end) {
            const int8_t low = kHexClass.value[p[1]];
            if (low >= 0) {
                *out++ = static_cast<uint8_t>(high * 16 + low);
                p += 2;
                continue;
            }
            // "0x" at the start of a run of digits is a prefix, not an octet.
            if (high == 0 && (p[1] == 'x' || p[1] == 'X') && (p == begin || kHexClass.value[p[-1]] == kSeparator)) {
                p += 2;
                continue;
            }
            ok = false;
            break;
        }
        if (high == kSeparator) {
            ++p;
            continue;
        }
        ok = false;
        break;
    }
    const size_t count = static_cast<size_t>(out - octets);
    if (ok && count > 0 && count <= 0x7FFFFFFF) return count;
    error = count > 0x7FFFFFFF ? "message too long" : HexError(text);
    return 0;
}

bool ParseHex(std::string_view text, std::vector<uint8_t>& octets, std::string& error) {
    octets.resize(text.size() / 2 + 1);
    octets.resize(ParseHexInto(text, octets.data(), error));
    return !octets.empty();
}

InputLine ClassifyLine(std::string_view line) {
    InputLine result;
    if (line.substr(0, kByteOrderMark.size()) == kByteOrderMark) line.remove_prefix(kByteOrderMark.size());
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') return result;
    const size_t tab = line.find('\t');
    const std::string_view first = Trim(line.substr(0, tab));
    if (EqualsIgnoringCase(first, "direction")) return result;  // a header line
    if (tab == std::string_view::npos) {
        result.kind = InputLine::Kind::kMessage;
        result.hex = trimmed;
        return result;
    }
    const std::string_view rest = line.substr(tab + 1);
    const std::string_view second = rest.substr(0, rest.find('\t'));
    if (auto direction = ParseDirection(first)) {
        result.kind = InputLine::Kind::kMessage;
        result.direction = direction;
        result.hex = Trim(second);
        return result;
    }
    std::vector<uint8_t> octets;
    std::string error;
    if (first.size() >= 2 && ParseHex(first, octets, error)) {
        // HEX<TAB>anything: the further columns are notes.
        result.kind = InputLine::Kind::kMessage;
        result.hex = first;
        return result;
    }
    result.kind = InputLine::Kind::kError;
    result.error = "unknown direction '" + Printable(first) + "' (use 1, ul, uplink, 0, dl or downlink)";
    return result;
}

size_t HeaderOctets(const uint8_t* message, size_t length) {
    if (length == 0) return 1;
    switch (message[0] & 0x0F) {
        case 7:
            return 2;
        case 2:
            return 3;
        default:
            return 1;
    }
}

std::string Printable(std::string_view text, size_t limit) {
    static const char kDigits[] = "0123456789abcdef";
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (shown.size() >= limit) {
            shown += "...";
            break;
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F) {
            shown += static_cast<char>(c);
        } else {
            shown += "\\x";
            shown += kDigits[c >> 4];
            shown += kDigits[c & 0x0F];
        }
    }
    return shown;
}

std::string MessageKey(std::string_view name) {
    std::string key;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalnum(u)) {
            key += static_cast<char>(std::tolower(u));
        } else if (!key.empty() && key.back() != '_') {
            key += '_';
        }
    }
    while (!key.empty() && key.back() == '_') key.pop_back();
    return key;
}

std::string TsvHeader(bool captures, bool fileColumn) {
    if (!captures) return "direction\thex\n";
    return std::string("direction\thex\tframe\ttime\tcarrier\tdirection_source") + (fileColumn ? "\tfile" : "") + "\n";
}

}  // namespace corvuna::cli
