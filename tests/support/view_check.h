// SPDX-License-Identifier: Apache-2.0
// Checks of the standard view's output, shared by the unit tests and the
// fuzz target: the JSON parsed by a real parser (nlohmann-json) with no
// duplicate key in any object, and the text tree's shape.
#pragma once

#include <nlohmann/json.hpp>

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace corvuna::test {

namespace detail {

// SAX handler: keeps the keys of every open object to find a repeated one.
class DuplicateKeyFinder : public nlohmann::json_sax<nlohmann::json> {
public:
    std::string problem;
    std::string result;  // the root's "result" member
    bool rootIsObject = false;

    bool null() override { return Scalar(); }
    bool boolean(bool) override { return Scalar(); }
    bool number_integer(number_integer_t) override { return Scalar(); }
    bool number_unsigned(number_unsigned_t) override { return Scalar(); }
    bool number_float(number_float_t, const string_t&) override { return Scalar(); }
    bool string(string_t& value) override {
        if (resultNext_) result = value;
        resultNext_ = false;
        return true;
    }
    bool binary(binary_t&) override { return Scalar(); }
    bool start_object(std::size_t) override {
        if (!started_) rootIsObject = true;
        started_ = true;
        resultNext_ = false;
        keys_.emplace_back();
        return true;
    }
    bool key(string_t& key) override {
        if (!keys_.back().insert(key).second) {
            problem = "duplicate key \"" + key + "\"";
            return false;
        }
        resultNext_ = keys_.size() == 1 && key == "result";
        return true;
    }
    bool end_object() override {
        keys_.pop_back();
        return true;
    }
    bool start_array(std::size_t) override {
        started_ = true;
        resultNext_ = false;
        return true;
    }
    bool end_array() override { return true; }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override {
        problem = "not JSON at " + std::to_string(position) + ": " + e.what();
        return false;
    }

private:
    bool Scalar() {
        resultNext_ = false;
        return true;
    }

    std::vector<std::set<std::string>> keys_;
    bool started_ = false;
    bool resultNext_ = false;
};

inline bool ValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += n;
    }
    return true;
}

}  // namespace detail

// Empty when `json` is one RFC 8259 object with no key repeated in any
// object and a "result" member; otherwise what is wrong.
inline std::string CheckViewJson(std::string_view json) {
    detail::DuplicateKeyFinder finder;
    if (!nlohmann::json::sax_parse(json.begin(), json.end(), &finder)) {
        return finder.problem.empty() ? "not JSON" : finder.problem;
    }
    if (!finder.rootIsObject) return "not an object";
    static const std::set<std::string> kResults = {"decoded", "decoded_with_errors", "unknown_message", "not_nas",
                                                    "ciphered"};
    if (!kResults.count(finder.result)) return "no result member";
    return {};
}

// Empty when `text` is a well-formed tree: UTF-8 lines, each ended, with no
// control character, indented by four spaces a level and never more than
// one level deeper than the line before; the first line "NAS message: ..."
// is the only one at the left margin, and a "Result: ..." line is among its
// children.
inline std::string CheckViewText(std::string_view text) {
    if (!detail::ValidUtf8(text)) return "not UTF-8";
    if (text.empty() || text.back() != '\n') return "last line not ended";
    size_t previous = 0;
    bool first = true, result = false;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        size_t indent = 0;
        while (indent < line.size() && line[indent] == ' ') ++indent;
        const std::string_view rest = line.substr(indent);
        if (rest.empty()) return "blank line";
        for (const char c : rest) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return "control character in: " + std::string(line);
        }
        if (indent % 4 != 0) return "indent not a multiple of four: " + std::string(line);
        if (first) {
            if (indent != 0 || rest.substr(0, 13) != "NAS message: ") return "first line: " + std::string(line);
            first = false;
        } else {
            if (indent == 0) return "second root: " + std::string(line);
            if (indent > previous + 4) return "indent jumps: " + std::string(line);
            if (indent == 4 && rest.substr(0, 8) == "Result: ") result = true;
        }
        previous = indent;
    }
    return result ? std::string() : "no Result line";
}

}  // namespace corvuna::test
