// SPDX-License-Identifier: Apache-2.0
// The corvuna program's reading of its text inputs.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/io.h"
#include "cli/text_input.h"

namespace corvuna::cli {
namespace {

TEST(CliInput, Directions) {
    const struct {
        const char* text;
        std::optional<int> direction;
    } cases[] = {
        {"1", kUplink},        {"UL", kUplink},   {" uplink\t", kUplink}, {"Up", kUplink},
        {"0", kDownlink},      {"dl", kDownlink}, {"DOWNLINK", kDownlink}, {"down ", kDownlink},
        {"2", std::nullopt},   {"", std::nullopt}, {"uplinks", std::nullopt}, {"01", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDirection(c.text), c.direction) << c.text;
}

TEST(CliInput, HexForms) {
    const struct {
        const char* text;
        std::vector<uint8_t> octets;  // empty: rejected
        const char* error;
    } cases[] = {
        {"075e", {0x07, 0x5E}, ""},
        {"0x075E", {0x07, 0x5E}, ""},
        {"07:5e", {0x07, 0x5E}, ""},
        {"07-5e.00", {0x07, 0x5E, 0x00}, ""},
        {" 07 5e ", {0x07, 0x5E}, ""},
        {"0x07 0X5e", {0x07, 0x5E}, ""},
        {"00", {0x00}, ""},
        {"075", {}, "odd number of hex digits (3)"},
        {"0 75e", {}, "odd number of hex digits before ' ' at column 2"},
        {"07zz", {}, "not a hex digit: 'z' at column 3"},
        {"07\x01", {}, "not a hex digit: '\\x01' at column 3"},
        {"0x", {}, "no hex digits"},
        {"", {}, "no hex digits"},
        {"x07", {}, "not a hex digit: 'x' at column 1"},
        {"070x5e", {}, "not a hex digit: 'x' at column 4"},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> octets = {0xAA};
        std::string error;
        EXPECT_EQ(ParseHex(c.text, octets, error), !c.octets.empty()) << c.text;
        EXPECT_EQ(octets, c.octets) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(CliInput, Lines) {
    using Kind = InputLine::Kind;
    const struct {
        const char* line;
        Kind kind;
        std::optional<int> direction;
        const char* hex;
    } cases[] = {
        {"1\t075e", Kind::kMessage, kUplink, "075e"},
        {"0\t07 5e\tSecurity mode complete\tsource", Kind::kMessage, kDownlink, "07 5e"},
        {" dl \t075e", Kind::kMessage, kDownlink, "075e"},
        {"075e", Kind::kMessage, std::nullopt, "075e"},
        {"  075e  ", Kind::kMessage, std::nullopt, "075e"},
        {"075e\tnote", Kind::kMessage, std::nullopt, "075e"},
        {"\xEF\xBB\xBF" "1\t075e", Kind::kMessage, kUplink, "075e"},
        {"\xEF\xBB\xBF" "Direction\tHex", Kind::kSkip, std::nullopt, ""},
        {"direction\thex\tmessage", Kind::kSkip, std::nullopt, ""},
        {"# a comment", Kind::kSkip, std::nullopt, ""},
        {"   ", Kind::kSkip, std::nullopt, ""},
        {"sideways\t075e", Kind::kError, std::nullopt, ""},
    };
    for (const auto& c : cases) {
        const InputLine line = ClassifyLine(c.line);
        EXPECT_EQ(line.kind, c.kind) << c.line;
        EXPECT_EQ(line.direction, c.direction) << c.line;
        EXPECT_EQ(line.hex, c.hex) << c.line;
    }
    EXPECT_EQ(ClassifyLine("up\x01\x02\t07").error,
              "unknown direction 'up\\x01\\x02' (use 1, ul, uplink, 0, dl or downlink)");
}

TEST(CliInput, HeadersAndPrintable) {
    const uint8_t emm[] = {0x07}, esm[] = {0x52}, other[] = {0x44};
    EXPECT_EQ(HeaderOctets(emm, 1), 2u);
    EXPECT_EQ(HeaderOctets(esm, 1), 3u);
    EXPECT_EQ(HeaderOctets(other, 1), 1u);
    EXPECT_EQ(HeaderOctets(nullptr, 0), 1u);
    EXPECT_EQ(Printable("a\tb\xff"), "a\\x09b\\xff");
    EXPECT_EQ(Printable("abcdef", 3), "abc...");
}

// Lines split over the reader's chunks, a last line without its line feed,
// carriage returns and a NUL byte.
TEST(CliInput, LineReaderSplitsEveryLine) {
    std::string text;
    for (int i = 0; i < 300000; ++i) text += std::to_string(i) + (i % 3 == 0 ? "\r\n" : "\n");
    text += "last";
    // std::tmpfile() creates its file in the drive root on Windows, which is
    // often not writable; a named file in the temporary directory works on both.
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "corvuna-line-reader-test.txt";
    {
        std::FILE* out = std::fopen(path.string().c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    }
    std::FILE* in = std::fopen(path.string().c_str(), "rb");
    ASSERT_NE(in, nullptr);
    LineReader reader(in);
    std::string_view line;
    int count = 0;
    bool inOrder = true;
    while (reader.Next(line)) {
        const std::string expected = count < 300000 ? std::to_string(count) : "last";
        inOrder = inOrder && line == expected;
        ++count;
    }
    std::fclose(in);
    std::filesystem::remove(path);
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(count, 300001);
    EXPECT_FALSE(reader.Failed());
    EXPECT_STREQ(reader.Binary(), "");
}

// What a stream that is no text is, told from its first chunk; a line too
// long to be a message is given once, cut, and the reader goes on after it.
TEST(CliInput, LineReaderStopsAtBinaryDataAndPassesOverLinesTooLong) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "corvuna-line-reader-binary";
    auto lines = [&](const std::string& content, std::vector<std::string>& got, bool& tooLong) {
        std::FILE* out = std::fopen(path.string().c_str(), "wb");
        std::fwrite(content.data(), 1, content.size(), out);
        std::fclose(out);
        std::FILE* in = std::fopen(path.string().c_str(), "rb");
        LineReader reader(in);
        std::string_view line;
        tooLong = false;
        while (reader.Next(line)) {
            tooLong = tooLong || reader.LineTooLong();
            got.emplace_back(reader.LineTooLong() ? std::string("(too long)") : std::string(line));
        }
        std::fclose(in);
        return std::string(reader.Binary());
    };
    const struct {
        const char* what;
        std::string content;
        const char* kind;
    } cases[] = {
        {"zeros", std::string(200000, '\0'), "binary data"},
        {"pcap", std::string("\xd4\xc3\xb2\xa1\x02\x00\x04\x00", 8) + "07 5e\n", "a pcap capture"},
        {"pcapng", std::string("\x0a\x0d\x0d\x0a", 4) + "x\n", "a pcapng capture"},
        {"gzip", std::string("\x1f\x8b\x08\x00", 4) + "y\n", "gzip-compressed data"},
        {"NUL in a later chunk", std::string(100000, 'a') + "\n" + std::string(1, '\0'), "binary data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> got;
        bool tooLong = false;
        EXPECT_EQ(lines(c.content, got, tooLong), c.kind);
        EXPECT_LE(got.size(), 1u);
    }
    std::vector<std::string> got;
    bool tooLong = false;
    EXPECT_EQ(lines("07 5e\n" + std::string(3 << 20, '0') + "\n1\t07 5d\n" + std::string(2 << 20, 'f'), got, tooLong),
              "");
    EXPECT_TRUE(tooLong);
    EXPECT_EQ(got, (std::vector<std::string>{"07 5e", "(too long)", "1\t07 5d", "(too long)"}));
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace corvuna::cli
