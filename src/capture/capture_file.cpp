// SPDX-License-Identifier: Apache-2.0
#include "capture/capture_file.h"

#include <fcntl.h>
#include <pcap/pcap.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace corvuna::capture {

namespace {

// The most octets read ahead for the blocks before the first frame.
constexpr size_t kPrefixSize = 1 << 20;
constexpr size_t kInputChunk = 1 << 16;

bool Gzip(const std::vector<uint8_t>& raw) { return raw.size() >= 2 && raw[0] == 0x1F && raw[1] == 0x8B; }

uint32_t Read32(Bytes b, size_t i, bool little) { return little ? b.Le32(i) : b.Be32(i); }
uint16_t Read16(Bytes b, size_t i, bool little) {
    return little ? static_cast<uint16_t>(b.At(i) | b.At(i + 1) << 8) : b.Be16(i);
}

int DigitsOfResolution(uint8_t tsresol) {
    if ((tsresol & 0x80) == 0) return tsresol;
    // 2^-n seconds: the decimal digits that resolve it.
    return static_cast<int>(std::ceil((tsresol & 0x7F) * std::log10(2.0)));
}

// DLT_ values that differ from the LINKTYPE_ values of the file formats.
int LinkTypeOfDlt(int dlt) {
    if (dlt == DLT_RAW || dlt == 14) return 101;
    return dlt;
}

}  // namespace

CaptureHeader ReadCaptureHeader(Bytes prefix) {
    CaptureHeader h;
    const uint32_t magic = prefix.Be32(0);
    if (prefix.size >= 24 && (magic == 0xA1B2C3D4 || magic == 0xD4C3B2A1 || magic == 0xA1B23C4D || magic == 0x4D3CB2A1)) {
        const bool little = magic == 0xD4C3B2A1 || magic == 0x4D3CB2A1;
        h.recognised = true;
        h.fractionDigits = magic == 0xA1B23C4D || magic == 0x4D3CB2A1 ? 9 : 6;
        h.linkType = static_cast<int>(Read32(prefix, 20, little) & 0xFFFF);
        h.complete = true;
        return h;
    }
    // Octets that cannot begin a capture need no more of them.
    static constexpr uint8_t kMagics[][4] = {
        {0xA1, 0xB2, 0xC3, 0xD4}, {0xD4, 0xC3, 0xB2, 0xA1}, {0xA1, 0xB2, 0x3C, 0x4D}, {0x4D, 0x3C, 0xB2, 0xA1},
        {0x0A, 0x0D, 0x0D, 0x0A}};
    bool couldBe = false;
    for (const auto& m : kMagics) couldBe = couldBe || std::equal(prefix.data, prefix.data + std::min<size_t>(prefix.size, 4), m);
    if (!couldBe) {
        h.complete = true;
        return h;
    }
    if (prefix.size < 12 || magic != 0x0A0D0D0A) return h;
    const uint32_t byteOrder = prefix.Be32(8);
    if (byteOrder != 0x1A2B3C4D && byteOrder != 0x4D3C2B1A) {
        h.complete = true;
        return h;
    }
    const bool little = byteOrder == 0x4D3C2B1A;
    h.pcapng = true;
    h.recognised = true;
    int finest = -1;
    size_t at = 0;
    while (at + 12 <= prefix.size) {
        const uint32_t type = Read32(prefix, at, little);
        const uint32_t length = Read32(prefix, at + 4, little);
        // A frame's block (enhanced, simple or obsolete packet block): the
        // interfaces are all described before it.
        if (type == 6 || type == 3 || type == 2 || length < 12 || length % 4 != 0) {
            h.complete = true;
            break;
        }
        if (at + length > prefix.size) break;
        if (type == 1 && length >= 20) {  // interface description block
            const int linkType = Read16(prefix, at + 8, little);
            if (h.linkType < 0) {
                h.linkType = linkType;
            } else if (linkType != h.linkType && !h.mixedLinkTypes) {
                h.mixedLinkTypes = true;
                h.secondLinkType = linkType;
            }
            int digits = 6;
            size_t option = at + 16;
            while (option + 4 <= at + length - 4) {
                const uint16_t code = Read16(prefix, option, little);
                const uint16_t size = Read16(prefix, option + 2, little);
                if (code == 0) break;
                if (code == 9 && size >= 1) digits = DigitsOfResolution(prefix.At(option + 4));
                option += 4 + ((size + 3u) & ~3u);
            }
            if (digits > finest) finest = digits;
        }
        at += length;
    }
    if (finest >= 0) h.fractionDigits = finest;
    return h;
}

