// SPDX-License-Identifier: Apache-2.0
#include "security/nas_algorithms.h"

#include <cstring>
#include <vector>

#include "security/aes.h"

#ifdef CORVUNA_HAVE_IPSEC_MB
#include <intel-ipsec-mb.h>
#endif

namespace corvuna::security {

namespace {

size_t Octets(size_t bits) { return (bits + 7) / 8; }

#ifdef CORVUNA_HAVE_OPENSSL
constexpr const char* kNoAes = nullptr;
#else
constexpr const char* kNoAes = "built without libcrypto";
#endif
#ifdef CORVUNA_HAVE_IPSEC_MB
constexpr const char* kNoIpsecMb = nullptr;
#else
constexpr const char* kNoIpsecMb = "built without ipsec-mb";
#endif

}  // namespace

const char* IntegrityUnavailable(int eia) {
    switch (eia) {
        case 0:
            return nullptr;
        case 1:
        case 3:
            return kNoIpsecMb;
        case 2:
            return kNoAes;
        default:
            return "unknown algorithm";
    }
}

const char* CipheringUnavailable(int eea) { return IntegrityUnavailable(eea); }

std::array<uint8_t, 16> Eea2CounterBlock(uint32_t count, uint8_t bearer, uint8_t direction) {
    std::array<uint8_t, 16> block{};
    block[0] = static_cast<uint8_t>(count >> 24);
    block[1] = static_cast<uint8_t>(count >> 16);
    block[2] = static_cast<uint8_t>(count >> 8);
    block[3] = static_cast<uint8_t>(count);
    block[4] = static_cast<uint8_t>((bearer & 0x1F) << 3 | (direction & 1) << 2);
    return block;
}

std::array<uint8_t, 8> Eia2Prefix(uint32_t count, uint8_t bearer, uint8_t direction) {
    const std::array<uint8_t, 16> block = Eea2CounterBlock(count, bearer, direction);
    std::array<uint8_t, 8> prefix{};
    std::memcpy(prefix.data(), block.data(), prefix.size());
    return prefix;
}

struct NasAlgorithms::State {
    AesModes aes;
#ifdef CORVUNA_HAVE_IPSEC_MB
    IMB_MGR* mgr = nullptr;
    snow3g_key_schedule_t schedule{};
    // ipsec-mb reads and writes whole words: it is given copies with room
    // after the last octet, never the caller's buffers.
    std::vector<uint8_t> input, output;
    bool mgrTried = false;
    ~State() {
        if (mgr != nullptr) free_mb_mgr(mgr);
    }
    // The ipsec-mb manager, set up at the first use (its set-up probes the
    // processor and fills large tables: a run that needs no SNOW 3G or ZUC
    // does not pay for it).
    IMB_MGR* Mgr() {
        if (!mgrTried) {
            mgrTried = true;
            mgr = alloc_mb_mgr(0);
            if (mgr != nullptr) init_mb_mgr_auto(mgr, nullptr);
        }
        return mgr;
    }
    const uint8_t* In(ConstOctets octets, size_t size) {
        input.assign(size + kSlack, 0);
        if (size > 0) std::memcpy(input.data(), octets.data(), size);
        return input.data();
    }
    uint8_t* Out(size_t size) {
        output.assign(size + kSlack, 0);
        return output.data();
    }
    static constexpr size_t kSlack = 32;
#endif
};

NasAlgorithms::NasAlgorithms() : state_(std::make_unique<State>()) {}

NasAlgorithms::~NasAlgorithms() = default;

bool NasAlgorithms::Uea2(const Key128& key, uint32_t countC, uint8_t bearer, uint8_t direction, ConstOctets in,
                         size_t bits, uint8_t* out) {
#ifdef CORVUNA_HAVE_IPSEC_MB
    if (state_->Mgr() == nullptr || in.size() < Octets(bits)) return false;
    uint8_t iv[16];
    if (snow3g_f8_iv_gen(countC, bearer, direction, iv) != 0) return false;
    if (IMB_SNOW3G_INIT_KEY_SCHED(state_->Mgr(), key.data(), &state_->schedule) != 0) return false;
    if (bits == 0) return true;
    const size_t octets = Octets(bits);
    const uint8_t* from = state_->In(in, octets);
    uint8_t* to = state_->Out(octets);
    IMB_SNOW3G_F8_1_BUFFER_BIT(state_->Mgr(), &state_->schedule, iv, from, to, bits, 0);
    std::memcpy(out, to, octets);
    return true;
#else
    (void)key, (void)countC, (void)bearer, (void)direction, (void)in, (void)bits, (void)out;
    return false;
#endif
}

std::optional<uint32_t> NasAlgorithms::Uia2(const Key128& key, uint32_t countI, uint32_t fresh, uint8_t direction,
                                            ConstOctets message, size_t bits) {
#ifdef CORVUNA_HAVE_IPSEC_MB
    if (state_->Mgr() == nullptr || message.size() < Octets(bits)) return std::nullopt;
    uint8_t iv[16];
    if (snow3g_f9_iv_gen(countI, fresh, direction, iv) != 0) return std::nullopt;
    if (IMB_SNOW3G_INIT_KEY_SCHED(state_->Mgr(), key.data(), &state_->schedule) != 0) return std::nullopt;
    uint8_t tag[4] = {};
    IMB_SNOW3G_F9_1_BUFFER(state_->Mgr(), &state_->schedule, iv, state_->In(message, Octets(bits)), bits, tag);
    return Be32(tag);
#else
    (void)key, (void)countI, (void)fresh, (void)direction, (void)message, (void)bits;
    return std::nullopt;
#endif
}

std::optional<uint32_t> NasAlgorithms::Mac(int eia, const Key128& key, uint32_t count, uint8_t bearer,
                                           uint8_t direction, ConstOctets message, size_t bits) {
    if (message.size() < Octets(bits)) return std::nullopt;
    switch (eia) {
        case 0:
            return 0u;
        case 1:
            return Uia2(key, count, Eia1Fresh(bearer), direction, message, bits);
        case 2: {
            if (bits % 8 != 0) return std::nullopt;
            const std::array<uint8_t, 8> prefix = Eia2Prefix(count, bearer, direction);
            uint8_t mac[4];
            if (!state_->aes.Cmac(key, prefix, message.first(bits / 8), mac)) return std::nullopt;
            return Be32(mac);
        }
        case 3: {
#ifdef CORVUNA_HAVE_IPSEC_MB
            if (state_->Mgr() == nullptr) return std::nullopt;
            uint8_t iv[16];
            if (zuc_eia3_iv_gen(count, bearer, direction, iv) != 0) return std::nullopt;
            uint32_t tag = 0;
            IMB_ZUC_EIA3_1_BUFFER(state_->Mgr(), key.data(), iv, state_->In(message, Octets(bits)),
                                  static_cast<uint32_t>(bits), &tag);
            // The tag comes as the four MAC octets in memory order.
            uint8_t t[4];
            std::memcpy(t, &tag, 4);
            return Be32(t);
#else
            return std::nullopt;
#endif
        }
        default:
            return std::nullopt;
    }
}

bool NasAlgorithms::Cipher(int eea, const Key128& key, uint32_t count, uint8_t bearer, uint8_t direction,
                           ConstOctets in, size_t bits, uint8_t* out) {
    const size_t octets = Octets(bits);
    if (in.size() < octets) return false;
    switch (eea) {
        case 0:
            if (octets > 0) std::memmove(out, in.data(), octets);
            return true;
        case 1:
            return Uea2(key, count, bearer, direction, in, bits, out);
        case 2: {
            const std::array<uint8_t, 16> counter = Eea2CounterBlock(count, bearer, direction);
            return state_->aes.Ctr(key, counter.data(), in.data(), octets, out);
        }
        case 3: {
#ifdef CORVUNA_HAVE_IPSEC_MB
            if (state_->Mgr() == nullptr) return false;
            uint8_t iv[16];
            if (zuc_eea3_iv_gen(count, bearer, direction, iv) != 0) return false;
            if (octets == 0) return true;
            const uint8_t* from = state_->In(in, octets);
            uint8_t* to = state_->Out(octets);
            IMB_ZUC_EEA3_1_BUFFER(state_->Mgr(), key.data(), iv, from, to, static_cast<uint32_t>(octets));
            std::memcpy(out, to, octets);
            return true;
#else
            return false;
#endif
        }
        default:
            return false;
    }
}

}  // namespace corvuna::security
