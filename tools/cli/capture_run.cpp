// SPDX-License-Identifier: Apache-2.0
#include "cli/capture_run.h"

#include <cctype>
#include <cstdio>

#include "corvuna/corvuna.h"
#include "view/json_sink.h"
#include "view/text_sink.h"

namespace corvuna::cli {

namespace {

using capture::Bytes;
using capture::Message;

constexpr char kHex[] = "0123456789abcdef";

void AppendHex(std::string& text, const uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        text += kHex[data[i] >> 4];
        text += kHex[data[i] & 0x0F];
    }
}

// The LTE RRC message class as the -T rrc listing names it: "ul-dcch".
std::string LowerClass(capture::radio::RrcClass c) {
    std::string text = capture::radio::RrcClassName(c);
    for (char& ch : text) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    return text;
}

// -T rrc: FRAME<TAB>CLASS<TAB>HEX<TAB>facts.
std::string RrcLine(uint64_t frame, const capture::radio::RrcPdu& p) {
    std::string line = std::to_string(frame) + '\t' + LowerClass(p.channel) + '\t';
    AppendHex(line, p.octets.data, p.octets.size);
    line += '\t';
    line += p.direction == 1 ? "uplink" : "downlink";
    if (p.rnti >= 0) line += " rnti=" + std::to_string(p.rnti);
    if (p.ueId >= 0) line += " ue_id=" + std::to_string(p.ueId);
    if (p.sfn >= 0) line += " sfn=" + std::to_string(p.sfn) + " subframe=" + std::to_string(p.subframe);
    if (p.logicalChannel >= 0) line += " lcid=" + std::to_string(p.logicalChannel);
    if (p.pdcpSn >= 0) {
        char mac[16];
        std::snprintf(mac, sizeof mac, "%08x", p.macI);
        line += " pdcp_sn=" + std::to_string(p.pdcpSn) + " count=" + std::to_string(p.pdcpCount) + " mac_i=" + mac;
    }
    if (p.reassembled) line += " reassembled";
    if (p.asCiphering >= 0) line += " as_ciphering=EEA" + std::to_string(p.asCiphering);
    if (p.asCiphered) line += " as_ciphered";
    return line + '\n';
}

// -T ladder: one line a message, the UE on the left and the network on the
// right: "   23  12:52:52.575303  UE ───► attach_request (IMSI 001010123456819)".
std::string LadderLine(const Message& m) {
    const view::MessageFacts& v = m.view;
    std::string name = m.kind == Message::Kind::kAsCiphered ? std::string("(AS-ciphered RRC PDU)")
                       : v.message.empty()                  ? std::string("(") + std::string(view::ResultName(m.result)) + ")"
                                                            : std::string(v.message.view());
    if (m.leftCiphered) name += " (ciphered)";
    std::string line = std::to_string(m.frame);
    if (line.size() < 7) line.insert(0, 7 - line.size(), ' ');
    const size_t t = m.time.find('T');
    line += "  " + (t == std::string::npos ? m.time : m.time.substr(t + 1, m.time.size() - t - 2)) + "  ";
    line += m.direction == 1 ? "UE ---> NW  " : "UE <--- NW  ";
    line += name;
    if (v.cause >= 0) line += " cause #" + std::to_string(v.cause) + " " + std::string(v.causeText.view());
    if (!v.imsi.empty()) line += " IMSI " + std::string(v.imsi.view());
    if (!v.guti.empty()) line += std::string(v.guti5g ? " 5G-GUTI " : " GUTI ") + std::string(v.guti.view());
    if (m.facts->mac == security::MacCheck::kFailed) line += " [MAC failed]";
    if (m.result == view::Result::kDecodedWithErrors) line += " [decoded with errors]";
    return line + "\n";
}

// One message in the chosen format.
void Write(const Message& m, const CaptureOptions& options, const std::string& file, Output& out) {
    const capture::FoundNas& f = *m.found;
    switch (options.format) {
        case Format::kRrc:
            return;  // the RRC PDUs were listed as they came
        case Format::kLadder:
            out.Write(LadderLine(m));
            return;
        case Format::kTsv: {
            if (m.kind == Message::Kind::kAsCiphered) return;
            std::string line = std::to_string(m.direction) + '\t';
            AppendHex(line, f.octets.data, f.octets.size);
            line += '\t' + std::to_string(m.frame) + '\t' + m.time + '\t' + capture::CarrierText(f) + '\t' +
                    capture::DirectionSourceName(m.directionSource);
            if (options.fileColumn) line += '\t' + file;
            out.Write(line + '\n');
            return;
        }
        case Format::kJson:
        case Format::kText: {
            const bool json = options.format == Format::kJson;
            if (!json) out.Write("# " + m.comment + "\n");
            if (m.kind != Message::Kind::kAsCiphered || json) {
                constexpr size_t kRoom = view::kMaxViewOutput + 4096;
                char* room = out.Reserve(kRoom);
                if (json) {
                    view::JsonSink sink(room, kRoom);
                    capture::WriteRecord(sink, m, true, options.showKeys, !options.noUnwrap);
                    sink.Finish();
                    if (!sink.Truncated()) out.Commit(sink.Length());
                } else {
                    view::TextSink sink(room, kRoom);
                    capture::WriteRecord(sink, m, false, options.showKeys, !options.noUnwrap);
                    sink.Finish();
                    if (!sink.Truncated()) out.Commit(sink.Length());
                }
            }
            out.Write("\n");
            return;
        }
        case Format::kLegacy:
            break;
    }
    // The legacy document, of EPS NAS only: of the inner plain message
    // unless told to take the octets as carried; none for a body that stayed
    // ciphered (not pretending to decode it).
    out.Write("# " + m.comment + "\n");
    if (m.kind == Message::Kind::kAsCiphered) return;
    if (m.kind == Message::Kind::kFivegs) {
        out.Write("# 5GS NAS (TS 24.501), " + std::to_string(f.octets.size) + " octet" +
                  (f.octets.size == 1 ? "" : "s") + ": no legacy document (the legacy document is of EPS NAS only)\n");
        return;
    }
    if (m.leftCiphered && !options.noUnwrap) return;
    const Bytes message = !options.noUnwrap && m.header.plain.size > 0 ? m.header.plain : f.octets;
    char* room = out.Reserve(CORVUNA_MAX_DOCUMENT_LENGTH);
    room[0] = '\0';
    size_t needed = 0;
    if (CorvunaDecodeBounded(m.direction, message.data, static_cast<int>(message.size), room,
                             CORVUNA_MAX_DOCUMENT_LENGTH + 1, &needed) == CORVUNA_OK) {
        out.Commit(needed - 1);
    }
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Whether `m` names the UE `id`: its IMSI, GUTI or TMSI (M-TMSI, 5G-TMSI,
// or the S-TMSI S1AP carries), or the UE the security tracker knows by it.
bool Names(const Message& m, const std::string& id) {
    const view::MessageFacts& v = m.view;
    const capture::UeLocation& l = m.found->location;
    char sTmsi[16] = "";
    if (l.sTmsi) std::snprintf(sTmsi, sizeof sTmsi, "%08x", l.mTmsi);
    return SameText(v.imsi.view(), id) || SameText(v.guti.view(), id) || SameText(v.tmsi.view(), id) ||
           (l.sTmsi && SameText(sTmsi, id)) || m.facts->ue == "imsi-" + id;
}

// The selection of --message, --ue and --errors, followed message by message.
class Selection {
public:
    explicit Selection(const CaptureOptions& options) : options_(options) {}

    bool Takes(const Message& m) {
        if (options_.errorsOnly && m.result != view::Result::kDecodedWithErrors && !m.leftCiphered &&
            m.facts->mac != security::MacCheck::kFailed) {
            return false;
        }
        if (!options_.messages.empty()) {
            const std::string name(m.view.message.view());
            bool named = false;
            for (const std::string& wanted : options_.messages) named = named || wanted == name;
            if (!named) return false;
        }
        if (!options_.ue.empty()) {
            // The UE is followed by its S1AP/NGAP association and by the
            // tracker's name for it, from the first message that names it.
            const std::string& tracked = m.facts->ue;
            if (Names(m, options_.ue)) {
                keys_.insert(m.found->ueKey);
                if (!tracked.empty()) keys_.insert(tracked);
            }
            const bool known = keys_.count(m.found->ueKey) > 0 || (!tracked.empty() && keys_.count(tracked) > 0);
            if (!known) return false;
            if (!tracked.empty()) keys_.insert(tracked);
            keys_.insert(m.found->ueKey);
        }
        return true;
    }

private:
    const CaptureOptions& options_;
    std::set<std::string> keys_;
};

bool Bad(view::Result r) {
    return r == view::Result::kDecodedWithErrors || r == view::Result::kUnknownMessage || r == view::Result::kNotNas;
}

}  // namespace

CaptureRun RunCapture(const std::string& path, const CaptureOptions& options, Output& out) {
    const std::string name = path == "-" ? "stdin" : path;
    auto complain = [&name](const std::string& what) {
        std::fprintf(stderr, "corvuna: %s: %s\n", name.c_str(), what.c_str());
    };
    capture::ReaderOptions readerOptions = options;
    readerOptions.warning = complain;
    readerOptions.comments = options.format == Format::kLegacy || options.format == Format::kText;
    if (options.format == Format::kRrc) {
        readerOptions.rrcPdu = [&out](uint64_t frame, const capture::radio::RrcPdu& p) { out.Write(RrcLine(frame, p)); };
    }
    if (options.flushEachFrame) readerOptions.beforeFrame = [&out] { out.Flush(); };
    capture::Reader reader(readerOptions);
    CaptureRun run;
    std::string error;
    if (!reader.Open(path, error)) {
        complain(error);
        run.counts = reader.counts();
        return run;
    }
    Selection selection(options);
    Message m;
    while (reader.Next(m)) {
        if (!selection.Takes(m)) continue;
        Write(m, options, name, out);
        ++run.selected;
        if (options.stopOnError && m.kind != Message::Kind::kAsCiphered && Bad(m.result)) {
            complain("frame " + std::to_string(m.frame) + ": " + std::string(view::ResultWords(m.result)) +
                     ": stopped there (-s)");
            run.stopped = true;
            break;
        }
    }
    run.counts = reader.counts();
    return run;
}

}  // namespace corvuna::cli
