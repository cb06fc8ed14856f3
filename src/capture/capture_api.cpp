// SPDX-License-Identifier: Apache-2.0
// The C API of the capture library (corvuna/capture.h): a capture::Reader
// behind a handle, each message's facts as plain C values.
#include "corvuna/capture.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "capture/reader.h"
#include "security/keys.h"
#include "view/json_sink.h"
#include "view/text_sink.h"

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
    "json\x1F"
    "text";

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

const char* SourceName(const char* source) {
    if (std::strcmp(source, "(from the MAC)") == 0) return "mac";
    if (std::strcmp(source, "(from the message type)") == 0) return "message_type";
    if (std::strcmp(source, "(from -d)") == 0) return "option";
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
    bool ended = false;
    std::string error;
    std::string summary;
    // The current message's strings.
    std::string procedure, sTmsi, tai, ecgi, plmn, json, text;
    std::string message, causeText, imsi, guti, tmsi;
    std::vector<char> room;
    corvuna_capture_message out{};
    std::string line;  // a batch record

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
    o.direction_source = SourceName(m.directionSource);
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
    // The carrier's TAI tells where the UE is.
    if (f.location.tai) {
        plmn = PlmnText(f.location.taiPlmn);
        o.tac = f.location.tac;
    }
    o.plmn = plmn.c_str();
    json.clear();
    text.clear();
    if ((include & (CORVUNA_CAPTURE_JSON | CORVUNA_CAPTURE_TEXT)) != 0) {
        constexpr size_t kRoom = view::kMaxViewOutput + 4096;
        if (room.size() < kRoom) room.resize(kRoom);
        if ((include & CORVUNA_CAPTURE_JSON) != 0) {
            view::JsonSink sink(room.data(), kRoom);
            capture::WriteRecord(sink, m, true, c.show_keys != 0);
            sink.Finish();
            if (!sink.Truncated()) json.assign(room.data(), sink.Length());
            o.json = json.c_str();
            o.json_length = json.size();
        }
        if ((include & CORVUNA_CAPTURE_TEXT) != 0) {
            view::TextSink sink(room.data(), kRoom);
            capture::WriteRecord(sink, m, false, c.show_keys != 0);
            sink.Finish();
            if (!sink.Truncated()) text.assign(room.data(), sink.Length());
            o.text = text.c_str();
            o.text_length = text.size();
        }
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
    for (char ch : value) line += ch == kField || ch == kRecord ? ' ' : ch;
    line += kField;
}
void Number(std::string& line, int64_t value, bool present) {
    if (present) line += std::to_string(value);
    line += kField;
}

constexpr char kHex[] = "0123456789abcdef";

// A batch record of the message in `r`.
void Record(corvuna_capture& r) {
    const corvuna_capture_message& o = r.out;
    std::string& line = r.line;
    line.clear();
    Number(line, static_cast<int64_t>(o.frame), true);
    Number(line, o.seconds, true);
    Number(line, o.nanoseconds, true);
    Field(line, o.time);
    Field(line, o.carrier);
    Field(line, o.procedure);
    Number(line, o.procedure_code, o.procedure_code >= 0);
    Number(line, o.enb_ue_s1ap_id, o.enb_ue_s1ap_id >= 0);
    Number(line, o.mme_ue_s1ap_id, o.mme_ue_s1ap_id >= 0);
    Number(line, o.ran_ue_ngap_id, o.ran_ue_ngap_id >= 0);
    Number(line, o.amf_ue_ngap_id, o.amf_ue_ngap_id >= 0);
    Field(line, o.s_tmsi);
    Field(line, o.tai);
    Field(line, o.ecgi);
    Field(line, o.ue);
    Field(line, o.direction == 1 ? "uplink" : "downlink");
    Field(line, o.direction_source);
    Field(line, o.nas == CORVUNA_CAPTURE_EPS ? "eps" : o.nas == CORVUNA_CAPTURE_5GS ? "5gs" : "as_ciphered");
    Number(line, o.security_header, o.security_header >= 0);
    Field(line, o.mac);
    Field(line, o.body);
    Number(line, o.eea, o.eea >= 0);
    Number(line, o.eia, o.eia >= 0);
    Number(line, o.count, o.count >= 0);
    for (size_t i = 0; i < o.length; ++i) {
        line += kHex[o.octets[i] >> 4];
        line += kHex[o.octets[i] & 0x0F];
    }
    line += kField;
    Field(line, o.nas == CORVUNA_CAPTURE_AS_CIPHERED ? std::string_view() : view::ResultName(static_cast<view::Result>(o.result)));
    Number(line, static_cast<int64_t>(o.errors), true);
    Field(line, o.message);
    Number(line, o.cause, o.cause >= 0);
    Field(line, o.cause_text);
    Field(line, o.imsi);
    Field(line, o.guti);
    Field(line, o.tmsi);
    Field(line, o.plmn);
    Number(line, o.tac, o.tac >= 0);
    Field(line, o.json != nullptr ? std::string_view(o.json, o.json_length) : std::string_view());
    for (char ch : o.text != nullptr ? std::string_view(o.text, o.text_length) : std::string_view()) {
        line += ch == kField || ch == kRecord ? ' ' : ch;
    }
    line += kRecord;
}

}  // namespace

extern "C" {

void corvuna_capture_options_init(corvuna_capture_options* options) {
    if (options == nullptr) return;
    *options = corvuna_capture_options{};
    options->size = sizeof(corvuna_capture_options);
    options->direction = 1;
    options->include = CORVUNA_CAPTURE_JSON;
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
        int records = 0;
        while (records < max_messages) {
            const bool again = reader->pending;
            const int got = reader->Read();
            if (got != CORVUNA_CAPTURE_MESSAGE) {
                // An error after some records is told by the next call.
                if (got < 0 && records > 0) reader->ended = true;
                return records > 0 ? records : got;
            }
            if (!again) Record(*reader);
            const std::string& line = reader->line;
            if (line.size() > capacity - *used) {
                reader->pending = true;
                if (records == 0) {
                    *used = line.size();
                    return CORVUNA_CAPTURE_ERR_NO_ROOM;
                }
                return records;
            }
            std::memcpy(buffer + *used, line.data(), line.size());
            *used += line.size();
            ++records;
        }
        return records;
    } catch (...) {
        reader->error = reader->name + ": internal error";
        reader->ended = true;
        return CORVUNA_CAPTURE_ERR_INTERNAL;
    }
}

const char* corvuna_capture_columns(void) { return kColumns; }

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
