// Structural check of a decoded document, shared by the unit tests and the
// fuzz targets: the frame, one element per line, tags balanced.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvuna::test {

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
    std::string_view body = document.substr(head.size(), document.size() - head.size() - tail.size());
    std::vector<std::string_view> open;
    while (!body.empty()) {
        const size_t end = body.find('\n');
        if (end == std::string_view::npos) return "last line not ended";
        std::string_view line = body.substr(0, end);
        body.remove_prefix(end + 1);
        if (line.size() < 3 || line.front() != '<') return "line is no element: " + std::string(line);
        const size_t close = line.find('>');
        if (close == std::string_view::npos) return "unterminated tag: " + std::string(line);
        // An opening tag alone on its line that is followed by a line not
        // starting with "<" opens a value element whose value begins with a
        // line feed.
        const bool valueOnNextLine = close + 1 == line.size() && line[1] != '/' && !body.empty() && body[0] != '<';
        if (close + 1 == line.size() && !valueOnNextLine) {
            // A structure tag alone on its line.
            if (line[1] == '/') {
                const std::string_view name = line.substr(2, close - 2);
                if (open.empty() || open.back() != name) return "unbalanced closing tag: " + std::string(line);
                open.pop_back();
            } else {
                open.push_back(line.substr(1, close - 1));
            }
            continue;
        }
        // A value element "<Name>value</Name>".  Values are not escaped and
        // may hold a line feed (a network name or an access point name can):
        // such an element continues on the following lines.
        const std::string closing = "</" + std::string(line.substr(1, close - 1)) + ">";
        std::string_view value_end = line;
        while (value_end.size() < closing.size() ||
               value_end.substr(value_end.size() - closing.size()) != closing) {
            const size_t next = body.find('\n');
            if (next == std::string_view::npos) return "value element not closed: " + std::string(line);
            value_end = body.substr(0, next);
            body.remove_prefix(next + 1);
        }
    }
    if (!open.empty()) return "unclosed tag: " + std::string(open.back());
    return std::string();
}

}  // namespace corvuna::test
