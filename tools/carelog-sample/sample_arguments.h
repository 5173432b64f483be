// The command line of carelog-sample: DIR [--patients N] [--seed S], or --help / -h.
// Anything else that starts with "-" is refused rather than taken as a folder name, so a
// mistyped option never leaves a folder of sample files named after it.
#pragma once

#include <string>
#include <vector>

#include "tools/carelog-sample/sample_data.h"

namespace carelog::sample {

inline constexpr const char* kSampleUsage =
    "usage: carelog-sample DIR [--patients N] [--seed S]\n"
    "       carelog-sample --help\n"
    "Writes the application's data files into DIR (created when missing) with deterministic\n"
    "sample data: N patients (default 200, up to 1000000) from seed S (default 1).\n";

enum class SampleCommand : uint8_t { kWrite, kHelp, kRefused };

struct SampleArguments {
  SampleCommand command = SampleCommand::kRefused;
  std::string dir;
  SampleOptions options;
  std::string problem;  // why the arguments were refused
};

// `arguments` are the program's arguments after its name.
SampleArguments ParseSampleArguments(const std::vector<std::string>& arguments);

}  // namespace carelog::sample
