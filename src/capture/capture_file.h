// SPDX-License-Identifier: Apache-2.0
// A pcap or pcapng capture read through libpcap, frame by frame, with what
// libpcap does not tell: the link type as the file gives it (LINKTYPE_
// value), the precision of its time stamps, and whether its interfaces
// differ in link type.  A file, standard input or a descriptor (a pipe, a
// socket); gzip-compressed captures are inflated by zlib as they are read.
// A stream is read as its bytes arrive: a frame is given as soon as it is
// whole, never held back to fill a buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "capture/bytes.h"

namespace corvuna::capture {

struct CapturedFrame {
    uint64_t number = 0;  // 1 for the first frame, as tshark counts
    int64_t seconds = 0;  // since 1970-01-01 UTC
    uint32_t nanoseconds = 0;
    Bytes data;             // valid until the next frame is read
    size_t wireLength = 0;  // the frame's length on the wire
};

// What the first blocks of a capture say about it (pure, for tests).
struct CaptureHeader {
    bool pcapng = false;
    bool recognised = false;
    int linkType = -1;       // of the first interface
    bool mixedLinkTypes = false;
    int secondLinkType = -1; // the first interface's type that differs
    int fractionDigits = 6;  // time stamp precision, in decimal digits (the finest interface's)
    // Every block before the first frame was seen (pcap: the file header),
    // so more octets would tell nothing more; or the octets are no capture.
    bool complete = false;
};
CaptureHeader ReadCaptureHeader(Bytes prefix);

class CaptureFile {
public:
    CaptureFile() = default;
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;
    ~CaptureFile();

    // Opens `path` ("-": standard input).  False with the reason.
    bool Open(const std::string& path, std::string& error);
    // Reads from the descriptor `fd` (a duplicate of it is taken, so the
    // caller closes its own).  False with the reason.
    bool OpenDescriptor(int fd, std::string& error);

    bool compressed() const { return compressed_; }

    const CaptureHeader& header() const { return header_; }
    int linkType() const { return linkType_; }

    // The next frame: 1, 0 at the end, -1 on a read error (with the reason).
    int Next(CapturedFrame& frame, std::string& error);

private:
    bool Start(int fd, bool owned, std::string& error);
    // Up to `size` octets of the capture (inflated when it is compressed),
    // as many as have arrived: 0 at its end, -1 on an error (errno_ set).
    long Read(char* buffer, size_t size);
    long ReadRaw(char* buffer, size_t size);
    static long Held(const std::vector<uint8_t>& held, size_t& at, char* buffer, size_t size);
    static long ReadCookie(void* cookie, char* buffer, size_t size);
    std::string MixedLinkTypesNote() const;

    void* pcap_ = nullptr;  // pcap_t
    CaptureHeader header_;
    int linkType_ = -1;
    uint64_t frames_ = 0;
    int fd_ = -1;
    bool ownsFd_ = false;
    int errno_ = 0;
    // The first octets as read (the header is learnt from them), given to
    // libpcap before the rest.
    std::vector<uint8_t> raw_;
    size_t rawRead_ = 0;
    // gzip: zlib's stream, its input, and the inflated first octets.
    bool compressed_ = false;
    void* zstream_ = nullptr;  // z_stream
    std::vector<uint8_t> input_;
    bool inputEnd_ = false;
    std::vector<uint8_t> prefix_;
    size_t prefixRead_ = 0;
};

}  // namespace corvuna::capture
