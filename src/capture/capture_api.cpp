// SPDX-License-Identifier: Apache-2.0
// The C API of the capture library (corvuna/capture.h): a capture::Reader
// behind a handle, each message's facts as plain C values.
#include "corvuna/capture.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "capture/capture_file.h"
#include "capture/reader.h"
#include "capture/record_input.h"
#include "security/keys.h"
#include "view/json_sink.h"
#include "view/text_sink.h"
#include "view/walker.h"

using namespace corvuna;

namespace {

constexpr char kField = '\x1F';
constexpr char kRecord = '\x1E';

constexpr const char kColumns[] =
    "frame\x1Fseconds\x1Fnanoseconds\x1Ftime\x1F"
    "carrier\x1Fprocedure\x1Fprocedure_code\x1F"
    "enb_ue_s1ap_id\x1Fmme_ue_s1ap_id\x1Fran_ue_ngap_id\x1F"
    "amf_ue_ngap_id\x1Fs_tmsi\x1Ftai\x1F"
    "ecgi\x1Fue\x1F"
    "direction\x1F"
    "direction_source\x1Fnas\x1Fsecurity_header\x1F"
    "mac\x1F"
    "body\x1F"
    "eea\x1F"
    "eia\x1F"
    "count\x1F"
    "octets\x1F"
    "result\x1F"
    "errors\x1F"
    "message\x1F"
    "cause\x1F"
    "cause_text\x1F"
    "imsi\x1F"
    "guti\x1F"
    "tmsi\x1F"
    "plmn\x1F"
    "tac\x1F"
    "view\x1F"
    "text\x1F"
    "input";

const char* MacName(security::MacCheck mac) {
    switch (mac) {
        case security::MacCheck::kVerified: return "verified";
        case security::MacCheck::kFailed: return "failed";
        case security::MacCheck::kUnverifiable: return "unverifiable";
        case security::MacCheck::kNone: break;
    }
    return "";
}

const char* BodyName(security::BodyState body) {
    switch (body) {
        case security::BodyState::kClear: return "clear";
        case security::BodyState::kDeciphered: return "deciphered";
        case security::BodyState::kNull: return "null_ciphering";
        case security::BodyState::kGuessedNull: return "guessed_null";
        case security::BodyState::kLeftCiphered: return "left_ciphered";
    }
    return "";
}

// "001-01" of a PLMN identity's three TBCD octets (TS 24.008 10.5.1.13).
std::string PlmnText(const uint8_t* p) {
    auto digit = [](int d) { return static_cast<char>(d <= 9 ? '0' + d : '?'); };
    std::string text{digit(p[0] & 0x0F), digit(p[0] >> 4), digit(p[1] & 0x0F), '-', digit(p[2] & 0x0F),
                     digit(p[2] >> 4)};
    if ((p[1] >> 4) != 0x0F) text += digit(p[1] >> 4);
    return text;
}

// The record of `m` (JSON) or its view's tree, in `out` (empty when it
// would not fit the room).
template <typename Sink>
void Written(const capture::Message& m, bool json, bool showKeys, std::vector<char>& room, std::string& out) {
    Sink sink(room.data(), room.size());
    capture::WriteRecord(sink, m, json, showKeys);
    sink.Finish();
    if (!sink.Truncated()) out.assign(room.data(), sink.Length());
}

void CopyError(const std::string& text, char* error, size_t size) {
    if (error == nullptr || size == 0) return;
    const size_t n = std::min(text.size(), size - 1);
    std::memcpy(error, text.data(), n);
    error[n] = '\0';
}

}  // namespace

struct corvuna_capture {
    std::string name;
    unsigned include = CORVUNA_CAPTURE_JSON;
    security::KeyStore keys;
    corvuna_capture_options c{};
    std::unique_ptr<capture::Reader> reader;
    capture::Message m;
    bool pending = false;  // m was read and is still to be given (a batch had no room for it)
    bool batch = false;    // read by batches: the view's JSON is the batch's, not the record's
    bool ended = false;
    std::string error;
    std::string summary;
    // The current message's strings.
    std::string procedure, sTmsi, tai, ecgi, plmn, json, text;
    std::string message, causeText, imsi, guti, tmsi;
    std::vector<char> room;
    corvuna_capture_message out{};
    std::vector<std::string> columns;  // a batch, column by column
    std::vector<size_t> marks;         // the columns' sizes before the last record

