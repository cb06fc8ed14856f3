// SPDX-License-Identifier: Apache-2.0
#include "security/tracker.h"

#include <algorithm>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "corvuna/corvuna.h"
#include "security/kdf.h"
#include "security/milenage.h"
#include "security/nas_algorithms.h"
#include "security/nas_locator.h"
#include "view/eps/emm_ies.h"
#include "view/fivegs/mm_ies.h"
#include "view/protocols.h"
#include "view/tables.h"

namespace corvuna::security {

namespace {

// What a plain mobility management message tells the tracker.
enum class Role : uint8_t {
    kNone,
    kInitial,   // the UE's first message: its identity, last TAI and the KSI it is protected with
    kIdentity,  // an identity the UE gives when asked or when it comes back
    kAccept,    // the network's TAI list and new GUTI
    kAuthenticationRequest,
    kAuthenticationResponse,
    kModeCommand,
    kModeComplete,
    kModeReject,
};

// The role of each message type in EMM (TS 24.301 9.8.1) and in 5GMM
// (TS 24.501 9.7), which number their messages alike in part.
constexpr struct {
    uint8_t type;
    Role emm, mm;
} kRoles[] = {
    {0x41, Role::kInitial, Role::kInitial},  // ATTACH REQUEST; REGISTRATION REQUEST
    {0x42, Role::kAccept, Role::kAccept},    // ATTACH ACCEPT; REGISTRATION ACCEPT
    // DETACH REQUEST; DEREGISTRATION REQUEST (UE originating)
    {0x45, Role::kInitial, Role::kInitial},
    {0x48, Role::kInitial, Role::kNone},     // TRACKING AREA UPDATE REQUEST
    {0x49, Role::kAccept, Role::kNone},      // TRACKING AREA UPDATE ACCEPT
    {0x4C, Role::kIdentity, Role::kInitial},  // EXTENDED SERVICE REQUEST; SERVICE REQUEST
    {0x50, Role::kAccept, Role::kNone},      // GUTI REALLOCATION COMMAND
    {0x52, Role::kAuthenticationRequest, Role::kNone},
    {0x53, Role::kAuthenticationResponse, Role::kNone},
    {0x54, Role::kNone, Role::kAccept},  // CONFIGURATION UPDATE COMMAND
    // IDENTITY RESPONSE; AUTHENTICATION REQUEST
    {0x56, Role::kIdentity, Role::kAuthenticationRequest},
    {0x57, Role::kNone, Role::kAuthenticationResponse},
    {0x5C, Role::kNone, Role::kIdentity},         // IDENTITY RESPONSE
    {0x5D, Role::kModeCommand, Role::kModeCommand},  // SECURITY MODE COMMAND
    {0x5E, Role::kModeComplete, Role::kModeComplete},
    {0x5F, Role::kModeReject, Role::kModeReject},
};

// A plain EMM or 5GMM message's role; whether it is 5GMM in `fiveG`.
Role RoleOf(ConstOctets m, bool& fiveG) {
    fiveG = m.size() >= 3 && m[0] == view::fivegs::kMm && (m[1] & 0x0F) == 0;
    if (!fiveG && (m.size() < 2 || m[0] != 0x07)) return Role::kNone;
    const uint8_t type = m[fiveG ? 2 : 1];
    for (const auto& r : kRoles) {
        if (r.type == type) return fiveG ? r.mm : r.emm;
    }
    return Role::kNone;
}

// The BEARER input of the NAS algorithms: 0 for the EPS NAS signalling
// connection (TS 33.401 8.1.1, 8.2); in 5GS the access type, 1 for 3GPP
// access (TS 33.501 6.4.3.1).
constexpr uint8_t kNasBearer = 0;
constexpr uint8_t kNasBearer3gppAccess = 1;

// Where the parts of a security-protected message stand: EMM (TS 24.301
// 9.1: MAC from octet 2) or 5GMM (TS 24.501 9.1.1: EPD, security header
// type, then MAC).
// `typeAt`: where a plain message of the system has its message type.
struct ProtectedLayout {
    bool fiveG;
    size_t typeAt, macAt, sequenceAt, bodyAt;
};
constexpr ProtectedLayout kEmmLayout{false, 1, 1, 5, 6};
constexpr ProtectedLayout k5gmmLayout{true, 2, 2, 6, 7};

// Which ways a plain EMM or 5GMM message `m` of the layout's system travels
// (view::kUplink, view::kDownlink or both); 0 when it is no such message.
uint8_t PlainDirections(ConstOctets m, const ProtectedLayout& at) {
    const uint8_t pd = at.fiveG ? view::fivegs::kMm : 0x07;
    if (m.size() <= at.typeAt || m[0] != pd) return 0;
    return view::MessageDirections(pd, m[at.typeAt]);
}

// How many overflow values are tried around the estimate of a NAS COUNT.
constexpr int kCountTries = 3;
// How many other UEs' contexts a message of a UE not yet identified is
// tried with (the newest first).
constexpr size_t kMaxOtherUes = 64;

// KASME in an EPS context, KAMF in a 5GS one.
struct RootKey {
    Key256 key{};
    KeySource source = KeySource::kNone;
};

struct Context {
    bool fiveG = false;  // a 5G NAS security context (ngKSI, KAMF, 128-NEA/NIA)
    int ksi = -1;  // -1: not known
    bool mapped = false;
    std::vector<RootKey> roots;  // candidates until a MAC settles which one
    bool direct = false;        // NAS keys given directly
    Key128 directEnc{}, directInt{};
    KeySource directSource = KeySource::kNone;
    int eea = -1, eia = -1;
    // The NAS COUNT of the last message of each direction (index: 0
    // downlink, 1 uplink), -1 before the first.
    int64_t last[2] = {-1, -1};
    bool fromStart = false;  // counts started at 0 with this context
    const char* noKeyWhy = nullptr;  // why the keys file's K gave no key
    // NAS keys derived from roots[0].
    bool haveInt[8] = {}, haveEnc[8] = {};
    Key128 intKey[8]{}, encKey[8]{};

