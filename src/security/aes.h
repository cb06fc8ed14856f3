// SPDX-License-Identifier: Apache-2.0
// AES-128 as the security functions use it, from OpenSSL's libcrypto: one
// block (Milenage), counter mode (128-EEA2), CMAC (128-EIA2), and
// HMAC-SHA-256 (the KDF).  Without libcrypto every call fails and
// Available() says so.
#pragma once

#include <cstddef>
#include <cstdint>

#include "security/octets.h"

namespace corvuna::security {

class Aes128 {
public:
    explicit Aes128(const Key128& key);
    ~Aes128();
    Aes128(const Aes128&) = delete;
    Aes128& operator=(const Aes128&) = delete;

    static bool Available();

    // One block: out = E_K(in).
    bool Encrypt(const uint8_t in[16], uint8_t out[16]) const;

private:
    void* ctx_ = nullptr;  // EVP_CIPHER_CTX
};

// The primitives of 128-EEA2 and 128-EIA2, with the contexts kept from one
// call to the next.
class AesModes {
public:
    AesModes();
    ~AesModes();
    AesModes(const AesModes&) = delete;
    AesModes& operator=(const AesModes&) = delete;

    // AES-128-CTR from the counter block `counter` over `size` octets.
    bool Ctr(const Key128& key, const uint8_t counter[16], const uint8_t* in, size_t size, uint8_t* out);
    // AES-128-CMAC of the concatenation of `head` and `body` (first 4 octets).
    bool Cmac(const Key128& key, ConstOctets head, ConstOctets body, uint8_t mac[4]);

private:
    bool Ready();  // the algorithms fetched (at the first use)

    bool loaded_ = false;
    void* cipher_ = nullptr;  // EVP_CIPHER (AES-128-CTR)
    void* ctx_ = nullptr;     // EVP_CIPHER_CTX
    void* mac_ = nullptr;     // EVP_MAC (CMAC)
    bool ok_ = false;
};

// HMAC-SHA-256 of `message` under `key`; false without libcrypto.
bool HmacSha256(ConstOctets key, ConstOctets message, uint8_t out[32]);

}  // namespace corvuna::security
