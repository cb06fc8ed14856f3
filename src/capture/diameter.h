// SPDX-License-Identifier: Apache-2.0
// Diameter (RFC 6733) as far as the S6a Authentication-Information
// exchange (TS 29.272 5.2.3.1, command code 318) carries keys: the
// request's Session-Id, User-Name (the IMSI) and Visited-PLMN-Id, and each
// E-UTRAN-Vector of the answer (RAND, XRES, AUTN, KASME).  Answers are
// matched to their requests by Hop-by-Hop and End-to-End identifiers, or by
// Session-Id.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "capture/bytes.h"

namespace corvuna::capture {

inline constexpr uint16_t kDiameterPort = 3868;
inline constexpr uint32_t kDiameterCommandAuthenticationInformation = 318;
inline constexpr uint32_t kDiameterApplicationS6a = 16777251;

struct EutranVector {
    std::array<uint8_t, 16> rand{};
    std::vector<uint8_t> xres;  // 4 to 16 octets
    std::array<uint8_t, 16> autn{};
    std::array<uint8_t, 32> kasme{};
};

struct S6aAuthentication {
    bool request = false;
    uint32_t hopByHop = 0;
    uint32_t endToEnd = 0;
    std::string sessionId;
    std::string userName;  // the IMSI (request)
    bool hasVisitedPlmn = false;
    std::array<uint8_t, 3> visitedPlmn{};  // Visited-PLMN-Id (request)
    std::vector<EutranVector> vectors;     // answer
};

enum class DiameterResult {
    kOther,      // a well-formed Diameter message of another command
    kS6aAuthentication,
    kMalformed,  // not a Diameter message, or one whose AVPs run past it
};

// The length of the Diameter message that `octets` starts with (its header's
// Message Length), 0 when the first four octets are not a version 1 header.
size_t DiameterMessageLength(Bytes octets);

// Reads one whole Diameter message.
DiameterResult ParseDiameter(Bytes message, S6aAuthentication& out);

// An answer's vectors with the subscriber and visited network of its request.
struct S6aVectors {
    std::string imsi;  // empty when the request was not seen
    bool hasVisitedPlmn = false;
    std::array<uint8_t, 3> visitedPlmn{};
    std::vector<EutranVector> vectors;
};

// Pairs requests and answers of one capture.
class S6aMatcher {
public:
    // Takes one message; true (with `out`) when it is an answer with
    // vectors.
    bool Take(const S6aAuthentication& message, S6aVectors& out);

private:
    struct Request {
        std::string userName;
        bool hasVisitedPlmn = false;
        std::array<uint8_t, 3> visitedPlmn{};
    };
    std::map<std::pair<uint32_t, uint32_t>, Request> byIds_;
    std::map<std::string, Request> bySession_;
};

}  // namespace corvuna::capture
