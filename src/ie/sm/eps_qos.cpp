#include "ie/sm/eps_qos.h"

#include "doc/value_text.h"

namespace corvuna {

namespace {

// QCI 1..9 are the standardised classes; 16..30 are left to operators.
constexpr const char* kStandardQciTexts[] = {
    nullptr, "QCI 1", "QCI 2", "QCI 3", "QCI 4", "QCI 5", "QCI 6", "QCI 7", "QCI 8", "QCI 9",
};
constexpr int32_t kOperatorQciFirst = 16;
constexpr int32_t kOperatorQciLast = 30;
constexpr char kOperatorQciText[] = "Operator-specific QCIs";
constexpr char kReservedQciText[] = "Reserved";

const char* QciText(int32_t qci) {
    if (qci >= kOperatorQciFirst && qci <= kOperatorQciLast) return kOperatorQciText;
    const char* text = IndexedText(kStandardQciTexts, qci, kReservedQciText);
    return text != nullptr ? text : kReservedQciText;
}

// Value lengths from which each group of four octets is present.
constexpr int32_t kBitRatesLength = 5;
constexpr int32_t kExtendedLength = 9;

}  // namespace

int ParseEpsQos(BitCursor& cursor, int32_t length, EpsQos& record) {
    if (length < 0) return 0;
    const int32_t r0 = RemainingOctets(cursor);
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
    return ReconcileIeLength(cursor, r0, length);
}

int RenderEpsQos(const EpsQos& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("QCI", &record.qci, 4, out, QciText(record.qci));
    if (record.bitRatesPresent) {
        WriteNumber("MaxBitRate_UL", &record.maxBitRateUl, 4, out);
        WriteNumber("MaxBitRate_DL", &record.maxBitRateDl, 4, out);
        WriteNumber("GuaranteedBitRate_UL", &record.guaranteedBitRateUl, 4, out);
        WriteNumber("GuaranteedBitRate_DL", &record.guaranteedBitRateDl, 4, out);
    }
    if (record.extendedPresent) {
        WriteNumber("MaxBitRate_UL_Ex", &record.maxBitRateUlExt, 4, out);
        WriteNumber("MaxBitRate_DL_Ex", &record.maxBitRateDlExt, 4, out);
        WriteNumber("GuaranteedBitRate_UL_Ex", &record.guaranteedBitRateUlExt, 4, out);
        WriteNumber("GuaranteedBitRate_DL_Ex", &record.guaranteedBitRateDlExt, 4, out);
    }
    return 1;
}

}  // namespace corvuna
