// SPDX-License-Identifier: Apache-2.0
#include "cli/capture_run.h"

#include <cstdio>
#include <ctime>
#include <string_view>

#include "capture/capture_file.h"
#include "capture/diameter.h"
#include "capture/security.h"
#include "corvuna/corvuna.h"
#include "security/tracker.h"

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

// The carrier as the listings of tshark name it: "s1ap:initialUEMessage(12)".
std::string CarrierText(const FoundNas& f) {
    std::string text = capture::CarrierName(f.carrier);
    if (f.carrier == Carrier::kS1ap) {
        text += ':';
        text += capture::S1apProcedureName(f.procedure);
        text += '(' + std::to_string(f.procedure) + ')';
    }
    return text;
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
        : path_(path),
          name_(path == "-" ? "stdin" : path),
          options_(options),
          out_(out),
          tracker_(options.keys, options.showKeys) {
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
            for (const Bytes& message : decoder_.diameter()) TakeDiameter(message);
            for (const FoundNas& f : decoder_.found()) Emit(frame, f);
        }
        return counts_;
    }

private:
    void Complain(const std::string& what) { std::fprintf(stderr, "corvuna: %s: %s\n", name_.c_str(), what.c_str()); }

    // An S6a answer's vectors go to the tracker (unless told not to).
    void TakeDiameter(Bytes message) {
        capture::S6aAuthentication m;
        if (capture::ParseDiameter(message, m) != capture::DiameterResult::kS6aAuthentication) return;
        capture::S6aVectors v;
        if (!matcher_.Take(m, v) || !options_.captureKeys) return;
        for (const capture::EutranVector& e : v.vectors) {
            const security::Plmn plmn{v.visitedPlmn[0], v.visitedPlmn[1], v.visitedPlmn[2]};
            tracker_.AddVector(v.imsi, v.hasVisitedPlmn ? &plmn : nullptr, e.rand, e.xres, e.autn, e.kasme);
            ++counts_.s6aVectors;
        }
    }

    // The security facts of a message, counted.
    void Track(const FoundNas& f, security::SecurityFacts& facts) {
        security::NasInput in;
        in.connection = f.ueKey;
        in.direction = f.direction;
        in.nas = security::ConstOctets(f.octets.data, f.octets.size);
        in.newAssociation = f.carrier == Carrier::kS1ap && f.procedure == 12;
        in.sTmsi = f.sTmsi;
        if (f.taiPlmn.size() == 3) in.taiPlmn = reinterpret_cast<const uint8_t*>(f.taiPlmn.data());
        tracker_.Process(in, facts);
        switch (facts.mac) {
            case security::MacCheck::kVerified:
                ++counts_.macVerified;
                break;
            case security::MacCheck::kFailed:
                ++counts_.macFailed;
                break;
            case security::MacCheck::kUnverifiable:
                ++counts_.macUnverifiable;
                ++counts_.unverifiableWhy[facts.macWhy];
                break;
            case security::MacCheck::kNone:
                break;
        }
        switch (facts.body) {
            case security::BodyState::kDeciphered:
                ++counts_.deciphered;
                break;
            case security::BodyState::kNull:
                ++counts_.nullCiphered;
                break;
            case security::BodyState::kGuessedNull:
                ++counts_.guessedNull;
                break;
            case security::BodyState::kLeftCiphered:
                ++counts_.leftCiphered;
                ++counts_.leftCipheredWhy[facts.bodyWhy];
                break;
            case security::BodyState::kClear:
                break;
        }
    }

    void Emit(const capture::CapturedFrame& frame, const FoundNas& f) {
        ++counts_.nas;
        security::SecurityFacts& facts = facts_;
        Track(f, facts);
        // A body the tracker could read (deciphered, EEA0 known or guessed),
        // or one --null-ciphering says is plain.
        const bool readable = facts.body == security::BodyState::kDeciphered ||
                              facts.body == security::BodyState::kNull ||
                              facts.body == security::BodyState::kGuessedNull;
        const Bytes octets = readable && facts.plain.size() == f.octets.size
                                 ? Bytes{facts.plain.data(), facts.plain.size()}
                                 : f.octets;
        const bool nullCiphering = options_.nullCiphering || readable;
        const ProtectedNas p = capture::ReadProtectedNas(octets, nullCiphering);
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
        if (direction < 0 && facts.mac == security::MacCheck::kVerified && facts.direction >= 0) {
            direction = facts.direction;
            directionSource = "(from the MAC)";
        }
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
        if (f.carrier == Carrier::kS1ap) {
            about += std::string(" procedure=") + capture::S1apProcedureName(f.procedure) + '(' +
                     std::to_string(f.procedure) + ')';
            if (f.enbUeId >= 0) about += " enb_ue_s1ap_id=" + std::to_string(f.enbUeId);
            if (f.mmeUeId >= 0) about += " mme_ue_s1ap_id=" + std::to_string(f.mmeUeId);
        }
        about += std::string(" direction=") + DirectionName(direction) + directionSource;
        std::string cipheredNote;
        if (p.securityHeader > 0) {
            about += " security_header=" + std::to_string(p.securityHeader);
            if (p.securityHeader <= 4 && !p.shortHeader) {
                about += " mac=" + Hex32(p.mac) + " seq=" + std::to_string(p.sequence);
            }
            if (p.serviceRequest) about += " message=SERVICE_REQUEST";
            if (p.shortHeader) about += " message=cut_inside_the_security_header";
        }
        about += security::FactsText(facts, options_.showKeys);
        if (p.ciphered) {
            if (options_.nullCiphering && !readable) about += " ciphering=eea0(assumed)";
            if (p.plain.size == 0) cipheredNote = " decoded=no(ciphered)";
        }
        about += cipheredNote;

        // The octets to decode: the inner plain message unless told otherwise.
        Bytes message = f.octets;
        if (!options_.noUnwrap && p.plain.size > 0) message = p.plain;
        if (options_.format == CaptureFormat::kJson) {
            EmitJson(frame, f, direction, time, octets, nullCiphering, facts);
            return;
        }
        out_.Write("# " + about + "\n");
        if (options_.format == CaptureFormat::kText) {
            View(direction, octets, CORVUNA_VIEW_TEXT, nullCiphering);
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
                  Bytes octets, bool nullCiphering, const security::SecurityFacts& facts) {
        std::string head = "{\"frame\":" + std::to_string(frame.number) + ",\"time\":" + JsonString(time) +
                           ",\"carrier\":" + JsonString(capture::CarrierName(f.carrier));
        if (f.carrier == Carrier::kS1ap) {
            head += ",\"procedure\":" + JsonString(capture::S1apProcedureName(f.procedure)) +
                    ",\"procedure_code\":" + std::to_string(f.procedure);
            if (f.enbUeId >= 0) head += ",\"enb_ue_s1ap_id\":" + std::to_string(f.enbUeId);
            if (f.mmeUeId >= 0) head += ",\"mme_ue_s1ap_id\":" + std::to_string(f.mmeUeId);
        }
        head += std::string(",\"direction\":") + (direction == 1 ? "\"uplink\"" : "\"downlink\"");
        if (facts.securityHeader > 0 || facts.resCheck != 0) {
            head += ",\"ciphering\":" + security::FactsJson(facts, options_.showKeys);
        }
        head += ",\"view\":";
        out_.Write(head);
        View(direction, octets, CORVUNA_VIEW_JSON, nullCiphering);
        out_.Write("}\n");
    }

    std::string path_;
    std::string name_;
    const CaptureOptions& options_;
    Output& out_;
    capture::FrameDecoder decoder_;
    security::SecurityTracker tracker_;
    capture::S6aMatcher matcher_;
    security::SecurityFacts facts_;
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

std::string SecuritySummary(const CaptureCounts& c) {
    if (c.macVerified + c.macFailed + c.macUnverifiable + c.deciphered + c.nullCiphered + c.guessedNull +
            c.leftCiphered ==
        0) {
        return "";
    }
    auto reasons = [](const std::map<std::string, unsigned long>& why) {
        std::string text;
        for (const auto& [reason, n] : why) text += (text.empty() ? "" : ", ") + reason + ": " + std::to_string(n);
        return text.empty() ? text : " (" + text + ")";
    };
    std::string t = "; MAC " + std::to_string(c.macVerified) + " verified, " + std::to_string(c.macFailed) +
                    " failed, " + std::to_string(c.macUnverifiable) + " unverifiable" + reasons(c.unverifiableWhy);
    t += "; ciphered bodies " + std::to_string(c.deciphered) + " deciphered, " + std::to_string(c.nullCiphered) +
         " EEA0, " + std::to_string(c.guessedNull) + " guessed EEA0, " + std::to_string(c.leftCiphered) +
         " left ciphered" + reasons(c.leftCipheredWhy);
    if (c.s6aVectors > 0) t += "; " + std::to_string(c.s6aVectors) + " S6a vectors";
    return t;
}

CaptureCounts RunCapture(const std::string& path, const CaptureOptions& options, Output& out) {
    Runner runner(path, options, out);
    return runner.Run();
}

}  // namespace corvuna::cli
