// SPDX-License-Identifier: Apache-2.0
// Buffered input and output of the corvuna program: lines read a large
// chunk at a time, documents gathered into a large buffer before they are
// written.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvuna::cli {

// The lines of a stream, without their line feed (and carriage return).
// Memory stays bounded whatever the stream holds: a line longer than
// kMaxLine is not kept (LineTooLong() tells, and the reader goes on after
// it), and a stream that is no text (a NUL byte, or a capture's or gzip's
// magic number at its start) ends the reading at the chunk that shows it.
class LineReader {
public:
    static constexpr size_t kMaxLine = 1 << 20;

    explicit LineReader(std::FILE* in) : in_(in), buffer_(kChunk) {}

    // The next line; false at the end of the stream, on a read error (then
    // Failed() is true) or at binary data (then Binary() is true).
    bool Next(std::string_view& line);
    bool Failed() const { return failed_; }
    // What the stream is, when it is no text: "" for text, "binary data",
    // "a pcap capture", "a pcapng capture" or "gzip-compressed data".
    const char* Binary() const { return binary_; }
    // The line last given was longer than kMaxLine: its first octets only.
    bool LineTooLong() const { return tooLong_; }

private:
    static constexpr size_t kChunk = 64 << 10;
    bool Fill();

    std::FILE* in_;
    std::vector<char> buffer_;
    size_t begin_ = 0;
    size_t end_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool started_ = false;
    bool tooLong_ = false;
    bool skipping_ = false;  // the rest of a line too long is being passed over
    const char* binary_ = "";
};

// Output gathered into a buffer and written in large blocks.
class Output {
public:
    // The buffer is not cleared: a page is touched only when output
    // reaches it, so a short run does not pay for 4 MiB of zeros.
    explicit Output(std::FILE* out) : out_(out), buffer_(new char[4 << 20]), size_(4 << 20) {}
    ~Output() { Flush(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // Room for `n` characters (and a NUL) at the end of the buffer.
    char* Reserve(size_t n);
    // The first `n` characters of the reserved room are output.
    void Commit(size_t n) { used_ += n; }
    void Write(std::string_view text);
    // Writes what is buffered; false when the stream failed.
    bool Flush();

private:
    std::FILE* out_;
    std::unique_ptr<char[]> buffer_;
    size_t size_;
    size_t used_ = 0;
    bool failed_ = false;
};

}  // namespace corvuna::cli
