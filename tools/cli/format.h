// SPDX-License-Identifier: Apache-2.0
// The output formats of the corvuna program (-T).
#pragma once

namespace corvuna::cli {

enum class Format {
    kLegacy,  // the legacy document
    kJson,    // the standard view as JSON Lines
    kText,    // the standard view as a tree
    kTsv,     // DIRECTION<TAB>HEX lines, as -f reads them
    kRrc,     // a capture's LTE RRC PDUs, one a line
    kLadder,  // a capture's messages one a line, between the UE and the network
};

}  // namespace corvuna::cli
