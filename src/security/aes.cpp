// SPDX-License-Identifier: Apache-2.0
#include "security/aes.h"

#ifdef CORVUNA_HAVE_OPENSSL
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/params.h>
#endif

namespace corvuna::security {

#ifdef CORVUNA_HAVE_OPENSSL

Aes128::Aes128(const Key128& key) {
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    if (ctx == nullptr) return;
    if (EVP_EncryptInit_ex(ctx, EVP_aes_128_ecb(), nullptr, key.data(), nullptr) != 1) {
        EVP_CIPHER_CTX_free(ctx);
        return;
    }
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    ctx_ = ctx;
}

Aes128::~Aes128() { EVP_CIPHER_CTX_free(static_cast<EVP_CIPHER_CTX*>(ctx_)); }

bool Aes128::Available() { return true; }

bool Aes128::Encrypt(const uint8_t in[16], uint8_t out[16]) const {
    if (ctx_ == nullptr) return false;
    int n = 0;
    return EVP_EncryptUpdate(static_cast<EVP_CIPHER_CTX*>(ctx_), out, &n, in, 16) == 1 && n == 16;
}

AesModes::AesModes() = default;

// Fetching the algorithms loads libcrypto's provider tables: done at the
// first use, so that a run that checks no MAC does not pay for it.
bool AesModes::Ready() {
    if (!loaded_) {
        loaded_ = true;
        cipher_ = EVP_CIPHER_fetch(nullptr, "AES-128-CTR", nullptr);
        ctx_ = EVP_CIPHER_CTX_new();
        mac_ = EVP_MAC_fetch(nullptr, "CMAC", nullptr);
        ok_ = cipher_ != nullptr && ctx_ != nullptr && mac_ != nullptr;
    }
    return ok_;
}

AesModes::~AesModes() {
    EVP_CIPHER_CTX_free(static_cast<EVP_CIPHER_CTX*>(ctx_));
    EVP_CIPHER_free(static_cast<EVP_CIPHER*>(cipher_));
    EVP_MAC_free(static_cast<EVP_MAC*>(mac_));
}

bool AesModes::Ctr(const Key128& key, const uint8_t counter[16], const uint8_t* in, size_t size, uint8_t* out) {
    if (!Ready()) return false;
    auto* ctx = static_cast<EVP_CIPHER_CTX*>(ctx_);
    if (EVP_EncryptInit_ex2(ctx, static_cast<EVP_CIPHER*>(cipher_), key.data(), counter, nullptr) != 1) return false;
    int n = 0;
    if (size > 0 && EVP_EncryptUpdate(ctx, out, &n, in, static_cast<int>(size)) != 1) return false;
    return static_cast<size_t>(n) == size;
}

bool AesModes::Cmac(const Key128& key, ConstOctets head, ConstOctets body, uint8_t mac[4]) {
    if (!Ready()) return false;
    EVP_MAC_CTX* ctx = EVP_MAC_CTX_new(static_cast<EVP_MAC*>(mac_));
    if (ctx == nullptr) return false;
    char cipherName[] = "AES-128-CBC";
    const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_CIPHER, cipherName, 0),
                                 OSSL_PARAM_construct_end()};
    uint8_t full[16];
    size_t length = 0;
    const bool ok = EVP_MAC_init(ctx, key.data(), key.size(), params) == 1 &&
                    EVP_MAC_update(ctx, head.data(), head.size()) == 1 &&
                    (body.empty() || EVP_MAC_update(ctx, body.data(), body.size()) == 1) &&
                    EVP_MAC_final(ctx, full, &length, sizeof full) == 1 && length == 16;
    EVP_MAC_CTX_free(ctx);
    if (ok) {
        for (size_t i = 0; i < 4; ++i) mac[i] = full[i];
    }
    return ok;
}

bool HmacSha256(ConstOctets key, ConstOctets message, uint8_t out[32]) {
    unsigned int length = 0;
    return HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()), message.data(), message.size(), out,
                &length) != nullptr &&
           length == 32;
}

#else  // no libcrypto: every primitive reports failure

Aes128::Aes128(const Key128&) {}
Aes128::~Aes128() = default;
bool Aes128::Available() { return false; }
bool Aes128::Encrypt(const uint8_t*, uint8_t*) const { return false; }
AesModes::AesModes() = default;
AesModes::~AesModes() = default;
bool AesModes::Ready() { return false; }
bool AesModes::Ctr(const Key128&, const uint8_t*, const uint8_t*, size_t, uint8_t*) { return false; }
bool AesModes::Cmac(const Key128&, ConstOctets, ConstOctets, uint8_t*) { return false; }
bool HmacSha256(ConstOctets, ConstOctets, uint8_t*) { return false; }

#endif

}  // namespace corvuna::security
