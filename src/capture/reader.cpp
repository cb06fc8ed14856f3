// SPDX-License-Identifier: Apache-2.0
#include "capture/reader.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string_view>

#include "capture/ngap.h"
#include "capture/radio/rrc_reader.h"
#include "capture/s1ap.h"
#include "view/json_sink.h"
#include "view/walker.h"

namespace corvuna::capture {

namespace {

constexpr char kHex[] = "0123456789abcdef";

std::string Hex32(uint32_t v) {
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, v >>= 4) text[static_cast<size_t>(i)] = kHex[v & 0x0F];
    return text;
}

// ".ddddddddd", the first `digits` (at most 9) digits of the fraction of a
// second, appended to `out`.
void AppendFraction(std::string& out, uint32_t nanoseconds, int digits) {
    char fraction[10] = {'.'};
    nanoseconds %= 1000000000u;
    for (int i = 9; i >= 1; --i, nanoseconds /= 10) fraction[i] = static_cast<char>('0' + nanoseconds % 10);
    out.append(fraction, static_cast<size_t>(std::min(digits, 9)) + 1);
}

const char* DirectionName(int direction) { return direction == 1 ? "uplink" : "downlink"; }

bool CarriedByAp(const FoundNas& f) { return f.carrier == Carrier::kS1ap || f.carrier == Carrier::kNgap; }

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
    const UeLocation& l = f.location;
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
    text += std::string(" channel=") + radio::RrcClassName(f.rrcClass);
    if (f.rnti >= 0) text += " rnti=" + std::to_string(f.rnti);
    if (f.sfn >= 0) text += " sfn=" + std::to_string(f.sfn) + " subframe=" + std::to_string(f.subframe);
    return text;
}

