#include "app/data/packed_decimal.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "app/data/records.h"

namespace carelog::appdata {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Encoded(int64_t value, size_t size) {
  Bytes out(size, 0xEE);
  EXPECT_EQ(EncodeDecimal(value, out), DecimalStatus::kOk) << value;
  return out;
}

TEST(PackedDecimal, SignNibbleThenDigitsMostSignificantFirst) {
  EXPECT_EQ(Encoded(123, 6), (Bytes{0x00, 0x00, 0x00, 0x00, 0x01, 0x23}));
  EXPECT_EQ(Encoded(-123, 6), (Bytes{0xF0, 0x00, 0x00, 0x00, 0x01, 0x23}));
  EXPECT_EQ(Encoded(0, 3), (Bytes{0x00, 0x00, 0x00}));
  EXPECT_EQ(Encoded(99999999999, 6), (Bytes{0x09, 0x99, 0x99, 0x99, 0x99, 0x99}));
  EXPECT_EQ(Encoded(9860, 3), (Bytes{0x00, 0x98, 0x60}));
}

TEST(PackedDecimal, RoundTripsThroughEverySize) {
  const int64_t values[] = {0,
                            1,
                            -1,
                            9,
                            -10,
                            2147483647,
                            -2147483648,
                            99999999999,
                            -99999999999,
                            std::numeric_limits<int64_t>::max(),
                            std::numeric_limits<int64_t>::min()};
  for (int64_t value : values) {
    for (size_t size = 1; size <= 16; ++size) {
      Bytes out(size, 0xEE);
      DecimalStatus status = EncodeDecimal(value, out);
      uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : value;
      size_t digits = 0;
      for (uint64_t m = magnitude; m != 0; m /= 10) ++digits;
      if (digits > 2 * size - 1) {
        EXPECT_EQ(status, DecimalStatus::kOverflow) << value << " in " << size;
        EXPECT_EQ(out, Bytes(size, 0xEE)) << "an overflow leaves the field unchanged";
        continue;
      }
      ASSERT_EQ(status, DecimalStatus::kOk) << value << " in " << size;
      int64_t back = 0;
      ASSERT_EQ(DecodeDecimal(out, &back), DecimalStatus::kOk);
      EXPECT_EQ(back, value) << "size " << size;
    }
  }
}

TEST(PackedDecimal, UntrustedBytesAreReportedNotMisread) {
  int64_t value = 42;
  EXPECT_EQ(DecodeDecimal(Bytes{0x00, 0x1A}, &value), DecimalStatus::kBadDigit);
  EXPECT_EQ(value, 42);
  double real = 4.2;
  EXPECT_EQ(DecimalToDouble(Bytes{0x0F, 0x00}, 0, &real), DecimalStatus::kBadDigit);
  EXPECT_EQ(real, 4.2);
  // Twenty digits do not fit 64 bits.
  EXPECT_EQ(DecodeDecimal(Bytes(11, 0x99), &value), DecimalStatus::kOverflow);
  // A negative zero (any non-zero sign nibble) reads as zero.
  EXPECT_EQ(DecodeDecimal(Bytes{0xD0, 0x00}, &value), DecimalStatus::kOk);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(DecodeDecimal(Bytes{0x80, 0x05}, &value), DecimalStatus::kOk);
  EXPECT_EQ(value, -5);
}

TEST(PackedDecimal, ComparesByNumericValue) {
  auto compare = [](int64_t a, size_t a_size, int64_t b, size_t b_size) {
    return CompareDecimal(Encoded(a, a_size), Encoded(b, b_size));
  };
  EXPECT_EQ(compare(123, 6, 123, 6), 0);
  EXPECT_EQ(compare(123, 6, 123, 2), 0);  // sizes differ, value equal
  EXPECT_LT(compare(99, 6, 123, 2), 0);
  EXPECT_GT(compare(1000, 3, 999, 6), 0);
  EXPECT_LT(compare(-5, 2, 3, 6), 0);
  EXPECT_LT(compare(-500, 2, -3, 6), 0);
  EXPECT_GT(compare(-3, 6, -500, 2), 0);
  EXPECT_EQ(CompareDecimal(Bytes{0xF0, 0x00}, Bytes{0x00, 0x00, 0x00}), 0);  // -0 == +0
  EXPECT_LT(CompareDecimal(Bytes{0xF0, 0x01}, Bytes{0x00, 0x00}), 0);
  // Corrupt nibbles still give a consistent order.
  EXPECT_GT(CompareDecimal(Bytes{0x00, 0x0F}, Bytes{0x00, 0x09}), 0);
  EXPECT_EQ(CompareDecimal({}, Bytes{0x00}), 0);
}

TEST(PackedDecimal, RealValuesWithPlaces) {
  PackedDecimal<5, 2> low{};
  ASSERT_EQ(DecimalFromDouble(98.6, 2, low.span()), DecimalStatus::kOk);
  EXPECT_EQ(Bytes(low.bytes, low.bytes + 3), (Bytes{0x00, 0x98, 0x60}));
  double value = 0;
  ASSERT_EQ(DecimalToDouble(low.span(), 2, &value), DecimalStatus::kOk);
  EXPECT_DOUBLE_EQ(value, 98.6);

  Bytes out(2);
  ASSERT_EQ(DecimalFromDouble(0.125, 2, out), DecimalStatus::kOk);  // half away from zero
  EXPECT_EQ(out, (Bytes{0x00, 0x13}));
  ASSERT_EQ(DecimalFromDouble(-0.125, 2, out), DecimalStatus::kOk);
  EXPECT_EQ(out, (Bytes{0xF0, 0x13}));
  EXPECT_EQ(DecimalFromDouble(1000.0, 2, out), DecimalStatus::kOverflow);
  EXPECT_EQ(DecimalFromDouble(std::numeric_limits<double>::infinity(), 0, out),
            DecimalStatus::kOverflow);
  EXPECT_EQ(DecimalFromDouble(std::numeric_limits<double>::quiet_NaN(), 0, out),
            DecimalStatus::kOverflow);
}

// A discharge summary holds its patient number as DECIMAL(11,0): assigning a patient number and
// finding the summary by it goes through the codec.
TEST(PackedDecimal, DischargePatientNumberMatchesByValue) {
  PatientsRecord patient{};
  patient.PATIENT_NUMBER = 123;
  DischargeSummaryRecord summary{};
  ASSERT_EQ(EncodeDecimal(patient.PATIENT_NUMBER, summary.PATIENT_NUMBER.span()),
            DecimalStatus::kOk);
  PackedDecimal<11, 0> wanted{};
  ASSERT_EQ(EncodeDecimal(123, wanted.span()), DecimalStatus::kOk);
  EXPECT_EQ(CompareDecimal(summary.PATIENT_NUMBER.span(), wanted.span()), 0);
  int64_t number = 0;
  ASSERT_EQ(DecodeDecimal(summary.PATIENT_NUMBER.span(), &number), DecimalStatus::kOk);
  EXPECT_EQ(number, 123);
}

}  // namespace
}  // namespace carelog::appdata
