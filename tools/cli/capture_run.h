// SPDX-License-Identifier: Apache-2.0
// The corvuna program's capture input (-r): every NAS message of a pcap or
// pcapng file, read by the capture library's Reader, each after a comment
// line that says where it was found, in the chosen output format, with the
// messages chosen by --message, --ue and --errors.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "capture/reader.h"
#include "cli/format.h"
#include "cli/io.h"

namespace corvuna::cli {

struct CaptureOptions : capture::ReaderOptions {
    Format format = Format::kLegacy;
    bool noUnwrap = false;        // decode the octets as carried, not the inner plain message
    bool flushEachFrame = false;  // the output is a terminal or a pipe
    bool stopOnError = false;     // -s: stop after the first message decoded with errors or not NAS
    bool fileColumn = false;      // -T tsv: a file column (several captures are read)
    // Selection: message names ("attach_request"), one UE (IMSI, GUTI,
    // TMSI), and only messages decoded with errors, left ciphered or whose
    // MAC failed.
    std::vector<std::string> messages;
    std::string ue;
    bool errorsOnly = false;
};

using CaptureCounts = capture::Counts;

// What a capture's reading gave beside its counts.
struct CaptureRun {
    CaptureCounts counts;
    unsigned long selected = 0;  // messages written (all of them without a selection)
    bool stopped = false;        // -s stopped the reading at a message
};

// Reads the capture at `path` ("-": standard input), writing to `out`;
// problems go to standard error, naming the file and frame.
CaptureRun RunCapture(const std::string& path, const CaptureOptions& options, Output& out);

}  // namespace corvuna::cli
