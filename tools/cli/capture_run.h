// SPDX-License-Identifier: Apache-2.0
// The corvuna program's capture input (-r): every NAS message of a pcap or
// pcapng file, read by the capture library's Reader, each after a comment
// line that says where it was found, in the chosen output format.
#pragma once

#include <string>

#include "capture/reader.h"
#include "cli/format.h"
#include "cli/io.h"

namespace corvuna::cli {

struct CaptureOptions : capture::ReaderOptions {
    Format format = Format::kLegacy;
    bool noUnwrap = false;  // decode the octets as carried, not the inner plain message
    bool flushEachFrame = false;  // the output is a terminal or a pipe
};

using CaptureCounts = capture::Counts;

// Reads the capture at `path` ("-": standard input), writing to `out`;
// problems go to standard error, naming the file and frame.
CaptureCounts RunCapture(const std::string& path, const CaptureOptions& options, Output& out);

}  // namespace corvuna::cli