// " procedure=initialUEMessage(12) enb_ue_s1ap_id=1 ...": the comment
// line's words of S1AP and NGAP.
std::string ApFacts(const FoundNas& f) {
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

// "frame=3 time=... carrier=s1ap procedure=...": the comment line's first
// words.
std::string Place(const Message& m) {
    const FoundNas& f = *m.found;
    return "frame=" + std::to_string(m.frame) + " time=" + m.time + " carrier=" +
           (f.carrier == Carrier::kLteRrc ? CarrierText(f) + RrcPlace(f) : std::string(CarrierName(f.carrier))) +
           ApFacts(f);
}

// Where a NAS message found in LTE RRC was, as members of a record.
void RrcFields(view::Sink& sink, const FoundNas& f) {
    using view::operator""_f;
    if (!f.rrcField.empty()) sink.Ascii("RRC field"_f, f.rrcField);
    if (!f.rrcMessage.empty()) sink.Ascii("RRC message"_f, f.rrcMessage);
    sink.Ascii("RRC channel"_f, radio::RrcClassName(f.rrcClass));
    if (f.rnti >= 0) sink.Number("RNTI"_f, f.rnti);
    if (f.sfn >= 0) {
        sink.Number("SFN"_f, f.sfn);
        sink.Number("Subframe"_f, f.subframe);
    }
}

// The security facts as the standard view prints them in a protected
// message's "ciphering" member; `octets` is the message with its body in the
// clear when the tracker could read it.
view::Protection ProtectionOf(const security::SecurityFacts& facts, Bytes octets, bool nullCiphering) {
    using Body = view::Protection::Body;
    using Mac = view::Protection::Mac;
    const auto text = [](const std::string& s) {
        return s.empty() ? Text() : Text::Trusted(s.data(), static_cast<uint32_t>(s.size()));
    };
    view::Protection p;
    p.cipheringAlgorithm = facts.eea;
    p.integrityAlgorithm = facts.eia;
    p.count = facts.countKnown ? static_cast<int64_t>(facts.count) : -1;
    if (facts.keySource != security::KeySource::kNone) {
        const char* source = security::KeySourceName(facts.keySource);
        p.keySource = Text::Trusted(source, static_cast<uint32_t>(std::strlen(source)));
    }
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
    // The body as the view says it, in the order of the tracker's states.
    static constexpr Body kBodies[] = {Body::kNotCiphered, Body::kDeciphered, Body::kNullCiphering,
                                       Body::kGuessedNull, Body::kLeftCiphered};
    p.body = kBodies[static_cast<int>(facts.body)];
    // The inner message: the clear body after the header (6 octets in EPS,
    // 7 in 5GS).
    const size_t header = octets.size > 0 && octets.At(0) == 0x7E ? 7 : 6;
    if (facts.body == security::BodyState::kDeciphered && octets.size >= header) {
        p.plain = Octets{octets.data + header, octets.size - header};
    }
    if (facts.body == security::BodyState::kLeftCiphered && nullCiphering) {
        p.body = Body::kNullCiphering;
        p.reason = "taken as EEA0 (null ciphering) as --null-ciphering says";
    }
    return p;
}

// The security part of the summary: "; MAC 5 verified, ...".
std::string SecuritySummary(const Counts& c) {
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

const security::SecurityFacts kNoFacts;

// The counter of each MAC check and of each state of a body, in the order
// of the enumerations (none for a message without MAC or a clear body).
unsigned long Counts::* const kMacCounts[] = {nullptr, &Counts::macVerified, &Counts::macFailed,
                                              &Counts::macUnverifiable};
unsigned long Counts::* const kBodyCounts[] = {nullptr, &Counts::deciphered, &Counts::nullCiphered,
                                               &Counts::guessedNull, &Counts::leftCiphered};
static_assert(static_cast<int>(security::MacCheck::kUnverifiable) == 3 &&
              static_cast<int>(security::BodyState::kLeftCiphered) == 4);

}  // namespace

const char* DirectionSourceName(const char* source) {
    if (std::strcmp(source, "(from the MAC)") == 0) return "mac";
    if (std::strcmp(source, "(from the message type)") == 0) return "message_type";
    if (std::strcmp(source, "(from -d)") == 0) return "option";
    return "";
}

const char* ProcedureName(const FoundNas& f) {
    if (!CarriedByAp(f)) return "";
    return f.carrier == Carrier::kNgap ? NgapProcedureName(f.procedure) : S1apProcedureName(f.procedure);
}

void ForEachUeFact(const FoundNas& f, const std::function<void(view::Label, const char*, bool)>& put) {
    UeFacts(f, put);
}

std::string CarrierText(const FoundNas& f) {
    std::string text = CarrierName(f.carrier);
    if (CarriedByAp(f)) {
        text += ':';
        text += ProcedureName(f);
        text += '(' + std::to_string(f.procedure) + ')';
    } else if (f.carrier == Carrier::kLteRrc && !f.rrcField.empty()) {
        text += ':' + f.rrcField;
    }
    return text;
}

Reader::Reader(const ReaderOptions& options) : options_(options), tracker_(options.keys, options.showKeys) {
    for (int i = 0; i < 16; ++i) {
        if (options.usersGiven[i]) decoder_.SetUserPayload(linktype::kUser0 + i, options.users[i]);
    }
    if (options.rrcReader == nullptr) ownReader_ = radio::MakeRrcReader();
    radio::RrcReader* reader = options.rrcReader != nullptr ? options.rrcReader : ownReader_.get();
    decoder_.SetRrcReader(reader);
    counts_.rrcReaderUsed = reader != nullptr;
}

Reader::~Reader() = default;

void Reader::Warn(const std::string& what) {
    ++counts_.warnings;
    if (options_.warning) options_.warning(what);
}

bool Reader::Open(const std::string& path, std::string& error) { return Opened(file_.Open(path, error), error); }

bool Reader::OpenDescriptor(int fd, std::string& error) { return Opened(file_.OpenDescriptor(fd, error), error); }

bool Reader::Opened(bool opened, std::string& error) {
    if (!opened) {
        counts_.failed = true;
        error_ = error;
        return false;
    }
    digits_ = file_.header().fractionDigits;
    linkType_ = file_.linkType();
    if (!LinkTypeSupported(linkType_, decoder_.userPayloads())) {
        std::string why = ": no NAS is looked for in it";
        if (linkType_ >= linktype::kUser0 && linkType_ <= linktype::kUser15) {
            why = ": what a user link type carries is the capturing tool's choice; when it is known, --user-dlt " +
                  std::to_string(linkType_) + "=WHAT says it (WHAT: nas, s1ap, mac-lte-framed or udp)";
        }
        error = "link type " + std::to_string(linkType_) + " (" + LinkTypeName(linkType_) + ") is not read" + why;
        error_ = error;
        counts_.failed = true;
        return false;
    }
    return true;
}

bool Reader::ReadFrame() {
    next_ = 0;
    if (finished_ || linkType_ < 0) return false;
    std::string error;
    if (options_.lastFrame > 0 && counts_.frames >= options_.lastFrame) {
        finished_ = true;  // the range ends here: what RLC holds belongs to later frames
        return false;
    }
    if (options_.beforeFrame) options_.beforeFrame();
    const int got = file_.Next(frame_, error);
    if (got <= 0) {
        if (got < 0) {
            error_ = "after frame " + std::to_string(counts_.frames) + ": " + error;
            if (options_.warning) options_.warning(error_);
            counts_.failed = true;
        }
        finished_ = true;
        if (counts_.frames == 0) return false;
        // What RLC still held behind a missing PDU, at the last frame.
        decoder_.Finish();
        frame_.data = Bytes{};
    } else {
        ++counts_.frames;
        const uint64_t microseconds = static_cast<uint64_t>(frame_.seconds) * 1000000u + frame_.nanoseconds / 1000u;
        decoder_.Decode(linkType_, frame_.data, frame_.wireLength, microseconds);
    }
    const bool given = frame_.number >= options_.firstFrame;
    if (given) {
        for (const std::string& warning : decoder_.warnings()) {
            Warn("frame " + std::to_string(frame_.number) + ": " + warning);
        }
    }
    for (const Bytes& message : decoder_.diameter()) TakeDiameter(message);
    if (options_.rrcPdu && given) {
        for (const radio::RrcPdu& p : decoder_.rrcPdus()) options_.rrcPdu(frame_.number, p);
    }
    counts_.radio = decoder_.radioCounters();
    return true;
}

bool Reader::Next(Message& m) {
    for (;;) {
        const std::vector<FoundNas>& found = decoder_.found();
        if (next_ < found.size()) {
            const FoundNas& f = found[next_++];
            if (f.location.tai) taiOf_[f.ueKey] = f.location;
            if (frame_.number < options_.firstFrame) {
                Replay(f);
                continue;
            }
            m = Message();
            m.found = &f;
            m.frame = frame_.number;
            m.seconds = frame_.seconds;
            m.nanoseconds = frame_.nanoseconds;
            if (frame_.seconds != timeSeconds_) {
                timeSeconds_ = frame_.seconds;
                timePrefix_ = IsoTime(frame_.seconds, 0, 0);
                timePrefix_.pop_back();  // the "Z"
            }
            m.time = timePrefix_;
            if (digits_ > 0) AppendFraction(m.time, frame_.nanoseconds, digits_);
            m.time += 'Z';
            m.facts = &kNoFacts;
            if (const auto tai = taiOf_.find(f.ueKey); tai != taiOf_.end()) {
                m.ueTai = true;
                std::copy(tai->second.taiPlmn, tai->second.taiPlmn + 3, m.ueTaiPlmn);
                m.ueTac = tai->second.tac;
            }
            if (f.asCipheredRrc) {
                BuildAsCiphered(m, f);
            } else {
                BuildNas(m, f);
            }
            return true;
        }
        if (!ReadFrame()) return false;
    }
}

// An S6a answer's vectors go to the tracker (unless told not to).
void Reader::TakeDiameter(Bytes message) {
    S6aAuthentication m;
    if (ParseDiameter(message, m) != DiameterResult::kS6aAuthentication) return;
    S6aVectors v;
    if (!matcher_.Take(m, v) || !options_.captureKeys) return;
    for (const EutranVector& e : v.vectors) {
        const security::Plmn plmn{v.visitedPlmn[0], v.visitedPlmn[1], v.visitedPlmn[2]};
        tracker_.AddVector(v.imsi, v.hasVisitedPlmn ? &plmn : nullptr, e.rand, e.xres, e.autn, e.kasme);
        ++counts_.s6aVectors;
    }
}

// A message before the frames given: followed, not given.
void Reader::Replay(const FoundNas& f) {
    if (f.asCipheredRrc) return;
    Track(f, facts_, false);
}

// The security facts of a message, counted.
void Reader::Track(const FoundNas& f, security::SecurityFacts& facts, bool count) {
    security::NasInput in;
    in.connection = f.ueKey;
    in.direction = f.direction;
    in.nas = security::ConstOctets(f.octets.data, f.octets.size);
    // S1AP and NGAP INITIAL UE MESSAGE start a UE association.
    in.newAssociation = (f.carrier == Carrier::kS1ap && f.procedure == 12) ||
                        (f.carrier == Carrier::kNgap && f.procedure == 15);
    if (f.location.sTmsi) in.sTmsi = static_cast<int64_t>(f.location.mmec) << 32 | f.location.mTmsi;
    if (f.location.tai) in.taiPlmn = f.location.taiPlmn;
    tracker_.Process(in, facts);
    if (!count) return;
    if (auto counter = kMacCounts[static_cast<int>(facts.mac)]) ++(counts_.*counter);
    if (facts.mac == security::MacCheck::kUnverifiable) ++counts_.unverifiableWhy[facts.macWhy];
}

// The header and body of a message, and the view's result, counted.  A
// body read as plain (EEA0, known or guessed, or deciphered) that is no NAS
// message was not read after all: it counts as left ciphered.
void Reader::Count(Message& m, security::BodyState body, const std::string& bodyWhy) {
    m.body = body;
    const ProtectedNas& p = m.header;
    const bool notNas = m.result == view::Result::kUnknownMessage || m.result == view::Result::kNotNas;
    if (m.result == view::Result::kDecodedWithErrors) ++counts_.decodedWithErrors;
    if (notNas) ++counts_.unknown;
    if (p.securityHeader >= 1 && p.securityHeader <= 4) {
        if (!p.ciphered) {
            ++counts_.integrityOnly;
        } else {
            ++counts_.ciphered;
            if (p.plain.size > 0 && !notNas) ++counts_.cipheredDecoded;
        }
    } else if (p.serviceRequest) {
        ++counts_.integrityOnly;
        ++counts_.serviceRequests;
    } else if (p.securityHeader <= 0) {
        ++counts_.plain;
    } else {
        ++counts_.reservedHeader;
    }
    const bool readAsPlain = body == security::BodyState::kDeciphered || body == security::BodyState::kNull ||
                             body == security::BodyState::kGuessedNull;
    if (readAsPlain && p.ciphered && notNas) {
        m.body = security::BodyState::kLeftCiphered;
        ++counts_.leftCiphered;
        ++counts_.leftCipheredWhy[body == security::BodyState::kDeciphered ? "the deciphered body is no NAS message"
                                                                          : "the body read as EEA0 is no NAS message"];
        return;
    }
    if (auto counter = kBodyCounts[static_cast<int>(body)]) ++(counts_.*counter);
    if (body == security::BodyState::kLeftCiphered) ++counts_.leftCipheredWhy[bodyWhy];
}

// EPS NAS, or 5GS NAS (TS 24.501, from NGAP), with the security facts of
// its UE's context.
void Reader::BuildNas(Message& m, const FoundNas& f) {
    m.kind = f.fivegs ? Message::Kind::kFivegs : Message::Kind::kEps;
    ++counts_.nas;
    if (f.fivegs) ++counts_.fivegs;
    Track(f, facts_);
    m.facts = &facts_;
    // A body the tracker could read (deciphered, EEA0 known or guessed), or
    // one the caller says is plain.
    const bool readable = facts_.body == security::BodyState::kDeciphered ||
                          facts_.body == security::BodyState::kNull ||
                          facts_.body == security::BodyState::kGuessedNull;
    const Bytes octets =
        readable && facts_.plain.size() == f.octets.size ? Bytes{facts_.plain.data(), facts_.plain.size()} : f.octets;
    const bool nullCiphering = options_.nullCiphering || readable;
    const ProtectedNas p = ReadProtectedNas(octets, nullCiphering);
    m.header = p;
    m.direction = f.direction;
    if (m.direction < 0 && facts_.mac == security::MacCheck::kVerified && facts_.direction >= 0) {
        m.direction = facts_.direction;
        m.directionSource = "(from the MAC)";
    }
    if (m.direction < 0) {
        m.direction = DirectionOfMessage(p.plain);
        m.directionSource = "(from the message type)";
        if (m.direction < 0) {
            m.direction = options_.direction;
            m.directionSource = "(from -d)";
        }
    }
    std::string about;
    if (options_.comments) {
        about = Place(m);
        about.reserve(about.size() + 256);  // the rest of the line without growing
        about.append(" direction=").append(DirectionName(m.direction)).append(m.directionSource);
    }
    if (options_.comments && f.fivegs) about += " nas=5gs";
    if (options_.comments && p.securityHeader > 0) {
        about += " security_header=" + std::to_string(p.securityHeader);
        if (p.securityHeader <= 4 && !p.shortHeader) {
            about += " mac=" + Hex32(p.mac) + " seq=" + std::to_string(p.sequence);
        }
        if (p.serviceRequest) about += " message=SERVICE_REQUEST";
        if (p.shortHeader) about += " message=cut_inside_the_security_header";
    }
    if (options_.comments) about += security::FactsText(facts_, options_.showKeys);
    if (p.ciphered) {
        if (options_.comments && options_.nullCiphering && !readable) {
            about += f.fivegs ? " ciphering=5g-ea0(assumed)" : " ciphering=eea0(assumed)";
        }
        if (p.plain.size == 0) {
            if (options_.comments) about += " decoded=no(ciphered)";
            m.leftCiphered = true;
        }
    }
    m.comment = std::move(about);
    m.protection = ProtectionOf(facts_, octets, nullCiphering);
    m.result = view::DecodeFacts(m.direction, f.octets.data, f.octets.size, &m.protection, m.view);
    // --null-ciphering reads a body the tracker left ciphered as EEA0.
    const security::BodyState body =
        facts_.body == security::BodyState::kLeftCiphered && nullCiphering && p.plain.size > 0
            ? security::BodyState::kNull
            : facts_.body;
    Count(m, body, facts_.bodyWhy);
}

// An RRC PDU that is AS-ciphered: said, not decoded.
void Reader::BuildAsCiphered(Message& m, const FoundNas& f) {
    m.kind = Message::Kind::kAsCiphered;
    ++counts_.asCipheredRrc;
    m.direction = f.direction;
    if (!options_.comments) return;
    m.comment = "frame=" + std::to_string(m.frame) + " time=" + m.time + " carrier=lte_rrc" + RrcPlace(f) +
                " direction=" + DirectionName(f.direction) + " as_ciphering=EEA" + std::to_string(f.asCiphering) +
                " decoded=no(AS-ciphered)";
}

void WriteRecord(view::Sink& sink, const Message& m, bool json, bool showKeys, bool unwrap) {
    const view::Protection* protection = unwrap ? &m.protection : nullptr;
    using view::operator""_f;
    const FoundNas& f = *m.found;
    if (!json) {
        if (m.kind != Message::Kind::kAsCiphered) {
            view::DecodeView(m.direction, f.octets.data, f.octets.size, 0, protection, sink, view::Label());
        }
        return;
    }
    // One object a record: where the message was found, its octets, the
    // UE's security context and the view.
    sink.BeginRecord(view::Label());
    sink.Number("Frame"_f, static_cast<int64_t>(m.frame));
    sink.Ascii("Time"_f, m.time);
    sink.Ascii("Carrier"_f, CarrierName(f.carrier));
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
    sink.Ascii("Direction"_f, DirectionName(m.direction));
    if (*DirectionSourceName(m.directionSource) != '\0') {
        sink.Ascii(view::Field<"Direction source", "direction_source">, DirectionSourceName(m.directionSource));
    }
    if (m.kind == Message::Kind::kAsCiphered) {
        sink.Ascii("AS ciphering"_f, "EEA" + std::to_string(f.asCiphering));
        sink.Flag("Decoded"_f, false, Text(), Text());
    } else {
        sink.Hex("Octets"_f, f.octets.data, f.octets.size);
        security::WriteContext(sink, *m.facts, showKeys);
        view::DecodeView(m.direction, f.octets.data, f.octets.size, 0, protection, sink,
                         view::Field<"View", "view">);
    }
    sink.End();
}

std::string IsoTime(int64_t seconds, uint32_t nanoseconds, int digits) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[64];
    const size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &tm);
    std::string out(text, n);
    if (digits > 0) AppendFraction(out, nanoseconds, digits);
    return out + "Z";
}

