// SPDX-License-Identifier: Apache-2.0
// Buffered input and output of the corvuna program: lines read a large
// chunk at a time, documents gathered into a large buffer before they are
// written.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace corvuna::cli {

// The lines of a stream, without their line feed (and carriage return).
class LineReader {
public:
    explicit LineReader(std::FILE* in) : in_(in), buffer_(1 << 20) {}

    // The next line; false at the end of the stream or on a read error
    // (then Failed() is true).
    bool Next(std::string_view& line);
    bool Failed() const { return failed_; }
    // True when the stream held a NUL byte (it is then no text file).
    bool SawNul() const { return sawNul_; }

private:
    bool Fill();

    std::FILE* in_;
    std::vector<char> buffer_;
    size_t begin_ = 0;
    size_t end_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool sawNul_ = false;
};

// Output gathered into a buffer and written in large blocks.
class Output {
public:
    explicit Output(std::FILE* out) : out_(out), buffer_(4 << 20) {}
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
    std::vector<char> buffer_;
    size_t used_ = 0;
    bool failed_ = false;
};

}  // namespace corvuna::cli