    bool HasKeys() const { return !roots.empty() || direct; }
    uint8_t Bearer() const { return fiveG ? kNasBearer3gppAccess : kNasBearer; }
};

struct Auth {
    bool valid = false;
    bool fiveG = false;
    int ksi = -1;
    Rand rand{};
    Autn autn{};
    bool haveAka = false;
    AkaResult aka;
    bool haveXres = false;
    std::vector<uint8_t> xres;
    std::vector<RootKey> roots;
    // 5G AKA: the RES* each KAMF candidate's serving network name gives
    // (TS 33.501 A.4), beside it.
    std::vector<Key128> resStars;
    const char* noKeyWhy = nullptr;  // why K gave no KAMF
};

struct Ue {
    std::string imsi;
    std::string label;
    bool merged = false;
    int into = -1;
    bool hasCurrent = false, hasFresh = false;
    Context current, fresh;
    std::vector<Context> others;  // earlier native contexts (newest last)
    Auth auth;
    std::vector<Plmn> plmns;  // networks the UE was seen on, newest last
};

struct Vector {
    std::string imsi;
    bool hasPlmn = false;
    Plmn plmn{};
    Rand rand{};
    std::vector<uint8_t> xres;
    Autn autn{};
    Key256 kasme{};
};

// The digits of an IMSI in a mobile identity value (TS 24.008 10.5.1.4,
// TS 24.301 9.9.3.12): the first digit in bits 8-5 of octet 1.
std::string ImsiDigits(ConstOctets v) {
    std::string digits;
    if (v.empty() || (v[0] & 0x07) != 1 || (v[0] >> 4) > 9) return digits;
    digits += static_cast<char>('0' + (v[0] >> 4));
    for (size_t i = 1; i < v.size(); ++i) {
        for (const int d : {v[i] & 0x0F, v[i] >> 4}) {
            if (d > 9) return digits;
            digits += static_cast<char>('0' + d);
        }
    }
    return digits;
}

// The PLMN identity of an IMSI with a two- or three-digit MNC.
Plmn PlmnOfImsi(const std::string& imsi, int mncDigits) {
    const auto d = [&](size_t i) { return static_cast<uint8_t>(i < imsi.size() ? imsi[i] - '0' : 0x0F); };
    Plmn p{};
    p[0] = static_cast<uint8_t>(d(1) << 4 | d(0));
    p[1] = static_cast<uint8_t>((mncDigits == 3 ? d(5) : 0x0F) << 4 | d(2));
    p[2] = static_cast<uint8_t>(d(4) << 4 | d(3));
    return p;
}

// The digits of a PLMN identity (TS 24.008 10.5.1.13): MCC, then the MNC
// (two digits when its third is the filler F).
void PlmnDigits(const Plmn& p, std::string& mcc, std::string& mnc) {
    const auto digit = [](int d) { return static_cast<char>('0' + (d > 9 ? 0 : d)); };
    mcc = {digit(p[0] & 0x0F), digit(p[0] >> 4), digit(p[1] & 0x0F)};
    mnc = {digit(p[2] & 0x0F), digit(p[2] >> 4)};
    if ((p[1] >> 4) != 0x0F) mnc += digit(p[1] >> 4);
}

// The IMSI of a SUCI whose SUPI format is IMSI and whose protection scheme
// is the null scheme (TS 24.501 9.11.3.4, TS 33.501 6.12.2): MCC and MNC,
// then the MSIN in the clear as the scheme output; empty otherwise (a
// concealed SUPI stays unknown).
std::string ImsiOfSuci(ConstOctets v) {
    std::string imsi;
    if (v.size() < 9 || (v[0] & 0x07) != 1 || ((v[0] >> 4) & 0x07) != 0 || (v[6] & 0x0F) != 0) return imsi;
    std::string mcc, mnc;
    PlmnDigits(Plmn{v[1], v[2], v[3]}, mcc, mnc);
    imsi = mcc + mnc;
    for (size_t i = 8; i < v.size(); ++i) {
        for (const int d : {v[i] & 0x0F, v[i] >> 4}) {
            if (d == 0x0F) return imsi;
            if (d > 9) return {};
            imsi += static_cast<char>('0' + d);
        }
    }
    return imsi;
}

// The serving network name of 5G AKA (TS 24.501 9.12.1, TS 33.501 6.1.1.4):
// "5G:mnc<MNC>.mcc<MCC>.3gppnetwork.org", the MNC on three digits.
std::string ServingNetworkName(const Plmn& p) {
    std::string mcc, mnc;
    PlmnDigits(p, mcc, mnc);
    if (mnc.size() == 2) mnc.insert(mnc.begin(), '0');
    return "5G:mnc" + mnc + ".mcc" + mcc + ".3gppnetwork.org";
}

}  // namespace

struct SecurityTracker::Impl {
    const KeyStore* keys;
    bool keepKeys;
    NasAlgorithms algorithms;
    std::vector<Ue> ues;
    std::unordered_map<std::string, int> ueOfConnection;
    std::map<std::string, int> ueOfIdentity;  // "imsi:..." or "tmsi:<M-TMSI>"
    std::vector<Vector> vectors;
    std::vector<char> scratch;  // the view's output when a body is tried as a plain message

    Impl(const KeyStore* k, bool keep) : keys(k), keepKeys(keep) {}

    // ------------------------------------------------------------------
    // UEs and their associations

    int Resolve(int u) {
        while (ues[static_cast<size_t>(u)].merged) u = ues[static_cast<size_t>(u)].into;
        return u;
    }

    int UeOf(std::string_view connection, bool newAssociation, int64_t sTmsi) {
        const std::string key(connection);
        if (const auto it = ueOfConnection.find(key); it != ueOfConnection.end() && !newAssociation) {
            return it->second = Resolve(it->second);
        }
        int u = -1;
        if (sTmsi >= 0) {
            if (const auto it = ueOfIdentity.find("tmsi:" + std::to_string(sTmsi & 0xFFFFFFFF)); it != ueOfIdentity.end()) {
                u = Resolve(it->second);
            }
        }
        if (u < 0) {
            ues.emplace_back();
            u = static_cast<int>(ues.size() - 1);
            ues.back().label = "ue" + std::to_string(u + 1);
        }
        ueOfConnection[key] = u;
        return u;
    }

    bool Known(int u) const {
        const Ue& ue = ues[static_cast<size_t>(u)];
        return !ue.imsi.empty() || ue.hasCurrent || ue.hasFresh || ue.auth.valid || !ue.others.empty();
    }

    // `identity` belongs to the UE `u`: when another UE had it, the two are
    // one; the one holding the newer state keeps it.  Returns the UE.
    int Identify(int u, const std::string& identity) {
        u = Resolve(u);
        const auto it = ueOfIdentity.find(identity);
        if (it == ueOfIdentity.end()) {
            ueOfIdentity[identity] = u;
            return u;
        }
        const int v = Resolve(it->second);
        if (v == u) return u;
        return Merge(u, v);
    }