CaptureFile::~CaptureFile() {
    if (pcap_ != nullptr) pcap_close(static_cast<pcap_t*>(pcap_));  // closes the stream too
    if (zstream_ != nullptr) {
        inflateEnd(static_cast<z_stream*>(zstream_));
        delete static_cast<z_stream*>(zstream_);
    }
    if (ownsFd_) close(fd_);
}

// Octets held back (read ahead), given before any more are read: how many,
// 0 when none are left.
long CaptureFile::Held(const std::vector<uint8_t>& held, size_t& at, char* buffer, size_t size) {
    const size_t n = std::min(size, held.size() - std::min(at, held.size()));
    if (n == 0) return 0;  // (an empty vector's data may be null)
    std::memcpy(buffer, held.data() + at, n);
    at += n;
    return static_cast<long>(n);
}

long CaptureFile::ReadRaw(char* buffer, size_t size) {
    if (const long n = Held(raw_, rawRead_, buffer, size); n > 0 || size == 0) return n;
    for (;;) {
        const ssize_t n = read(fd_, buffer, size);
        if (n >= 0) return static_cast<long>(n);
        if (errno != EINTR) {
            errno_ = errno;
            return -1;
        }
    }
}

long CaptureFile::Read(char* buffer, size_t size) {
    if (const long n = Held(prefix_, prefixRead_, buffer, size); n > 0 || size == 0) return n;
    if (!compressed_) return ReadRaw(buffer, size);
    auto* z = static_cast<z_stream*>(zstream_);
    z->next_out = reinterpret_cast<Bytef*>(buffer);
    z->avail_out = static_cast<uInt>(std::min<size_t>(size, 1u << 30));
    // Inflates what has arrived; reads more only when nothing came out.
    while (z->avail_out == static_cast<uInt>(std::min<size_t>(size, 1u << 30))) {
        if (z->avail_in == 0) {
            if (inputEnd_) return 0;
            input_.resize(kInputChunk);
            const long got = ReadRaw(reinterpret_cast<char*>(input_.data()), input_.size());
            if (got < 0) return -1;
            if (got == 0) {
                inputEnd_ = true;
                continue;  // whatever zlib still holds, then the end
            }
            z->next_in = input_.data();
            z->avail_in = static_cast<uInt>(got);
        }
        const int r = inflate(z, Z_NO_FLUSH);
        if (r == Z_STREAM_END) {
            // Concatenated gzip members make one stream.
            if (z->avail_in > 0 || !inputEnd_) inflateReset(z);
        } else if (r == Z_BUF_ERROR) {
            if (inputEnd_) {
                errno_ = EIO;
                return -1;  // cut short
            }
        } else if (r != Z_OK) {
            errno_ = EILSEQ;
            return -1;
        }
        if (inputEnd_ && z->avail_in == 0 && r == Z_STREAM_END) break;
    }
    return static_cast<long>(static_cast<uInt>(std::min<size_t>(size, 1u << 30)) - z->avail_out);
}

long CaptureFile::ReadCookie(void* cookie, char* buffer, size_t size) {
    return static_cast<CaptureFile*>(cookie)->Read(buffer, size);
}

bool CaptureFile::Open(const std::string& path, std::string& error) {
    if (path == "-") return Start(STDIN_FILENO, false, error);
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::string("cannot open: ") + std::strerror(errno);
        return false;
    }
    return Start(fd, true, error);
}

bool CaptureFile::OpenDescriptor(int fd, std::string& error) {
    const int own = fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (own < 0) {
        error = std::string("cannot use the descriptor: ") + std::strerror(errno);
        return false;
    }
    return Start(own, true, error);
}

