// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/sm/eps_qos.h"

#include "legacy/doc/value_text.h"

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

// Value lengths from which each group of four octets is present.
constexpr int32_t kBitRatesLength = 5;
constexpr int32_t kExtendedLength = 9;

}  // namespace

int ParseEpsQos(BitCursor& cursor, int32_t length, EpsQos& record) {
    return ParseIeValue(cursor, length, [&] {
        if (length >= 1) record.qci = ReadOctet(cursor);
        if (length >= kBitRatesLength) {
            record.bitRatesPresent = 1;
            record.maxBitRateUl = ReadOctet(cursor);
            record.maxBitRateDl = ReadOctet(cursor);
            record.guaranteedBitRateUl = ReadOctet(cursor);
            record.guaranteedBitRateDl = ReadOctet(cursor);
        }
        if (length >= kExtendedLength) {
            record.extendedPresent = 1;
            record.maxBitRateUlExt = ReadOctet(cursor);
            record.maxBitRateDlExt = ReadOctet(cursor);
            record.guaranteedBitRateUlExt = ReadOctet(cursor);
            record.guaranteedBitRateDlExt = ReadOctet(cursor);
        }
    });
}

int RenderEpsQos(const EpsQos& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("QCI", record.qci, out, QciText(record.qci));
    if (record.bitRatesPresent) {
        WriteNumber("MaxBitRate_UL", record.maxBitRateUl, out);
        WriteNumber("MaxBitRate_DL", record.maxBitRateDl, out);
        WriteNumber("GuaranteedBitRate_UL", record.guaranteedBitRateUl, out);
        WriteNumber("GuaranteedBitRate_DL", record.guaranteedBitRateDl, out);
    }
    if (record.extendedPresent) {
        WriteNumber("MaxBitRate_UL_Ex", record.maxBitRateUlExt, out);
        WriteNumber("MaxBitRate_DL_Ex", record.maxBitRateDlExt, out);
        WriteNumber("GuaranteedBitRate_UL_Ex", record.guaranteedBitRateUlExt, out);
        WriteNumber("GuaranteedBitRate_DL_Ex", record.guaranteedBitRateDlExt, out);
    }
    return 1;
}

}  // namespace corvuna
