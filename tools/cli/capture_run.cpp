// SPDX-License-Identifier: Apache-2.0
#include "cli/capture_run.h"

#include <cstdio>
#include <ctime>
#include <string_view>
#include <type_traits>

#include "capture/capture_file.h"
#include "capture/security.h"
#include "corvuna/corvuna.h"
#include "view/json_sink.h"
#include "view/text_sink.h"
#include "view/walker.h"

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
        if (options_.format == Format::kTsv) {
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
        const view::Protection facts = ProtectionOf(p, algorithm, nullCiphering);
        if (options_.format == Format::kJson) {
            Record<view::JsonSink>(frame, f, direction, time, facts);
            return;
        }
        out_.Write("# " + about + "\n");
        if (options_.format == Format::kText) {
            Record<view::TextSink>(frame, f, direction, time, facts);
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

    // What this capture's security context knows of a protected message.
    static view::Protection ProtectionOf(const ProtectedNas& p, int algorithm, bool nullCiphering) {
        view::Protection facts;
        facts.cipheringAlgorithm = algorithm;
        facts.macReason = "no integrity key";
        if (!p.ciphered) {
            facts.body = view::Protection::Body::kNotCiphered;
        } else if (algorithm == 0) {
            facts.body = view::Protection::Body::kNullCiphering;
            facts.reason = "the UE's SECURITY MODE COMMAND selected EEA0";
        } else if (nullCiphering) {
            facts.body = view::Protection::Body::kNullCiphering;
            facts.reason = "taken as EEA0 (null ciphering) as --null-ciphering says";
        } else if (algorithm > 0) {
            facts.reason = "no key for the ciphering algorithm the UE's SECURITY MODE COMMAND selected";
        } else {
            facts.reason = "no SECURITY MODE COMMAND of this UE in the capture: the algorithm is not known";
        }
        return facts;
    }

    // The standard view of the message as a record of `sink` (inside the
    // group `member` of the caller's record, or on its own); its result.
    view::Result View(view::Sink& sink, int direction, Bytes octets, const view::Protection& facts,
                      view::Label member) {
        return view::DecodeView(direction, octets.data, octets.size, 0, &facts, sink, member);
    }

    template <typename Sink>
    void Record(const capture::CapturedFrame& frame, const FoundNas& f, int direction, const std::string& time,
                const view::Protection& facts) {
        using view::operator""_f;
        char* room = out_.Reserve(view::kMaxViewOutput + 4096);
        Sink sink(room, view::kMaxViewOutput + 4096);
        view::Result result;
        if constexpr (std::is_same_v<Sink, view::JsonSink>) {
            // One object a line: where the message was found, its octets and
            // its view.
            sink.BeginRecord(view::Label());
            sink.Number("Frame"_f, static_cast<int64_t>(frame.number));
            sink.Ascii("Time"_f, time);
            sink.Ascii("Carrier"_f, capture::CarrierName(f.carrier));
            if (f.carrier == Carrier::kS1ap) {
                sink.Ascii("Procedure"_f, capture::S1apProcedureName(f.procedure));
                sink.Number("Procedure code"_f, f.procedure);
                if (f.enbUeId >= 0) sink.Number("eNB UE S1AP ID"_f, f.enbUeId);
                if (f.mmeUeId >= 0) sink.Number("MME UE S1AP ID"_f, f.mmeUeId);
            }
            sink.Ascii("Direction"_f, DirectionName(direction));
            sink.Hex("Octets"_f, f.octets.data, f.octets.size);
            result = View(sink, direction, f.octets, facts, view::Field<"View", "view">);
            sink.End();
        } else {
            result = View(sink, direction, f.octets, facts, view::Label());
        }
        sink.Finish();
        if (!sink.Truncated()) out_.Commit(sink.Length());
        out_.Write("\n");
        if (result == view::Result::kCiphered) ++counts_.leftCiphered;
        if (result == view::Result::kDecodedWithErrors) ++counts_.decodedWithErrors;
        if (result == view::Result::kUnknownMessage || result == view::Result::kNotNas) ++counts_.unknown;
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