    // Folds the UE `from` (seen on a new association) into `into`.
    int Merge(int from, int into) {
        Ue& a = ues[static_cast<size_t>(from)];
        Ue& b = ues[static_cast<size_t>(into)];
        if (a.hasCurrent) {
            if (b.hasCurrent) b.others.push_back(b.current);
            b.current = a.current;
            b.hasCurrent = true;
        }
        if (a.hasFresh) {
            b.fresh = a.fresh;
            b.hasFresh = true;
        }
        if (a.auth.valid) b.auth = a.auth;
        if (b.imsi.empty()) b.imsi = a.imsi;
        b.plmns.insert(b.plmns.end(), a.plmns.begin(), a.plmns.end());
        if (!b.imsi.empty()) b.label = "imsi-" + b.imsi;
        a = Ue{};
        a.merged = true;
        a.into = into;
        for (auto& [identity, owner] : ueOfIdentity) {
            if (owner == from) owner = into;
        }
        return into;
    }

    void SetImsi(int& u, const std::string& imsi) {
        // An IMSI is 5 to 15 decimal digits (TS 23.003 2.2); anything else
        // (an S6a User-Name of other characters, a damaged identity) names
        // no subscriber.
        if (imsi.size() < 5 || imsi.size() > 15) return;
        if (imsi.find_first_not_of("0123456789") != std::string::npos) return;
        u = Identify(u, "imsi:" + imsi);
        Ue& ue = ues[static_cast<size_t>(u)];
        ue.imsi = imsi;
        ue.label = "imsi-" + imsi;
    }

    void AddPlmn(int u, ConstOctets plmn) {
        if (plmn.size() < 3) return;
        const Plmn p{plmn[0], plmn[1], plmn[2]};
        std::vector<Plmn>& list = ues[static_cast<size_t>(u)].plmns;
        list.erase(std::remove(list.begin(), list.end(), p), list.end());
        list.push_back(p);
    }

    // An EPS mobile identity or mobile identity value: IMSI, GUTI or TMSI.
    void TakeIdentity(int& u, ConstOctets v) {
        if (v.empty()) return;
        switch (v[0] & 0x07) {
            case 1:
                SetImsi(u, ImsiDigits(v));
                break;
            case 6:  // GUTI: PLMN, MME group, MME code, M-TMSI
                if (v.size() >= 11) {
                    AddPlmn(u, v.subspan(1, 3));
                    u = Identify(u, "tmsi:" + std::to_string(Be32(v, 7)));
                }
                break;
            case 4:  // TMSI (24.008)
                if (v.size() >= 5) u = Identify(u, "tmsi:" + std::to_string(Be32(v, 1)));
                break;
            default:
                break;
        }
    }

    // A 5GS mobile identity (TS 24.501 9.11.3.4): SUCI (its IMSI when the
    // null scheme leaves it in the clear, its home network), 5G-GUTI or
    // 5G-S-TMSI.
    void TakeIdentity5g(int& u, ConstOctets v) {
        if (v.empty()) return;
        switch (v[0] & 0x07) {
            case 1:
                if (v.size() >= 4) AddPlmn(u, v.subspan(1, 3));
                SetImsi(u, ImsiOfSuci(v));
                break;
            case 2:  // 5G-GUTI: PLMN, AMF region, AMF set and pointer, 5G-TMSI
                if (v.size() >= 11) {
                    AddPlmn(u, v.subspan(1, 3));
                    u = Identify(u, "5g-tmsi:" + std::to_string(Be32(v, 7)));
                }
                break;
            case 4:  // 5G-S-TMSI: AMF set and pointer, 5G-TMSI
                if (v.size() >= 7) u = Identify(u, "5g-tmsi:" + std::to_string(Be32(v, 3)));
                break;
            default:
                break;
        }
    }

    const SubscriberKeys* KeysOf(int u) const {
        return keys == nullptr ? nullptr : keys->Find(ues[static_cast<size_t>(u)].imsi);
    }

    // ------------------------------------------------------------------
    // Keys

    // The serving network identities to try for a KASME: where the UE was
    // seen (newest first), then its IMSI's home network.
    std::vector<Plmn> NetworksOf(int u, const Vector* vector) const {
        std::vector<Plmn> out;
        auto add = [&](const Plmn& p) {
            if (std::find(out.begin(), out.end(), p) == out.end()) out.push_back(p);
        };
        if (vector != nullptr && vector->hasPlmn) add(vector->plmn);
        const Ue& ue = ues[static_cast<size_t>(u)];
        for (auto it = ue.plmns.rbegin(); it != ue.plmns.rend(); ++it) add(*it);
        if (!ue.imsi.empty()) {
            add(PlmnOfImsi(ue.imsi, 2));
            add(PlmnOfImsi(ue.imsi, 3));
        }
        return out;
    }

    const Vector* VectorOf(const Rand& rand) const {
        for (auto it = vectors.rbegin(); it != vectors.rend(); ++it) {
            if (it->rand == rand) return &*it;
        }
        return nullptr;
    }

    // KNASint/KNASenc from KASME (TS 33.401 A.7) or from KAMF (TS 33.501 A.8).
    static std::optional<Key128> NasKey(const Context& c, const Key256& root, uint8_t distinguisher, int algorithm) {
        const auto id = static_cast<uint8_t>(algorithm);
        return c.fiveG ? Derive5gNasKey(root, distinguisher, id) : DeriveNasKey(root, distinguisher, id);
    }

    std::optional<Key128> IntKey(Context& c, size_t kasme, int eia) {
        if (c.direct) return c.directInt;
        if (kasme >= c.roots.size() || eia < 0 || eia > 7) return std::nullopt;
        if (kasme == 0 && c.haveInt[eia]) return c.intKey[eia];
        const auto k = NasKey(c, c.roots[kasme].key, kNasIntAlgorithm, eia);
        if (k && kasme == 0) {
            c.intKey[eia] = *k;
            c.haveInt[eia] = true;
        }
        return k;
    }

    std::optional<Key128> EncKey(Context& c, int eea) {
        if (c.direct) return c.directEnc;
        if (c.roots.empty() || eea < 0 || eea > 7) return std::nullopt;
        if (c.haveEnc[eea]) return c.encKey[eea];
        const auto k = NasKey(c, c.roots[0].key, kNasEncAlgorithm, eea);
        if (k) {
            c.encKey[eea] = *k;
            c.haveEnc[eea] = true;
        }
        return k;
    }

    // The KASME candidate `i` is the right one: the others go.
    static void Settle(Context& c, size_t i) {
        if (i == 0 || i >= c.roots.size()) {
            c.roots.resize(c.roots.empty() ? 0 : 1);
            return;
        }
        c.roots = {c.roots[i]};
        for (bool& b : c.haveInt) b = false;
        for (bool& b : c.haveEnc) b = false;
    }

