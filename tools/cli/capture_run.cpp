// SPDX-License-Identifier: Apache-2.0
#include "cli/capture_run.h"

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

// One message in the chosen format.
void Write(const Message& m, const CaptureOptions& options, Output& out) {
    const capture::FoundNas& f = *m.found;
    switch (options.format) {
        case Format::kRrc:
            return;  // the RRC PDUs were listed as they came
        case Format::kTsv: {
            if (m.kind == Message::Kind::kAsCiphered) return;
            std::string line = std::to_string(m.direction) + '\t';
            AppendHex(line, f.octets.data, f.octets.size);
            line += '\t' + std::to_string(m.frame) + '\t' + m.time + '\t' + capture::CarrierText(f) + '\n';
            out.Write(line);
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
                    capture::WriteRecord(sink, m, true, options.showKeys);
                    sink.Finish();
                    if (!sink.Truncated()) out.Commit(sink.Length());
                } else {
                    view::TextSink sink(room, kRoom);
                    capture::WriteRecord(sink, m, false, options.showKeys);
                    sink.Finish();
                    if (!sink.Truncated()) out.Commit(sink.Length());
                }
            }
            out.Write("\n");
            return;
        }
        default:
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

}  // namespace

CaptureCounts RunCapture(const std::string& path, const CaptureOptions& options, Output& out) {
    const std::string name = path == "-" ? "stdin" : path;
    auto complain = [&name](const std::string& what) {
        std::fprintf(stderr, "corvuna: %s: %s\n", name.c_str(), what.c_str());
    };
    capture::ReaderOptions readerOptions = options;
    readerOptions.warning = complain;
    if (options.format == Format::kRrc) {
        readerOptions.rrcPdu = [&out](uint64_t frame, const capture::radio::RrcPdu& p) { out.Write(RrcLine(frame, p)); };
    }
    if (options.flushEachFrame) readerOptions.beforeFrame = [&out] { out.Flush(); };
    capture::Reader reader(readerOptions);
    std::string error;
    if (!reader.Open(path, error)) {
        complain(error);
        return reader.counts();
    }
    Message m;
    while (reader.Next(m)) Write(m, options, out);
    return reader.counts();
}

}  // namespace corvuna::cli
