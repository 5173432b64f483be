// Formats and parses 1,000,000 values through the pictures @d2, @t4, @n-12.2 and @s20, and
// does the nearest equivalent work with the C library (strftime / strptime, snprintf, strtod)
// on the same values in the same run. Prints nanoseconds per value and the ratio C library /
// pictures (above 1 means the pictures are faster). Each figure is the best of five rounds of
// the thread's own CPU time, so that other load on the machine does not count.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "runtime/values/picture.h"
#include "runtime/values/standard_date.h"

namespace {

using carelog::values::Deformat;
using carelog::values::FormatNumber;
using carelog::values::FormatText;
using carelog::values::Picture;

constexpr int kValues = 1000000;
constexpr int kRounds = 5;
constexpr int kTextWidth = 24;

// Seconds from 1970-01-01 to 1801-01-01 (day number 4).
constexpr int64_t kEpochOf1801 = -5333126400;

double ThreadCpuNanos() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e9 + static_cast<double>(ts.tv_nsec);
}

double BestNanosPerValue(const std::function<void()>& work) {
  double best = 1e30;
  for (int round = 0; round < kRounds; ++round) {
    double start = ThreadCpuNanos();
    work();
    double ns = (ThreadCpuNanos() - start) / kValues;
    best = std::min(best, ns);
  }
  return best;
}

void Report(const char* what, double ours, double theirs) {
  std::printf("%-30s pictures %7.1f ns   C library %7.1f ns   ratio %5.2f\n", what, ours, theirs,
              theirs / ours);
}

struct Texts {
  std::vector<char> data = std::vector<char>(static_cast<size_t>(kValues) * kTextWidth, ' ');
  char* at(int i) { return data.data() + static_cast<size_t>(i) * kTextWidth; }
};

struct Inputs {
  std::vector<int32_t> days = std::vector<int32_t>(kValues), times = std::vector<int32_t>(kValues);
  std::vector<double> numbers = std::vector<double>(kValues);
  std::vector<std::string> strings = std::vector<std::string>(kValues);
};

// The same random values every run.
Inputs MakeInputs() {
  Inputs in;
  std::mt19937_64 random(20261208);
  std::uniform_int_distribution<int32_t> day_range(carelog::values::kFirstDay,
                                                   carelog::values::kLastDay);
  std::uniform_int_distribution<int32_t> time_range(1, carelog::values::kLastTime);
  std::uniform_int_distribution<int64_t> cents(-99999999999, 99999999999);
  std::uniform_int_distribution<int> letters('A', 'Z');
  std::uniform_int_distribution<int> lengths(1, 30);
  for (int i = 0; i < kValues; ++i) {
    in.days[i] = day_range(random);
    in.times[i] = time_range(random);
    in.numbers[i] = static_cast<double>(cents(random)) / 100;
    in.strings[i].resize(lengths(random));
    for (char& c : in.strings[i]) c = static_cast<char>(letters(random));
  }
  return in;
}

// @d2 against strftime("%m/%d/%Y") / strptime.
void CompareDates(const Inputs& in, Texts& ours, Texts& theirs) {
  Picture d2("@d2");
  double f_ours = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) FormatNumber(in.days[i], d2, ours.at(i), d2.width());
  });
  double f_theirs = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) {
      time_t seconds = kEpochOf1801 + static_cast<int64_t>(in.days[i] - 4) * 86400;
      std::tm tm;
      gmtime_r(&seconds, &tm);
      std::strftime(theirs.at(i), kTextWidth, "%m/%d/%Y", &tm);
    }
  });
  Report("format @d2 / strftime", f_ours, f_theirs);
  double p_ours = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) {
      benchmark::DoNotOptimize(Deformat(std::string_view(ours.at(i), 10), d2).number);
    }
  });
  double p_theirs = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) {
      std::tm tm{};
      strptime(theirs.at(i), "%m/%d/%Y", &tm);
      benchmark::DoNotOptimize(timegm(&tm));
    }
  });
  Report("parse @d2 / strptime", p_ours, p_theirs);
}

// @t4 against strftime("%H:%M:%S") / strptime.
void CompareTimes(const Inputs& in, Texts& ours, Texts& theirs) {
  Picture t4("@t4");
  double f_ours = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) FormatNumber(in.times[i], t4, ours.at(i), t4.width());
  });
  double f_theirs = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) {
      time_t seconds = (in.times[i] - 1) / 100;
      std::tm tm;
      gmtime_r(&seconds, &tm);
      std::strftime(theirs.at(i), kTextWidth, "%H:%M:%S", &tm);
    }
  });
  Report("format @t4 / strftime", f_ours, f_theirs);
  double p_ours = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) {
      benchmark::DoNotOptimize(Deformat(std::string_view(ours.at(i), 8), t4).number);
    }
  });
  double p_theirs = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) {
      std::tm tm{};
      strptime(theirs.at(i), "%H:%M:%S", &tm);
      benchmark::DoNotOptimize(tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec);
    }
  });
  Report("parse @t4 / strptime", p_ours, p_theirs);
}

// @n-12.2 against snprintf("%12.2f") / strtod.
void CompareNumbers(const Inputs& in, Texts& ours, Texts& theirs) {
  Picture n12("@n-15.2");
  Picture n("@n-12.2");
  double f_ours = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) FormatNumber(in.numbers[i], n, ours.at(i), n.width());
  });
  double f_theirs = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i)
      std::snprintf(theirs.at(i), kTextWidth, "%12.2f", in.numbers[i]);
  });
  Report("format @n-12.2 / snprintf", f_ours, f_theirs);
  // Parse texts that fit: the values formatted through a picture wide enough for all of them.
  for (int i = 0; i < kValues; ++i) FormatNumber(in.numbers[i], n12, ours.at(i), n12.width());
  double p_ours = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) {
      benchmark::DoNotOptimize(Deformat(std::string_view(ours.at(i), 15), n).number);
    }
  });
  double p_theirs = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) benchmark::DoNotOptimize(std::strtod(theirs.at(i), nullptr));
  });
  Report("parse @n-12.2 / strtod", p_ours, p_theirs);
}

// @s20 against snprintf("%-20.20s").
void CompareStrings(const Inputs& in, Texts& ours, Texts& theirs) {
  Picture s20("@s20");
  double f_ours = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) FormatText(in.strings[i], s20, ours.at(i), 20);
  });
  double f_theirs = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) {
      std::snprintf(theirs.at(i), kTextWidth, "%-20.20s", in.strings[i].c_str());
    }
  });
  Report("format @s20 / snprintf", f_ours, f_theirs);
  double p_ours = BestNanosPerValue([&] {
    for (int i = 0; i < kValues; ++i) {
      benchmark::DoNotOptimize(Deformat(std::string_view(ours.at(i), 20), s20).text);
    }
  });
  double p_theirs = BestNanosPerValue([&] {
    char copy[kTextWidth];
    for (int i = 0; i < kValues; ++i) {
      std::snprintf(copy, sizeof copy, "%.20s", theirs.at(i));
      benchmark::DoNotOptimize(std::string(copy));
    }
  });
  Report("parse @s20 / snprintf", p_ours, p_theirs);
}

}  // namespace

int main() {
  const Inputs in = MakeInputs();
  Texts ours, theirs;
  CompareDates(in, ours, theirs);
  CompareTimes(in, ours, theirs);
  CompareNumbers(in, ours, theirs);
  CompareStrings(in, ours, theirs);
  return 0;
}
