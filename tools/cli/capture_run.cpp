// SPDX-License-Identifier: Apache-2.0
#include "cli/capture_run.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <string_view>
#include <type_traits>

#include "capture/capture_file.h"
#include "capture/radio/rrc_reader.h"
#include "capture/s1ap.h"
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

// The carrier as the listings of tshark name it: "s1ap:initialUEMessage(12)",
// "lte_rrc:dedicatedInfoNAS".
std::string CarrierText(const FoundNas& f) {
    std::string text = capture::CarrierName(f.carrier);
    if (f.carrier == Carrier::kS1ap) {
        text += ':';
        text += capture::S1apProcedureName(f.procedure);
        text += '(' + std::to_string(f.procedure) + ')';
    } else if (f.carrier == Carrier::kLteRrc && !f.rrcField.empty()) {
        text += ':' + f.rrcField;
    }
    return text;
}

// Where an RRC PDU was: " rrc=... channel=UL-DCCH rnti=70 sfn=38 subframe=8".
std::string RrcPlace(const FoundNas& f) {
    std::string text;
    if (!f.rrcMessage.empty()) text += " rrc=" + f.rrcMessage;
    text += std::string(" channel=") + capture::radio::RrcClassName(f.rrcClass);
    if (f.rnti >= 0) text += " rnti=" + std::to_string(f.rnti);
    if (f.sfn >= 0) text += " sfn=" + std::to_string(f.sfn) + " subframe=" + std::to_string(f.subframe);
    return text;
}

// The LTE RRC message class as the -T rrc listing names it: "ul-dcch".
std::string LowerClass(capture::radio::RrcClass c) {
    std::string text = capture::radio::RrcClassName(c);
    for (char& ch : text) ch = static_cast<char>(ch == '-' ? '-' : (ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch));
    return text;
}

class Runner {
public:
    Runner(const std::string& path, const CaptureOptions& options, Output& out)
        : path_(path), name_(path == "-" ? "stdin" : path), options_(options), out_(out) {
        for (int i = 0; i < 16; ++i) {
            if (options.usersGiven[i]) decoder_.SetUserPayload(capture::linktype::kUser0 + i, options.users[i]);
        }
        if (options.rrcReader == nullptr) ownReader_ = capture::radio::MakeRrcReader();
        capture::radio::RrcReader* reader = options.rrcReader != nullptr ? options.rrcReader : ownReader_.get();
        decoder_.SetRrcReader(reader);
        counts_.rrcReaderUsed = reader != nullptr;
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
            std::string why = ": no EPS NAS is looked for in it";
            if (type >= capture::linktype::kUser0 && type <= capture::linktype::kUser15) {
                why = ": what a user link type carries is the capturing tool's choice; when it is known, --user-dlt " +
                      std::to_string(type) + "=WHAT says it (WHAT: nas, s1ap, mac-lte-framed or udp)";
            }
            Complain("link type " + std::to_string(type) + " (" + LinkTypeName(type) + ") is not read" + why);
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
            const uint64_t microseconds =
                static_cast<uint64_t>(frame.seconds) * 1000000u + frame.nanoseconds / 1000u;
            decoder_.Decode(type, frame.data, frame.wireLength, microseconds);
            Frame(frame);
        }
        // What RLC still held behind a missing PDU, at the last frame.
        if (counts_.frames > 0) {
            decoder_.Finish();
            frame.data = capture::Bytes{};
            Frame(frame);
        }
        counts_.radio = decoder_.radioCounters();
        return counts_;
    }