    // A context of the keys file's KASME or NAS keys for the UE.
    // (A KASME is no key of a 5G context.)
    bool ContextFromKeysFile(int u, int ksi, Context& c) {
        const SubscriberKeys* k = KeysOf(u);
        if (k == nullptr || (k->ksi >= 0 && ksi >= 0 && k->ksi != ksi)) return false;
        if (k->kind == SubscriberKeys::Kind::kKasme && !c.fiveG) {
            c.roots = {RootKey{k->kasme, KeySource::kKasme}};
        } else if (k->kind == SubscriberKeys::Kind::kNasKeys) {
            c.direct = true;
            c.directEnc = k->nasEnc;
            c.directInt = k->nasInt;
            c.directSource = KeySource::kNasKeys;
            if (k->eea >= 0) c.eea = k->eea;
            if (k->eia >= 0) c.eia = k->eia;
        } else {
            return false;
        }
        c.ksi = ksi >= 0 ? ksi : k->ksi;
        return true;
    }

    // ------------------------------------------------------------------
    // Plain messages: what they tell about the UE and its contexts

    // Identities, networks, authentication and security mode procedures in
    // the plain EMM message `m`.  `beforeCheck`: the message is read before
    // its MAC is checked (a SECURITY MODE COMMAND sets up the context its MAC
    // is checked with); the rest of its effects come after.
    void Observe(int& u, ConstOctets m, int direction, bool beforeCheck, SecurityFacts& out) {
        bool fiveG = false;
        const Role role = RoleOf(m, fiveG);
        auto ie = [&](const view::IeType& t) { return LocateIe(m, direction, t, 0); };
        // The 5GS mobile identity and the EPS mobile identity of the initial
        // messages and accepts; IDENTITY RESPONSE's mobile identity.
        const view::IeType& identity = fiveG ? view::fivegs::kMobileIdentity : view::eps::kEpsMobileIdentity;
        auto take = [&](const view::IeType& t) {
            if (const auto id = ie(t)) fiveG ? TakeIdentity5g(u, id->value) : TakeIdentity(u, id->value);
        };
        switch (role) {
            case Role::kInitial:
                if (direction != 1) break;
                take(identity);
                if (!fiveG) {
                    if (const auto tai = ie(view::eps::kTrackingAreaIdentity)) AddPlmn(u, tai->value);
                }
                break;
            case Role::kIdentity:
                take(fiveG ? view::fivegs::kMobileIdentity : view::eps::kMobileIdentity);
                break;
            case Role::kAccept:
                if (beforeCheck) break;
                if (const auto list = ie(fiveG ? view::fivegs::kTrackingAreaIdentityList
                                               : view::eps::kTrackingAreaIdentityList);
                    list && list->value.size() >= 4) {
                    AddPlmn(u, list->value.subspan(1, 3));
                }
                take(identity);
                break;
            case Role::kAuthenticationRequest:
                if (beforeCheck) break;
                fiveG ? Authenticate5g(u, m, direction) : Authenticate(u, m, direction);
                break;
            case Role::kAuthenticationResponse:
                if (beforeCheck) break;
                fiveG ? CheckResStar(u, m, direction, out) : CheckRes(u, m, direction, out);
                break;
            case Role::kModeCommand:
                if (beforeCheck) ModeCommand(u, m, direction, fiveG);
                break;
            case Role::kModeComplete:
                if (!beforeCheck) Promote(ues[static_cast<size_t>(u)]);
                break;
            case Role::kModeReject:
                if (!beforeCheck) ues[static_cast<size_t>(u)].hasFresh = false;
                break;
            case Role::kNone:
                break;
        }
    }

    // 5G AKA (TS 33.501 6.1.3.2): with K, Milenage on the RAND and AUTN
    // gives CK and IK; for each serving network the UE may be on, KAUSF,
    // RES*, KSEAF and, with the SUPI and the ABBA, KAMF (TS 33.501 A.2-A.7).
    // The RES* of the AUTHENTICATION RESPONSE tells which network it was.
    void Authenticate5g(int& u, ConstOctets m, int direction) {
        namespace mm = view::fivegs;
        const auto ksi = LocateIe(m, direction, mm::kNasKeySetIdentifier);
        const auto abba = LocateIe(m, direction, mm::kAbba);
        const auto rand = LocateIe(m, direction, view::eps::kAuthenticationParameterRand);
        const auto autn = LocateIe(m, direction, view::eps::kAuthenticationParameterAutn);
        // EAP-AKA' (no RAND and AUTN of its own) is not followed.
        if (!ksi || !abba || !rand || !autn || rand->value.size() != 16 || autn->value.size() != 16) return;
        Auth a;
        a.valid = true;
        a.fiveG = true;
        a.ksi = ksi->half & 0x07;
        std::copy(rand->value.begin(), rand->value.end(), a.rand.begin());
        std::copy(autn->value.begin(), autn->value.end(), a.autn.begin());
        const SubscriberKeys* k = KeysOf(u);
        std::optional<AkaResult> aka;
        if (k != nullptr && k->kind == SubscriberKeys::Kind::kMilenage) aka = MilenageAka(k->k, k->opc, a.rand, a.autn);
        if (k != nullptr && k->kind == SubscriberKeys::Kind::kXor) aka = XorAka(k->k, a.rand, a.autn, 8);
        const std::string& supi = ues[static_cast<size_t>(u)].imsi;
        if (aka && supi.empty()) a.noKeyWhy = "the SUPI is concealed (SUCI): KAMF needs it";
        if (aka && !supi.empty()) {
            a.haveAka = true;
            a.aka = *aka;
            const ConstOctets res(aka->res.data(), aka->resLength);
            for (const Plmn& network : NetworksOf(u, nullptr)) {
                const std::string name = ServingNetworkName(network);
                const auto kausf = DeriveKausf(aka->ck, aka->ik, name, aka->sqnXorAk);
                const auto resStar = DeriveResStar(aka->ck, aka->ik, name, a.rand, res);
                const auto kseaf = kausf ? DeriveKseaf(*kausf, name) : std::nullopt;
                const auto kamf = kseaf ? DeriveKamf(*kseaf, supi, abba->value) : std::nullopt;
                if (!kamf || !resStar) continue;
                a.roots.push_back(RootKey{*kamf, KeySource::kK});
                a.resStars.push_back(*resStar);
            }
        }
        ues[static_cast<size_t>(u)].auth = a;
    }

