// SPDX-License-Identifier: Apache-2.0
#include "cli/io.h"

#include <cstring>

namespace corvuna::cli {

bool LineReader::Fill() {
    if (eof_) return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);  // a line longer than the buffer
    const size_t n = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, in_);
    if (n == 0) {
        eof_ = true;
        if (std::ferror(in_)) failed_ = true;
        return false;
    }
    if (std::memchr(buffer_.data() + end_, '\0', n) != nullptr) sawNul_ = true;
    end_ += n;
    return true;
}

bool LineReader::Next(std::string_view& line) {
    size_t searched = begin_;
    for (;;) {
        const void* feed = std::memchr(buffer_.data() + searched, '\n', end_ - searched);
        if (feed != nullptr) {
            const size_t at = static_cast<size_t>(static_cast<const char*>(feed) - buffer_.data());
            line = std::string_view(buffer_.data() + begin_, at - begin_);
            begin_ = at + 1;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            return true;
        }
        const size_t offset = searched - begin_;
        const size_t pending = end_ - begin_;
        if (!Fill()) {
            if (pending == 0) return false;
            // The last line, without a line feed.
            line = std::string_view(buffer_.data() + begin_, end_ - begin_);
            begin_ = end_;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            return true;
        }
        searched = begin_ + offset + (pending - offset);
    }
}

char* Output::Reserve(size_t n) {
    if (buffer_.size() - used_ < n + 1) {
        Flush();
        if (buffer_.size() < n + 1) buffer_.resize(n + 1);
    }
    return buffer_.data() + used_;
}

void Output::Write(std::string_view text) {
    char* p = Reserve(text.size());
    std::memcpy(p, text.data(), text.size());
    Commit(text.size());
}

bool Output::Flush() {
    if (used_ > 0 && !failed_) {
        if (std::fwrite(buffer_.data(), 1, used_, out_) != used_) failed_ = true;
    }
    used_ = 0;
    if (!failed_ && std::fflush(out_) != 0) failed_ = true;
    return !failed_;
}

}  // namespace corvuna::cli
