// The carelog executable: the data files live in the working directory; see
// program_options.h for the command line.
#include <iostream>
#include <string>

#include "app/program.h"
#include "app/program_options.h"
#include "runtime/host/display.h"
#include "runtime/values/clock.h"

int main(int argc, char** argv) {
  using namespace carelog;
  app::ProgramOptions options;
  std::string error;
  if (!app::ParseProgramOptions(argc, argv, &options, &error)) {
    std::cerr << "carelog: " << error << "\n" << app::ProgramUsage();
    return 2;
  }
  if (options.help) {
    std::cout << app::ProgramUsage();
    return 0;
  }
  if (options.clock_given) values::RunClockFrom(options.clock_date, options.clock_time);
  if (!host::StartDisplay(options.display, &error)) {
    std::cerr << "carelog: " << error << "\n";
    return 1;
  }
  int status = 0;
  if (options.script.empty()) {
    app::ProgramMain();
  } else {
    status = app::RunProgramWithScript(options.script);
  }
  host::StopDisplay();
  return status;
}
