// SPDX-License-Identifier: Apache-2.0
// Decoding takes no memory from the heap: the global allocation functions
// of this test program (the library allocates, if ever, through them) count the calls made on its thread, and no decode of
// any corpus message, sample or mutation makes one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "corvuna/corvuna.h"
#include "support/test_support.h"

namespace {

thread_local unsigned long allocations = 0;

void* Allocate(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace corvuna::test {
namespace {

// Allocations made by one decode through each entry.
unsigned long AllocationsOfDecode(const CorpusMessage& m, std::vector<char>& buffer) {
    static const uint8_t kNothing = 0;
    const uint8_t* octets = m.octets.empty() ? &kNothing : m.octets.data();
    const int length = static_cast<int>(m.octets.size());
    static std::vector<char> view(CORVUNA_MAX_VIEW_LENGTH + 1);
    const unsigned long before = allocations;
    buffer[0] = '\0';
    Corvunadecode(m.direction, octets, length, buffer.data(), 0, 0);
    buffer[0] = '\0';
    size_t needed = 0;
    CorvunaDecodeBounded(m.direction, octets, length, buffer.data(), buffer.size(), &needed);
    CorvunaDecodeBounded(m.direction, octets, length, buffer.data(), 16, &needed);  // no room
    int rates[2];
    LteGain(octets, length, CORVUNA_CODE_ACTIVATE_DEFAULT_BEARER_REQUEST, rates);
    for (int format : {CORVUNA_VIEW_JSON, CORVUNA_VIEW_TEXT}) {
        CorvunaDecodeView(m.direction, octets, length, format, CORVUNA_VIEW_NULL_CIPHERING, view.data(), view.size(),
                          &needed);
        CorvunaDecodeView(m.direction, octets, length, format, 0, view.data(), 16, &needed);  // no room
    }
    return allocations - before;
}

TEST(Allocation, TheCountingAllocatorCounts) {
    const unsigned long before = allocations;
    delete new int(1);
    EXPECT_EQ(allocations - before, 1u);
}

TEST(Allocation, NoDecodeAllocates) {
    std::vector<char> buffer(CORVUNA_MAX_DOCUMENT_LENGTH + 1);
    std::vector<CorpusMessage> messages = LoadSamples();
    SeededRandom random(7);
    const size_t samples = messages.size();
    for (size_t i = 0; i < samples; ++i) {
        for (int k = 0; k < 20; ++k) messages.push_back({k & 1, Mutate(messages[i].octets, random), "mutation"});
    }
    if (auto corpus = LoadCorpus()) messages.insert(messages.end(), corpus->begin(), corpus->end());
    for (const CorpusMessage& m : messages) {
        ASSERT_EQ(AllocationsOfDecode(m, buffer), 0u) << m.name;
    }
}

}  // namespace
}  // namespace corvuna::test
