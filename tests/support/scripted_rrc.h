// SPDX-License-Identifier: Apache-2.0
// A stand-in for the RRC part in tests of the layers around it: it knows
// nothing of RRC, it answers for the RRC PDUs the test scripted (by their
// octets) what the test says they contain (not decoded when the script
// gives an error), and says "decoded" with no content for the others.
#pragma once

#include <map>
#include <vector>

#include "capture/radio/rrc_pdu.h"

namespace corvuna::test {

class ScriptedRrc : public capture::radio::RrcReader {
public:
    void Say(const std::vector<uint8_t>& pdu, const capture::radio::RrcContent& content) { script_[pdu] = content; }
    void Read(capture::radio::RrcClass channel, capture::Bytes pdu, capture::radio::RrcContent& content) override {
        read.emplace_back(channel, std::vector<uint8_t>(pdu.data, pdu.data + pdu.size));
        const auto it = script_.find(read.back().second);
        if (it != script_.end()) content = it->second;
        content.decoded = content.error.empty();
    }
    // What was read, in order.
    std::vector<std::pair<capture::radio::RrcClass, std::vector<uint8_t>>> read;

private:
    std::map<std::vector<uint8_t>, capture::radio::RrcContent> script_;
};

}  // namespace corvuna::test
