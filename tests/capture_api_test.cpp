// SPDX-License-Identifier: Apache-2.0
// The capture library's C API: messages one by one and in batches agree,
// records written later from their input are the records, a batch that
// has no room keeps its record, frame ranges read as the whole capture,
// and errors name the input.
#include <gtest/gtest.h>

#if defined(CORVUNA_WITH_CAPTURE)

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "corvuna/capture.h"
#include "support/test_support.h"

namespace corvuna::test {
namespace {

namespace fs = std::filesystem;

std::string Shared(const std::string& name) {
    return (fs::path(CORVUNA_SOURCE_DIR) / ".." / "shared" / "captures" / name).string();
}

#define SKIP_WITHOUT(path)                                                      \
    if (!fs::exists(path)) GTEST_SKIP() << "the shared capture " << (path) << " is not there"

struct Reader {
    corvuna_capture* r = nullptr;
    ~Reader() { corvuna_capture_close(r); }
};

int Open(Reader& reader, const std::string& path, unsigned include, uint64_t first = 0, uint64_t last = 0,
         std::string* error = nullptr) {
    corvuna_capture_options o;
    corvuna_capture_options_init(&o);
    o.include = include;
    o.first_frame = first;
    o.last_frame = last;
    char text[512] = "";
    const int got = corvuna_capture_open(path.c_str(), &o, &reader.r, text, sizeof text);
    if (error != nullptr) *error = text;
    return got;
}

// Every record of a batch reading, as columns of fields.
std::vector<std::vector<std::string>> Columns(corvuna_capture* r, size_t capacity, int* calls = nullptr) {
    std::vector<std::vector<std::string>> columns;
    std::vector<char> buffer(capacity);
    size_t used = 0;
    int got = 0;
    while ((got = corvuna_capture_next_batch(r, buffer.data(), buffer.size(), &used, 1000)) != 0) {
        if (got == CORVUNA_CAPTURE_ERR_NO_ROOM && used > buffer.size()) {
            buffer.resize(used);  // a record larger than the room: it is kept for the next call
            continue;
        }
        if (got < 0) break;
        if (calls != nullptr) ++*calls;
        size_t c = 0;
        std::string field;
        for (size_t i = 0; i < used; ++i) {
            if (buffer[i] == '\x1E') {
                ++c;
            } else if (buffer[i] == '\x1F') {
                if (columns.size() <= c) columns.resize(c + 1);
                columns[c].push_back(field);
                field.clear();
            } else {
                field += buffer[i];
            }
        }
    }
    EXPECT_EQ(got, 0);
    return columns;
}

size_t ColumnOf(const char* name) {
    std::string all = corvuna_capture_columns();
    size_t index = 0, at = 0;
    for (;;) {
        const size_t end = all.find('\x1F', at);
        if (all.substr(at, end - at) == name) return index;
        if (end == std::string::npos) return SIZE_MAX;
        at = end + 1;
        ++index;
    }
}

std::string Render(const std::string& input, int what, int* result = nullptr) {
    std::vector<char> out(1 << 20);
    size_t needed = 0;
    const int got = corvuna_capture_render(input.data(), input.size(), what, out.data(), out.size(), &needed);
    if (result != nullptr) *result = got;
    return got >= 0 ? std::string(out.data(), needed - 1) : std::string();
}

TEST(CaptureApi, BatchesHoldWhatMessagesHoldAndRecordsAreWrittenFromTheirInput) {
    const std::string path = Shared("s1ap_o5gs_testepc.pcapng");
    SKIP_WITHOUT(path);
    Reader one, many;
    ASSERT_EQ(Open(one, path, CORVUNA_CAPTURE_JSON | CORVUNA_CAPTURE_TEXT | CORVUNA_CAPTURE_COMMENT),
              CORVUNA_CAPTURE_OK);
    ASSERT_EQ(Open(many, path, 0), CORVUNA_CAPTURE_OK);
    const auto columns = Columns(many.r, 1 << 20);
    ASSERT_EQ(columns.size(), ColumnOf("input") + 1);
    const corvuna_capture_message* m = nullptr;
    size_t n = 0;
    for (; corvuna_capture_next(one.r, &m) == CORVUNA_CAPTURE_MESSAGE; ++n) {
        ASSERT_LT(n, columns[0].size());
        EXPECT_EQ(columns[ColumnOf("frame")][n], std::to_string(m->frame));
        EXPECT_EQ(columns[ColumnOf("message")][n], m->message);
        EXPECT_EQ(columns[ColumnOf("ue")][n], m->ue);
        EXPECT_EQ(columns[ColumnOf("mac")][n], m->mac);
        EXPECT_TRUE(columns[ColumnOf("view")][n].empty());  // not asked for
        const std::string& input = columns[ColumnOf("input")][n];
        int result = -1;
        EXPECT_EQ(Render(input, CORVUNA_CAPTURE_RECORD, &result), std::string(m->json, m->json_length));
        EXPECT_EQ(result, m->result);
        EXPECT_EQ(Render(input, CORVUNA_CAPTURE_VIEW_TEXT), std::string(m->text, m->text_length));
        EXPECT_NE(std::strstr(m->comment, ("frame=" + std::to_string(m->frame)).c_str()), nullptr);
    }
    EXPECT_EQ(n, 179u);
    EXPECT_EQ(n, columns[0].size());
    EXPECT_NE(std::string(corvuna_capture_summary(one.r)).find("179 NAS messages"), std::string::npos);
}

TEST(CaptureApi, ABatchWithoutRoomKeepsItsRecordForTheNextCall) {
    const std::string path = Shared("s1ap_o5gs_testattach.pcapng");
    SKIP_WITHOUT(path);
    Reader whole, small;
    ASSERT_EQ(Open(whole, path, CORVUNA_CAPTURE_JSON), CORVUNA_CAPTURE_OK);
    ASSERT_EQ(Open(small, path, CORVUNA_CAPTURE_JSON), CORVUNA_CAPTURE_OK);
    char tiny[16];
    size_t used = 0;
    ASSERT_EQ(corvuna_capture_next_batch(small.r, tiny, sizeof tiny, &used, 10), CORVUNA_CAPTURE_ERR_NO_ROOM);
    EXPECT_GT(used, sizeof tiny);
    int calls = 0;
    const auto a = Columns(whole.r, 1 << 20);
    const auto b = Columns(small.r, used + 512, &calls);  // a few records a call
    ASSERT_EQ(a.size(), b.size());
    EXPECT_TRUE(a == b);
    EXPECT_GT(calls, static_cast<int>(a[0].size()) / 4);
    EXPECT_EQ(a[0].size(), 120u);
}

TEST(CaptureApi, FrameRangesReadAsTheWholeCapture) {
    const std::string path = Shared("s1ap_o5gs_testepc.pcapng");
    SKIP_WITHOUT(path);
    uint64_t frames = 0;
    ASSERT_EQ(corvuna_capture_count_frames(path.c_str(), &frames, nullptr, 0), CORVUNA_CAPTURE_OK);
    ASSERT_EQ(frames, 644u);
    Reader whole;
    ASSERT_EQ(Open(whole, path, CORVUNA_CAPTURE_JSON), CORVUNA_CAPTURE_OK);
    const auto expected = Columns(whole.r, 1 << 22);
    std::vector<std::vector<std::string>> joined(expected.size());
    for (uint64_t first = 1; first <= frames; first += 150) {
        Reader part;
        ASSERT_EQ(Open(part, path, CORVUNA_CAPTURE_JSON, first, std::min(first + 149, frames)), CORVUNA_CAPTURE_OK);
        const auto got = Columns(part.r, 1 << 22);
        for (size_t c = 0; c < got.size(); ++c) joined[c].insert(joined[c].end(), got[c].begin(), got[c].end());
    }
    EXPECT_EQ(joined, expected);
}

TEST(CaptureApi, ErrorsAreCodesWithAReasonNamingTheInput) {
    const fs::path dir = fs::temp_directory_path();
    const std::string text = (dir / "corvuna-capture-api-text.pcap").string();
    std::ofstream(text) << "07 41\n";
    const std::string keys = (dir / "corvuna-capture-api.keys").string();
    std::ofstream(keys) << "001010000000001 k=12\n";
    struct Case {
        const char* what;
        std::string path;
        const char* keys;
        size_t size;
        int code;
        std::string says;
    } cases[] = {
        {"missing file", (dir / "corvuna-no-such.pcap").string(), nullptr, sizeof(corvuna_capture_options),
         CORVUNA_CAPTURE_ERR_OPEN, "corvuna-no-such.pcap: cannot open"},
        {"not a capture", text, nullptr, sizeof(corvuna_capture_options), CORVUNA_CAPTURE_ERR_FORMAT,
         "corvuna-capture-api-text.pcap: not a pcap or pcapng capture"},
        {"bad keys", text, keys.c_str(), sizeof(corvuna_capture_options), CORVUNA_CAPTURE_ERR_KEYS,
         "corvuna-capture-api.keys"},
        {"options not initialised", text, nullptr, 0, CORVUNA_CAPTURE_ERR_ARGUMENT, "corvuna_capture_options_init"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        corvuna_capture_options o;
        corvuna_capture_options_init(&o);
        o.keys_file = c.keys;
        o.size = c.size;
        corvuna_capture* r = reinterpret_cast<corvuna_capture*>(&o);  // must be reset
        char error[256];
        EXPECT_EQ(corvuna_capture_open(c.path.c_str(), &o, &r, error, sizeof error), c.code);
        EXPECT_EQ(r, nullptr);
        EXPECT_NE(std::string(error).find(c.says), std::string::npos) << error;
    }
    const corvuna_capture_message* m = nullptr;
    EXPECT_EQ(corvuna_capture_next(nullptr, &m), CORVUNA_CAPTURE_ERR_ARGUMENT);
    EXPECT_EQ(corvuna_capture_render("r1|", 3, CORVUNA_CAPTURE_RECORD, nullptr, 0, nullptr),
              CORVUNA_CAPTURE_ERR_ARGUMENT);
    fs::remove(text);
    fs::remove(keys);
}

TEST(CaptureApi, ACaptureCutShortGivesItsMessagesThenTheError) {
    const std::string path = Shared("s1ap_o5gs_testattach.pcapng");
    SKIP_WITHOUT(path);
    std::ifstream in(path, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string cut = (fs::temp_directory_path() / "corvuna-capture-api-cut.pcapng").string();
    std::ofstream(cut, std::ios::binary) << data.substr(0, data.size() / 2 + 3);
    Reader r;
    ASSERT_EQ(Open(r, cut, 0), CORVUNA_CAPTURE_OK);
    const corvuna_capture_message* m = nullptr;
    int got = 0, messages = 0;
    while ((got = corvuna_capture_next(r.r, &m)) == CORVUNA_CAPTURE_MESSAGE) ++messages;
    EXPECT_EQ(got, CORVUNA_CAPTURE_ERR_READ);
    EXPECT_GT(messages, 10);
    EXPECT_NE(std::string(corvuna_capture_error(r.r)).find("corvuna-capture-api-cut.pcapng: after frame"),
              std::string::npos);
    fs::remove(cut);
}

}  // namespace
}  // namespace corvuna::test

#endif  // CORVUNA_WITH_CAPTURE
