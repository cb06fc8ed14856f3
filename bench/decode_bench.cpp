// Decoding speed: the real-message corpus (or, without it, the samples)
// decoded message after message into one reused buffer.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "corvuna/corvuna.h"
#include "support/test_support.h"

namespace {

std::vector<corvuna::test::CorpusMessage> Messages() {
    if (auto corpus = corvuna::test::LoadCorpus()) return *corpus;
    std::vector<corvuna::test::CorpusMessage> samples;
    std::ifstream in(std::string(CORVUNA_SOURCE_DIR) + "/samples/messages.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line.rfind("direction", 0) == 0) continue;
        std::istringstream fields(line);
        std::string direction, hex;
        std::getline(fields, direction, '\t');
        std::getline(fields, hex, '\t');
        samples.push_back({direction == "1" ? 1 : 0, corvuna::test::Hex(hex), ""});
    }
    return samples;
}

void BM_DecodeCorpus(benchmark::State& state) {
    const auto messages = Messages();
    std::vector<char> buffer(CORVUNA_MAX_DOCUMENT_LENGTH + 1);
    size_t octets = 0;
    size_t characters = 0;
    for (auto _ : state) {
        for (const auto& m : messages) {
            buffer[0] = '\0';
            size_t needed = 0;
            CorvunaDecodeBounded(m.direction, m.octets.data(), static_cast<int>(m.octets.size()), buffer.data(),
                                 buffer.size(), &needed);
            octets += m.octets.size();
            characters += needed;
            benchmark::DoNotOptimize(buffer.data());
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * messages.size()));
    state.SetBytesProcessed(static_cast<int64_t>(octets));
    state.counters["doc_chars_per_msg"] =
        benchmark::Counter(static_cast<double>(characters) / static_cast<double>(state.iterations() * messages.size()));
}
BENCHMARK(BM_DecodeCorpus)->Unit(benchmark::kMillisecond);

void BM_LteGain(benchmark::State& state) {
    const auto message = corvuna::test::Hex("02 00 C1 05 09 40 40 10 20");
    int rates[2];
    for (auto _ : state) {
        benchmark::DoNotOptimize(LteGain(message.data(), static_cast<int>(message.size()), 705, rates));
    }
}
BENCHMARK(BM_LteGain);

}  // namespace

BENCHMARK_MAIN();
