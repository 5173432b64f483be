// Evaluating a compiled comparison of two bound LONGs against the same comparison written in
// C++. Both walk the same pseudo-random pairs of values; the figure is nanoseconds per
// comparison and the evaluator's cost as a multiple of the C++ peer.
#include <time.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "runtime/eval/expression.h"
#include "runtime/eval/name_table.h"

namespace {

constexpr int kPairs = 4096;
constexpr int kRounds = 5000;

// Nanoseconds of the process's CPU time: the machine is shared, wall time would measure the
// other processes too.
double CpuNow() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

std::vector<int32_t> Values() {
  std::vector<int32_t> values(2 * kPairs);
  uint32_t state = 12345;
  for (int32_t& v : values) {
    state = state * 1103515245u + 12345u;
    v = static_cast<int32_t>((state >> 16) % 8);  // small range: many equal pairs
  }
  return values;
}

template <typename Compare>
double NanosecondsPerComparison(const std::vector<int32_t>& values, int32_t* left, int32_t* right,
                                Compare compare, int64_t* matches) {
  const auto start = CpuNow();
  int64_t count = 0;
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < kPairs; ++i) {
      *left = values[2 * i];
      *right = values[2 * i + 1];
      count += compare();
    }
  }
  const double elapsed = CpuNow() - start;
  *matches = count;
  return elapsed / (double(kRounds) * kPairs);
}

}  // namespace

int main() {
  static int32_t patient_number = 0;
  static int32_t reset_number = 0;
  carelog::eval::Bind("PRO:Patient_Number", &patient_number);
  carelog::eval::Bind("BRW1::Sort1:Reset:PAT:Patient_Number", &reset_number);
  auto expression = carelog::eval::Expression::Compile(
      "PRO:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number");
  if (expression == nullptr) return 1;

  const std::vector<int32_t> values = Values();
  // volatile pointers keep the C++ peer from being folded into the loop.
  int32_t* volatile left = &patient_number;
  int32_t* volatile right = &reset_number;
  int64_t evaluator_matches = 0;
  int64_t native_matches = 0;
  const double evaluator = NanosecondsPerComparison(
      values, left, right, [&] { return expression->Integer(); }, &evaluator_matches);
  const double native = NanosecondsPerComparison(
      values, left, right, [&] { return *left == *right ? 1 : 0; }, &native_matches);
  std::printf("compiled comparison of two bound LONGs: %.2f ns\n", evaluator);
  std::printf("same comparison in C++:                 %.2f ns\n", native);
  std::printf("ratio evaluator / C++: %.1f (matches %lld / %lld)\n", evaluator / native,
              static_cast<long long>(evaluator_matches), static_cast<long long>(native_matches));
  return evaluator_matches == native_matches ? 0 : 1;
}
