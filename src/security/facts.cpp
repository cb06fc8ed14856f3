// SPDX-License-Identifier: Apache-2.0
#include "security/facts.h"

#include <cstdio>

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

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

const char* MacName(MacCheck m) {
    switch (m) {
        case MacCheck::kNone:
            return "none";
        case MacCheck::kVerified:
            return "verified";
        case MacCheck::kFailed:
            return "failed";
        case MacCheck::kUnverifiable:
            return "unverifiable";
    }
    return "";
}

const char* BodyName(BodyState b) {
    switch (b) {
        case BodyState::kClear:
            return "clear";
        case BodyState::kDeciphered:
            return "deciphered";
        case BodyState::kNull:
            return "null";
        case BodyState::kGuessedNull:
            return "guessed_null";
        case BodyState::kLeftCiphered:
            return "left_ciphered";
    }
    return "";
}

}  // namespace

const char* KeySourceName(KeySource source) {
    switch (source) {
        case KeySource::kNone:
            return "none";
        case KeySource::kK:
            return "k";
        case KeySource::kCaptureS6a:
            return "s6a";
        case KeySource::kKasme:
            return "kasme";
        case KeySource::kNasKeys:
            return "nas_keys";
    }
    return "";
}

std::string FactsText(const SecurityFacts& f, bool showKeys) {
    std::string t;
    if (f.securityHeader <= 0 && f.resCheck == 0) return t;
    if (!f.ue.empty()) t += " ue=" + f.ue;
    if (f.securityHeader > 0) {
        if (f.ksi >= 0) t += " ksi=" + std::to_string(f.ksi) + (f.mapped ? "(mapped)" : "");
        if (f.countKnown) t += " count=" + std::to_string(f.count);
        switch (f.mac) {
            case MacCheck::kVerified:
                t += " mac_check=verified(eia" + std::to_string(f.eia) + ")";
                break;
            case MacCheck::kFailed:
                t += " mac_check=failed(eia" + std::to_string(f.eia) + ") expected_mac=" +
                     Hex32(f.expectedMac, f.shortMac ? 4 : 8);
                break;
            case MacCheck::kUnverifiable:
                t += " mac_check=unverifiable(" + Word(f.macWhy) + ")";
                break;
            case MacCheck::kNone:
                break;
        }
        const std::string eea = f.eea >= 0 ? "eea" + std::to_string(f.eea) : "eea?";
        switch (f.body) {
            case BodyState::kDeciphered:
                t += " ciphering=" + eea + "(deciphered)";
                break;
            case BodyState::kNull:
                t += " ciphering=eea0";
                break;
            case BodyState::kGuessedNull:
                t += " ciphering=eea0(guessed:" + Word(f.bodyWhy) + ")";
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
        if (!f.kasme.empty()) t += " kasme=" + f.kasme;
        if (!f.nasInt.empty()) t += " knasint=" + f.nasInt;
        if (!f.nasEnc.empty()) t += " knasenc=" + f.nasEnc;
    }
    return t;
}

std::string FactsJson(const SecurityFacts& f, bool showKeys) {
    std::string j = "{\"security_header\":" + std::to_string(f.securityHeader);
    if (!f.ue.empty()) j += ",\"ue\":" + JsonString(f.ue);
    if (f.ksi >= 0) j += ",\"ksi\":" + std::to_string(f.ksi) + ",\"mapped\":" + (f.mapped ? "true" : "false");
    if (f.eia >= 0) j += ",\"eia\":" + std::to_string(f.eia);
    if (f.eea >= 0) j += ",\"eea\":" + std::to_string(f.eea);
    if (f.countKnown) j += ",\"count\":" + std::to_string(f.count);
    j += std::string(",\"key_source\":\"") + KeySourceName(f.keySource) + "\"";
    j += std::string(",\"mac\":\"") + MacName(f.mac) + "\"";
    if (f.mac != MacCheck::kNone) j += ",\"received_mac\":\"" + Hex32(f.receivedMac, f.shortMac ? 4 : 8) + "\"";
    if (f.mac == MacCheck::kFailed) j += ",\"expected_mac\":\"" + Hex32(f.expectedMac, f.shortMac ? 4 : 8) + "\"";
    if (!f.macWhy.empty()) j += ",\"mac_reason\":" + JsonString(f.macWhy);
    j += std::string(",\"body\":\"") + BodyName(f.body) + "\"";
    if (!f.bodyWhy.empty()) j += ",\"body_reason\":" + JsonString(f.bodyWhy);
    if (f.body == BodyState::kDeciphered || f.body == BodyState::kNull || f.body == BodyState::kGuessedNull) {
        j += ",\"plain\":\"" + ToHex(f.plain) + "\"";
    }
    if (f.resCheck != 0) {
        j += std::string(",\"res_check\":\"") + (f.resCheck == 1 ? "equal" : "different") + "\",\"res_from\":\"" +
             f.resFrom + "\"";
        if (f.resCheck == -1) j += ",\"expected_res\":\"" + f.expectedRes + "\"";
    }
    if (showKeys) {
        if (!f.kasme.empty()) j += ",\"kasme\":\"" + f.kasme + "\"";
        if (!f.nasInt.empty()) j += ",\"knasint\":\"" + f.nasInt + "\"";
        if (!f.nasEnc.empty()) j += ",\"knasenc\":\"" + f.nasEnc + "\"";
    }
    return j + "}";
}

}  // namespace corvuna::security
