// SPDX-License-Identifier: Apache-2.0
#include "security/milenage.h"

#include "security/aes.h"

namespace corvuna::security {

namespace {

using Block = std::array<uint8_t, 16>;

Block Xor(const Block& a, const Block& b) {
    Block out{};
    for (size_t i = 0; i < 16; ++i) out[i] = a[i] ^ b[i];
    return out;
}

// Cyclic rotation of a 128-bit value towards the most significant end by
// `bits` (a multiple of 8).
Block Rotate(const Block& x, size_t bits) {
    Block out{};
    const size_t octets = bits / 8;
    for (size_t i = 0; i < 16; ++i) out[i] = x[(i + octets) % 16];
    return out;
}

// OUTn = E_K(rot(TEMP xor OPc, rn) xor cn) xor OPc for n = 2..5 (c: a one
// bit in the last octet at 0, 1, 2, 3).
std::optional<Block> Out(const Aes128& aes, const Block& temp, const Block& opc, size_t rotation, int constantBit) {
    Block in = Rotate(Xor(temp, opc), rotation);
    in[15] ^= static_cast<uint8_t>(1u << constantBit);
    Block out{};
    if (!aes.Encrypt(in.data(), out.data())) return std::nullopt;
    return Xor(out, opc);
}

}  // namespace

bool MilenageAvailable() { return Aes128::Available(); }

std::optional<Key128> MilenageOpc(const Key128& k, const Key128& op) {
    const Aes128 aes(k);
    Block e{};
    if (!aes.Encrypt(op.data(), e.data())) return std::nullopt;
    return Xor(e, op);
}

std::optional<MilenageOutput> Milenage(const Key128& k, const Key128& opc, const Rand& rand, const Sqn& sqn,
                                       const Amf& amf) {
    const Aes128 aes(k);
    Block temp{};
    const Block randXorOpc = Xor(rand, opc);
    if (!aes.Encrypt(randXorOpc.data(), temp.data())) return std::nullopt;
    // OUT1 = E_K(TEMP xor rot(IN1 xor OPc, r1 = 64) xor c1 = 0) xor OPc,
    // IN1 = SQN || AMF || SQN || AMF.
    Block in1{};
    for (size_t i = 0; i < 6; ++i) in1[i] = in1[i + 8] = sqn[i];
    in1[6] = in1[14] = amf[0];
    in1[7] = in1[15] = amf[1];
    const Block x = Xor(temp, Rotate(Xor(in1, opc), 64));
    Block out1{};
    if (!aes.Encrypt(x.data(), out1.data())) return std::nullopt;
    out1 = Xor(out1, opc);
    const auto out2 = Out(aes, temp, opc, 0, 0);
    const auto out3 = Out(aes, temp, opc, 32, 1);
    const auto out4 = Out(aes, temp, opc, 64, 2);
    const auto out5 = Out(aes, temp, opc, 96, 3);
    if (!out2 || !out3 || !out4 || !out5) return std::nullopt;
    MilenageOutput o;
    for (size_t i = 0; i < 8; ++i) {
        o.macA[i] = out1[i];
        o.macS[i] = out1[i + 8];
        o.res[i] = (*out2)[i + 8];
    }
    for (size_t i = 0; i < 6; ++i) {
        o.ak[i] = (*out2)[i];
        o.akStar[i] = (*out5)[i];
    }
    o.ck = *out3;
    o.ik = *out4;
    return o;
}

std::optional<AkaResult> MilenageAka(const Key128& k, const Key128& opc, const Rand& rand, const Autn& autn) {
    // AK does not depend on SQN: a first run finds it, a second one checks
    // the MAC with the SQN it hides.
    const Sqn zero{};
    const Amf amf{autn[6], autn[7]};
    const auto first = Milenage(k, opc, rand, zero, amf);
    if (!first) return std::nullopt;
    AkaResult r;
    for (size_t i = 0; i < 6; ++i) {
        r.sqnXorAk[i] = autn[i];
        r.sqn[i] = autn[i] ^ first->ak[i];
    }
    const auto second = Milenage(k, opc, rand, r.sqn, amf);
    if (!second) return std::nullopt;
    for (size_t i = 0; i < 8; ++i) r.res[i] = second->res[i];
    r.resLength = 8;
    r.ck = second->ck;
    r.ik = second->ik;
    r.macMatches = true;
    for (size_t i = 0; i < 8; ++i) r.macMatches = r.macMatches && second->macA[i] == autn[8 + i];
    return r;
}

AkaResult XorAka(const Key128& k, const Rand& rand, const Autn& autn, size_t resLength) {
    // XDOUT = K xor RAND; RES = XDOUT[0 .. n-1], CK = XDOUT cycled by one
    // octet, IK by two, AK = XDOUT[3 .. 8]; XMAC = XDOUT[0 .. 7] xor
    // (SQN || AMF).
    const Block xd = Xor(k, rand);
    AkaResult r;
    r.resLength = resLength < 4 ? 4 : resLength > 16 ? 16 : resLength;
    for (size_t i = 0; i < r.resLength; ++i) r.res[i] = xd[i];
    r.ck = Rotate(xd, 8);
    r.ik = Rotate(xd, 16);
    for (size_t i = 0; i < 6; ++i) {
        r.sqnXorAk[i] = autn[i];
        r.sqn[i] = autn[i] ^ xd[3 + i];
    }
    r.macMatches = true;
    for (size_t i = 0; i < 8; ++i) {
        const uint8_t cd = i < 6 ? r.sqn[i] : autn[i];
        r.macMatches = r.macMatches && static_cast<uint8_t>(xd[i] ^ cd) == autn[8 + i];
    }
    return r;
}

}  // namespace corvuna::security
