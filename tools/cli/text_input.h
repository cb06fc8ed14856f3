// SPDX-License-Identifier: Apache-2.0
// Reading the text inputs of the corvuna program: directions, hex octets
// and the lines of a message file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvuna::cli {

inline constexpr int kDownlink = 0;
inline constexpr int kUplink = 1;

// A direction as people write it, blanks around it ignored, case ignored:
// 1, ul, up, uplink or 0, dl, down, downlink.
std::optional<int> ParseDirection(std::string_view text);

// Octets from hex text.  Blanks, ':', '-' and '.' may separate octets, and a
// run of digits may start with 0x ("0x075e", "07:5e", "07 5E", "0x07 0x5e").
// On failure `error` says why and `octets` is left empty.
bool ParseHex(std::string_view text, std::vector<uint8_t>& octets, std::string& error);
// The same into `octets`, which has room for text.size() / 2 + 1 octets;
// the number of octets, 0 on failure.
size_t ParseHexInto(std::string_view text, uint8_t* octets, std::string& error);

// One line of a message file: DIRECTION<TAB>HEX[<TAB>anything], HEX alone
// or HEX<TAB>anything (the direction then comes from the command line), a
// blank or '#' comment line, or a header line whose first column is
// "direction".  A UTF-8 byte-order mark at the start of the line is
// ignored (the first line of a file written by some editors).
struct InputLine {
    enum class Kind { kSkip, kMessage, kError } kind = Kind::kSkip;
    std::optional<int> direction;  // as the line gives it
    std::string_view hex;
    std::string error;
};
InputLine ClassifyLine(std::string_view line);

// The octets a message needs before its body: 2 for EMM (protocol
// discriminator 7), 3 for ESM (2), 1 for any other; 1 for an empty message.
size_t HeaderOctets(const uint8_t* message, size_t length);

// `text` as it may be shown in a message: control and non-ASCII bytes as
// \xNN, at most `limit` characters of it, "..." when cut.
std::string Printable(std::string_view text, size_t limit = 60);

// A message name as --message takes it: "Attach request", "ATTACH_REQUEST"
// and "attach_request" are all "attach_request".
std::string MessageKey(std::string_view name);

// The header line of -T tsv: of messages given as hex, or of captures'
// (with a file column when several are read).
std::string TsvHeader(bool captures, bool fileColumn);

}  // namespace corvuna::cli