    // Reads the next message into m; CORVUNA_CAPTURE_MESSAGE, _END or an error.
    int Read();
    // Fills `out` from m.
    void Describe();
};

int corvuna_capture::Read() {
    if (pending) {
        pending = false;
        return CORVUNA_CAPTURE_MESSAGE;
    }
    if (ended) return reader->counts().failed ? CORVUNA_CAPTURE_ERR_READ : CORVUNA_CAPTURE_END;
    if (reader->Next(m)) {
        Describe();
        return CORVUNA_CAPTURE_MESSAGE;
    }
    ended = true;
    if (reader->counts().failed) {
        error = name + ": " + reader->error();
        return CORVUNA_CAPTURE_ERR_READ;
    }
    return CORVUNA_CAPTURE_END;
}

void corvuna_capture::Describe() {
    const capture::FoundNas& f = *m.found;
    corvuna_capture_message& o = out;
    o = corvuna_capture_message{};
    o.file = name.c_str();
    o.frame = m.frame;
    o.seconds = m.seconds;
    o.nanoseconds = m.nanoseconds;
    o.time = m.time.c_str();
    o.carrier = capture::CarrierName(f.carrier);
    procedure = capture::ProcedureName(f);
    o.procedure = procedure.c_str();
    o.procedure_code = procedure.empty() ? -1 : f.procedure;
    o.enb_ue_s1ap_id = f.enbUeId;
    o.mme_ue_s1ap_id = f.mmeUeId;
    o.ran_ue_ngap_id = f.ranUeNgapId;
    o.amf_ue_ngap_id = f.amfUeNgapId;
    sTmsi.clear();
    tai.clear();
    ecgi.clear();
    capture::ForEachUeFact(f, [this](view::Label label, const char* value, bool number) {
        if (number) return;
        const std::string_view key = label.quotedIdentifier();
        if (key == "\"s_tmsi\"") sTmsi = value;
        if (key == "\"tai\"") tai = value;
        if (key == "\"ecgi\"") ecgi = value;
    });
    o.s_tmsi = sTmsi.c_str();
    o.tai = tai.c_str();
    o.ecgi = ecgi.c_str();
    o.ue = m.facts->ue.c_str();
    o.direction = m.direction;
    o.direction_source = capture::DirectionSourceName(m.directionSource);
    o.nas = m.kind == capture::Message::Kind::kEps      ? CORVUNA_CAPTURE_EPS
            : m.kind == capture::Message::Kind::kFivegs ? CORVUNA_CAPTURE_5GS
                                                        : CORVUNA_CAPTURE_AS_CIPHERED;
    o.security_header = m.header.securityHeader;
    o.mac = MacName(m.facts->mac);
    o.body = m.kind == capture::Message::Kind::kAsCiphered ? "" : BodyName(m.body);
    o.eea = m.kind == capture::Message::Kind::kFivegs ? m.protection.cipheringAlgorithm : m.facts->eea;
    o.eia = m.facts->eia;
    o.count = m.facts->countKnown ? static_cast<int64_t>(m.facts->count) : -1;
    o.octets = f.octets.data;
    o.length = f.octets.size;
    o.result = static_cast<int>(m.result);
    const view::MessageFacts& v = m.view;
    o.errors = v.errors;
    // The view's strings are held in place in m; each gets its NUL here.
    message.assign(v.message.view());
    causeText.assign(v.causeText.view());
    imsi.assign(v.imsi.view());
    guti.assign(v.guti.view());
    tmsi.assign(v.tmsi.view());
    o.message = message.c_str();
    o.cause_text = causeText.c_str();
    o.imsi = imsi.c_str();
    o.guti = guti.c_str();
    o.tmsi = tmsi.c_str();
    o.cause = static_cast<int>(v.cause);
    o.tac = v.tac;
    plmn.assign(v.plmn.view());
    // The TAI S1AP carried (with this message or an earlier one of the UE
    // association) tells where the UE is.
    if (m.ueTai) {
        plmn = PlmnText(m.ueTaiPlmn);
        o.tac = m.ueTac;
    }
    o.plmn = plmn.c_str();
    json.clear();
    text.clear();
    constexpr size_t kRoom = view::kMaxViewOutput + 4096;
    if (room.size() < kRoom) room.resize(kRoom);
    if ((include & CORVUNA_CAPTURE_JSON) != 0 && !batch) {
        Written<view::JsonSink>(m, true, c.show_keys != 0, room, json);
        o.json = json.c_str();
        o.json_length = json.size();
    }
    if ((include & CORVUNA_CAPTURE_TEXT) != 0) {
        Written<view::TextSink>(m, false, c.show_keys != 0, room, text);
        o.text = text.c_str();
        o.text_length = text.size();
    }
    o.comment = m.comment.c_str();
}

