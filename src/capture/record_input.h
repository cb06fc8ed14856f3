// SPDX-License-Identifier: Apache-2.0
// A capture message's record, kept as text to be written later: what
// WriteRecord needs of the message (where it was found, its octets and
// direction, the UE's security context, the protection facts the view
// prints), as printable fields.  A host that reads many messages at once
// keeps this instead of each record's JSON, and has the record, the view or
// its text tree written only for the messages it looks at.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "capture/reader.h"

namespace corvuna::capture {

// Appends the record input of `m` to `out` (printable ASCII, no byte below
// 0x20).
void AppendRecordInput(const Message& m, bool showKeys, std::string& out);

// A message read back from its record input: `message` points into the
// storage of this object.
struct RecordInput {
    RecordInput() = default;
    RecordInput(const RecordInput&) = delete;
    RecordInput& operator=(const RecordInput&) = delete;
    RecordInput& operator=(RecordInput&&) = default;

    Message message;
    bool showKeys = false;
    FoundNas found;
    security::SecurityFacts facts;
    std::vector<uint8_t> octets, plain;
    std::string reason, keySource, macReason, resFrom;
};

// Reads a record input; false when `text` is none (it never reads outside
// `text`).
bool ParseRecordInput(std::string_view text, RecordInput& input);

}  // namespace corvuna::capture