private:
    void Frame(const capture::CapturedFrame& frame) {
        for (const std::string& warning : decoder_.warnings()) {
            Complain("frame " + std::to_string(frame.number) + ": " + warning);
            ++counts_.warnings;
        }
        if (options_.format == Format::kRrc) {
            for (const capture::radio::RrcPdu& p : decoder_.rrcPdus()) ListRrc(frame, p);
            return;
        }
        for (const FoundNas& f : decoder_.found()) {
            if (f.asCipheredRrc) {
                AsCiphered(frame, f);
            } else {
                Emit(frame, f);
            }
        }
    }

    // -T rrc: FRAME<TAB>CLASS<TAB>HEX<TAB>facts.
    void ListRrc(const capture::CapturedFrame& frame, const capture::radio::RrcPdu& p) {
        std::string line = std::to_string(frame.number) + '\t' + LowerClass(p.channel) + '\t';
        AppendHex(line, p.octets);
        line += '\t';
        line += p.direction == 1 ? "uplink" : "downlink";
        if (p.rnti >= 0) line += " rnti=" + std::to_string(p.rnti);
        if (p.ueId >= 0) line += " ue_id=" + std::to_string(p.ueId);
        if (p.sfn >= 0) line += " sfn=" + std::to_string(p.sfn) + " subframe=" + std::to_string(p.subframe);
        if (p.logicalChannel >= 0) line += " lcid=" + std::to_string(p.logicalChannel);
        if (p.pdcpSn >= 0) {
            line += " pdcp_sn=" + std::to_string(p.pdcpSn) + " count=" + std::to_string(p.pdcpCount) +
                    " mac_i=" + Hex32(p.macI);
        }
        if (p.reassembled) line += " reassembled";
        if (p.asCiphering >= 0) line += " as_ciphering=EEA" + std::to_string(p.asCiphering);
        if (p.asCiphered) line += " as_ciphered";
        out_.Write(line + '\n');
    }

    // An RRC PDU that is AS-ciphered: said, not decoded.
    void AsCiphered(const capture::CapturedFrame& frame, const FoundNas& f) {
        ++counts_.asCipheredRrc;
        if (options_.format == Format::kTsv) return;
        const std::string time = IsoTime(frame.seconds, frame.nanoseconds, digits_);
        if (options_.format == Format::kJson) {
            // A record of its own: where the RRC PDU was, and that it was not read.
            using view::operator""_f;
            char* room = out_.Reserve(4096);
            view::JsonSink sink(room, 4096);
            sink.BeginRecord(view::Label());
            sink.Number("Frame"_f, static_cast<int64_t>(frame.number));
            sink.Ascii("Time"_f, time);
            sink.Ascii("Carrier"_f, capture::CarrierName(f.carrier));
            RrcFields(sink, f);
            sink.Ascii("Direction"_f, DirectionName(f.direction));
            sink.Ascii("AS ciphering"_f, "EEA" + std::to_string(f.asCiphering));
            sink.Flag("Decoded"_f, false, Text(), Text());
            sink.End();
            sink.Finish();
            if (!sink.Truncated()) out_.Commit(sink.Length());
            out_.Write("\n");
            return;
        }
        out_.Write("# frame=" + std::to_string(frame.number) + " time=" + time + " carrier=lte_rrc" + RrcPlace(f) +
                   " direction=" + DirectionName(f.direction) + " as_ciphering=EEA" + std::to_string(f.asCiphering) +
                   " decoded=no(AS-ciphered)\n");
        if (options_.format == Format::kText) out_.Write("\n");
    }

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
                            (f.carrier == Carrier::kLteRrc ? CarrierText(f) + RrcPlace(f)
                                                           : std::string(capture::CarrierName(f.carrier)));
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

    // Where a NAS message found in LTE RRC was, as members of a JSON record.
    static void RrcFields(view::JsonSink& sink, const FoundNas& f) {
        using view::operator""_f;
        if (!f.rrcField.empty()) sink.Ascii("RRC field"_f, f.rrcField);
        if (!f.rrcMessage.empty()) sink.Ascii("RRC message"_f, f.rrcMessage);
        sink.Ascii("RRC channel"_f, capture::radio::RrcClassName(f.rrcClass));
        if (f.rnti >= 0) sink.Number("RNTI"_f, f.rnti);
        if (f.sfn >= 0) {
            sink.Number("SFN"_f, f.sfn);
            sink.Number("Subframe"_f, f.subframe);
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
            if (f.carrier == Carrier::kLteRrc) RrcFields(sink, f);
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
    std::unique_ptr<capture::radio::RrcReader> ownReader_;
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

std::string LinkTypeName(int type) {
    if (type >= capture::linktype::kUser0 && type <= capture::linktype::kUser15) {
        return "user link type " + std::to_string(type - capture::linktype::kUser0) + ", DLT_USER" +
               std::to_string(type - capture::linktype::kUser0);
    }
    switch (type) {
        case 0: return "BSD loopback";
        case 1: return "Ethernet";
        case 101: return "raw IP";
        case 105: return "IEEE 802.11";
        case 108: return "OpenBSD loopback";
        case 113: return "Linux cooked";
        case 127: return "IEEE 802.11 with radiotap";
        case 177: return "Linux LAPD";
        case 189: return "Linux USB";
        case 195: return "IEEE 802.15.4";
        case 220: return "Linux USB, memory-mapped";
        case 228: return "raw IPv4";
        case 229: return "raw IPv6";
        case 249: return "IPMI";
        case 252: return "Wireshark upper PDU";
        case 253: return "Linux netlink";
        case 276: return "Linux cooked v2";
        default: return "a link type this program does not know";
    }
}

std::string CaptureSummary(const CaptureCounts& c) {
    std::string text = std::to_string(c.frames) + (c.frames == 1 ? " frame, " : " frames, ") + std::to_string(c.nas) +
                       (c.nas == 1 ? " NAS message: " : " NAS messages: ") + std::to_string(c.plain) + " plain, " +
                       std::to_string(c.integrityOnly) + " integrity protected, " + std::to_string(c.ciphered) +
                       " ciphered (" + std::to_string(c.cipheredDecoded) + " of them decoded with EEA0)";
    const capture::radio::RadioCounters& r = c.radio;
    if (r.macPdus > 0 || r.rrcPdus > 0) {
        text += "; radio: " + std::to_string(r.rrcPdus) + " LTE RRC PDUs";
        if (r.asCiphered > 0) text += " (" + std::to_string(r.asCiphered) + " AS-ciphered, not read)";
        if (!c.rrcReaderUsed && r.rrcPdus > 0) text += " (NAS inside them not read: no LTE RRC decoder in this build)";
        if (r.macPdus > 0) {
            text += ", " + std::to_string(r.macPdus) + " MAC PDUs";
            if (r.macBadCrc > 0) text += " (" + std::to_string(r.macBadCrc) + " with a bad CRC, skipped)";
            if (r.macUnreadable > 0) text += ", " + std::to_string(r.macUnreadable) + " MAC PDUs unreadable";
        }
        const capture::radio::RlcCounters& l = r.rlc;
        if (l.gaps + l.duplicates + l.discarded + l.malformed + l.restarts > 0) {
            text += ", RLC: " + std::to_string(l.gaps) + " gaps, " + std::to_string(l.duplicates) + " duplicates, " +
                    std::to_string(l.discarded) + " SDU pieces discarded, " + std::to_string(l.malformed) +
                    " malformed PDUs";
            if (l.restarts > 0) text += ", " + std::to_string(l.restarts) + " restarts";
        }
        if (r.pdcpMalformed > 0) text += ", " + std::to_string(r.pdcpMalformed) + " PDCP PDUs too short";
    }
    if (c.warnings > 0) text += ", " + std::to_string(c.warnings) + (c.warnings == 1 ? " warning" : " warnings");
    return text;
}

CaptureCounts RunCapture(const std::string& path, const CaptureOptions& options, Output& out) {
    Runner runner(path, options, out);
    return runner.Run();
}

}  // namespace corvuna::cli
