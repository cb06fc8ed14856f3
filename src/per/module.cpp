// SPDX-License-Identifier: Apache-2.0
#include "per/per.h"

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

void MarkTypesHolding(const Module& module, TypeId target, bool* reaches) {
    for (TypeId i = 0; i < module.typeCount; ++i) reaches[i] = i == target;
    // Until nothing changes: a type holds the target when a part of it does.
    for (bool changed = true; changed;) {
        changed = false;
        for (TypeId i = 0; i < module.typeCount; ++i) {
            if (reaches[i]) continue;
            const Type& t = module.types[i];
            bool holds = false;
            switch (t.kind) {
                case Kind::kSequence:
                case Kind::kChoice:
                    for (uint32_t m = 0; m < uint32_t{t.rootCount} + t.extCount && !holds; ++m) {
                        holds = reaches[module.members[t.ref + m].type];
                    }
                    break;
                case Kind::kSequenceOf:
                    holds = reaches[t.ref];
                    break;
                case Kind::kOpenType:
                    // Its own object set.  Not the class's for keys that set
                    // lacks: through the extension containers of nearly every
                    // type, that would make nearly every type hold anything.
                    if (t.ref < module.setCount) {
                        const ObjectSet& set = module.sets[t.ref];
                        for (uint32_t e = 0; e < set.count && !holds; ++e) {
                            holds = reaches[module.entries[set.first + e].type];
                        }
                    }
                    break;
                default:
                    break;
            }
            if (holds) {
                reaches[i] = true;
                changed = true;
            }
        }
    }
}

}  // namespace corvuna::per
