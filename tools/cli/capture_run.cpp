// SPDX-License-Identifier: Apache-2.0
#include "cli/capture_run.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string_view>
#include <type_traits>


#include "capture/capture_file.h"
#include "capture/diameter.h"
#include "capture/ngap.h"
#include "capture/radio/rrc_reader.h"
#include "capture/s1ap.h"
#include "capture/security.h"
#include "corvuna/corvuna.h"
#include "security/tracker.h"
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

const char* ProcedureName(const FoundNas& f) {
    return f.carrier == Carrier::kNgap ? capture::NgapProcedureName(f.procedure)
                                       : capture::S1apProcedureName(f.procedure);
}

bool CarriedByAp(const FoundNas& f) { return f.carrier == Carrier::kS1ap || f.carrier == Carrier::kNgap; }

// The carrier as the listings of tshark name it: "s1ap:initialUEMessage(12)",
// "lte_rrc:dedicatedInfoNAS".
std::string CarrierText(const FoundNas& f) {
    std::string text = capture::CarrierName(f.carrier);
    if (CarriedByAp(f)) {
        text += ':';
        text += ProcedureName(f);
        text += '(' + std::to_string(f.procedure) + ')';
    } else if (f.carrier == Carrier::kLteRrc && !f.rrcField.empty()) {
        text += ':' + f.rrcField;
    }
    return text;
}

// `value` as `digits` lower-case hex digits after `out` (no terminator).
char* PutHex(char* out, uint32_t value, int digits) {
    for (int i = digits - 1; i >= 0; --i) *out++ = kHex[(value >> (4 * i)) & 0x0F];
    return out;
}

// The UE facts of S1AP and NGAP, each given to `put(label, value, number)`
// (the comment line's key=value words, or a record's members), in this
// order.
template <typename Put>
void UeFacts(const FoundNas& f, Put put) {
    char text[32];
    auto number = [&](view::Label label, int64_t v) {
        *std::to_chars(text, text + sizeof text - 1, v).ptr = '\0';
        put(label, text, true);
    };
    if (f.enbUeId >= 0) number(view::Field<"eNB UE S1AP ID", "enb_ue_s1ap_id">, f.enbUeId);
    if (f.mmeUeId >= 0) number(view::Field<"MME UE S1AP ID", "mme_ue_s1ap_id">, f.mmeUeId);
    if (f.ranUeNgapId >= 0) number(view::Field<"RAN UE NGAP ID", "ran_ue_ngap_id">, f.ranUeNgapId);
    if (f.amfUeNgapId >= 0) number(view::Field<"AMF UE NGAP ID", "amf_ue_ngap_id">, f.amfUeNgapId);
    // Identities as carried: the PLMN identity's three TBCD octets in hex.
    const capture::UeLocation& l = f.location;
    auto plmnAnd = [&](view::Label label, const uint8_t* plmn, uint32_t v, int digits) {
        char* at = PutHex(text, static_cast<uint32_t>(plmn[0] << 16 | plmn[1] << 8 | plmn[2]), 6);
        *at++ = '-';
        *PutHex(at, v, digits) = '\0';
        put(label, text, false);
    };
    if (l.sTmsi) {
        *PutHex(PutHex(text, l.mmec, 2), l.mTmsi, 8) = '\0';
        put(view::Field<"S-TMSI", "s_tmsi">, text, false);
    }
    if (l.tai) plmnAnd(view::Field<"TAI", "tai">, l.taiPlmn, l.tac, 4);
    if (l.ecgi) plmnAnd(view::Field<"ECGI", "ecgi">, l.ecgiPlmn, l.cellId, 7);
}

