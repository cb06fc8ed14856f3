// SPDX-License-Identifier: Apache-2.0
// Subscriber keys given to the decoder, and the text format they come in.
//
// One subscriber a line; blank lines and lines starting with '#' are
// skipped; fields are separated by blanks or tabs:
//
//     SUBSCRIBER NAME=VALUE ...
//
// SUBSCRIBER is the IMSI's digits (5 to 15), or '*' for every subscriber
// without a line of its own.  Values are hex (either case).  A line gives
// one of:
//
//     k=K opc=OPc                   Milenage (TS 35.206)
//     k=K op=OP                     Milenage, OPc computed from OP
//     k=K algorithm=xor             the XOR test algorithm of TS 34.108
//     kasme=KASME [ksi=N]           the 256-bit KASME of a context (KSI 0-6)
//     knasenc=KEY knasint=KEY [eea=N] [eia=N] [ksi=N]
//                                   the two NAS keys of a context directly
//
// ('algorithm=milenage' may be written with k; K, OP, OPc and the NAS keys
// are 128 bits.)
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "security/octets.h"

namespace corvuna::security {

struct SubscriberKeys {
    enum class Kind { kMilenage, kXor, kKasme, kNasKeys };
    std::string subscriber;  // IMSI digits or "*"
    Kind kind = Kind::kMilenage;
    Key128 k{};
    Key128 opc{};
    Key256 kasme{};
    Key128 nasEnc{};
    Key128 nasInt{};
    int ksi = -1;  // -1: any
    int eea = -1;
    int eia = -1;
    int line = 0;
};

class KeyStore {
public:
    // The keys of `imsi`, else the '*' line; null when neither is given.
    const SubscriberKeys* Find(std::string_view imsi) const;
    bool empty() const { return bySubscriber_.empty(); }
    size_t size() const { return bySubscriber_.size(); }

    // Adds a line's keys; false when the subscriber already has a line.
    bool Add(const SubscriberKeys& keys);

private:
    std::map<std::string, SubscriberKeys, std::less<>> bySubscriber_;
};

// Reads the lines of `text` into `store`.  False at the first bad line, with
// `error` saying "NAME:LINE: what is wrong".
bool ParseKeys(std::string_view text, std::string_view name, KeyStore& store, std::string& error);

// The same from the file at `path` (its name in the errors).
bool LoadKeysFile(const std::string& path, KeyStore& store, std::string& error);

}  // namespace corvuna::security
