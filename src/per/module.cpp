// SPDX-License-Identifier: Apache-2.0
#include "per/per.h"

#include <vector>

namespace corvuna::per {

const SetEntry* Module::Lookup(uint32_t set, int64_t key) const {
    if (set >= setCount) return nullptr;
    size_t lo = sets[set].first;
    size_t hi = lo + sets[set].count;
    const size_t end = hi;
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (entries[mid].key < key) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return lo < end && entries[lo].key == key ? &entries[lo] : nullptr;
}

TypeId Module::FindType(std::string_view name) const {
    for (TypeId i = 0; i < typeCount; ++i) {
        if (name == Name(types[i].name)) return i;
    }
    return kNoType;
}

const char* Module::ConstantName(std::string_view typeName, int64_t value) const {
    for (uint32_t i = 0; i < constantCount; ++i) {
        if (constants[i].value == value && typeName == Name(constants[i].typeName)) return Name(constants[i].name);
    }
    return "";
}

namespace {

// The types a part of type `i` is of: the members of a SEQUENCE or CHOICE,
// the component of a SEQUENCE OF, the types of an open type's own object
// set (not the class's for keys that set lacks: through the extension
// containers of nearly every type, that would make nearly every type hold
// anything).
template <typename F>
void ForEachPart(const Module& module, TypeId i, F&& f) {
    const Type& t = module.types[i];
    switch (t.kind) {
        case Kind::kSequence:
        case Kind::kChoice:
            for (uint32_t m = 0; m < uint32_t{t.rootCount} + t.extCount; ++m) f(module.members[t.ref + m].type);
            break;
        case Kind::kSequenceOf:
            f(t.ref);
            break;
        case Kind::kOpenType:
            if (t.ref < module.setCount) {
                const ObjectSet& set = module.sets[t.ref];
                for (uint32_t e = 0; e < set.count; ++e) f(module.entries[set.first + e].type);
            }
            break;
        default:
            break;
    }
}

}  // namespace

void MarkTypesHolding(const Module& module, const TypeId* targets, size_t count, bool* reaches) {
    // The part-of edges reversed (which types have a part of type j), then
    // everything reachable backwards from the targets: one pass over the
    // edges, where a fixpoint over the whole module would take many.
    const size_t n = module.typeCount;
    std::vector<uint32_t> start(n + 1, 0);
    for (TypeId i = 0; i < n; ++i) {
        ForEachPart(module, i, [&](TypeId part) {
            if (part < n) ++start[part + 1];
        });
    }
    for (size_t j = 0; j < n; ++j) start[j + 1] += start[j];
    std::vector<TypeId> holders(start[n]);
    std::vector<uint32_t> fill(start.begin(), start.end() - 1);
    for (TypeId i = 0; i < n; ++i) {
        ForEachPart(module, i, [&](TypeId part) {
            if (part < n) holders[fill[part]++] = i;
        });
    }
    for (size_t i = 0; i < n; ++i) reaches[i] = false;
    std::vector<TypeId> pending;
    for (size_t t = 0; t < count; ++t) {
        if (targets[t] < n && !reaches[targets[t]]) {
            reaches[targets[t]] = true;
            pending.push_back(targets[t]);
        }
    }
    while (!pending.empty()) {
        const TypeId j = pending.back();
        pending.pop_back();
        for (uint32_t k = start[j]; k < start[j + 1]; ++k) {
            if (!reaches[holders[k]]) {
                reaches[holders[k]] = true;
                pending.push_back(holders[k]);
            }
        }
    }
}

void MarkTypesHolding(const Module& module, TypeId target, bool* reaches) {
    MarkTypesHolding(module, &target, 1, reaches);
}

}  // namespace corvuna::per
