// SPDX-License-Identifier: Apache-2.0
#include "cli/capture_run.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <string_view>


#include "capture/capture_file.h"
#include "capture/ngap.h"
#include "capture/s1ap.h"
#include "capture/security.h"
#include "corvuna/corvuna.h"

namespace corvuna::cli {

namespace {

using capture::Bytes;
using capture::Carrier;
using capture::FoundNas;
using capture::ProtectedNas;

constexpr char kHex[] = "0123456789abcdef";

void AppendHex(std::string& text, Bytes octets) {
    for (size_t i = 0; i < octets.size; ++i) {
        text += kHex[octets.data[i] >> 4];
        text += kHex[octets.data[i] & 0x0F];
    }
}

std::string Hex32(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", v);
    return text;
}

const char* DirectionName(int direction) { return direction == 1 ? "uplink" : "downlink"; }

const char* ProcedureName(const FoundNas& f) {
    return f.carrier == Carrier::kNgap ? capture::NgapProcedureName(f.procedure)
                                       : capture::S1apProcedureName(f.procedure);
}

bool CarriedByAp(const FoundNas& f) { return f.carrier == Carrier::kS1ap || f.carrier == Carrier::kNgap; }

// The carrier as the listings of tshark name it: "s1ap:initialUEMessage(12)".
std::string CarrierText(const FoundNas& f) {
    std::string text = capture::CarrierName(f.carrier);
    if (CarriedByAp(f)) {
        text += ':';
        text += ProcedureName(f);
        text += '(' + std::to_string(f.procedure) + ')';
    }
    return text;
}

// `value` as `digits` lower-case hex digits after `out` (no terminator).
char* PutHex(char* out, uint32_t value, int digits) {
    for (int i = digits - 1; i >= 0; --i) *out++ = kHex[(value >> (4 * i)) & 0x0F];
    return out;
}

// The UE facts of S1AP and NGAP, each given to `put(key, value, number)`
// (the comment line's key=value words, or JSON members), in this order.
template <typename Put>
void UeFacts(const FoundNas& f, Put put) {
    char text[32];
    auto number = [&](const char* key, int64_t v) {
        *std::to_chars(text, text + sizeof text - 1, v).ptr = '\0';
        put(key, text, true);
    };
    if (f.enbUeId >= 0) number("enb_ue_s1ap_id", f.enbUeId);
    if (f.mmeUeId >= 0) number("mme_ue_s1ap_id", f.mmeUeId);
    if (f.ranUeNgapId >= 0) number("ran_ue_ngap_id", f.ranUeNgapId);
    if (f.amfUeNgapId >= 0) number("amf_ue_ngap_id", f.amfUeNgapId);
    // Identities as carried: the PLMN identity's three TBCD octets in hex.
    const capture::UeLocation& l = f.location;
    auto plmnAnd = [&](const char* key, const uint8_t* plmn, uint32_t v, int digits) {
        char* at = PutHex(text, static_cast<uint32_t>(plmn[0] << 16 | plmn[1] << 8 | plmn[2]), 6);
        *at++ = '-';
        *PutHex(at, v, digits) = '\0';
        put(key, text, false);
    };
    if (l.sTmsi) {
        *PutHex(PutHex(text, l.mmec, 2), l.mTmsi, 8) = '\0';
        put("s_tmsi", text, false);
    }
    if (l.tai) plmnAnd("tai", l.taiPlmn, l.tac, 4);
    if (l.ecgi) plmnAnd("ecgi", l.ecgiPlmn, l.cellId, 7);
}

std::string JsonString(std::string_view s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

class Runner {
public:
    Runner(const std::string& path, const CaptureOptions& options, Output& out)
        : path_(path), name_(path == "-" ? "stdin" : path), options_(options), out_(out) {
        for (int i = 0; i < 16; ++i) {
            if (options.usersGiven[i]) decoder_.SetUserPayload(capture::linktype::kUser0 + i, options.users[i]);
        }
    }

    CaptureCounts Run() {
        capture::CaptureFile file;
        std::string error;
        if (!file.Open(path_, error)) {
            Complain(error);
            counts_.failed = true;
            return counts_;
        }
        digits_ = file.header().fractionDigits;
        const int type = file.linkType();
        if (!capture::LinkTypeSupported(type, decoder_.userPayloads())) {
            std::string hint;
            if (type >= capture::linktype::kUser0 && type <= capture::linktype::kUser15) {
                hint = " (a user link type: say what it carries, --user-dlt " + std::to_string(type) + "=nas or " +
                       std::to_string(type) + "=s1ap)";
            }
            Complain("link type " + std::to_string(type) + " is not supported" + hint);
            counts_.failed = true;
            return counts_;
        }
        capture::CapturedFrame frame;
        for (;;) {
            const int got = file.Next(frame, error);
            if (got == 0) break;
            if (got < 0) {
                Complain("after frame " + std::to_string(counts_.frames) + ": " + error);
                counts_.failed = true;
                break;
            }
            ++counts_.frames;
            decoder_.Decode(type, frame.data, frame.wireLength);
            for (const std::string& warning : decoder_.warnings()) {
                Complain("frame " + std::to_string(frame.number) + ": " + warning);
                ++counts_.warnings;
            }
            for (const FoundNas& f : decoder_.found()) Emit(frame, f);
        }
        return counts_;
    }

private:
    void Complain(const std::string& what) { std::fprintf(stderr, "corvuna: %s: %s\n", name_.c_str(), what.c_str()); }

    void Emit(const capture::CapturedFrame& frame, const FoundNas& f) {
        if (f.fivegs) {
            EmitFivegs(frame, f);
            return;
        }
        ++counts_.nas;
        const int algorithm = contexts_.Ciphering(f.ueKey);
        const bool nullCiphering = options_.nullCiphering || algorithm == 0;
        const ProtectedNas p = capture::ReadProtectedNas(f.octets, nullCiphering);
        if (p.plain.size > 0) contexts_.Observe(f.ueKey, p.plain);
        if (p.securityHeader >= 1 && p.securityHeader <= 4) {
            if (p.ciphered) {
                ++counts_.ciphered;
                if (p.plain.size > 0) ++counts_.cipheredDecoded;
            } else {
                ++counts_.integrityOnly;
            }
        } else if (p.securityHeader == 0 || p.securityHeader < 0) {
            ++counts_.plain;
        }
        int direction = f.direction;
        const char* directionSource = "";
        if (direction < 0) {
            direction = capture::DirectionOfMessage(p.plain);
            directionSource = "(from the message type)";
            if (direction < 0) {
                direction = options_.direction;
                directionSource = "(from -d)";
            }
        }
        const std::string time = IsoTime(frame.seconds, frame.nanoseconds, digits_);
        if (options_.format == CaptureFormat::kTsv) {
            std::string line = std::to_string(direction) + '\t';
            AppendHex(line, f.octets);
            line += '\t' + std::to_string(frame.number) + '\t' + time + '\t' + CarrierText(f) + '\n';
            out_.Write(line);
            return;
        }
        // What was found, where, and how it is protected.
        std::string about = "frame=" + std::to_string(frame.number) + " time=" + time + " carrier=" +
                            capture::CarrierName(f.carrier);
        about += ApFacts(f);
        about += std::string(" direction=") + DirectionName(direction) + directionSource;
        std::string cipheredNote;
        if (p.securityHeader > 0) {
            about += " security_header=" + std::to_string(p.securityHeader);
            if (p.securityHeader <= 4 && !p.shortHeader) {
                about += " mac=" + Hex32(p.mac) + " seq=" + std::to_string(p.sequence);
            }
            if (p.serviceRequest) about += " message=SERVICE_REQUEST";
            if (p.shortHeader) about += " message=cut_inside_the_security_header";
            if (p.ciphered) {
                if (options_.nullCiphering && algorithm != 0) {
                    about += " ciphering=EEA0(assumed)";
                } else if (algorithm >= 0) {
                    about += " ciphering=EEA" + std::to_string(algorithm);
                } else {
                    about += " ciphering=unknown";
                }
                if (p.plain.size == 0) cipheredNote = " decoded=no(ciphered)";
            }
        }
        about += cipheredNote;

        // The octets to decode: the inner plain message unless told otherwise.
        Bytes message = f.octets;
        if (!options_.noUnwrap && p.plain.size > 0) message = p.plain;
        if (options_.format == CaptureFormat::kJson) {
            EmitJson(frame, f, direction, time, algorithm, nullCiphering);
            return;
        }
        out_.Write("# " + about + "\n");
        if (options_.format == CaptureFormat::kText) {
            View(direction, f.octets, CORVUNA_VIEW_TEXT, nullCiphering);
            out_.Write("\n");
            return;
        }
        if (!cipheredNote.empty() && !options_.noUnwrap) return;  // not pretending to decode it
        char* room = out_.Reserve(CORVUNA_MAX_DOCUMENT_LENGTH);
        room[0] = '\0';
        size_t needed = 0;
        if (CorvunaDecodeBounded(direction, message.data, static_cast<int>(message.size), room,
                                 CORVUNA_MAX_DOCUMENT_LENGTH + 1, &needed) == CORVUNA_OK) {
            out_.Commit(needed - 1);
        }
    }

    // " procedure=initialUEMessage(12) enb_ue_s1ap_id=1 ...": the comment
    // line's words of S1AP and NGAP.
    static std::string ApFacts(const FoundNas& f) {
        if (!CarriedByAp(f)) return "";
        std::string about = std::string(" procedure=") + ProcedureName(f) + '(' + std::to_string(f.procedure) + ')';
        UeFacts(f, [&](const char* key, const char* value, bool) {
            about += ' ';
            about += key;
            about += '=';
            about += value;
        });
        return about;
    }

    static std::string ApJson(const FoundNas& f) {
        if (!CarriedByAp(f)) return "";
        std::string head = ",\"procedure\":" + JsonString(ProcedureName(f)) +
                           ",\"procedure_code\":" + std::to_string(f.procedure);
        UeFacts(f, [&](const char* key, const char* value, bool number) {
            head += ",\"";
            head += key;
            head += number ? "\":" : "\":\"";
            head += value;
            if (!number) head += '"';
        });
        return head;
    }

    // 5GS NAS (TS 24.501): shown as found.  Neither the legacy document
    // (EPS NAS only) nor the standard view (TS 24.301) decodes it, and its
    // octets never go to them as if they were EPS NAS.
    void EmitFivegs(const capture::CapturedFrame& frame, const FoundNas& f) {
        ++counts_.fivegs;
        const std::string time = IsoTime(frame.seconds, frame.nanoseconds, digits_);
        if (options_.format == CaptureFormat::kTsv) {
            std::string line = std::to_string(f.direction) + '\t';
            AppendHex(line, f.octets);
            line += '\t' + std::to_string(frame.number) + '\t' + time + '\t' + CarrierText(f) + '\n';
            out_.Write(line);
            return;
        }
        // The 5GMM header's security header type (EPD 0x7E); a bare 5GSM
        // message (EPD 0x2E) has none.
        const uint8_t epd = f.octets.At(0);
        std::string security;
        if (epd == 0x7E && f.octets.size >= 2) security = std::to_string(f.octets.At(1) & 0x0F);
        if (options_.format == CaptureFormat::kJson) {
            std::string line = "{\"frame\":" + std::to_string(frame.number) + ",\"time\":" + JsonString(time) +
                               ",\"carrier\":" + JsonString(capture::CarrierName(f.carrier)) + ApJson(f) +
                               ",\"direction\":" + (f.direction == 1 ? "\"uplink\"" : "\"downlink\"") +
                               ",\"nas\":\"5gs\"" +
                               (security.empty() ? "" : ",\"security_header\":" + security) + ",\"octets\":\"";
            AppendHex(line, f.octets);
            line += "\",\"view\":null}\n";
            out_.Write(line);
            return;
        }
        std::string about = "# frame=" + std::to_string(frame.number) + " time=" + time +
                            " carrier=" + capture::CarrierName(f.carrier) + ApFacts(f) +
                            " direction=" + DirectionName(f.direction) + " nas=5gs";
        if (!security.empty()) about += " security_header=" + security;
        out_.Write(about + "\n");
        const std::string size = std::to_string(f.octets.size) + " octet" + (f.octets.size == 1 ? "" : "s");
        if (options_.format == CaptureFormat::kText) {
            out_.Write("5GS NAS message: " + std::string(DirectionName(f.direction)) + ", " + size +
                       ", not decoded (TS 24.501)\n\n");
        } else {
            out_.Write("# 5GS NAS (TS 24.501), " + size + ": no legacy document (it is of EPS NAS only)\n");
        }
    }

    void View(int direction, Bytes octets, int format, bool nullCiphering) {
        char* room = out_.Reserve(CORVUNA_MAX_VIEW_LENGTH + 1);
        size_t needed = 0;
        if (CorvunaDecodeView(direction, octets.data, static_cast<int>(octets.size), format,
                              nullCiphering ? CORVUNA_VIEW_NULL_CIPHERING : 0u, room, CORVUNA_MAX_VIEW_LENGTH + 1,
                              &needed) >= 0) {
            out_.Commit(needed - 1);
        }
    }

    // One JSON object a line: where the message was found, and its view.
    void EmitJson(const capture::CapturedFrame& frame, const FoundNas& f, int direction, const std::string& time,
                  int algorithm, bool nullCiphering) {
        std::string head = "{\"frame\":" + std::to_string(frame.number) + ",\"time\":" + JsonString(time) +
                           ",\"carrier\":" + JsonString(capture::CarrierName(f.carrier));
        head += ApJson(f);
        head += std::string(",\"direction\":") + (direction == 1 ? "\"uplink\"" : "\"downlink\"");
        if (algorithm >= 0) head += ",\"ciphering\":\"EEA" + std::to_string(algorithm) + "\"";
        head += ",\"view\":";
        out_.Write(head);
        View(direction, f.octets, CORVUNA_VIEW_JSON, nullCiphering);
        out_.Write("}\n");
    }

    std::string path_;
    std::string name_;
    const CaptureOptions& options_;
    Output& out_;
    capture::FrameDecoder decoder_;
    capture::SecurityContexts contexts_;
    CaptureCounts counts_;
    int digits_ = 6;
};

}  // namespace

std::string IsoTime(int64_t seconds, uint32_t nanoseconds, int digits) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[64];
    const size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &tm);
    std::string out(text, n);
    if (digits > 9) digits = 9;
    if (digits > 0) {
        char fraction[16];
        std::snprintf(fraction, sizeof fraction, ".%09u", nanoseconds % 1000000000u);
        out.append(fraction, static_cast<size_t>(digits) + 1);
    }
    return out + "Z";
}

CaptureCounts RunCapture(const std::string& path, const CaptureOptions& options, Output& out) {
    Runner runner(path, options, out);
    return runner.Run();
}

}  // namespace corvuna::cli