bool CaptureFile::Start(int fd, bool owned, std::string& error) {
    fd_ = fd;
    ownsFd_ = owned;
    // The first octets: whether they are gzip, then the blocks before the
    // first frame, read as they arrive (a pipe's frames are not held back).
    uint8_t first[2];
    size_t got = 0;
    while (got < 2) {
        const long n = ReadRaw(reinterpret_cast<char*>(first) + got, 2 - got);
        if (n <= 0) {
            if (n < 0) {
                error = std::string("cannot read: ") + std::strerror(errno_);
                return false;
            }
            break;
        }
        got += static_cast<size_t>(n);
    }
    raw_.assign(first, first + got);
    rawRead_ = 0;
    compressed_ = Gzip(raw_);
    if (compressed_) {
        auto* z = new z_stream{};
        if (inflateInit2(z, 16 + MAX_WBITS) != Z_OK) {
            delete z;
            error = "zlib cannot inflate";
            return false;
        }
        zstream_ = z;
    }
    prefix_.clear();
    prefixRead_ = 0;
    std::vector<uint8_t> ahead;
    ahead.reserve(4096);
    for (;;) {
        header_ = ReadCaptureHeader(Bytes{ahead.data(), ahead.size()});
        if (header_.complete || ahead.size() >= kPrefixSize) break;
        const size_t had = ahead.size();
        ahead.resize(std::min(kPrefixSize, std::max<size_t>(had * 2, 4096)));
        const long n = Read(reinterpret_cast<char*>(ahead.data()) + had, ahead.size() - had);
        ahead.resize(had + static_cast<size_t>(std::max(n, 0L)));
        if (n < 0) {
            error = std::string(compressed_ ? "cannot inflate (gzip): " : "cannot read: ") + std::strerror(errno_);
            return false;
        }
        if (n == 0) {
            header_ = ReadCaptureHeader(Bytes{ahead.data(), ahead.size()});
            break;
        }
    }
    if (!header_.recognised) {
        const char* what = compressed_ ? "gzip-compressed, but not a pcap or pcapng capture inside" : "not a pcap or pcapng capture";
        error = ahead.empty() && got == 0 ? "empty input: not a pcap or pcapng capture"
                : header_.complete   ? what
                                     : "ends after " + std::to_string(ahead.size()) +
                                         " octets, inside what begins as a capture's header";
        return false;
    }
    prefix_ = std::move(ahead);
    prefixRead_ = 0;
    cookie_io_functions_t io{};
    io.read = [](void* cookie, char* buffer, size_t size) -> ssize_t {
        return static_cast<ssize_t>(ReadCookie(cookie, buffer, size));
    };
    std::FILE* stream = fopencookie(this, "rb", io);
    if (stream == nullptr) {
        error = "cannot read the input";
        return false;
    }
    char pcapError[PCAP_ERRBUF_SIZE] = "";
    pcap_t* p = pcap_fopen_offline_with_tstamp_precision(stream, PCAP_TSTAMP_PRECISION_NANO, pcapError);
    if (p == nullptr) {
        std::fclose(stream);
        error = std::string("libpcap cannot read it: ") + pcapError + MixedLinkTypesNote();
        return false;
    }
    pcap_ = p;
    linkType_ = header_.linkType >= 0 ? header_.linkType : LinkTypeOfDlt(pcap_datalink(p));
    return true;
}

std::string CaptureFile::MixedLinkTypesNote() const {
    if (!header_.mixedLinkTypes) return "";
    return " (its interfaces have different link types, " + std::to_string(header_.linkType) + " and " +
           std::to_string(header_.secondLinkType) + ", and libpcap reads only files whose interfaces share one)";
}

int CaptureFile::Next(CapturedFrame& frame, std::string& error) {
    pcap_pkthdr* header = nullptr;
    const u_char* data = nullptr;
    const int result = pcap_next_ex(static_cast<pcap_t*>(pcap_), &header, &data);
    if (result == PCAP_ERROR_BREAK) return 0;
    if (result != 1) {
        error = pcap_geterr(static_cast<pcap_t*>(pcap_)) + MixedLinkTypesNote();
        return -1;
    }
    frame.number = ++frames_;
    frame.seconds = header->ts.tv_sec;
    frame.nanoseconds = static_cast<uint32_t>(header->ts.tv_usec);
    frame.data = Bytes{data, header->caplen};
    frame.wireLength = header->len;
    return 1;
}

}  // namespace corvuna::capture