namespace {

int Open(const std::string& name, int fd, const corvuna_capture_options* options, corvuna_capture** reader,
         char* error, size_t errorSize) {
    if (reader == nullptr) {
        CopyError("no place for the reader", error, errorSize);
        return CORVUNA_CAPTURE_ERR_ARGUMENT;
    }
    *reader = nullptr;
    auto handle = std::make_unique<corvuna_capture>();
    handle->name = name;
    corvuna_capture_options_init(&handle->c);
    if (options != nullptr) {
        if (options->size < sizeof(corvuna_capture_options) || (options->direction != 0 && options->direction != 1)) {
            CopyError(name + ": options not set by corvuna_capture_options_init, or a direction not 0 or 1", error,
                      errorSize);
            return CORVUNA_CAPTURE_ERR_ARGUMENT;
        }
        handle->c = *options;
    }
    const corvuna_capture_options& c = handle->c;
    handle->include = c.include;
    capture::ReaderOptions r;
    r.direction = c.direction;
    r.nullCiphering = c.null_ciphering != 0;
    r.captureKeys = c.no_capture_keys == 0;
    r.showKeys = c.show_keys != 0;
    r.comments = (c.include & CORVUNA_CAPTURE_COMMENT) != 0;
    r.firstFrame = c.first_frame > 0 ? c.first_frame : 1;
    r.lastFrame = c.last_frame;
    if (c.last_frame > 0 && c.last_frame < r.firstFrame) {
        CopyError(name + ": the last frame " + std::to_string(c.last_frame) + " is before the first, " +
                      std::to_string(r.firstFrame),
                  error, errorSize);
        return CORVUNA_CAPTURE_ERR_ARGUMENT;
    }
    for (int i = 0; i < 16; ++i) {
        if (c.user_dlt[i] == nullptr) continue;
        const int payload = capture::UserPayloadFromName(c.user_dlt[i]);
        if (payload < 0) {
            CopyError(name + ": user link type " + std::to_string(147 + i) + ": '" + c.user_dlt[i] +
                          "' is none of nas, s1ap, mac-lte-framed, udp",
                      error, errorSize);
            return CORVUNA_CAPTURE_ERR_ARGUMENT;
        }
        r.users[i] = static_cast<capture::UserPayload>(payload);
        r.usersGiven[i] = true;
    }
    std::string why;
    if (c.keys_file != nullptr && !security::LoadKeysFile(c.keys_file, handle->keys, why)) {
        CopyError(why, error, errorSize);
        return CORVUNA_CAPTURE_ERR_KEYS;
    }
    if (c.keys_text != nullptr && !security::ParseKeys(c.keys_text, "keys", handle->keys, why)) {
        CopyError(why, error, errorSize);
        return CORVUNA_CAPTURE_ERR_KEYS;
    }
    if (c.keys_file != nullptr || c.keys_text != nullptr) r.keys = &handle->keys;
    if (c.warning != nullptr) {
        auto* callback = c.warning;
        void* context = c.warning_context;
        const std::string prefix = name + ": ";
        r.warning = [callback, context, prefix](const std::string& text) {
            callback(context, (prefix + text).c_str());
        };
    }
    handle->reader = std::make_unique<capture::Reader>(r);
    const bool opened = fd >= 0 ? handle->reader->OpenDescriptor(fd, why) : handle->reader->Open(name, why);
    if (!opened) {
        CopyError(name + ": " + why, error, errorSize);
        const bool format = why.find("capture") != std::string::npos || why.find("link type") != std::string::npos ||
                            why.find("libpcap") != std::string::npos;
        return format ? CORVUNA_CAPTURE_ERR_FORMAT : CORVUNA_CAPTURE_ERR_OPEN;
    }
    *reader = handle.release();
    return CORVUNA_CAPTURE_OK;
}

// Appends a field and its separator, with the separators kept out of it.
void Field(std::string& line, std::string_view value) {
    const size_t at = line.size();
    line.append(value);
    if (value.find_first_of("\x1E\x1F") != std::string_view::npos) {
        for (size_t i = at; i < line.size(); ++i) {
            if (line[i] == kField || line[i] == kRecord) line[i] = ' ';
        }
    }
    line += kField;
}
void Number(std::string& line, int64_t value, bool present) {
    if (present) {
        char text[24];
        line.append(text, static_cast<size_t>(std::to_chars(text, text + sizeof text, value).ptr - text));
    }
    line += kField;
}

constexpr char kHex[] = "0123456789abcdef";

// The batch record of the message in `r`: each field appended to its
// column, followed by 0x1F.
void Record(corvuna_capture& r, std::string* column) {
    const corvuna_capture_message& o = r.out;
    auto next = [&column]() -> std::string& { return *column++; };
    Number(next(), static_cast<int64_t>(o.frame), true);
    Number(next(), o.seconds, true);
    Number(next(), o.nanoseconds, true);
    Field(next(), o.time);
    Field(next(), o.carrier);
    Field(next(), o.procedure);
    Number(next(), o.procedure_code, o.procedure_code >= 0);
    Number(next(), o.enb_ue_s1ap_id, o.enb_ue_s1ap_id >= 0);
    Number(next(), o.mme_ue_s1ap_id, o.mme_ue_s1ap_id >= 0);
    Number(next(), o.ran_ue_ngap_id, o.ran_ue_ngap_id >= 0);
    Number(next(), o.amf_ue_ngap_id, o.amf_ue_ngap_id >= 0);
    Field(next(), o.s_tmsi);
    Field(next(), o.tai);
    Field(next(), o.ecgi);
    Field(next(), o.ue);
    Field(next(), o.direction == 1 ? "uplink" : "downlink");
    Field(next(), o.direction_source);
    Field(next(), o.nas == CORVUNA_CAPTURE_EPS ? "eps" : o.nas == CORVUNA_CAPTURE_5GS ? "5gs" : "as_ciphered");
    Number(next(), o.security_header, o.security_header >= 0);
    Field(next(), o.mac);
    Field(next(), o.body);
    Number(next(), o.eea, o.eea >= 0);
    Number(next(), o.eia, o.eia >= 0);
    Number(next(), o.count, o.count >= 0);
    std::string& hex = next();
    const size_t at = hex.size();
    hex.resize(at + 2 * o.length);
    for (size_t i = 0; i < o.length; ++i) {
        hex[at + 2 * i] = kHex[o.octets[i] >> 4];
        hex[at + 2 * i + 1] = kHex[o.octets[i] & 0x0F];
    }
    hex += kField;
    Field(next(), o.nas == CORVUNA_CAPTURE_AS_CIPHERED ? std::string_view() : view::ResultName(static_cast<view::Result>(o.result)));
    Number(next(), static_cast<int64_t>(o.errors), true);
    Field(next(), o.message);
    Number(next(), o.cause, o.cause >= 0);
    Field(next(), o.cause_text);
    Field(next(), o.imsi);
    Field(next(), o.guti);
    Field(next(), o.tmsi);
    Field(next(), o.plmn);
    Number(next(), o.tac, o.tac >= 0);
    // The view as JSON and as text, when asked for (JSON never holds the
    // separators; the text's are kept out), and the record's input.
    std::string& json = next();
    if ((r.include & CORVUNA_CAPTURE_JSON) != 0 && r.m.kind != capture::Message::Kind::kAsCiphered) {
        view::JsonSink sink(r.room.data(), r.room.size());
        view::DecodeView(r.m.direction, r.m.found->octets.data, r.m.found->octets.size, 0, &r.m.protection, sink,
                         view::Label());
        sink.Finish();
        if (!sink.Truncated()) json.append(r.room.data(), sink.Length());
    }
    json += kField;
    Field(next(), o.text != nullptr ? std::string_view(o.text, o.text_length) : std::string_view());
    std::string& input = next();
    capture::AppendRecordInput(r.m, r.c.show_keys != 0, input);
    input += kField;
}

constexpr size_t kColumnCount = [] {
    size_t n = 1;
    for (char c : kColumns) n += c == kField;
    return n;
}();

}  // namespace

