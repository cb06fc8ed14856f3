// SPDX-License-Identifier: Apache-2.0
// The key derivation function of TS 33.220 Annex B (HMAC-SHA-256 over
// FC || P0 || L0 || P1 || L1 ...) and the derivations built on it: the EPS
// ones of TS 33.401 Annex A and the 5G ones of TS 33.501 Annex A.  Every
// function gives nullopt when this build has no libcrypto.
#pragma once

#include <optional>
#include <string_view>

#include "security/octets.h"

namespace corvuna::security {

bool KdfAvailable();

// KDF(key, FC, P0, P1, ...), each Pi followed by its length in two octets.
std::optional<Key256> Kdf(ConstOctets key, uint8_t fc, std::initializer_list<ConstOctets> parameters);

// Algorithm type distinguishers (TS 33.401 A.7, TS 33.501 A.8).
inline constexpr uint8_t kNasEncAlgorithm = 0x01;
inline constexpr uint8_t kNasIntAlgorithm = 0x02;

// KASME = KDF(CK || IK, 0x10, serving network identity, SQN xor AK)
// (TS 33.401 A.2); the serving network identity is the PLMN identity as the
// TAI codes it (MCC and MNC digits in three octets).
std::optional<Key256> DeriveKasme(const Key128& ck, const Key128& ik, const Plmn& servingNetwork, const Sqn& sqnXorAk);

// KNASenc or KNASint = the 128 least significant bits of KDF(KASME, 0x15,
// algorithm type distinguisher, algorithm identity) (TS 33.401 A.7).
std::optional<Key128> DeriveNasKey(const Key256& kasme, uint8_t distinguisher, uint8_t algorithm);

// TS 33.501 Annex A: KAUSF (A.2, FC 0x6A) from CK || IK, the serving
// network name ("5G:mnc015.mcc234.3gppnetwork.org") and SQN xor AK; RES* or
// XRES* (A.4, FC 0x6B: the 128 least significant bits); KSEAF (A.6, FC
// 0x6C); KAMF (A.7, FC 0x6D) from the SUPI's digits and the ABBA; the NAS
// algorithm keys (A.8, FC 0x69: the 128 least significant bits).
std::optional<Key256> DeriveKausf(const Key128& ck, const Key128& ik, std::string_view servingNetworkName,
                                  const Sqn& sqnXorAk);
std::optional<Key128> DeriveResStar(const Key128& ck, const Key128& ik, std::string_view servingNetworkName,
                                    const Rand& rand, ConstOctets res);
std::optional<Key256> DeriveKseaf(const Key256& kausf, std::string_view servingNetworkName);
std::optional<Key256> DeriveKamf(const Key256& kseaf, std::string_view supi, ConstOctets abba);
std::optional<Key128> Derive5gNasKey(const Key256& kamf, uint8_t distinguisher, uint8_t algorithm);

}  // namespace corvuna::security
