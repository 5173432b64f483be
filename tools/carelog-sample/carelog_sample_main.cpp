// carelog-sample DIR [--patients N] [--seed S] | --help: writes the application's data files into
// DIR with deterministic sample data, through the same file statements the application uses.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/carelog-sample/sample_arguments.h"
#include "tools/carelog-sample/sample_data.h"

int main(int argc, char** argv) {
  using carelog::sample::SampleCommand;
  carelog::sample::SampleArguments args =
      carelog::sample::ParseSampleArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (args.command == SampleCommand::kHelp) {
    std::fputs(carelog::sample::kSampleUsage, stdout);
    return 0;
  }
  if (args.command == SampleCommand::kRefused) {
    std::fprintf(stderr, "carelog-sample: %s\n%s", args.problem.c_str(),
                 carelog::sample::kSampleUsage);
    return 2;
  }
  carelog::sample::SampleOptions options = args.options;
  const char* dir = args.dir.c_str();
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
