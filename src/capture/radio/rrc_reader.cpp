// SPDX-License-Identifier: Apache-2.0
#include "capture/radio/rrc_reader.h"

// The LTE RRC decoder is the PER engine's (capture/rrc.h: DecodeRrc over
// the tables generated from the ASN.1 of TS 36.331).  A tree without it
// builds the radio side alone: no reader, the RRC PDUs are only counted.
#if __has_include("capture/rrc.h")
#include "capture/rrc.h"
#define CORVUNA_HAS_RRC_DECODER 1
#endif

namespace corvuna::capture::radio {

#ifdef CORVUNA_HAS_RRC_DECODER
namespace {

RrcChannel ChannelOf(RrcClass c) {
    switch (c) {
        case RrcClass::kUlCcch: return RrcChannel::kUlCcch;
        case RrcClass::kDlCcch: return RrcChannel::kDlCcch;
        case RrcClass::kUlDcch: return RrcChannel::kUlDcch;
        case RrcClass::kDlDcch: return RrcChannel::kDlDcch;
    }
    return RrcChannel::kUlDcch;
}

class PerRrcReader : public RrcReader {
public:
    PerRrcReader() : message_(std::make_unique<RrcMessage>()) {}

    // False when the build has no tables of LTE RRC.
    bool Available() {
        return DecodeRrc(RrcChannel::kUlDcch, Bytes{}, *message_) != RrcResult::kUnavailable;
    }

    void Read(RrcClass channel, Bytes pdu, RrcContent& content) override {
        const RrcResult result = DecodeRrc(ChannelOf(channel), pdu, *message_);
        const RrcMessage& m = *message_;
        content.decoded = result == RrcResult::kOk;
        content.message = m.name;
        if (!content.decoded) content.error = m.problem;
        // tshark names the items of RRCConnectionReconfiguration's
        // dedicatedInfoNASList by their type, the other fields by name.
        const char* field = content.message == "rrcConnectionReconfiguration" ? "DedicatedInfoNAS" : "dedicatedInfoNAS";
        for (size_t i = 0; i < m.nasCount(); ++i) {
            const Bytes nas = m.nas(i);
            content.nas.push_back(RrcNas{field, std::vector<uint8_t>(nas.data, nas.data + nas.size)});
        }
        if (m.nasCut && content.error.empty()) content.error = "more NAS PDUs or octets than kept";
        if (m.nasCut) content.decoded = false;
        content.asCiphering = m.cipheringAlgorithm;
        content.asIntegrity = m.integrityAlgorithm;
        content.newCrnti = m.newCRnti;
        content.previousCrnti = m.reestablishmentCRnti;
    }

private:
    std::unique_ptr<RrcMessage> message_;  // large: one per reader
};

}  // namespace

std::unique_ptr<RrcReader> MakeRrcReader() {
    auto reader = std::make_unique<PerRrcReader>();
    if (!reader->Available()) return nullptr;
    return reader;
}

#else

std::unique_ptr<RrcReader> MakeRrcReader() { return nullptr; }

#endif

}  // namespace corvuna::capture::radio
