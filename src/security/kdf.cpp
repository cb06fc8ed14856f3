// SPDX-License-Identifier: Apache-2.0
#include "security/kdf.h"

#include <vector>

#include "security/aes.h"

namespace corvuna::security {

namespace {

ConstOctets Text(std::string_view s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

std::optional<Key128> Low128(const std::optional<Key256>& k) {
    if (!k) return std::nullopt;
    Key128 out{};
    for (size_t i = 0; i < 16; ++i) out[i] = (*k)[16 + i];
    return out;
}

Key256 Join(const Key128& a, const Key128& b) {
    Key256 out{};
    for (size_t i = 0; i < 16; ++i) {
        out[i] = a[i];
        out[16 + i] = b[i];
    }
    return out;
}

}  // namespace

bool KdfAvailable() { return Aes128::Available(); }

std::optional<Key256> Kdf(ConstOctets key, uint8_t fc, std::initializer_list<ConstOctets> parameters) {
    std::vector<uint8_t> s{fc};
    for (const ConstOctets p : parameters) {
        s.insert(s.end(), p.begin(), p.end());
        s.push_back(static_cast<uint8_t>(p.size() >> 8));
        s.push_back(static_cast<uint8_t>(p.size()));
    }
    Key256 out{};
    if (!HmacSha256(key, s, out.data())) return std::nullopt;
    return out;
}

std::optional<Key256> DeriveKasme(const Key128& ck, const Key128& ik, const Plmn& servingNetwork, const Sqn& sqnXorAk) {
    const Key256 key = Join(ck, ik);
    return Kdf(key, 0x10, {servingNetwork, sqnXorAk});
}

std::optional<Key128> DeriveNasKey(const Key256& kasme, uint8_t distinguisher, uint8_t algorithm) {
    const uint8_t p0[] = {distinguisher};
    const uint8_t p1[] = {algorithm};
    return Low128(Kdf(kasme, 0x15, {p0, p1}));
}

std::optional<Key256> DeriveKausf(const Key128& ck, const Key128& ik, std::string_view servingNetworkName,
                                  const Sqn& sqnXorAk) {
    const Key256 key = Join(ck, ik);
    return Kdf(key, 0x6A, {Text(servingNetworkName), sqnXorAk});
}

std::optional<Key128> DeriveResStar(const Key128& ck, const Key128& ik, std::string_view servingNetworkName,
                                    const Rand& rand, ConstOctets res) {
    const Key256 key = Join(ck, ik);
    return Low128(Kdf(key, 0x6B, {Text(servingNetworkName), rand, res}));
}

std::optional<Key256> DeriveKseaf(const Key256& kausf, std::string_view servingNetworkName) {
    return Kdf(kausf, 0x6C, {Text(servingNetworkName)});
}

std::optional<Key256> DeriveKamf(const Key256& kseaf, std::string_view supi, ConstOctets abba) {
    return Kdf(kseaf, 0x6D, {Text(supi), abba});
}

std::optional<Key128> Derive5gNasKey(const Key256& kamf, uint8_t distinguisher, uint8_t algorithm) {
    const uint8_t p0[] = {distinguisher};
    const uint8_t p1[] = {algorithm};
    return Low128(Kdf(kamf, 0x69, {p0, p1}));
}

}  // namespace corvuna::security
