// SPDX-License-Identifier: Apache-2.0
#include "security/facts.h"

#include <cstdio>

#include "common/text.h"

namespace corvuna::security {

namespace {

std::string Hex32(uint32_t v, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", digits, v);
    return text;
}

// Blanks become underscores: the comment line is NAME=VALUE words.
std::string Word(std::string s) {
    for (char& c : s) {
        if (c == ' ') c = '_';
    }
    return s;
}

}  // namespace

const char* KeySourceName(KeySource source) {
    static constexpr const char* kNames[] = {"none", "k", "s6a", "kasme", "nas_keys"};
    return NameIn(kNames, source);
}

std::string FactsText(const SecurityFacts& f, bool showKeys) {
    std::string t;
    if (f.securityHeader <= 0 && f.resCheck == 0) return t;
    if (!f.ue.empty()) t += " ue=" + f.ue;
    if (f.securityHeader > 0) {
        if (f.ksi >= 0) t += " ksi=" + std::to_string(f.ksi) + (f.mapped ? "(mapped)" : "");
        if (f.countKnown) t += " count=" + std::to_string(f.count);
        // EPS names EEA/EIA, 5GS 5G-EA/5G-IA.
        const std::string ia = f.fivegs ? "5g-ia" : "eia", ea = f.fivegs ? "5g-ea" : "eea";
        switch (f.mac) {
            case MacCheck::kVerified:
                t += " mac_check=verified(" + ia + std::to_string(f.eia) + ")";
                break;
            case MacCheck::kFailed:
                t += " mac_check=failed(" + ia + std::to_string(f.eia) + ") expected_mac=" +
                     Hex32(f.expectedMac, f.shortMac ? 4 : 8);
                break;
            case MacCheck::kUnverifiable:
                t += " mac_check=unverifiable(" + Word(f.macWhy) + ")";
                break;
            case MacCheck::kNone:
                break;
        }
        const std::string eea = ea + (f.eea >= 0 ? std::to_string(f.eea) : "?");
        switch (f.body) {
            case BodyState::kDeciphered:
                t += " ciphering=" + eea + "(deciphered)";
                break;
            case BodyState::kNull:
                t += " ciphering=" + ea + "0";
                break;
            case BodyState::kGuessedNull:
                t += " ciphering=" + ea + "0(guessed:" + Word(f.bodyWhy) + ")";
                break;
            case BodyState::kLeftCiphered:
                t += " ciphering=" + eea + "(left_ciphered:" + Word(f.bodyWhy) + ")";
                break;
            case BodyState::kClear:
                break;
        }
        if (f.keySource != KeySource::kNone) t += std::string(" key=") + KeySourceName(f.keySource);
    }
    if (f.resCheck == 1) t += std::string(" res_check=equal(") + f.resFrom + ")";
    if (f.resCheck == -1) t += std::string(" res_check=different(") + f.resFrom + ") expected_res=" + f.expectedRes;
    if (showKeys) {
        if (!f.kasme.empty()) t += (f.fivegs ? " kamf=" : " kasme=") + f.kasme;
        if (!f.nasInt.empty()) t += " knasint=" + f.nasInt;
        if (!f.nasEnc.empty()) t += " knasenc=" + f.nasEnc;
    }
    return t;
}

void WriteContext(view::Sink& out, const SecurityFacts& f, bool showKeys) {
    using view::operator""_f;
    const auto string = [&out](view::Label label, const std::string& value) {
        if (value.empty()) {
            out.Null(label);
        } else {
            out.String(label, value);
        }
    };
    out.Begin("Security"_f);
    string(view::Field<"UE", "ue">, f.ue);
    if (f.ksi >= 0) {
        out.Number(view::Field<"KSI", "ksi">, f.ksi);
    } else {
        out.Null(view::Field<"KSI", "ksi">);
    }
    out.Flag("Mapped"_f, f.mapped, "mapped security context", "native security context");
    if (f.resCheck == 0) {
        out.Null(view::Field<"RES check", "res_check">);
    } else {
        out.Ascii(view::Field<"RES check", "res_check">, f.resCheck == 1 ? "equal" : "different");
    }
    string(view::Field<"RES from", "res_from">, f.resCheck == 0 ? std::string() : std::string(f.resFrom));
    string("Expected RES"_f, f.resCheck == -1 ? f.expectedRes : std::string());
    if (showKeys && f.fivegs) {
        string(view::Field<"KAMF", "kamf">, f.kasme);
        string(view::Field<"KNASint", "knasint">, f.nasInt);
        string(view::Field<"KNASenc", "knasenc">, f.nasEnc);
    } else if (showKeys) {
        string(view::Field<"KASME", "kasme">, f.kasme);
        string(view::Field<"KNASint", "knasint">, f.nasInt);
        string(view::Field<"KNASenc", "knasenc">, f.nasEnc);
    }
    out.End();
}

}  // namespace corvuna::security
