// SPDX-License-Identifier: Apache-2.0
// Decoding speed over the real-message corpus (or, without it, the sample
// messages), message after message into one reused buffer: the whole mix
// through the bounded and the legacy entry and through the standard view
// (JSON and text), the EMM and the ESM messages apart, and the five most
// frequent message types of the mix; and every NAS PDU of tshark's
// listings of the 5G captures (../shared/captures-5g, read at run time)
// through the standard view, the ciphered ones as 5G-EA0.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "corvuna/corvuna.h"
#include "support/test_support.h"

namespace {

using Messages = std::vector<corvuna::test::CorpusMessage>;

Messages AllMessages() {
    if (auto corpus = corvuna::test::LoadCorpus()) return *corpus;
    return corvuna::test::LoadSamples();
}

template <bool kBounded>
void DecodeAll(benchmark::State& state, const Messages& messages) {
    std::vector<char> buffer(CORVUNA_MAX_DOCUMENT_LENGTH + 1);
    size_t octets = 0;
    size_t characters = 0;
    for (auto _ : state) {
        for (const auto& m : messages) {
            buffer[0] = '\0';
            if constexpr (kBounded) {
                size_t needed = 0;
                CorvunaDecodeBounded(m.direction, m.octets.data(), static_cast<int>(m.octets.size()),
                                     buffer.data(), buffer.size(), &needed);
                characters += needed - 1;
            } else {
                Corvunadecode(m.direction, m.octets.data(), static_cast<int>(m.octets.size()), buffer.data(), 0,
                              0);
            }
            octets += m.octets.size();
            benchmark::DoNotOptimize(buffer.data());
        }
    }
    const double decoded = static_cast<double>(state.iterations()) * static_cast<double>(messages.size());
    state.SetItemsProcessed(static_cast<int64_t>(decoded));
    state.SetBytesProcessed(static_cast<int64_t>(octets));
    if (kBounded) state.counters["doc_chars_per_msg"] = static_cast<double>(characters) / decoded;
}

void ViewAll(benchmark::State& state, const Messages& messages, int format, unsigned options = 0) {
    // Real messages take a few kilobytes; the buffer is the largest an
    // output can need, as a host that never reallocates would use.
    std::vector<char> buffer(CORVUNA_MAX_VIEW_LENGTH + 1);
    size_t characters = 0;
    for (auto _ : state) {
        for (const auto& m : messages) {
            size_t needed = 0;
            CorvunaDecodeView(m.direction, m.octets.data(), static_cast<int>(m.octets.size()), format, options,
                              buffer.data(), buffer.size(), &needed);
            characters += needed - 1;
            benchmark::DoNotOptimize(buffer.data());
        }
    }
    const double decoded = static_cast<double>(state.iterations()) * static_cast<double>(messages.size());
    state.SetItemsProcessed(static_cast<int64_t>(decoded));
    state.counters["chars_per_msg"] = static_cast<double>(characters) / decoded;
}

void BM_LteGain(benchmark::State& state) {
    const auto message = corvuna::test::Hex("02 00 C1 05 09 40 40 10 20");
    int rates[2];
    for (auto _ : state) {
        benchmark::DoNotOptimize(LteGain(message.data(), static_cast<int>(message.size()), 705, rates));
    }
}

}  // namespace

int main(int argc, char** argv) {
    static const Messages all = AllMessages();
    static Messages emm, esm;
    std::map<std::string, Messages> byType;
    for (const auto& m : all) {
        ((m.octets[0] & 0x0F) == 7 ? emm : esm).push_back(m);
        byType[m.name].push_back(m);
    }
    std::vector<std::pair<std::string, Messages>> types(byType.begin(), byType.end());
    std::stable_sort(types.begin(), types.end(),
                     [](const auto& a, const auto& b) { return a.second.size() > b.second.size(); });
    if (types.size() > 5) types.resize(5);
    static const auto top = types;

    benchmark::RegisterBenchmark("bounded/all", [](benchmark::State& s) { DecodeAll<true>(s, all); });
    benchmark::RegisterBenchmark("legacy/all", [](benchmark::State& s) { DecodeAll<false>(s, all); });
    benchmark::RegisterBenchmark("view/json/all", [](benchmark::State& s) { ViewAll(s, all, CORVUNA_VIEW_JSON); });
    benchmark::RegisterBenchmark("view/text/all", [](benchmark::State& s) { ViewAll(s, all, CORVUNA_VIEW_TEXT); });
    benchmark::RegisterBenchmark("bounded/EMM", [](benchmark::State& s) { DecodeAll<true>(s, emm); });
    benchmark::RegisterBenchmark("bounded/ESM", [](benchmark::State& s) { DecodeAll<true>(s, esm); });
    for (const auto& [name, messages] : top) {
        const Messages* these = &messages;
        std::string label = "bounded/type:" + name;
        std::replace(label.begin(), label.end(), ' ', '_');
        benchmark::RegisterBenchmark(label.c_str(),
                                     [these](benchmark::State& s) { DecodeAll<true>(s, *these); });
    }
    static const Messages fivegs = corvuna::test::LoadFiveGsListings().value_or(Messages{});
    if (!fivegs.empty()) {
        benchmark::RegisterBenchmark("view/5gs/json/captures", [](benchmark::State& s) {
            ViewAll(s, fivegs, CORVUNA_VIEW_JSON, CORVUNA_VIEW_NULL_CIPHERING);
        });
        benchmark::RegisterBenchmark("view/5gs/text/captures", [](benchmark::State& s) {
            ViewAll(s, fivegs, CORVUNA_VIEW_TEXT, CORVUNA_VIEW_NULL_CIPHERING);
        });
    } else {
        std::fprintf(stderr, "note: ../shared/captures-5g/*.nas5g.tsv not found: no 5GS benchmark\n");
    }
    benchmark::RegisterBenchmark("LteGain", BM_LteGain);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