    // The RES* the UE sent against the candidates': the one equal settles
    // the serving network.
    void CheckResStar(int u, ConstOctets m, int direction, SecurityFacts& out) {
        const auto res = LocateIe(m, direction, view::fivegs::kAuthenticationResponseParameter);
        Auth& a = ues[static_cast<size_t>(u)].auth;
        if (!res || !a.valid || !a.fiveG || a.resStars.empty()) return;
        out.resFrom = "k";
        for (size_t i = 0; i < a.resStars.size(); ++i) {
            if (std::equal(res->value.begin(), res->value.end(), a.resStars[i].begin(), a.resStars[i].end())) {
                out.resCheck = 1;
                out.expectedRes = ToHex(a.resStars[i]);
                a.roots = {a.roots[i]};
                a.resStars = {a.resStars[i]};
                return;
            }
        }
        out.resCheck = -1;
        out.expectedRes = ToHex(a.resStars[0]);
    }

    void Authenticate(int& u, ConstOctets m, int direction) {
        const auto ksi = LocateIe(m, direction, view::eps::kNasKeySetIdentifier);
        const auto rand = LocateIe(m, direction, view::eps::kAuthenticationParameterRand);
        const auto autn = LocateIe(m, direction, view::eps::kAuthenticationParameterAutn);
        if (!ksi || !rand || !autn || rand->value.size() != 16 || autn->value.size() != 16) return;
        Auth a;
        a.valid = true;
        a.ksi = ksi->half & 0x07;
        std::copy(rand->value.begin(), rand->value.end(), a.rand.begin());
        std::copy(autn->value.begin(), autn->value.end(), a.autn.begin());
        const Vector* vector = VectorOf(a.rand);
        if (vector != nullptr && !vector->imsi.empty() && ues[static_cast<size_t>(u)].imsi.empty()) {
            SetImsi(u, vector->imsi);
        }
        if (const SubscriberKeys* k = KeysOf(u)) {
            std::optional<AkaResult> aka;
            if (k->kind == SubscriberKeys::Kind::kMilenage) aka = MilenageAka(k->k, k->opc, a.rand, a.autn);
            if (k->kind == SubscriberKeys::Kind::kXor) aka = XorAka(k->k, a.rand, a.autn, 8);
            if (aka) {
                a.haveAka = true;
                a.aka = *aka;
                for (const Plmn& network : NetworksOf(u, vector)) {
                    if (const auto kasme = DeriveKasme(aka->ck, aka->ik, network, aka->sqnXorAk)) {
                        a.roots.push_back(RootKey{*kasme, KeySource::kK});
                    }
                }
            }
        }
        if (vector != nullptr) {
            a.haveXres = !vector->xres.empty();
            a.xres = vector->xres;
            // The K-derived candidate equal to the answer's KASME is the one.
            const auto same = std::find_if(a.roots.begin(), a.roots.end(),
                                           [&](const RootKey& k) { return k.key == vector->kasme; });
            if (same != a.roots.end()) {
                const RootKey found = *same;
                a.roots = {found};
            } else {
                a.roots.insert(a.roots.begin(), RootKey{vector->kasme, KeySource::kCaptureS6a});
            }
        }
        ues[static_cast<size_t>(u)].auth = a;
    }

    void CheckRes(int u, ConstOctets m, int direction, SecurityFacts& out) {
        const auto res = LocateIe(m, direction, view::eps::kAuthenticationResponseParameter);
        const Auth& a = ues[static_cast<size_t>(u)].auth;
        if (!res || !a.valid) return;
        std::vector<uint8_t> expected;
        if (a.haveAka) {
            AkaResult aka = a.aka;
            if (const SubscriberKeys* k = KeysOf(u); k != nullptr && k->kind == SubscriberKeys::Kind::kXor) {
                aka = XorAka(k->k, a.rand, a.autn, res->value.size());
            }
            expected.assign(aka.res.begin(), aka.res.begin() + static_cast<std::ptrdiff_t>(aka.resLength));
            out.resFrom = "k";
        } else if (a.haveXres) {
            expected = a.xres;
            out.resFrom = "s6a_xres";
        } else {
            return;
        }
        const bool equal = expected.size() == res->value.size() &&
                           std::equal(expected.begin(), expected.end(), res->value.begin());
        out.resCheck = equal ? 1 : -1;
        out.expectedRes = ToHex(expected);
    }

    // SECURITY MODE COMMAND (TS 24.301 8.2.20, TS 24.501 8.2.25): the
    // context of the KSI (eKSI or ngKSI) with the algorithms it selects.
    void ModeCommand(int u, ConstOctets m, int direction, bool fiveG) {
        const auto algorithms = LocateIe(
            m, direction, fiveG ? view::fivegs::kNasSecurityAlgorithms : view::eps::kNasSecurityAlgorithms);
        const auto ksi =
            LocateIe(m, direction, fiveG ? view::fivegs::kNasKeySetIdentifier : view::eps::kNasKeySetIdentifier);
        if (!algorithms || algorithms->value.empty() || !ksi) return;
        Ue& ue = ues[static_cast<size_t>(u)];
        Context c;
        c.fiveG = fiveG;
        c.ksi = ksi->half & 0x07;
        c.mapped = (ksi->half & 0x08) != 0;
        const bool authenticated = ue.auth.valid && ue.auth.fiveG == fiveG && ue.auth.ksi == c.ksi;
        if (!c.mapped && authenticated && !ue.auth.roots.empty()) {
            // A new KASME or KAMF from the authentication just run: counts from 0.
            c.roots = ue.auth.roots;
            c.fromStart = true;
        } else if (ue.hasCurrent && ue.current.fiveG == fiveG && ue.current.ksi == c.ksi &&
                   ue.current.mapped == c.mapped) {
            c = ue.current;  // the same context with other algorithms: counts go on
            for (bool& b : c.haveInt) b = false;
            for (bool& b : c.haveEnc) b = false;
        } else {
            // A context of the keys file, or one without keys (its
            // algorithms still tell whether bodies are EEA0): counts from 0.
            ContextFromKeysFile(u, c.ksi, c);
            c.fromStart = true;
            if (authenticated) c.noKeyWhy = ue.auth.noKeyWhy;
        }
        c.ksi = ksi->half & 0x07;
        // EEA and EIA in three bits each; 5G-EA and 5G-IA in four.
        const uint8_t mask = fiveG ? 0x0F : 0x07;
        c.eea = (algorithms->value[0] >> 4) & mask;
        c.eia = algorithms->value[0] & mask;
        if (c.fromStart) c.last[0] = c.last[1] = -1;
        ue.fresh = c;
        ue.hasFresh = true;
    }

