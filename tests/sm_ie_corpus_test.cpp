// SPDX-License-Identifier: Apache-2.0
// The session-management IE codecs over the real default bearer requests
// of the message corpus: every well-formed IE must leave the cursor at its
// declared end, and LteGain must report the guaranteed bit rate octets.
#include <gtest/gtest.h>

#include <cstring>

#include "corvuna/corvuna.h"
#include "legacy/ie/sm/apn_pdn.h"
#include "legacy/ie/sm/eps_qos.h"
#include "legacy/ie/sm/pco.h"
#include "legacy/ie/sm/qos.h"
#include "legacy/ie/sm/sm_fields.h"
#include "sm_ie_test_support.h"

namespace corvuna::test {
namespace {

bool IsDefaultBearerRequest(const std::vector<uint8_t>& m) {
    return m.size() >= 3 && (m[0] & 0x0F) == 2 && m[2] == 0xC1;
}

// Runs `parse` on the IE whose value starts at the cursor and checks that
// the cursor ends at the declared end.  Returns the parser's result.
template <typename Record>
int ParseAtDeclaredLength(int (*parse)(BitCursor&, int32_t, Record&), BitCursor& cursor, int32_t length,
                          Record& record, std::string_view what) {
    const int32_t start = cursor.position;
    const int result = parse(cursor, length, record);
    EXPECT_EQ(cursor.position, start + 8 * length) << what;
    return result;
}

// The labels at `value` joined into `text`, when they exactly fill the
// `length` octets of the value (some sources write the APN as plain text,
// which is not label-encoded).
bool JoinedLabels(const uint8_t* value, int32_t length, std::string& text) {
    int32_t i = 0;
    while (i < length) {
        const int32_t n = value[i];
        if (i + 1 + n > length) return false;
        text.append(reinterpret_cast<const char*>(value + i + 1), static_cast<size_t>(n));
        i += n + 1;
    }
    return true;
}

TEST(SmIeCorpus, DefaultBearerRequestsDecodeToTheirDeclaredEnds) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    int requests = 0;
    int labelEncoded = 0;
    int optionalIes = 0;
    for (const CorpusMessage& message : corpus) {
        const std::vector<uint8_t>& m = message.octets;
        if (!IsDefaultBearerRequest(m)) continue;
        ++requests;
        SCOPED_TRACE(requests);
        const uint8_t* body = m.data() + 3;
        BitCursor cursor;
        LoadBits(cursor, body, static_cast<uint32_t>(m.size() - 3));

        EpsQos qos{};
        EXPECT_EQ(ParseAtDeclaredLength(ParseEpsQos, cursor, ReadOctet(cursor), qos, "EPS QoS"), 1);
        EXPECT_FALSE(Rendered([&](OutputDocument& out) { RenderEpsQos(qos, out); }).empty());

        const int32_t apnLength = ReadOctet(cursor);
        const int32_t apnStart = cursor.position / 8;
        AccessPointName apn{};
        const int apnResult = ParseAtDeclaredLength(ParseAccessPointName, cursor, apnLength, apn, "APN");
        std::string labels;
        if (JoinedLabels(body + apnStart, apnLength, labels) && labels.size() <= kApnTextCapacity &&
            labels.find('\0') == std::string::npos) {
            ++labelEncoded;
            EXPECT_EQ(apnResult, 1);
            EXPECT_EQ(std::string(apn.apnText), labels);
        }

        PdnAddress pdn{};
        const int32_t pdnLength = ReadOctet(cursor);
        const int32_t pdnStart = cursor.position / 8;
        EXPECT_EQ(ParseAtDeclaredLength(ParsePdnAddress, cursor, pdnLength, pdn, "PDN address"), 1);
        EXPECT_EQ(pdn.pdnType, body[pdnStart] & 0x07);

        // Optional IEs, as long as they are ones these codecs know.
        bool known = true;
        while (known && HasOctet(cursor)) {
            const uint8_t iei = ReadOctet(cursor);
            ++optionalIes;
            switch (iei) {
                case 0x5D: {
                    TransactionId ti{};
                    const int32_t length = ReadOctet(cursor);
                    EXPECT_EQ(ParseAtDeclaredLength(ParseTransactionId, cursor, length, ti, "TI"), length >= 2);
                    break;
                }
                case 0x30: {
                    Qos q{};
                    const int32_t length = ReadOctet(cursor);
                    EXPECT_EQ(ParseAtDeclaredLength(ParseQos, cursor, length, q, "QoS"), length >= 16);
                    break;
                }
                case 0x32: {
                    LlcSapi sapi{};
                    EXPECT_EQ(ParseAtDeclaredLength(ParseLlcSapi, cursor, 1, sapi, "LLC SAPI"), 1);
                    break;
                }
                case 0x34: {
                    PacketFlowId pfi{};
                    EXPECT_EQ(ParseAtDeclaredLength(ParsePacketFlowId, cursor, ReadOctet(cursor), pfi, "PFI"), 1);
                    break;
                }
                case 0x5E: {
                    ApnAmbr ambr{};
                    const int32_t length = ReadOctet(cursor);
                    EXPECT_EQ(ParseAtDeclaredLength(ParseApnAmbr, cursor, length, ambr, "APN-AMBR"),
                              length % 2 == 0 ? 1 : 0);
                    break;
                }
                case 0x27: {
                    auto pco = std::make_unique<ProtocolConfigOptions>();
                    std::memset(static_cast<void*>(pco.get()), 0, sizeof *pco);
                    EXPECT_EQ(ParseAtDeclaredLength(ParseProtocolConfigOptions, cursor, ReadOctet(cursor), *pco,
                                                    "PCO"),
                              1);
                    EXPECT_GE(pco->containerCount, 0);
                    EXPECT_LE(pco->containerCount, kPcoMaxContainers);
                    break;
                }
                case 0x58:
                    ReadOctet(cursor);  // ESM cause
                    break;
                default:
                    known = (iei & 0xF0) == 0x80;  // radio priority: value in the IEI octet
                    if (!known) --optionalIes;
                    break;
            }
        }
    }
    EXPECT_GT(requests, 0);
    EXPECT_GT(labelEncoded, 0);
    EXPECT_GT(optionalIes, 0);
}

TEST(SmIeCorpus, LteGainReportsTheGuaranteedRateOctets) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    int withRates = 0;
    for (const CorpusMessage& message : corpus) {
        if (!IsDefaultBearerRequest(message.octets)) continue;
        // LteGain answers only for EPS bearer identity 0.
        std::vector<uint8_t> m = message.octets;
        m[0] = 0x02;
        int rates[2] = {-7, -7};
        ASSERT_EQ(LteGain(m.data(), static_cast<int>(m.size()), 705, rates), 1);
        if (m.size() >= 9 && m[3] >= 5) {
            ++withRates;
            EXPECT_EQ(rates[0], m[8] * 1000000);
            EXPECT_EQ(rates[1], m[7] * 1000000);
        } else if (m.size() >= 4) {
            EXPECT_EQ(rates[0], -1);
            EXPECT_EQ(rates[1], -1);
        }
    }
    EXPECT_GT(withRates, 0);
}

}  // namespace
}  // namespace corvuna::test
