// SPDX-License-Identifier: Apache-2.0
#include "capture/capture_file.h"

#include <pcap/pcap.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace corvuna::capture {

namespace {

constexpr size_t kPrefixSize = 1 << 20;

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
        return h;
    }
    if (prefix.size < 12 || magic != 0x0A0D0D0A) return h;
    const uint32_t byteOrder = prefix.Be32(8);
    if (byteOrder != 0x1A2B3C4D && byteOrder != 0x4D3C2B1A) return h;
    const bool little = byteOrder == 0x4D3C2B1A;
    h.pcapng = true;
    h.recognised = true;
    int finest = -1;
    size_t at = 0;
    while (at + 12 <= prefix.size) {
        const uint32_t type = Read32(prefix, at, little);
        const uint32_t length = Read32(prefix, at + 4, little);
        if (length < 12 || length % 4 != 0 || at + length > prefix.size) break;
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
}

long CaptureFile::ReadCookie(void* cookie, char* buffer, size_t size) {
    auto* self = static_cast<CaptureFile*>(cookie);
    if (self->prefixRead_ < self->prefix_.size()) {
        const size_t n = std::min(size, self->prefix_.size() - self->prefixRead_);
        std::memcpy(buffer, self->prefix_.data() + self->prefixRead_, n);
        self->prefixRead_ += n;
        return static_cast<long>(n);
    }
    const size_t n = std::fread(buffer, 1, size, stdin);
    return n == 0 && std::ferror(stdin) ? -1 : static_cast<long>(n);
}

bool CaptureFile::Open(const std::string& path, std::string& error) {
    path_ = path;
    const bool standardInput = path == "-";
    // The first blocks, read ahead for what libpcap does not tell.
    prefix_.resize(kPrefixSize);
    size_t got = 0;
    if (standardInput) {
        got = std::fread(prefix_.data(), 1, prefix_.size(), stdin);
    } else {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (f == nullptr) {
            error = std::string("cannot open: ") + std::strerror(errno);
            return false;
        }
        got = std::fread(prefix_.data(), 1, prefix_.size(), f);
        const bool failed = std::ferror(f) != 0;
        const int readErrno = errno;
        std::fclose(f);
        if (failed) {
            error = std::string("cannot read: ") + std::strerror(readErrno);
            return false;
        }
    }
    prefix_.resize(got);
    header_ = ReadCaptureHeader(Bytes{prefix_.data(), prefix_.size()});
    if (!header_.recognised) {
        error = got == 0 ? "empty input: not a pcap or pcapng capture" : "not a pcap or pcapng capture";
        return false;
    }
    char pcapError[PCAP_ERRBUF_SIZE] = "";
    pcap_t* p = nullptr;
    if (standardInput) {
        cookie_io_functions_t io{};
        io.read = [](void* cookie, char* buffer, size_t size) -> ssize_t {
            return static_cast<ssize_t>(ReadCookie(cookie, buffer, size));
        };
        std::FILE* stream = fopencookie(this, "rb", io);
        if (stream == nullptr) {
            error = "cannot read standard input";
            return false;
        }
        p = pcap_fopen_offline_with_tstamp_precision(stream, PCAP_TSTAMP_PRECISION_NANO, pcapError);
        if (p == nullptr) std::fclose(stream);
    } else {
        prefix_.clear();
        prefix_.shrink_to_fit();
        p = pcap_open_offline_with_tstamp_precision(path.c_str(), PCAP_TSTAMP_PRECISION_NANO, pcapError);
    }
    if (p == nullptr) {
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
