// The command line: arbitrary arguments (split at NUL bytes) never crash the parser, and a
// moment that parses is a valid standard date and time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/program_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> words{"carelog"};
  std::string word;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      words.push_back(word);
      word.clear();
    } else {
      word.push_back(static_cast<char>(data[i]));
    }
  }
  words.push_back(word);
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  carelog::app::ProgramOptions options;
  std::string error;
  carelog::app::ParseProgramOptions(static_cast<int>(argv.size()), argv.data(), &options, &error);

  int32_t date = 0, time = 0;
  if (carelog::app::ParseMoment(word, &date, &time)) {
    if (date <= 0 || time < 1 || time > 8640000) std::abort();
  }
  return 0;
}
