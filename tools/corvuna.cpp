// corvuna: decode NAS messages given as hex and print their documents.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "corvuna/corvuna.h"

namespace {

constexpr const char* kUsage =
    "usage: corvuna [options] [HEX ...]\n"
    "\n"
    "Decodes LTE NAS messages (TS 24.301 EMM and ESM) and prints one document\n"
    "per message.\n"
    "\n"
    "Messages come from the HEX arguments (decoded with the direction of -d),\n"
    "or else from the files of -f, or else from standard input.  Input lines\n"
    "have the form DIRECTION<TAB>HEX; further tab-separated columns, blank\n"
    "lines, lines starting with '#' and header lines starting with\n"
    "'direction' are ignored.  HEX may contain blanks.\n"
    "\n"
    "options:\n"
    "  -d, --direction DIR   direction of HEX arguments: 1, ul, uplink (default)\n"
    "                        or 0, dl, downlink\n"
    "  -f, --file FILE       read DIRECTION<TAB>HEX lines from FILE ('-' for\n"
    "                        standard input); may be repeated\n"
    "  -s, --stop-on-error   stop at the first bad input instead of going on\n"
    "  -h, --help            show this text\n"
    "\n"
    "Exit status: 0 when every message was decoded, 1 when some input was bad\n"
    "or could not be decoded, 2 on a usage error.\n";

std::optional<int> ParseDirection(const std::string& text) {
    if (text == "1" || text == "ul" || text == "uplink" || text == "UL" || text == "UPLINK") return 1;
    if (text == "0" || text == "dl" || text == "downlink" || text == "DL" || text == "DOWNLINK") return 0;
    return std::nullopt;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Octets of `text`, blanks ignored; an error text when it is not hex.
bool ParseHex(const std::string& text, std::vector<unsigned char>& octets, std::string& error) {
    octets.clear();
    std::string digits;
    for (char c : text) {
        if (c == ' ' || c == '\t') continue;
        if (HexDigit(c) < 0) {
            error = std::string("not a hex digit: '") + c + "'";
            return false;
        }
        digits += c;
    }
    if (digits.empty()) {
        error = "no hex digits";
        return false;
    }
    if (digits.size() % 2 != 0) {
        error = "odd number of hex digits (" + std::to_string(digits.size()) + ")";
        return false;
    }
    if (digits.size() / 2 > 0x7FFFFFFF) {
        error = "message too long";
        return false;
    }
    for (size_t i = 0; i < digits.size(); i += 2) {
        octets.push_back(static_cast<unsigned char>(HexDigit(digits[i]) * 16 + HexDigit(digits[i + 1])));
    }
    return true;
}

class Decoder {
public:
    // Decodes one message; false (with a message on stderr) on bad input.
    bool Run(int direction, const std::string& hex, const std::string& where) {
        std::vector<unsigned char> octets;
        std::string error;
        if (!ParseHex(hex, octets, error)) {
            std::cerr << "corvuna: " << where << ": " << error << "\n";
            return false;
        }
        std::vector<char> buffer(CORVUNA_MAX_DOCUMENT_LENGTH + 1, '\0');
        size_t needed = 0;
        const int result = CorvunaDecodeBounded(direction, octets.data(), static_cast<int>(octets.size()),
                                                buffer.data(), buffer.size(), &needed);
        if (result != CORVUNA_OK) {
            std::cerr << "corvuna: " << where << ": the message could not be decoded (code " << result << ")\n";
            return false;
        }
        std::fwrite(buffer.data(), 1, needed - 1, stdout);
        return true;
    }
};

// Reads DIRECTION<TAB>HEX lines; counts bad lines in `failures`.
bool RunStream(std::istream& in, const std::string& name, Decoder& decoder, bool stopOnError, int& failures) {
    std::string line;
    long number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        const std::string where = name + ":" + std::to_string(number);
        const size_t tab = line.find('\t');
        const std::string directionText = line.substr(0, tab);
        if (directionText == "direction") continue;  // a header line
        bool ok = false;
        if (tab == std::string::npos) {
            std::cerr << "corvuna: " << where << ": expected DIRECTION<TAB>HEX\n";
        } else if (auto direction = ParseDirection(directionText)) {
            const size_t end = line.find('\t', tab + 1);
            ok = decoder.Run(*direction, line.substr(tab + 1, end == std::string::npos ? end : end - tab - 1),
                             where);
        } else {
            std::cerr << "corvuna: " << where << ": unknown direction '" << directionText
                      << "' (use 1, ul, uplink, 0, dl or downlink)\n";
        }
        if (!ok) {
            ++failures;
            if (stopOnError) return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int direction = 1;
    bool stopOnError = false;
    std::vector<std::string> files;
    std::vector<std::string> hexes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "-s" || arg == "--stop-on-error") {
            stopOnError = true;
        } else if (arg == "-d" || arg == "--direction" || arg == "-f" || arg == "--file") {
            if (i + 1 >= argc) {
                std::cerr << "corvuna: " << arg << " needs a value\n" << kUsage;
                return 2;
            }
            const std::string value = argv[++i];
            if (arg == "-f" || arg == "--file") {
                files.push_back(value);
            } else if (auto parsed = ParseDirection(value)) {
                direction = *parsed;
            } else {
                std::cerr << "corvuna: unknown direction '" << value << "' (use 1, ul, uplink, 0, dl or downlink)\n";
                return 2;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::cerr << "corvuna: unknown option " << arg << "\n" << kUsage;
            return 2;
        } else {
            hexes.push_back(arg);
        }
    }

    Decoder decoder;
    int failures = 0;
    if (!hexes.empty()) {
        for (size_t i = 0; i < hexes.size(); ++i) {
            if (!decoder.Run(direction, hexes[i], "argument " + std::to_string(i + 1))) {
                ++failures;
                if (stopOnError) return 1;
            }
        }
    } else if (!files.empty()) {
        for (const std::string& file : files) {
            if (file == "-") {
                if (!RunStream(std::cin, "stdin", decoder, stopOnError, failures)) return 1;
                continue;
            }
            std::ifstream in(file);
            if (!in) {
                std::cerr << "corvuna: cannot open " << file << "\n";
                ++failures;
                if (stopOnError) return 1;
                continue;
            }
            if (!RunStream(in, file, decoder, stopOnError, failures)) return 1;
        }
    } else if (!RunStream(std::cin, "stdin", decoder, stopOnError, failures)) {
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