    static void Promote(Ue& ue) {
        if (!ue.hasFresh) return;
        if (ue.hasCurrent) {
            ue.others.push_back(ue.current);
            if (ue.others.size() > 4) ue.others.erase(ue.others.begin());
        }
        ue.current = ue.fresh;
        ue.hasCurrent = true;
        ue.hasFresh = false;
    }

    // ------------------------------------------------------------------
    // Checking and deciphering

    struct Candidate {
        int ue;
        Context* context;
        bool fresh;
    };

    // The contexts a protected message may use, most likely first: for a
    // new-context header the new one, else the current one; then the
    // others of the UE with the KSI `ksi` (-1: any); then, for a UE not yet
    // known, every other UE's.  Only contexts of the message's system (EPS
    // or 5GS).
    std::vector<Candidate> Candidates(int u, bool fiveG, bool newContext, int ksi, bool otherUes) {
        std::vector<Candidate> out;
        auto add = [&](int owner, Context* c, bool fresh) {
            if (c->fiveG != fiveG) return;
            if (ksi >= 0 && c->ksi >= 0 && c->ksi != ksi) return;
            out.push_back({owner, c, fresh});
        };
        auto ofUe = [&](int owner) {
            Ue& ue = ues[static_cast<size_t>(owner)];
            if (newContext) {
                if (ue.hasFresh) add(owner, &ue.fresh, true);
                if (ue.hasCurrent) add(owner, &ue.current, false);
            } else {
                if (ue.hasCurrent) add(owner, &ue.current, false);
                if (ue.hasFresh) add(owner, &ue.fresh, true);
            }
            for (auto it = ue.others.rbegin(); it != ue.others.rend(); ++it) add(owner, &*it, false);
        };
        ofUe(u);
        if (otherUes) {
            // The newest UEs that have a context, at most kMaxOtherUes of them.
            size_t tried = 0;
            for (size_t v = ues.size(); v-- > 0 && tried < kMaxOtherUes;) {
                const Ue& other = ues[v];
                if (static_cast<int>(v) == u || other.merged || !(other.hasCurrent || other.hasFresh)) continue;
                ofUe(static_cast<int>(v));
                ++tried;
            }
        }
        return out;
    }

    // The NAS COUNTs to try for a sequence number of `bits` bits in
    // direction index `d`, the estimate first.
    static std::vector<uint32_t> Counts(const Context& c, int d, uint32_t sequence, int bits) {
        const uint32_t span = 1u << bits;
        const int64_t last = c.last[d];
        std::vector<uint32_t> out;
        uint32_t estimate = sequence;
        if (last >= 0) {
            estimate = (static_cast<uint32_t>(last) & ~(span - 1)) | sequence;
            if (estimate < static_cast<uint32_t>(last)) estimate += span;
        }
        out.push_back(estimate);
        for (int i = 1; i < kCountTries + (c.fromStart ? 0 : 2); ++i) out.push_back(estimate + span * static_cast<uint32_t>(i));
        if (estimate >= span) out.push_back(estimate - span);
        return out;
    }

    struct Check {
        bool verified = false;
        bool tried = false;  // some key was there to try
        uint32_t expected = 0;
        Candidate used{-1, nullptr, false};
        int eia = -1;
        uint32_t count = 0;
        bool countKnown = false;
        int direction = -1;
        std::string why;
    };

    // Tries the candidates' keys on a MAC of `macBits` (32, or 16 for the
    // short MAC) over `covered`.
    Check Verify(int self, const std::vector<Candidate>& candidates, const std::vector<int>& directions, uint32_t mac,
                 int macBits, ConstOctets covered, uint32_t sequence, int sequenceBits) {
        Check r;
        const char* unavailable = nullptr;
        bool mappedOnly = false;
        for (const Candidate& cand : candidates) {
            Context& c = *cand.context;
            if (!c.HasKeys() && c.eia != 0) continue;  // EIA0 needs no key
            if (c.mapped) {
                mappedOnly = true;
                continue;
            }
            std::vector<int> eias;
            if (c.eia >= 0) {
                eias.push_back(c.eia);
            } else {
                eias = {2, 1, 3};
            }
            const size_t kasmeCount = c.direct || c.roots.empty() ? 1 : c.roots.size();
            for (const int eia : eias) {
                if (const char* why = IntegrityUnavailable(eia)) {
                    unavailable = why;
                    if (!r.tried) r.why = "eia" + std::to_string(eia) + " unavailable: " + why;
                    continue;
                }
                for (size_t k = 0; k < kasmeCount; ++k) {
                    const auto key = eia == 0 ? std::optional<Key128>(Key128{}) : IntKey(c, k, eia);
                    if (!key) continue;
                    for (const int direction : directions) {
                        const int d = direction == 1 ? 1 : 0;
                        for (const uint32_t count : Counts(c, d, sequence, sequenceBits)) {
                            const auto m = algorithms.Mac(eia, *key, count, c.Bearer(),
                                                          direction == 1 ? kDirectionUplink : kDirectionDownlink,
                                                          covered, covered.size() * 8);
                            if (!m) continue;
                            const uint32_t got = macBits == 32 ? *m : (*m & 0xFFFF);
                            const bool eia0 = eia == 0;
                            // Another UE's key that fails says nothing of this message.
                            // What this try used and made.
                            const auto note = [&] {
                                r.expected = got;
                                r.used = cand;
                                r.eia = eia;
                                r.count = count;
                                r.direction = direction;
                            };
                            if (!r.tried && cand.ue == candidates.front().ue && cand.ue == self) {
                                r.tried = true;
                                note();
                            }
                            if (got == mac && !(eia0 && mac != 0)) {
                                r.verified = true;
                                r.countKnown = true;
                                note();
                                Settle(c, k);
                                c.eia = eia;
                                c.last[d] = count;
                                return r;
                            }
                        }
                    }
                }
            }
        }
        if (!r.tried) {
            const bool own = !candidates.empty() && candidates.front().ue == self;
            const bool anyKey = std::any_of(candidates.begin(), candidates.end(),
                                            [](const Candidate& c) { return c.context->HasKeys(); });
            if (mappedOnly) {
                r.why = "mapped context";
            } else if (!r.why.empty()) {
            } else if (!own && anyKey) {
                r.why = "UE not identified: no key in the capture verifies it";
            } else if (!own) {
                r.why = "no security context of this UE in the capture";
            } else if (candidates.front().context->noKeyWhy != nullptr) {
                r.why = candidates.front().context->noKeyWhy;
            } else {
                r.why = "no key";
            }
            (void)unavailable;
        }
        return r;
    }

