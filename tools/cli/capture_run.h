// SPDX-License-Identifier: Apache-2.0
// The corvuna program's capture input (-r): every NAS message of a pcap or
// pcapng file, each after a comment line that says where it was found:
// EPS NAS decoded as the chosen output format does, 5GS NAS (NGAP) shown as
// found, since neither the legacy document nor the view decodes it yet.
#pragma once

#include <array>
#include <string>

#include "capture/frames.h"
#include "cli/io.h"

namespace corvuna::cli {

enum class CaptureFormat { kLegacy, kJson, kText, kTsv };

struct CaptureOptions {
    CaptureFormat format = CaptureFormat::kLegacy;
    int direction = 1;           // for raw NAS whose message type is sent both ways
    bool nullCiphering = false;  // ciphered messages use EEA0
    bool noUnwrap = false;       // legacy documents of the octets as carried
    std::array<capture::UserPayload, 16> users{};
    bool usersGiven[16] = {};
};

struct CaptureCounts {
    unsigned long frames = 0;
    unsigned long nas = 0;
    unsigned long plain = 0;
    unsigned long integrityOnly = 0;
    unsigned long ciphered = 0;
    unsigned long cipheredDecoded = 0;
    unsigned long fivegs = 0;  // 5GS NAS messages (NGAP): not decoded, not in `nas`
    unsigned long warnings = 0;
    bool failed = false;  // the capture could not be read to its end
};

// Reads the capture at `path` ("-": standard input), writing to `out`;
// problems go to standard error, naming the file and frame.
CaptureCounts RunCapture(const std::string& path, const CaptureOptions& options, Output& out);

// "2024-05-01T12:00:00.123456Z": a time stamp to `digits` fraction digits.
std::string IsoTime(int64_t seconds, uint32_t nanoseconds, int digits);

}  // namespace corvuna::cli
