// SPDX-License-Identifier: Apache-2.0
#include "security/facts.h"

#include <charconv>
#include <cstdio>
#include <initializer_list>
#include <string_view>

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
    // Appended piece by piece into one string (one allocation a line, no
    // temporaries): this runs for every protected message of a capture.
    t.reserve(160);
    const auto add = [&t](std::initializer_list<std::string_view> parts) {
        for (const std::string_view part : parts) t.append(part);
    };
    const auto number = [&t](int64_t v) {
        char text[24];
        t.append(text, static_cast<size_t>(std::to_chars(text, text + sizeof text, v).ptr - text));
    };
    if (!f.ue.empty()) add({" ue=", f.ue});
    if (f.securityHeader > 0) {
        if (f.ksi >= 0) {
            add({" ksi="});
            number(f.ksi);
            if (f.mapped) add({"(mapped)"});
        }
        if (f.countKnown) {
            add({" count="});
            number(f.count);
        }
        // EPS names EEA/EIA, 5GS 5G-EA/5G-IA.
        const std::string_view ia = f.fivegs ? "5g-ia" : "eia", ea = f.fivegs ? "5g-ea" : "eea";
        switch (f.mac) {
            case MacCheck::kVerified:
                add({" mac_check=verified(", ia});
                number(f.eia);
                add({")"});
                break;
            case MacCheck::kFailed:
                add({" mac_check=failed(", ia});
                number(f.eia);
                add({") expected_mac=", Hex32(f.expectedMac, f.shortMac ? 4 : 8)});
                break;
            case MacCheck::kUnverifiable:
                add({" mac_check=unverifiable(", Word(f.macWhy), ")"});
                break;
            case MacCheck::kNone:
                break;
        }
        // The algorithm the context names ("?" when not known).
        const auto eea = [&] {
            add({ea});
            if (f.eea >= 0) {
                number(f.eea);
            } else {
                add({"?"});
            }
        };
        switch (f.body) {
            case BodyState::kDeciphered:
                add({" ciphering="});
                eea();
                add({"(deciphered)"});
                break;
            case BodyState::kNull:
                add({" ciphering=", ea, "0"});
                break;
            case BodyState::kGuessedNull:
                add({" ciphering=", ea, "0(guessed:", Word(f.bodyWhy), ")"});
                break;
            case BodyState::kLeftCiphered:
                add({" ciphering="});
                eea();
                add({"(left_ciphered:", Word(f.bodyWhy), ")"});
                break;
            case BodyState::kClear:
                break;
        }
        if (f.keySource != KeySource::kNone) add({" key=", KeySourceName(f.keySource)});
    }
    if (f.resCheck == 1) add({" res_check=equal(", f.resFrom, ")"});
    if (f.resCheck == -1) add({" res_check=different(", f.resFrom, ") expected_res=", f.expectedRes});
    if (showKeys) {
        if (!f.kasme.empty()) add({f.fivegs ? " kamf=" : " kasme=", f.kasme});
        if (!f.nasInt.empty()) add({" knasint=", f.nasInt});
        if (!f.nasEnc.empty()) add({" knasenc=", f.nasEnc});
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
