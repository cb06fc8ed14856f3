// SPDX-License-Identifier: Apache-2.0
// Building expected documents of ESM messages.
#pragma once

#include <string>
#include <string_view>

#include "support/test_support.h"

namespace corvuna::test {

// One whole-message case: the message octets from octet 1 and the lines
// between the message element's tags.
struct EsmCase {
    const char* what;
    const char* hex;
    std::string inner;
};

// The same for a table mixing messages: `name` is the message element.
struct EsmNamedCase {
    const char* what;
    const char* hex;
    const char* name;
    std::string inner;
};

// "<name>" + inner + "</name>", the tags on their own lines.
inline std::string Group(std::string_view name, std::string_view inner) {
    return "<" + std::string(name) + ">\n" + std::string(inner) + "</" + std::string(name) + ">\n";
}

// The document of an ESM message whose element is `name`.
inline std::string EsmDocument(int direction, std::string_view name, std::string_view inner) {
    return Framed(direction, Group(name, inner));
}

inline std::string CauseLine(int cause, std::string_view text) {
    return "<ESMCause>(" + std::to_string(cause) + ")" + std::string(text) + "</ESMCause>\n";
}

// The value lines of a PCO whose configuration protocol octet is 0x80, with
// no containers or with one container 00 0D of no contents.
inline const std::string kPppLine =
    Lines({"<ConfigurationProtocol>(0)PPP for use with IP PDP type, or EPS without use of PPP"
           "</ConfigurationProtocol>"});
inline const std::string kDnsContainer =
    Lines({"<ProtocolID>13</ProtocolID>", "<ProtocolContents>0x</ProtocolContents>"});

// EPS QoS value 09 (QCI alone).
inline const std::string kQci9 = Lines({"<QCI>(9)QCI 9</QCI>"});

}  // namespace corvuna::test