    // Whether `m` reads as a well-formed plain NAS message sent in
    // `direction`.
    bool WellFormed(ConstOctets m, int direction) {
        if (m.size() < 2) return false;
        const bool emm = m[0] == 0x07, esm = (m[0] & 0x0F) == 0x02;
        const bool fivegs = m[0] == view::fivegs::kMm || m[0] == view::fivegs::kSm;
        if (!emm && !esm && !fivegs) return false;
        if (scratch.empty()) scratch.resize(CORVUNA_MAX_VIEW_LENGTH + 1);
        size_t needed = 0;
        const int r = CorvunaDecodeView(direction, m.data(), static_cast<int>(m.size()), CORVUNA_VIEW_JSON, 0,
                                        scratch.data(), scratch.size(), &needed);
        return r == CORVUNA_VIEW_DECODED;
    }

    void Label(int u, SecurityFacts& out) {
        out.ue = ues[static_cast<size_t>(u)].label;
    }

    void KeysUsed(Context& c, SecurityFacts& out) {
        out.fivegs = c.fiveG;
        if (!keepKeys) return;
        if (!c.roots.empty()) out.kasme = ToHex(c.roots[0].key);
        if (c.eia >= 0) {
            if (const auto k = IntKey(c, 0, c.eia)) out.nasInt = ToHex(*k);
        }
        if (c.eea >= 0) {
            if (const auto k = EncKey(c, c.eea)) out.nasEnc = ToHex(*k);
        }
    }

    static KeySource SourceOf(const Context& c) {
        if (c.direct) return c.directSource;
        return c.roots.empty() ? KeySource::kNone : c.roots[0].source;
    }

    // ------------------------------------------------------------------

    void Process(const NasInput& in, SecurityFacts& out) {
        out = SecurityFacts{};
        out.direction = in.direction;
        if (in.nas.empty()) return;
        int u = UeOf(in.connection, in.newAssociation, in.sTmsi);
        if (in.taiPlmn != nullptr) AddPlmn(u, ConstOctets(in.taiPlmn, 3));
        const ConstOctets nas = in.nas;
        // EMM (TS 24.301 9.1) or 5GMM (TS 24.501 9.1.1; a 5GSM message
        // always travels inside a 5GMM one).
        const bool fiveG = nas[0] == view::fivegs::kMm;
        if ((!fiveG && (nas[0] & 0x0F) != 7) || (fiveG && nas.size() < 2)) {
            out.fivegs = fiveG;
            Label(u, out);
            return;
        }
        const ProtectedLayout& at = fiveG ? k5gmmLayout : kEmmLayout;
        out.fivegs = fiveG;
        const int sht = fiveG ? nas[1] & 0x0F : nas[0] >> 4;
        out.securityHeader = sht;
        if (sht == 0) {
            int direction = in.direction;
            if (direction < 0 && nas.size() > at.typeAt) {
                direction = PlainDirections(nas, at) == view::kDownlink ? 0 : 1;
            }
            out.direction = direction;
            Observe(u, nas, direction, true, out);
            Observe(u, nas, direction, false, out);
            Label(u, out);
            return;
        }
        if (!fiveG && sht >= 12) {
            ServiceRequest(u, in, out);
            return;
        }
        if (sht > 4 || nas.size() < at.bodyAt) {
            Label(u, out);
            return;
        }
        Protected(u, in, at, out);
    }

    std::vector<int> Directions(int direction) const {
        if (direction >= 0) return {direction};
        return {1, 0};
    }

    void ServiceRequest(int u, const NasInput& in, SecurityFacts& out) {
        const ConstOctets nas = in.nas;
        out.direction = 1;
        out.shortMac = true;
        if (nas.size() < 4) {
            Label(u, out);
            return;
        }
        const int ksi = nas[1] >> 5;
        const uint32_t sequence = nas[1] & 0x1F;
        out.receivedMac = static_cast<uint32_t>(nas[2]) << 8 | nas[3];
        out.ksi = ksi;
        const bool lone = !Known(u);
        const Check r =
            Verify(u, Candidates(u, false, false, ksi, lone), {1}, out.receivedMac, 16, nas.first(2), sequence, 5);
        Conclude(u, r, out);
    }

    void Conclude(int& u, const Check& r, SecurityFacts& out) {
        if (r.used.context != nullptr && r.verified && r.used.ue != u) {
            // Only that UE's key verifies the MAC: this association is that UE's.
            const int owner = Resolve(r.used.ue);
            for (auto& [connection, ue] : ueOfConnection) {
                if (ue == u) ue = owner;
            }
            if (!Known(u)) {
                ues[static_cast<size_t>(u)].merged = true;
                ues[static_cast<size_t>(u)].into = owner;
            }
            u = owner;
        }
        if (r.verified) {
            out.mac = MacCheck::kVerified;
        } else if (r.tried) {
            out.mac = MacCheck::kFailed;
            out.expectedMac = r.expected;
        } else {
            out.mac = MacCheck::kUnverifiable;
            out.macWhy = r.why;
        }
        out.eia = r.eia;
        if (r.used.context != nullptr) {
            const Context& c = *r.used.context;
            out.ksi = c.ksi >= 0 ? c.ksi : out.ksi;
            out.mapped = c.mapped;
            out.eea = c.eea;
            out.keySource = SourceOf(c);
            out.countKnown = r.countKnown;
            out.count = r.count;
            if (r.direction >= 0) out.direction = r.direction;
            if (out.eia < 0) out.eia = c.eia;
        }
        Label(u, out);
    }

    // The KSI an initial message names for the context it is protected with
    // (ATTACH, TRACKING AREA UPDATE or DETACH REQUEST; REGISTRATION,
    // DEREGISTRATION or SERVICE REQUEST), -1 when none (or "no key").
    static int KsiOfBody(ConstOctets body) {
        bool fiveG = false;
        if (RoleOf(body, fiveG) != Role::kInitial) return -1;
        const auto k =
            LocateIe(body, 1, fiveG ? view::fivegs::kNasKeySetIdentifier : view::eps::kNasKeySetIdentifier);
        return k && (k->half & 0x07) != 7 ? k->half & 0x07 : -1;
    }

