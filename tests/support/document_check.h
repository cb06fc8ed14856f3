// SPDX-License-Identifier: Apache-2.0
// Structural check of a decoded document, shared by the unit tests and the
// fuzz targets: the frame, one element per line, tags balanced.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvuna::test {

namespace detail {

// Elements whose value is text taken from the message as it stands (an
// access point name label, a network name): values are not escaped, so such
// a value may hold "<", ">" and line feeds, even a closing tag's text.
inline bool IsFreeTextElement(std::string_view name) {
    return name == "APN" || name == "Access_point_name" || name == "TextString";
}

// Parses `rest` (whole lines) with `open` the structure tags still open;
// true when it is a sequence of well-formed lines closing exactly `open`.
// Backtracks only over the end of free-text values.
inline bool ParseLines(std::string_view rest, std::vector<std::string_view>& open, std::string& problem,
                       int depth = 0) {
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        if (end == std::string_view::npos) {
            problem = "last line not ended";
            return false;
        }
        const std::string_view line = rest.substr(0, end);
        if (line.size() < 3 || line.front() != '<') {
            problem = "line is no element: " + std::string(line);
            return false;
        }
        const size_t close = line.find('>');
        if (close == std::string_view::npos) {
            problem = "unterminated tag: " + std::string(line);
            return false;
        }
        const std::string_view name = line.substr(1, close - 1);
        if (IsFreeTextElement(name) && depth < 8) {
            // "<NAME>" + any text + "</NAME>\n": try each place the value
            // could end, the rest of the document deciding.
            const std::string closing = "</" + std::string(name) + ">\n";
            for (size_t at = rest.find(closing, close + 1); at != std::string_view::npos;
                 at = rest.find(closing, at + 1)) {
                std::vector<std::string_view> copy = open;
                if (ParseLines(rest.substr(at + closing.size()), copy, problem, depth + 1)) return true;
            }
            // Not a value element after all: a structure tag of that name.
            if (close + 1 != line.size()) {
                problem = "free-text element not closed: " + std::string(line);
                return false;
            }
        }
        rest.remove_prefix(end + 1);
        if (close + 1 == line.size()) {
            // A structure tag alone on its line.
            if (line[1] == '/') {
                if (open.empty() || open.back() != line.substr(2, close - 2)) {
                    problem = "unbalanced closing tag: " + std::string(line);
                    return false;
                }
                open.pop_back();
            } else {
                open.push_back(name);
            }
            continue;
        }
        const std::string closing = "</" + std::string(name) + ">";
        if (line.size() < close + 1 + closing.size() || line.substr(line.size() - closing.size()) != closing) {
            problem = "value element not closed on its line: " + std::string(line);
            return false;
        }
    }
    if (!open.empty()) {
        problem = "unclosed tag: " + std::string(open.back());
        return false;
    }
    return true;
}

}  // namespace detail

// Empty when `document` is a well-formed frame for `direction`; otherwise
// what is wrong with it.
inline std::string CheckDocument(std::string_view document, int direction) {
    const std::string head = std::string("<L3Message>\n<dir>") + (direction == 1 ? "UPLINK" : "DOWNLINK") +
                             "</dir>\n<message>\n";
    const std::string_view tail = "</message>\n</L3Message>\n";
    if (document.substr(0, head.size()) != head) return "document does not start with the frame";
    if (document.size() < head.size() + tail.size() || document.substr(document.size() - tail.size()) != tail) {
        return "document does not end with the frame";
    }
    std::vector<std::string_view> open;
    std::string problem;
    if (!detail::ParseLines(document.substr(head.size(), document.size() - head.size() - tail.size()), open,
                            problem)) {
        return problem.empty() ? "malformed document" : problem;
    }
    return std::string();
}

}  // namespace corvuna::test
