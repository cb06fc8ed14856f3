// SPDX-License-Identifier: Apache-2.0
// Fuzz target: a whole capture file through the reader.  Bit 0 of octet 0
// asks for null ciphering; the rest is the file (a pcap, a pcapng, or
// either gzip-compressed, which the reader inflates with zlib), given to
// the reader as a descriptor.  Every message is written as its record, and
// its record input is read back and must write the same record.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "capture/reader.h"
#include "capture/record_input.h"
#include "view/json_sink.h"

namespace {

std::string Record(const corvuna::capture::Message& m, bool showKeys) {
    static std::vector<char> room(corvuna::view::kMaxViewOutput + 4096);  // one fuzzing thread
    corvuna::view::JsonSink sink(room.data(), room.size());
    corvuna::capture::WriteRecord(sink, m, true, showKeys);
    sink.Finish();
    return std::string(room.data(), sink.Length());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvuna::capture;
    if (size < 1) return 0;
    const int fd = memfd_create("capture", 0);
    if (fd < 0) return 0;
    if (write(fd, data + 1, size - 1) != static_cast<ssize_t>(size - 1) || lseek(fd, 0, SEEK_SET) != 0) {
        close(fd);
        return 0;
    }
    ReaderOptions options;
    options.nullCiphering = (data[0] & 1) != 0;
    options.users[150 - 147] = UserPayload::kS1ap;
    options.usersGiven[150 - 147] = true;
    Reader reader(options);
    std::string error;
    if (reader.OpenDescriptor(fd, error)) {
        Message m;
        for (int n = 0; n < 64 && reader.Next(m); ++n) {
            const std::string record = Record(m, false);
            std::string input;
            AppendRecordInput(m, false, input);
            auto back = std::make_unique<RecordInput>();
            if (!ParseRecordInput(input, *back)) {
                std::fprintf(stderr, "record input not read back:\n%s\n", input.c_str());
                std::abort();
            }
            if (const std::string again = Record(back->message, back->showKeys); again != record) {
                std::fprintf(stderr, "record:\n%s\nfrom its record input:\n%s\n", record.c_str(), again.c_str());
                std::abort();
            }
        }
    }
    close(fd);
    return 0;
}
