// SPDX-License-Identifier: Apache-2.0
#include "cli/io.h"

#include <cstdint>
#include <cstring>

namespace corvuna::cli {

namespace {

// What the first octets of a stream say it is, when it is no text.
const char* BinaryKind(const unsigned char* p, size_t n) {
    if (n >= 4) {
        const uint32_t magic = static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
        if (magic == 0xA1B2C3D4 || magic == 0xD4C3B2A1 || magic == 0xA1B23C4D || magic == 0x4D3CB2A1) {
            return "a pcap capture";
        }
        if (magic == 0x0A0D0D0A) return "a pcapng capture";
    }
    if (n >= 2 && p[0] == 0x1F && p[1] == 0x8B) return "gzip-compressed data";
    return "";
}

}  // namespace

bool LineReader::Fill() {
    if (eof_ || *binary_ != '\0') return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) {
        if (buffer_.size() < kMaxLine + kChunk) {
            buffer_.resize(buffer_.size() * 2);  // a line longer than the chunk
        } else {
            // A line longer than any message line: its first kMaxLine octets
            // are given, the rest passed over.
            return false;
        }
    }
    // The first read takes a chunk at most, so that binary input is told
    // from its first kilobytes.
    const size_t want = buffer_.size() - end_;
    const size_t n = std::fread(buffer_.data() + end_, 1, want, in_);
    if (n == 0) {
        eof_ = true;
        if (std::ferror(in_)) failed_ = true;
        return false;
    }
    if (!started_) {
        started_ = true;
        binary_ = BinaryKind(reinterpret_cast<const unsigned char*>(buffer_.data()), n);
    }
    if (*binary_ == '\0' && std::memchr(buffer_.data() + end_, '\0', n) != nullptr) binary_ = "binary data";
    end_ += n;
    return *binary_ == '\0';
}

bool LineReader::Next(std::string_view& line) {
    tooLong_ = false;
    size_t searched = begin_;
    for (;;) {
        const void* feed = std::memchr(buffer_.data() + searched, '\n', end_ - searched);
        if (feed != nullptr) {
            const size_t at = static_cast<size_t>(static_cast<const char*>(feed) - buffer_.data());
            line = std::string_view(buffer_.data() + begin_, at - begin_);
            begin_ = at + 1;
            searched = begin_;
            if (skipping_) {
                skipping_ = false;  // the end of a line too long, passed over
                continue;
            }
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            return true;
        }
        if (skipping_) {
            begin_ = end_;
        } else if (end_ - begin_ >= kMaxLine) {
            // A line too long to be a message: its start is given once, and
            // the rest of it passed over.
            line = std::string_view(buffer_.data() + begin_, kMaxLine);
            begin_ = end_;
            tooLong_ = true;
            skipping_ = true;
            return true;
        }
        const size_t scanned = end_ - begin_;
        if (!Fill()) {
            if (*binary_ != '\0' || failed_ || skipping_ || end_ == begin_) return false;
            // The last line, without a line feed.
            line = std::string_view(buffer_.data() + begin_, end_ - begin_);
            begin_ = end_;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            return true;
        }
        searched = begin_ + scanned;
    }
}

char* Output::Reserve(size_t n) {
    if (size_ - used_ < n + 1) {
        Flush();
        if (size_ < n + 1) {  // empty after the flush: nothing to keep
            buffer_.reset(new char[n + 1]);
            size_ = n + 1;
        }
    }
    return buffer_.get() + used_;
}

void Output::Write(std::string_view text) {
    char* p = Reserve(text.size());
    std::memcpy(p, text.data(), text.size());
    Commit(text.size());
}

bool Output::Flush() {
    if (used_ > 0 && !failed_) {
        if (std::fwrite(buffer_.get(), 1, used_, out_) != used_) failed_ = true;
    }
    used_ = 0;
    if (!failed_ && std::fflush(out_) != 0) failed_ = true;
    return !failed_;
}

}  // namespace corvuna::cli
