// SPDX-License-Identifier: Apache-2.0
// Fuzz target: the radio side, MAC -> RLC -> PDCP -> RRC PDUs, with the
// state of RLC, PDCP and the UEs kept across the frames of one input.  The
// input is a run of records: a kind octet, a two-octet length, that many
// octets.  Kinds (low two bits):
//   0  a user link type 147 frame as it comes (MAC-LTE framing and PDU);
//   1  a MAC PDU under a framing made from the kind's other bits
//      (direction, one of eight RNTIs, a bad CRC now and then);
//   2  a user link type 149 frame: a UDP header, "mac-lte" or "rlc-lte"
//      (kind bit 2), then the octets;
//   3  the same time gap as kind 1 framing, with the clock moved on by
//      seconds, so that RLC's waiting limits come into play.
// An RRC part stands in that reports, from each RRC PDU's first octets, a
// SecurityModeCommand, a C-RNTI change or NAS PDUs, so that the AS state
// and the UE keys are driven too.  Every frame is a heap block of its exact
// size; every RRC PDU and NAS PDU handed out is read to its last octet.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "capture/frames.h"

namespace {

using namespace corvuna::capture;

class HintingRrc : public radio::RrcReader {
public:
    void Read(radio::RrcClass, Bytes pdu, radio::RrcContent& content) override {
        content.decoded = pdu.size % 5 != 0;
        if (!content.decoded) content.error = "made up";
        switch (pdu.At(0) % 8) {
            case 1: content.asCiphering = pdu.At(1) % 4; break;
            case 2: content.previousCrnti = 70 + pdu.At(1) % 8; break;
            case 3: content.newCrnti = 70 + pdu.At(1) % 8; break;
            case 4:
                content.nas.push_back({"dedicatedInfoNAS", std::vector<uint8_t>(pdu.data + 1, pdu.data + pdu.size)});
                content.nas.push_back({"DedicatedInfoNAS", {}});
                break;
            default: break;
        }
    }
};

uint8_t Touch(Bytes b) {
    uint8_t sum = 0;
    for (size_t i = 0; i < b.size; ++i) sum = static_cast<uint8_t>(sum + b.data[i]);
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HintingRrc rrc;
    FrameDecoder decoder;
    decoder.SetRrcReader(&rrc);
    uint64_t clock = 0;
    size_t at = 0;
    volatile uint8_t sink = 0;
    while (at + 3 <= size) {
        const uint8_t kind = data[at];
        size_t length = static_cast<size_t>(data[at + 1]) << 8 | data[at + 2];
        at += 3;
        if (length > size - at) length = size - at;
        std::vector<uint8_t> body(data + at, data + at + length);
        at += length;
        int type = 147;
        std::vector<uint8_t> made;
        switch (kind & 3) {
            case 0:
                made = body;
                break;
            case 1:
            case 3: {
                // FDD; direction; C-RNTI; RNTI 70-77; UE id; SFN/subframe;
                // CRC status; payload.
                made = {1, static_cast<uint8_t>((kind >> 2) & 1), 3, 0x02, 0, static_cast<uint8_t>(70 + ((kind >> 3) & 7)),
                        0x03, 0, 0, 0x04, 0x02, 0x68, 0x07, static_cast<uint8_t>((kind & 0xC0) == 0xC0 ? 0 : 1), 0x01};
                made.insert(made.end(), body.begin(), body.end());
                if ((kind & 3) == 3) clock += 1000000u * ((kind >> 6) + 1);
                break;
            }
            case 2: {
                type = 149;
                const uint16_t udpLength = static_cast<uint16_t>(8 + 7 + body.size());
                made = {0xbe, 0xef, 0xde, 0xad, static_cast<uint8_t>(udpLength >> 8), static_cast<uint8_t>(udpLength), 0, 0};
                const char* signature = (kind & 4) != 0 ? "rlc-lte" : "mac-lte";
                made.insert(made.end(), signature, signature + 7);
                made.insert(made.end(), body.begin(), body.end());
                break;
            }
        }
        clock += 1000;
        std::unique_ptr<uint8_t[]> frame(new uint8_t[made.empty() ? 1 : made.size()]);
        for (size_t i = 0; i < made.size(); ++i) frame[i] = made[i];
        decoder.Decode(type, Bytes{frame.get(), made.size()}, made.size(), clock);
        for (const radio::RrcPdu& p : decoder.rrcPdus()) sink = static_cast<uint8_t>(sink + Touch(p.octets));
        for (const FoundNas& f : decoder.found()) {
            if (f.carrier != Carrier::kLteRrc) abort();
            if (f.asCipheredRrc != (f.octets.size == 0)) abort();
            sink = static_cast<uint8_t>(sink + Touch(f.octets));
        }
    }
    decoder.Finish();
    for (const radio::RrcPdu& p : decoder.rrcPdus()) sink = static_cast<uint8_t>(sink + Touch(p.octets));
    for (const FoundNas& f : decoder.found()) sink = static_cast<uint8_t>(sink + Touch(f.octets));
    (void)sink;
    return 0;
}