std::string LinkTypeName(int type) {
    if (type >= linktype::kUser0 && type <= linktype::kUser15) {
        return "user link type " + std::to_string(type - linktype::kUser0) + ", DLT_USER" +
               std::to_string(type - linktype::kUser0);
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

std::string Summary(const Counts& c) {
    std::string text = std::to_string(c.frames) + (c.frames == 1 ? " frame, " : " frames, ") + std::to_string(c.nas) +
                       (c.nas == 1 ? " NAS message: " : " NAS messages: ") + std::to_string(c.plain) + " plain, " +
                       std::to_string(c.integrityOnly) + " integrity protected" +
                       (c.serviceRequests > 0 ? " (" + std::to_string(c.serviceRequests) + " of them SERVICE REQUEST)"
                                              : std::string()) +
                       ", " + std::to_string(c.ciphered) + " ciphered (" + std::to_string(c.cipheredDecoded) +
                       " of them decoded)";
    if (c.reservedHeader > 0) text += ", " + std::to_string(c.reservedHeader) + " of a reserved security header type";
    if (c.decodedWithErrors > 0) text += ", " + std::to_string(c.decodedWithErrors) + " decoded with errors";
    if (c.unknown > 0) text += ", " + std::to_string(c.unknown) + " of an unknown type or no NAS";
    if (c.fivegs > 0) text += ", " + std::to_string(c.fivegs) + " of the messages 5GS NAS";
    const radio::RadioCounters& r = c.radio;
    if (r.macPdus > 0 || r.rrcPdus > 0) {
        text += "; radio: " + std::to_string(r.rrcPdus) + " LTE RRC PDUs";
        if (r.asCiphered > 0) text += " (" + std::to_string(r.asCiphered) + " AS-ciphered, not read)";
        if (!c.rrcReaderUsed && r.rrcPdus > 0) text += " (NAS inside them not read: no LTE RRC decoder in this build)";
        if (r.macPdus > 0) {
            text += ", " + std::to_string(r.macPdus) + " MAC PDUs";
            if (r.macBadCrc > 0) text += " (" + std::to_string(r.macBadCrc) + " with a bad CRC, skipped)";
            if (r.macUnreadable > 0) text += ", " + std::to_string(r.macUnreadable) + " MAC PDUs unreadable";
        }
        const radio::RlcCounters& l = r.rlc;
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

}  // namespace corvuna::capture
