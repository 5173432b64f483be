#include "tools/carelog-sample/sample_arguments.h"

#include <cerrno>
#include <cstdlib>

namespace carelog::sample {
namespace {

bool ParseCount(const std::string& text, long low, long high, long* value) {
  char* end = nullptr;
  errno = 0;
  *value = std::strtol(text.c_str(), &end, 10);
  return errno == 0 && end != text.c_str() && *end == '\0' && *value >= low && *value <= high;
}

SampleArguments Refused(std::string problem) {
  SampleArguments out;
  out.problem = std::move(problem);
  return out;
}

// Applies one "--name value" pair; an empty text when it was taken, else the problem.
std::string ApplyOption(const std::string& name, const std::string& value, SampleOptions* options) {
  long number = 0;
  if (name == "--patients") {
    if (!ParseCount(value, 0, 1000000, &number)) return "--patients wants 0 to 1000000";
    options->patients = static_cast<int>(number);
  } else if (name == "--seed") {
    if (!ParseCount(value, 0, 4294967295L, &number)) return "--seed wants 0 to 4294967295";
    options->seed = static_cast<uint32_t>(number);
  } else {
    return "unknown option " + name;
  }
  return std::string();
}

}  // namespace

SampleArguments ParseSampleArguments(const std::vector<std::string>& arguments) {
  for (const std::string& a : arguments) {
    if (a == "--help" || a == "-h") {
      SampleArguments help;
      help.command = SampleCommand::kHelp;
      return help;
    }
  }
  if (arguments.empty()) return Refused("no folder named");
  SampleArguments out;
  out.dir = arguments[0];
  if (out.dir.empty() || out.dir[0] == '-') return Refused("unknown option " + out.dir);
  for (size_t i = 1; i < arguments.size(); i += 2) {
    if (i + 1 == arguments.size()) {
      return Refused(arguments[i][0] == '-' ? arguments[i] + " without its value"
                                            : "unexpected " + arguments[i]);
    }
    std::string problem = ApplyOption(arguments[i], arguments[i + 1], &out.options);
    if (!problem.empty()) return Refused(problem);
  }
  out.command = SampleCommand::kWrite;
  return out;
}

}  // namespace carelog::sample