// A label's snake-case key without its quotes.
std::string_view KeyOf(view::Label label) {
    const std::string_view quoted = label.quotedIdentifier();
    return quoted.substr(1, quoted.size() - 2);
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
        : path_(path),
          name_(path == "-" ? "stdin" : path),
          options_(options),
          out_(out),
          tracker_(options.keys, options.showKeys) {
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
        for (const Bytes& message : decoder_.diameter()) TakeDiameter(message);
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
        if (f.location.sTmsi) in.sTmsi = static_cast<int64_t>(f.location.mmec) << 32 | f.location.mTmsi;
        if (f.location.tai) in.taiPlmn = f.location.taiPlmn;
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
        if (f.fivegs) {
            EmitFivegs(frame, f);
            return;
        }
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
        const view::Protection protection = ProtectionOf(facts, octets, nullCiphering);
        if (options_.format == Format::kJson) {
            Record<view::JsonSink>(frame, f, direction, time, protection, facts);
            return;
        }
        out_.Write("# " + about + "\n");
        if (options_.format == Format::kText) {
            Record<view::TextSink>(frame, f, direction, time, protection, facts);
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
        UeFacts(f, [&](view::Label label, const char* value, bool) {
            about += ' ';
            about += KeyOf(label);
            about += '=';
            about += value;
        });
        return about;
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

    // 5GS NAS (TS 24.501, from NGAP): the standard view decodes it; the
    // legacy document is of EPS NAS only, so a note stands for it there.
    // Without keys, a 5G-EA0 context is followed per UE as EEA0 is.
    void EmitFivegs(const capture::CapturedFrame& frame, const FoundNas& f) {
        ++counts_.nas;
        ++counts_.fivegs;
        const int algorithm = contexts_.Ciphering(f.ueKey);
        const bool nullCiphering = options_.nullCiphering || algorithm == 0;
        const ProtectedNas p = capture::ReadProtectedNas(f.octets, nullCiphering);
        if (p.plain.size > 0) contexts_.Observe(f.ueKey, p.plain);
        view::Protection protection;
        protection.cipheringAlgorithm = algorithm;
        protection.macReason = "no integrity key";
        if (p.securityHeader >= 1 && p.securityHeader <= 4) {
            if (!p.ciphered) {
                ++counts_.integrityOnly;
                protection.body = view::Protection::Body::kNotCiphered;
            } else {
                ++counts_.ciphered;
                if (p.plain.size > 0) {
                    ++counts_.cipheredDecoded;
                    ++counts_.nullCiphered;
                    protection.body = view::Protection::Body::kNullCiphering;
                    protection.reason = algorithm == 0 ? Text("the UE's SECURITY MODE COMMAND selected 5G-EA0")
                                                       : Text("taken as 5G-EA0 as --null-ciphering says");
                } else {
                    ++counts_.leftCiphered;
                    protection.reason = algorithm > 0
                                            ? Text("no key for the ciphering algorithm the UE's SECURITY MODE COMMAND selected")
                                            : Text("no SECURITY MODE COMMAND of this UE in the capture: the algorithm is not known");
                    ++counts_.leftCipheredWhy[std::string(protection.reason.text, protection.reason.size)];
                }
            }
        } else {
            ++counts_.plain;
        }
        const std::string time = IsoTime(frame.seconds, frame.nanoseconds, digits_);
        if (options_.format == Format::kTsv) {
            std::string line = std::to_string(f.direction) + '\t';
            AppendHex(line, f.octets);
            line += '\t' + std::to_string(frame.number) + '\t' + time + '\t' + CarrierText(f) + '\n';
            out_.Write(line);
            return;
        }
        if (options_.format == Format::kJson) {
            Record<view::JsonSink>(frame, f, f.direction, time, protection, security::SecurityFacts());
            return;
        }
        std::string about = "# frame=" + std::to_string(frame.number) + " time=" + time +
                            " carrier=" + capture::CarrierName(f.carrier) + ApFacts(f) +
                            " direction=" + DirectionName(f.direction) + " nas=5gs";
        if (p.securityHeader > 0) {
            about += " security_header=" + std::to_string(p.securityHeader);
            if (!p.shortHeader) about += " mac=" + Hex32(p.mac) + " seq=" + std::to_string(p.sequence);
            if (p.ciphered) {
                about += algorithm >= 0 ? " ciphering=5g-ea" + std::to_string(algorithm) : " ciphering=unknown";
                if (p.plain.size == 0) about += " decoded=no(ciphered)";
            }
        }
        out_.Write(about + "\n");
        if (options_.format == Format::kText) {
            Record<view::TextSink>(frame, f, f.direction, time, protection, security::SecurityFacts());
            return;
        }
        out_.Write("# 5GS NAS (TS 24.501), " + std::to_string(f.octets.size) + " octet" +
                   (f.octets.size == 1 ? "" : "s") + ": no legacy document (the legacy document is of EPS NAS only)\n");
    }

    // The security facts as the standard view prints them in a protected
    // message's "ciphering" member; `octets` is the message with its body in
    // the clear when the tracker could read it.
    static view::Protection ProtectionOf(const security::SecurityFacts& facts, Bytes octets, bool nullCiphering) {
        using Body = view::Protection::Body;
        using Mac = view::Protection::Mac;
        const auto text = [](const std::string& s) {
            return s.empty() ? Text() : Text::Trusted(s.data(), static_cast<uint32_t>(s.size()));
        };
        view::Protection p;
        p.cipheringAlgorithm = facts.eea;
        p.integrityAlgorithm = facts.eia;
        p.count = facts.countKnown ? static_cast<int64_t>(facts.count) : -1;
        p.keySource = facts.keySource == security::KeySource::kNone ? Text()
                                                                     : Text::Trusted(security::KeySourceName(facts.keySource),
                                                                                     static_cast<uint32_t>(std::strlen(
                                                                                         security::KeySourceName(facts.keySource))));
        switch (facts.mac) {
            case security::MacCheck::kNone:
                p.mac = Mac::kNotChecked;
                p.macReason = "not integrity protected";
                break;
            case security::MacCheck::kVerified:
                p.mac = Mac::kVerified;
                break;
            case security::MacCheck::kFailed:
                p.mac = Mac::kFailed;
                p.expectedMac = facts.expectedMac;
                break;
            case security::MacCheck::kUnverifiable:
                p.mac = facts.macWhy.find("unavailable") != std::string::npos ? Mac::kUncheckable : Mac::kNotChecked;
                p.macReason = text(facts.macWhy);
                break;

        }
        p.reason = text(facts.bodyWhy);
        switch (facts.body) {
            case security::BodyState::kClear:
                p.body = Body::kNotCiphered;
                break;
            case security::BodyState::kDeciphered:
                p.body = Body::kDeciphered;
                // The inner message: the clear body after the 6-octet header.
                if (octets.size >= 6) p.plain = Octets{octets.data + 6, octets.size - 6};
                break;
            case security::BodyState::kNull:
                p.body = Body::kNullCiphering;
                break;
            case security::BodyState::kGuessedNull:
                p.body = Body::kGuessedNull;
                break;
            case security::BodyState::kLeftCiphered:
                p.body = nullCiphering ? Body::kNullCiphering : Body::kLeftCiphered;
                if (nullCiphering) p.reason = "taken as EEA0 (null ciphering) as --null-ciphering says";
                break;
        }
        return p;
    }

    template <typename Sink>
    void Record(const capture::CapturedFrame& frame, const FoundNas& f, int direction, const std::string& time,
                const view::Protection& protection, const security::SecurityFacts& facts) {
        using view::operator""_f;
        char* room = out_.Reserve(view::kMaxViewOutput + 4096);
        Sink sink(room, view::kMaxViewOutput + 4096);
        view::Result result;
        if constexpr (std::is_same_v<Sink, view::JsonSink>) {
            // One object a line: where the message was found, its octets,
            // the UE's security context and the view.
            sink.BeginRecord(view::Label());
            sink.Number("Frame"_f, static_cast<int64_t>(frame.number));
            sink.Ascii("Time"_f, time);
            sink.Ascii("Carrier"_f, capture::CarrierName(f.carrier));
            if (f.carrier == Carrier::kLteRrc) RrcFields(sink, f);
            if (CarriedByAp(f)) {
                sink.Ascii("Procedure"_f, ProcedureName(f));
                sink.Number("Procedure code"_f, f.procedure);
                UeFacts(f, [&sink](view::Label label, const char* value, bool number) {
                    if (number) {
                        int64_t n = 0;
                        std::from_chars(value, value + std::strlen(value), n);
                        sink.Number(label, n);
                    } else {
                        sink.Ascii(label, value);
                    }
                });
            }
            sink.Ascii("Direction"_f, DirectionName(direction));
            sink.Hex("Octets"_f, f.octets.data, f.octets.size);
            security::WriteContext(sink, facts, options_.showKeys);
            result = view::DecodeView(direction, f.octets.data, f.octets.size, 0, &protection, sink,
                                      view::Field<"View", "view">);
            sink.End();
        } else {
            result = view::DecodeView(direction, f.octets.data, f.octets.size, 0, &protection, sink, view::Label());
        }
        sink.Finish();
        if (!sink.Truncated()) out_.Commit(sink.Length());
        out_.Write("\n");
        if (result == view::Result::kDecodedWithErrors) ++counts_.decodedWithErrors;
        if (result == view::Result::kUnknownMessage || result == view::Result::kNotNas) ++counts_.unknown;
    }

    std::string path_;
    std::string name_;
    const CaptureOptions& options_;
    Output& out_;
    std::unique_ptr<capture::radio::RrcReader> ownReader_;
    capture::FrameDecoder decoder_;
    security::SecurityTracker tracker_;
    capture::S6aMatcher matcher_;
    security::SecurityFacts facts_;
    capture::SecurityContexts contexts_;  // 5GS: the ciphering algorithm of each UE
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

namespace {

// The security part of the summary: "; MAC 5 verified, ...".
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

}  // namespace

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
                       " ciphered (" + std::to_string(c.cipheredDecoded) + " of them decoded)";
    if (c.fivegs > 0) text += ", " + std::to_string(c.fivegs) + " of the messages 5GS NAS";
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
    text += SecuritySummary(c);
    if (c.warnings > 0) text += ", " + std::to_string(c.warnings) + (c.warnings == 1 ? " warning" : " warnings");
    return text;
}

CaptureCounts RunCapture(const std::string& path, const CaptureOptions& options, Output& out) {
    Runner runner(path, options, out);
    return runner.Run();
}

}  // namespace corvuna::cli
