// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/sm/eps_qos.h"

#include "legacy/doc/elements.h"

namespace corvuna {

namespace {

// QCI 1..9 are the standardised classes; 16..30 are left to operators.
constexpr Text kStandardQciTexts[] = {
    nullptr, "QCI 1", "QCI 2", "QCI 3", "QCI 4", "QCI 5", "QCI 6", "QCI 7", "QCI 8", "QCI 9",
};
constexpr int32_t kOperatorQciFirst = 16;
constexpr int32_t kOperatorQciLast = 30;
constexpr Text kOperatorQciText = "Operator-specific QCIs";
constexpr Text kReservedQciText = "Reserved";

Text QciText(int32_t qci) {
    if (qci >= kOperatorQciFirst && qci <= kOperatorQciLast) return kOperatorQciText;
    const Text text = IndexedText(kStandardQciTexts, qci, kReservedQciText);
    return text ? text : kReservedQciText;
}

// The bit rates of each group of four octets, in the order they are coded.
constexpr NumberField<EpsQos> kBitRates[] = {
    {"MaxBitRate_UL", &EpsQos::maxBitRateUl},
    {"MaxBitRate_DL", &EpsQos::maxBitRateDl},
    {"GuaranteedBitRate_UL", &EpsQos::guaranteedBitRateUl},
    {"GuaranteedBitRate_DL", &EpsQos::guaranteedBitRateDl},
};
constexpr NumberField<EpsQos> kExtendedBitRates[] = {
    {"MaxBitRate_UL_Ex", &EpsQos::maxBitRateUlExt},
    {"MaxBitRate_DL_Ex", &EpsQos::maxBitRateDlExt},
    {"GuaranteedBitRate_UL_Ex", &EpsQos::guaranteedBitRateUlExt},
    {"GuaranteedBitRate_DL_Ex", &EpsQos::guaranteedBitRateDlExt},
};

template <const auto& Rates>
void ReadBitRates(BitCursor& cursor, EpsQos& record) {
    SetFields<Rates>(record, [&](size_t) { return ReadOctet(cursor); });
}

// Value lengths from which each group of four octets is present.
constexpr int32_t kBitRatesLength = 5;
constexpr int32_t kExtendedLength = 9;

}  // namespace

int ParseEpsQos(BitCursor& cursor, int32_t length, EpsQos& record) {
    return ParseIeValue(cursor, length, [&] {
        if (length >= 1) record.qci = ReadOctet(cursor);
        if (length >= kBitRatesLength) {
            record.bitRatesPresent = 1;
            ReadBitRates<kBitRates>(cursor, record);
        }
        if (length >= kExtendedLength) {
            record.extendedPresent = 1;
            ReadBitRates<kExtendedBitRates>(cursor, record);
        }
    });
}

int RenderEpsQos(const EpsQos& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("QCI", record.qci, out, QciText(record.qci));
    if (record.bitRatesPresent) WriteFields<kBitRates>(record, out);
    if (record.extendedPresent) WriteFields<kExtendedBitRates>(record, out);
    return 1;
}

}  // namespace corvuna
