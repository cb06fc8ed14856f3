// SPDX-License-Identifier: Apache-2.0
// The corvuna program's capture input (-r): every NAS message of a pcap or
// pcapng file, each after a comment line that says where it was found:
// EPS NAS decoded as the chosen output format does, 5GS NAS (NGAP) shown as
// found, since neither the legacy document nor the view decodes it yet.
#pragma once

#include <array>
#include <map>
#include <string>

#include "capture/frames.h"
#include "cli/format.h"
#include "cli/io.h"
#include "security/keys.h"

namespace corvuna::cli {

struct CaptureOptions {
    Format format = Format::kLegacy;
    int direction = 1;           // for raw NAS whose message type is sent both ways
    bool nullCiphering = false;  // ciphered messages use EEA0
    bool noUnwrap = false;       // legacy documents of the octets as carried
    std::array<capture::UserPayload, 16> users{};
    bool usersGiven[16] = {};
    const security::KeyStore* keys = nullptr;  // --keys
    bool captureKeys = true;                   // the KASMEs of the capture's S6a answers are used
    bool showKeys = false;                     // keys appear in the output
    // The RRC part that finds NAS inside LTE RRC; none: the build's own
    // (capture::radio::MakeRrcReader), if it has one.
    capture::radio::RrcReader* rrcReader = nullptr;
};

struct CaptureCounts {
    unsigned long frames = 0;
    unsigned long nas = 0;
    unsigned long plain = 0;
    unsigned long integrityOnly = 0;
    unsigned long ciphered = 0;
    unsigned long cipheredDecoded = 0;
    unsigned long asCipheredRrc = 0;       // LTE RRC PDUs reported as AS-ciphered
    unsigned long decodedWithErrors = 0;   // standard view: decoded with errors
    unsigned long unknown = 0;             // standard view: of a type or protocol it does not know
    unsigned long fivegs = 0;              // of `nas`: 5GS NAS messages (NGAP)
    unsigned long warnings = 0;
    bool failed = false;  // the capture could not be read to its end
    // Security: protected messages by the check of their MAC, ciphered ones
    // by what became of their body, with the reasons of the unchecked ones.
    unsigned long macVerified = 0;
    unsigned long macFailed = 0;
    unsigned long macUnverifiable = 0;
    unsigned long deciphered = 0;
    unsigned long nullCiphered = 0;
    unsigned long guessedNull = 0;
    unsigned long leftCiphered = 0;  // bodies that stayed ciphered
    unsigned long s6aVectors = 0;
    std::map<std::string, unsigned long> unverifiableWhy;
    std::map<std::string, unsigned long> leftCipheredWhy;
    // The radio side.
    bool rrcReaderUsed = false;
    capture::radio::RadioCounters radio;
};

// The summary of a capture's counts, as the program prints it after the
// file name: "106 frames, 20 NAS messages: ...".
std::string CaptureSummary(const CaptureCounts& counts);

// A link type's name ("Ethernet", "user link type 2 (147 + 2)").
std::string LinkTypeName(int type);

// Reads the capture at `path` ("-": standard input), writing to `out`;
// problems go to standard error, naming the file and frame.
CaptureCounts RunCapture(const std::string& path, const CaptureOptions& options, Output& out);

// "2024-05-01T12:00:00.123456Z": a time stamp to `digits` fraction digits.
std::string IsoTime(int64_t seconds, uint32_t nanoseconds, int digits);

}  // namespace corvuna::cli