extern "C" {

void corvuna_capture_options_init(corvuna_capture_options* options) {
    if (options == nullptr) return;
    *options = corvuna_capture_options{};
    options->size = sizeof(corvuna_capture_options);
    options->direction = 1;
    options->include = CORVUNA_CAPTURE_JSON | CORVUNA_CAPTURE_COMMENT;
}

int corvuna_capture_open(const char* path, const corvuna_capture_options* options, corvuna_capture** reader,
                         char* error, size_t error_size) {
    if (reader != nullptr) *reader = nullptr;
    if (path == nullptr) {
        CopyError("no capture named", error, error_size);
        return CORVUNA_CAPTURE_ERR_ARGUMENT;
    }
    try {
        return Open(path, -1, options, reader, error, error_size);
    } catch (const std::bad_alloc&) {
        CopyError(std::string(path) + ": out of memory", error, error_size);
    } catch (...) {
        CopyError(std::string(path) + ": internal error", error, error_size);
    }
    return CORVUNA_CAPTURE_ERR_INTERNAL;
}

int corvuna_capture_open_fd(int fd, const char* name, const corvuna_capture_options* options,
                            corvuna_capture** reader, char* error, size_t error_size) {
    if (reader != nullptr) *reader = nullptr;
    const std::string shown = name != nullptr ? name : "descriptor " + std::to_string(fd);
    if (fd < 0) {
        CopyError(shown + ": no descriptor", error, error_size);
        return CORVUNA_CAPTURE_ERR_ARGUMENT;
    }
    try {
        return Open(shown, fd, options, reader, error, error_size);
    } catch (...) {
        CopyError(shown + ": internal error", error, error_size);
    }
    return CORVUNA_CAPTURE_ERR_INTERNAL;
}

int corvuna_capture_next(corvuna_capture* reader, const corvuna_capture_message** message) {
    if (reader == nullptr || message == nullptr) return CORVUNA_CAPTURE_ERR_ARGUMENT;
    *message = nullptr;
    try {
        const int got = reader->Read();
        if (got == CORVUNA_CAPTURE_MESSAGE) *message = &reader->out;
        return got;
    } catch (...) {
        reader->error = reader->name + ": internal error";
        reader->ended = true;
        return CORVUNA_CAPTURE_ERR_INTERNAL;
    }
}

int corvuna_capture_next_batch(corvuna_capture* reader, char* buffer, size_t capacity, size_t* used,
                               int max_messages) {
    if (reader == nullptr || (buffer == nullptr && capacity > 0) || used == nullptr || max_messages < 1) {
        return CORVUNA_CAPTURE_ERR_ARGUMENT;
    }
    *used = 0;
    try {
        reader->batch = true;
        // Column by column: each field of each record followed by 0x1F,
        // each column ended by 0x1E.
        std::vector<std::string>& columns = reader->columns;
        columns.resize(kColumnCount);
        for (std::string& c : columns) c.clear();
        size_t total = kColumnCount;
        int records = 0;
        int got = CORVUNA_CAPTURE_END;
        std::vector<size_t>& marks = reader->marks;
        marks.resize(kColumnCount);
        while (records < max_messages) {
            got = reader->Read();
            if (got != CORVUNA_CAPTURE_MESSAGE) break;
            size_t before = 0;
            for (size_t c = 0; c < kColumnCount; ++c) before += marks[c] = columns[c].size();
            Record(*reader, columns.data());
            size_t after = 0;
            for (const std::string& c : columns) after += c.size();
            if (after - before > capacity - std::min(capacity, total)) {
                // Kept for the next call.
                for (size_t c = 0; c < kColumnCount; ++c) columns[c].resize(marks[c]);
                reader->pending = true;
                if (records == 0) {
                    *used = total + (after - before);
                    return CORVUNA_CAPTURE_ERR_NO_ROOM;
                }
                break;
            }
            total += after - before;
            ++records;
        }
        if (records == 0) return got;
        // An error after some records is told by the next call.
        if (got < 0) reader->ended = true;
        char* out = buffer;
        for (const std::string& column : columns) {
            std::memcpy(out, column.data(), column.size());
            out += column.size();
            *out++ = kRecord;
        }
        *used = static_cast<size_t>(out - buffer);
        return records;
    } catch (...) {
        reader->error = reader->name + ": internal error";
        reader->ended = true;
        return CORVUNA_CAPTURE_ERR_INTERNAL;
    }
}

const char* corvuna_capture_columns(void) { return kColumns; }

int corvuna_capture_render(const char* input, size_t length, int what, char* output, size_t capacity,
                           size_t* needed) {
    if (input == nullptr || (output == nullptr && capacity > 0) || what < CORVUNA_CAPTURE_RECORD ||
        what > CORVUNA_CAPTURE_VIEW_TEXT) {
        return CORVUNA_CAPTURE_ERR_ARGUMENT;
    }
    try {
        auto parsed = std::make_unique<capture::RecordInput>();
        if (!capture::ParseRecordInput(std::string_view(input, length), *parsed)) return CORVUNA_CAPTURE_ERR_ARGUMENT;
        const capture::Message& m = parsed->message;
        int result = static_cast<int>(m.kind == capture::Message::Kind::kAsCiphered ? view::Result::kCiphered
                                                                                     : view::Result::kDecoded);
        auto write = [&](view::Sink& sink) {
            if (what == CORVUNA_CAPTURE_RECORD) {
                capture::WriteRecord(sink, m, true, parsed->showKeys);
            } else if (m.kind != capture::Message::Kind::kAsCiphered) {
                result = static_cast<int>(view::DecodeView(m.direction, m.found->octets.data, m.found->octets.size, 0,
                                                           &m.protection, sink, view::Label()));
            }
            sink.Finish();
            if (needed != nullptr) *needed = sink.Required() + 1;
            return !sink.Truncated();
        };
        bool fitted = false;
        if (what == CORVUNA_CAPTURE_VIEW_TEXT) {
            view::TextSink sink(output, capacity);
            fitted = write(sink);
        } else {
            view::JsonSink sink(output, capacity);
            fitted = write(sink);
        }
        if (!fitted) {
            if (capacity > 0) output[0] = '\0';
            return CORVUNA_CAPTURE_ERR_NO_ROOM;
        }
        if (what == CORVUNA_CAPTURE_RECORD && m.kind != capture::Message::Kind::kAsCiphered) {
            result = static_cast<int>(view::DecodeFacts(m.direction, m.found->octets.data, m.found->octets.size,
                                                        &m.protection, parsed->message.view));
        }
        return result;
    } catch (...) {
        return CORVUNA_CAPTURE_ERR_INTERNAL;
    }
}

int corvuna_capture_count_frames(const char* path, uint64_t* frames, char* error, size_t error_size) {
    if (path == nullptr || frames == nullptr) {
        CopyError("no capture named", error, error_size);
        return CORVUNA_CAPTURE_ERR_ARGUMENT;
    }
    *frames = 0;
    try {
        capture::CaptureFile file;
        std::string why;
        if (!file.Open(path, why)) {
            CopyError(std::string(path) + ": " + why, error, error_size);
            return why.find("cannot") == 0 ? CORVUNA_CAPTURE_ERR_OPEN : CORVUNA_CAPTURE_ERR_FORMAT;
        }
        capture::CapturedFrame frame;
        int got = 0;
        while ((got = file.Next(frame, why)) > 0) ++*frames;
        if (got < 0) {
            CopyError(std::string(path) + ": after frame " + std::to_string(*frames) + ": " + why, error, error_size);
            return CORVUNA_CAPTURE_ERR_READ;
        }
        return CORVUNA_CAPTURE_OK;
    } catch (...) {
        CopyError(std::string(path) + ": internal error", error, error_size);
    }
    return CORVUNA_CAPTURE_ERR_INTERNAL;
}

const char* corvuna_capture_error(const corvuna_capture* reader) {
    return reader != nullptr ? reader->error.c_str() : "no reader";
}

const char* corvuna_capture_summary(corvuna_capture* reader) {
    if (reader == nullptr) return "";
    try {
        reader->summary = capture::Summary(reader->reader->counts());
    } catch (...) {
        reader->summary.clear();
    }
    return reader->summary.c_str();
}

void corvuna_capture_close(corvuna_capture* reader) { delete reader; }

}  // extern "C"
