// SPDX-License-Identifier: Apache-2.0
// The EPS integrity and ciphering algorithms of TS 33.401 5.1.3-5.1.4 and
// Annex B, each with the input block it builds from COUNT, BEARER and
// DIRECTION: 128-EEA2/EIA2 (AES-CTR and AES-CMAC, OpenSSL's libcrypto),
// 128-EEA1/EIA1 (SNOW 3G through UEA2/UIA2) and 128-EEA3/EIA3 (ZUC) from
// Intel's ipsec-mb, and EEA0/EIA0.  An algorithm whose library this build
// lacks is unavailable and says so; it never gives a result.
#pragma once

#include <memory>
#include <optional>

#include "security/octets.h"

namespace corvuna::security {

// The direction bit of the algorithms' input.
inline constexpr uint8_t kDirectionUplink = 0;
inline constexpr uint8_t kDirectionDownlink = 1;

// Why an algorithm gives no result: nullptr when it is available.
const char* IntegrityUnavailable(int eia);
const char* CipheringUnavailable(int eea);

// The 128-EEA2 counter block: COUNT || BEARER || DIRECTION || 0^26 || 0^64.
std::array<uint8_t, 16> Eea2CounterBlock(uint32_t count, uint8_t bearer, uint8_t direction);
// The 64 bits that 128-EIA2 puts before the message: COUNT || BEARER ||
// DIRECTION || 0^26.
std::array<uint8_t, 8> Eia2Prefix(uint32_t count, uint8_t bearer, uint8_t direction);
// 128-EIA1 is UIA2 with COUNT-I = COUNT and FRESH = BEARER || 0^27.
inline uint32_t Eia1Fresh(uint8_t bearer) { return static_cast<uint32_t>(bearer & 0x1F) << 27; }

// One engine per thread: it holds the libraries' contexts.
class NasAlgorithms {
public:
    NasAlgorithms();
    ~NasAlgorithms();
    NasAlgorithms(const NasAlgorithms&) = delete;
    NasAlgorithms& operator=(const NasAlgorithms&) = delete;

    // The 32-bit MAC of 128-EIA`eia` (0-3) over the first `bits` bits of
    // `message`; EIA0 gives 0.  nullopt when the algorithm is unavailable,
    // unknown, or (EIA2) the length is not whole octets.
    std::optional<uint32_t> Mac(int eia, const Key128& key, uint32_t count, uint8_t bearer, uint8_t direction,
                                ConstOctets message, size_t bits);
    // Ciphers (or deciphers) the first `bits` bits of `in` into `out` (as
    // many octets, bits past the length unspecified) with 128-EEA`eea`
    // (0-3); false when the algorithm is unavailable or unknown.
    bool Cipher(int eea, const Key128& key, uint32_t count, uint8_t bearer, uint8_t direction, ConstOctets in,
                size_t bits, uint8_t* out);

    // UEA2 and UIA2 themselves (TS 35.215), which 128-EEA1 and 128-EIA1 are
    // built on.
    bool Uea2(const Key128& key, uint32_t countC, uint8_t bearer, uint8_t direction, ConstOctets in, size_t bits,
              uint8_t* out);
    std::optional<uint32_t> Uia2(const Key128& key, uint32_t countI, uint32_t fresh, uint8_t direction,
                                 ConstOctets message, size_t bits);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace corvuna::security
