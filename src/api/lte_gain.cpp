// SPDX-License-Identifier: Apache-2.0
// The bearer rate query: the guaranteed bit rates of an ACTIVATE DEFAULT EPS
// BEARER CONTEXT REQUEST, read from its EPS QoS without writing a document.
#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "corvuna/corvuna.h"
#include "legacy/ie/sm/eps_qos.h"

namespace corvuna {

namespace {

// Octets read before the EPS QoS value: EPS bearer identity and PD, PTI,
// message type, EPS QoS length.
constexpr int32_t kHeaderOctets = 4;
// Octets up to and including the guaranteed downlink rate (EPS QoS value
// octet 5).
constexpr int32_t kGuaranteedRatesEnd = kHeaderOctets + 5;

constexpr uint8_t kFirstOctet = 0x02;  // EPS bearer identity 0, PD 2 (ESM)
constexpr uint8_t kActivateDefaultBearerRequest = 0xC1;
constexpr int32_t kRateScale = 1000000;

// Fills `rates` (downlink, uplink) and returns true when the message is an
// activate default EPS bearer context request; false leaves them alone.
bool QueryGuaranteedRates(const uint8_t* message, int32_t length, int32_t (&rates)[2]) {
    if (length < kHeaderOctets) return false;
    BitCursor cursor;
    LoadBits(cursor, message, static_cast<uint32_t>(length));
    if (ReadOctet(cursor) != kFirstOctet) return false;
    ReadOctet(cursor);  // PTI
    if (ReadOctet(cursor) != kActivateDefaultBearerRequest) return false;
    EpsQos qos{};
    const int32_t qosLength = ReadOctet(cursor);
    ParseEpsQos(cursor, qosLength, qos);
    // Rates that the message does not hold in full count as absent.
    if (qos.bitRatesPresent && length >= kGuaranteedRatesEnd) {
        rates[0] = qos.guaranteedBitRateDl * kRateScale;
        rates[1] = qos.guaranteedBitRateUl * kRateScale;
    } else {
        rates[0] = -1;
        rates[1] = -1;
    }
    return true;
}

}  // namespace

}  // namespace corvuna

extern "C" {

CORVUNA_API int CORVUNA_CALL LteGain(const unsigned char* message, int length, unsigned int messageCode,
                                     int* rates) {
    if (message == nullptr || length <= 0 || messageCode != CORVUNA_CODE_ACTIVATE_DEFAULT_BEARER_REQUEST ||
        rates == nullptr) {
        return 0;
    }
    // Nothing may escape the exported entry: a failure while reading gives 0
    // with the rates untouched.
    try {
        int32_t values[2] = {0, 0};
        if (corvuna::QueryGuaranteedRates(message, length, values)) {
            rates[0] = values[0];
            rates[1] = values[1];
        }
        return 1;
    } catch (...) {
        return 0;
    }
}

}  // extern "C"