    void Protected(int u, const NasInput& in, const ProtectedLayout& at, SecurityFacts& out) {
        const ConstOctets nas = in.nas;
        const int sht = at.fiveG ? nas[1] & 0x0F : nas[0] >> 4;
        const bool ciphered = sht == 2 || sht == 4;
        const bool newContext = sht == 3 || sht == 4;
        out.receivedMac = Be32(nas, at.macAt);
        const uint32_t sequence = nas[at.sequenceAt];
        const ConstOctets body = nas.subspan(at.bodyAt);
        std::vector<int> directions = Directions(in.direction);
        if (!ciphered && in.direction < 0) {
            const uint8_t d = PlainDirections(body, at);
            if (d == view::kUplink) directions = {1};
            if (d == view::kDownlink) directions = {0};
        }
        // What the readable body says about the UE before its MAC is checked.
        if (!ciphered) Observe(u, body, directions[0], true, out);
        const int ksiOfBody = ciphered ? -1 : KsiOfBody(body);
        const bool lone = !Known(u);
        Check r = Verify(u, Candidates(u, at.fiveG, newContext, ksiOfBody, lone), directions, out.receivedMac, 32,
                         nas.subspan(at.sequenceAt), sequence, 8);
        Conclude(u, r, out);
        const int direction = out.direction >= 0 ? out.direction : directions[0];
        out.direction = direction;
        // The context the body is ciphered with, verified or not.
        Context* c = r.used.context;
        if (c == nullptr) {
            Ue& ue = ues[static_cast<size_t>(u)];
            const bool fresh = ue.hasFresh && ue.fresh.fiveG == at.fiveG;
            const bool current = ue.hasCurrent && ue.current.fiveG == at.fiveG;
            if (newContext && fresh) c = &ue.fresh;
            else if (current) c = &ue.current;
            else if (fresh) c = &ue.fresh;
        }
        if (c != nullptr) {
            if (out.ksi < 0) out.ksi = c->ksi;
            if (out.keySource == KeySource::kNone) out.keySource = SourceOf(*c);
            out.mapped = c->mapped;
            out.eea = c->eea;
            if (out.eia < 0) out.eia = c->eia;
            if (!r.countKnown) {
                // No MAC settled the COUNT: the estimate stands.
                const int d = direction == 1 ? 1 : 0;
                out.count = Counts(*c, d, sequence, 8).front();
                out.countKnown = c->fromStart || c->last[d] >= 0;
                c->last[d] = out.count;
            }
        }
        out.plain.assign(nas.begin(), nas.end());
        if (!ciphered) {
            out.body = BodyState::kClear;
        } else {
            Decipher(c, r, direction, nas, at.bodyAt, out);
        }
        if (c != nullptr) KeysUsed(*c, out);
        if (out.body != BodyState::kLeftCiphered) {
            const ConstOctets inner = ConstOctets(out.plain).subspan(at.bodyAt);
            if (ciphered) Observe(u, inner, direction, true, out);
            Observe(u, inner, direction, false, out);
            // A message checked with the new context takes it into use.
            if (r.verified && r.used.fresh && r.used.ue == u && direction == 1) Promote(ues[static_cast<size_t>(u)]);
        } else {
            out.plain.clear();
        }
        Label(u, out);
    }

    void Decipher(Context* c, const Check& r, int direction, ConstOctets nas, size_t bodyAt, SecurityFacts& out) {
        const ConstOctets body = nas.subspan(bodyAt);
        uint8_t* plain = out.plain.data() + bodyAt;
        const uint8_t dirBit = direction == 1 ? kDirectionUplink : kDirectionDownlink;
        if (c != nullptr && c->eea == 0) {
            out.body = BodyState::kNull;
            return;
        }
        if (c != nullptr && c->eea > 0) {
            if (const char* why = CipheringUnavailable(c->eea)) {
                out.body = BodyState::kLeftCiphered;
                out.bodyWhy = "eea" + std::to_string(c->eea) + " unavailable: " + why;
                return;
            }
            const auto key = EncKey(*c, c->eea);
            if (!key) {
                out.body = BodyState::kLeftCiphered;
                out.bodyWhy = c->mapped ? "mapped context" : "no key";
                return;
            }
            if (!algorithms.Cipher(c->eea, *key, out.count, c->Bearer(), dirBit, body, body.size() * 8, plain)) {
                out.body = BodyState::kLeftCiphered;
                out.bodyWhy = "deciphering failed";
                return;
            }
            // Without a verified MAC the key or the COUNT may be wrong: what
            // does not read as a message is not shown as one.
            if (!r.verified && !WellFormed(ConstOctets(plain, body.size()), direction)) {
                std::copy(body.begin(), body.end(), plain);
                out.body = BodyState::kLeftCiphered;
                out.bodyWhy = "deciphered body reads as no message (key or COUNT not the UE's)";
                return;
            }
            out.body = BodyState::kDeciphered;
            return;
        }
        // No SECURITY MODE COMMAND seen for this context: with a key whose
        // MAC verified, each algorithm is tried; without, the body is tried
        // as EEA0.
        if (c != nullptr && r.verified && c->HasKeys()) {
            for (int eea = 1; eea <= 3; ++eea) {
                if (CipheringUnavailable(eea) != nullptr) continue;
                const auto key = EncKey(*c, eea);
                std::vector<uint8_t> trial(body.size());
                if (key && algorithms.Cipher(eea, *key, out.count, c->Bearer(), dirBit, body, body.size() * 8,
                                             trial.data()) &&
                    WellFormed(trial, direction)) {
                    std::copy(trial.begin(), trial.end(), plain);
                    out.body = BodyState::kDeciphered;
                    out.eea = eea;
                    c->eea = eea;
                    return;
                }
            }
        }
        if (WellFormed(body, direction)) {
            out.body = BodyState::kGuessedNull;
            out.bodyWhy = "no security mode command seen; reads as a plain message";
            if (c != nullptr && r.verified) c->eea = 0;
            return;
        }
        out.body = BodyState::kLeftCiphered;
        out.bodyWhy = c == nullptr ? "no security context" : "algorithm not known";
    }
};

SecurityTracker::SecurityTracker(const KeyStore* keys, bool keepKeys) : impl_(std::make_unique<Impl>(keys, keepKeys)) {}

SecurityTracker::~SecurityTracker() = default;

void SecurityTracker::AddVector(std::string_view imsi, const Plmn* visitedPlmn, const Rand& rand, ConstOctets xres,
                                const Autn& autn, const Key256& kasme) {
    Vector v;
    v.imsi = std::string(imsi);
    if (visitedPlmn != nullptr) {
        v.hasPlmn = true;
        v.plmn = *visitedPlmn;
    }
    v.rand = rand;
    v.xres.assign(xres.begin(), xres.end());
    v.autn = autn;
    v.kasme = kasme;
    impl_->vectors.push_back(std::move(v));
}

void SecurityTracker::Process(const NasInput& in, SecurityFacts& out) { impl_->Process(in, out); }

}  // namespace corvuna::security
