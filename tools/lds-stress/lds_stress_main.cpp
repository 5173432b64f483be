// lds-stress DIR [--processes N] [--seconds S]: runs the sharing stress on a data file in DIR;
// exits 1 on any lost, duplicated or wrong record or structural fault, 2 on bad usage or when
// the run itself failed.
#include <cstdlib>
#include <iostream>
#include <string>

#include "tools/lds-stress/stress.h"

int main(int argc, char** argv) {
  carelog::stress::StressOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--processes" && i + 1 < argc) {
      options.processes = std::atoi(argv[++i]);
    } else if (arg == "--seconds" && i + 1 < argc) {
      options.seconds = std::atof(argv[++i]);
    } else if (options.dir.empty() && !arg.empty() && arg[0] != '-') {
      options.dir = arg;
    } else {
      options.dir.clear();
      break;
    }
  }
  if (options.dir.empty() || options.processes < 1 || options.processes > 64 ||
      !(options.seconds > 0)) {
    std::cerr << "usage: lds-stress DIR [--processes N] [--seconds S]\n";
    return 2;
  }
  carelog::stress::StressResult result;
  if (int rc = carelog::stress::RunStress(options, &result, std::cout)) {
    std::cerr << "lds-stress: error " << rc << "\n";
    return 2;
  }
  return result.faults.empty() ? 0 : 1;
}
