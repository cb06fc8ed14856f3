// SPDX-License-Identifier: Apache-2.0
#include "security/keys.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "security/milenage.h"

namespace corvuna::security {

const SubscriberKeys* KeyStore::Find(std::string_view imsi) const {
    if (!imsi.empty()) {
        if (const auto it = bySubscriber_.find(imsi); it != bySubscriber_.end()) return &it->second;
    }
    const auto any = bySubscriber_.find("*");
    return any != bySubscriber_.end() ? &any->second : nullptr;
}

bool KeyStore::Add(const SubscriberKeys& keys) { return bySubscriber_.emplace(keys.subscriber, keys).second; }

namespace {

bool ValidSubscriber(std::string_view s) {
    if (s == "*") return true;
    if (s.size() < 5 || s.size() > 15) return false;
    for (const char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// One line's fields; an empty string when they are good, else what is wrong.
std::string ParseLine(const std::vector<std::string_view>& words, SubscriberKeys& out) {
    out.subscriber = std::string(words[0]);
    if (!ValidSubscriber(words[0])) {
        return "'" + std::string(words[0]) + "' is neither an IMSI (5 to 15 digits) nor '*'";
    }
    std::map<std::string, std::string> fields;
    for (size_t i = 1; i < words.size(); ++i) {
        const size_t eq = words[i].find('=');
        if (eq == std::string_view::npos || eq == 0) return "'" + std::string(words[i]) + "' is not NAME=VALUE";
        const std::string name = Lower(words[i].substr(0, eq));
        static const char* const kNames[] = {"k", "opc", "op", "algorithm", "kasme", "knasenc", "knasint", "eea", "eia", "ksi"};
        bool known = false;
        for (const char* n : kNames) known = known || name == n;
        if (!known) {
            return "unknown field '" + name + "' (k, opc, op, algorithm, kasme, knasenc, knasint, eea, eia, ksi)";
        }
        if (!fields.emplace(name, std::string(words[i].substr(eq + 1))).second) return "field '" + name + "' given twice";
    }
    auto key = [&](const char* name, auto& into) -> std::string {
        const auto it = fields.find(name);
        constexpr size_t n = std::tuple_size_v<std::remove_reference_t<decltype(into)>>;
        const auto value = FromHex(it->second);
        // The value itself is not repeated: keys stay out of the output.
        if (!value) return std::string(name) + " is not hex digits of an even number";
        if (value->size() != n) {
            return std::string(name) + " has " + std::to_string(value->size() * 8) + " bits, not " + std::to_string(n * 8);
        }
        for (size_t i = 0; i < n; ++i) into[i] = (*value)[i];
        return "";
    };
    auto small = [&](const char* name, int max, int& into) -> std::string {
        const auto it = fields.find(name);
        if (it == fields.end()) return "";
        const std::string& v = it->second;
        if (v.size() != 1 || v[0] < '0' || v[0] > '0' + max) {
            return std::string(name) + " is '" + v + "', not a number from 0 to " + std::to_string(max);
        }
        into = v[0] - '0';
        return "";
    };
    const bool hasK = fields.count("k") != 0;
    const bool hasKasme = fields.count("kasme") != 0;
    const bool hasNas = fields.count("knasenc") != 0 || fields.count("knasint") != 0;
    if (hasK + hasKasme + hasNas != 1) {
        return hasK + hasKasme + hasNas == 0 ? "no keys: give k (with opc, op or algorithm=xor), kasme, or knasenc and knasint"
                                             : "give only one of k, kasme, or knasenc and knasint";
    }
    std::string why;
    if ((why = small("ksi", 6, out.ksi)) != "") return why;
    if (hasK) {
        if ((why = key("k", out.k)) != "") return why;
        const auto algorithm = fields.find("algorithm");
        const std::string a = algorithm == fields.end() ? "milenage" : Lower(algorithm->second);
        if (a == "xor") {
            out.kind = SubscriberKeys::Kind::kXor;
            if (fields.count("opc") != 0 || fields.count("op") != 0) return "the XOR algorithm takes no op or opc";
        } else if (a == "milenage") {
            out.kind = SubscriberKeys::Kind::kMilenage;
            const bool opc = fields.count("opc") != 0, op = fields.count("op") != 0;
            if (opc == op) return opc ? "give opc or op, not both" : "Milenage needs opc or op";
            if (opc) {
                if ((why = key("opc", out.opc)) != "") return why;
            } else {
                Key128 value{};
                if ((why = key("op", value)) != "") return why;
                const auto computed = MilenageOpc(out.k, value);
                if (!computed) return "op needs Milenage, which this build lacks (no libcrypto): give opc";
                out.opc = *computed;
            }
        } else {
            return "algorithm is '" + algorithm->second + "', not milenage or xor";
        }
        for (const char* f : {"kasme", "knasenc", "knasint", "eea", "eia"}) {
            if (fields.count(f) != 0) return std::string(f) + " does not go with k";
        }
        return "";
    }
    for (const char* f : {"opc", "op", "algorithm"}) {
        if (fields.count(f) != 0) return std::string(f) + " goes with k only";
    }
    if (hasKasme) {
        out.kind = SubscriberKeys::Kind::kKasme;
        for (const char* f : {"eea", "eia"}) {
            if (fields.count(f) != 0) return std::string(f) + " goes with knasenc and knasint only";
        }
        return key("kasme", out.kasme);
    }
    out.kind = SubscriberKeys::Kind::kNasKeys;
    if (fields.count("knasenc") == 0 || fields.count("knasint") == 0) return "knasenc and knasint go together";
    if ((why = key("knasenc", out.nasEnc)) != "") return why;
    if ((why = key("knasint", out.nasInt)) != "") return why;
    if ((why = small("eea", 3, out.eea)) != "") return why;
    return small("eia", 3, out.eia);
}

}  // namespace

bool ParseKeys(std::string_view text, std::string_view name, KeyStore& store, std::string& error) {
    size_t number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::vector<std::string_view> words;
        size_t at = 0;
        while (at < line.size()) {
            while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
            const size_t start = at;
            while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
            if (at > start) words.push_back(line.substr(start, at - start));
        }
        if (words.empty() || words[0][0] == '#') continue;
        SubscriberKeys keys;
        keys.line = static_cast<int>(number);
        std::string why = ParseLine(words, keys);
        if (why.empty() && !store.Add(keys)) why = "subscriber " + keys.subscriber + " has a line already";
        if (!why.empty()) {
            error = std::string(name) + ":" + std::to_string(number) + ": " + why;
            return false;
        }
    }
    return true;
}

bool LoadKeysFile(const std::string& path, KeyStore& store, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open the keys file";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseKeys(text.str(), path, store, error);
}

}  // namespace corvuna::security
