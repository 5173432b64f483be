// carelog-sample DIR [--patients N] [--seed S]: writes the application's data files into DIR
// with deterministic sample data, through the same file statements the application uses.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/carelog-sample/sample_data.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: carelog-sample DIR [--patients N] [--seed S]\n");
  return 2;
}

bool ParseCount(const char* text, long low, long high, long* value) {
  char* end = nullptr;
  errno = 0;
  *value = std::strtol(text, &end, 10);
  return errno == 0 && end != text && *end == '\0' && *value >= low && *value <= high;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  carelog::sample::SampleOptions options;
  for (int i = 2; i + 1 < argc; i += 2) {
    long value = 0;
    if (std::strcmp(argv[i], "--patients") == 0 && ParseCount(argv[i + 1], 0, 1000000, &value)) {
      options.patients = static_cast<int>(value);
    } else if (std::strcmp(argv[i], "--seed") == 0 &&
               ParseCount(argv[i + 1], 0, 4294967295L, &value)) {
      options.seed = static_cast<uint32_t>(value);
    } else {
      return Usage();
    }
  }
  if (argc % 2 != 0) return Usage();  // an option without its value
  const char* dir = argv[1];
  if (mkdir(dir, 0755) != 0 && errno != EEXIST) {
    std::fprintf(stderr, "carelog-sample: cannot create %s: %s\n", dir, std::strerror(errno));
    return 1;
  }
  if (chdir(dir) != 0) {
    std::fprintf(stderr, "carelog-sample: cannot enter %s: %s\n", dir, std::strerror(errno));
    return 1;
  }
  carelog::sample::SampleCounts counts;
  std::string error;
  int rc = carelog::sample::WriteSampleData(options, &counts, &error);
  if (rc != 0) {
    std::fprintf(stderr, "carelog-sample: error %d: %s\n", rc, error.c_str());
    return 1;
  }
  std::printf("%d files, %lld records for %d patients in %s\n", counts.files,
              static_cast<long long>(counts.records), options.patients, dir);
  return 0;
}
