// The patient form on a large sample (carelog-sample DIR --patients 100000), headless: for each
// repetition the form is called on a change of patient i (as the browse's Change calls it), the
// user's side waits until it is up and idle, types a first name and presses OK, and the form
// writes the record through the checked update routine and returns. Two figures per round:
//   open: from the form's call to the window idle on screen (its 14 browse boxes filled);
//   save: from the click on OK to the form's return with the record written.
// Idle is seen by polling (three quiet checks 2 ms apart), so "open" carries up to ~6 ms of
// detection on top of the form's own time. The floor in the same run is the record store alone
// doing the same record's work: GET by the number key for "open", GET, the changed field and
// PUT for "save". The benchmark changes the sample's first names.
//
// Usage: bench_forms DIR [repetitions]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "app/data/file_access.h"
#include "app/data/keys.h"
#include "app/data/records.h"
#include "app/procedure_globals.h"
#include "app/procedures/form_procedures.h"
#include "runtime/host/automation.h"
#include "runtime/host/display.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// Handed between the form's thread and the user's side.
struct Round {
  std::mutex mutex;
  std::condition_variable changed;
  int called = 0, returned = 0;  // rounds whose form was called / has returned
  int32_t response = 0;          // the last form's ProcResponse (a global of its thread)
  Clock::time_point call_time, return_time;
  bool failed = false;
};

bool ReadPatient(int32_t number) {
  appdata::PAT.PATIENT_NUMBER = number;
  return store::Get(appdata::PatientsFile(), appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER)) ==
         0;
}

void RunForms(int repetitions, Round* round) {
  store::FileDeclaration& file = appdata::PatientsFile();
  for (int i = 1; i <= repetitions; ++i) {
    store::Watch(file);
    if (!ReadPatient(i)) {
      std::lock_guard<std::mutex> lock(round->mutex);
      round->failed = true;
      round->changed.notify_all();
      return;
    }
    ProcRequest = kReqChange;
    {
      std::lock_guard<std::mutex> lock(round->mutex);
      round->call_time = Clock::now();
      round->called = i;
      round->changed.notify_all();
    }
    procedures::UPDATEPATIENTS();
    std::lock_guard<std::mutex> lock(round->mutex);
    round->return_time = Clock::now();
    round->returned = i;
    round->response = ProcResponse;
    round->changed.notify_all();
  }
}

bool Fail(const std::string& why) {
  std::fprintf(stderr, "bench_forms: %s\n", why.c_str());
  return false;
}

// The user's side of round i: waits for the form, fills the first name, presses OK.
bool Drive(int i, Round* round, double* open_ms, double* save_ms) {
  host::Automation automation;
  Clock::time_point called;
  {
    std::unique_lock<std::mutex> lock(round->mutex);
    round->changed.wait_for(lock, std::chrono::seconds(30),
                            [&] { return round->called >= i || round->failed; });
    if (round->failed || round->called < i) return false;
    called = round->call_time;
  }
  if (!automation.WaitIdle().ok) return Fail("the form did not become idle");
  *open_ms = Millis(called, Clock::now());
  if (host::AutomationResult r = automation.Click("9", false); !r.ok) return Fail(r.message);
  if (!automation.Type("Bench").ok) return Fail("cannot type");
  Clock::time_point ok = Clock::now();
  if (host::AutomationResult r = automation.Click("OK", true); !r.ok) return Fail(r.message);
  std::unique_lock<std::mutex> lock(round->mutex);
  if (!round->changed.wait_for(lock, std::chrono::seconds(30),
                               [&] { return round->returned >= i; })) {
    return false;
  }
  *save_ms = Millis(ok, round->return_time);
  return round->response == kRespCompleted;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// The store alone on the same patients: GET, and GET + a changed field + PUT.
void Floor(int repetitions, double* read_ms, double* write_ms) {
  store::FileDeclaration& file = appdata::PatientsFile();
  std::vector<double> reads, writes;
  for (int i = 1; i <= repetitions; ++i) {
    auto start = Clock::now();
    ReadPatient(i);
    reads.push_back(Millis(start, Clock::now()));
    start = Clock::now();
    ReadPatient(i);
    std::memcpy(appdata::PAT.FIRST_NAME, "Floor", 5);
    if (store::Put(file) != 0)
      std::fprintf(stderr, "bench_forms: %s\n", store::ErrorText().c_str());
    writes.push_back(Millis(start, Clock::now()));
  }
  *read_ms = Median(reads);
  *write_ms = Median(writes);
}

int Run(const char* directory, int repetitions) {
  std::filesystem::current_path(directory);
  std::string error;
  if (!host::StartDisplay(host::DisplayChoice::kHeadless, &error)) {
    std::fprintf(stderr, "bench_forms: %s\n", error.c_str());
    return 1;
  }
  store::RegisterTableOps(&store::StoredTables());
  window::RegisterAutomation();
  Round round;
  std::vector<double> opens, saves;
  double read_ms = 0, write_ms = 0;
  uint32_t records = 0;
  bool ok = true;
  std::thread program([&] {
    window::RunProgram([&] {
      store::FileDeclaration& file = appdata::PatientsFile();
      appdata::UseFile(appdata::FileId::kPatients);  // as the calling browse holds it
      RunForms(repetitions, &round);
      Floor(repetitions, &read_ms, &write_ms);
      records = store::Records(file);
      appdata::ReleaseFile(appdata::FileId::kPatients);
    });
  });
  for (int i = 1; i <= repetitions && ok; ++i) {
    double open_ms = 0, save_ms = 0;
    ok = Drive(i, &round, &open_ms, &save_ms);
    opens.push_back(open_ms);
    saves.push_back(save_ms);
  }
  program.join();
  if (!ok) {
    std::fprintf(stderr, "bench_forms: a round did not complete\n");
  } else {
    std::printf("patients %u, %d repetitions (medians)\n", records, repetitions);
    std::printf("%-38s %10s %10s %8s\n", "step", "form ms", "floor ms", "ratio");
    std::printf("%-38s %10.2f %10.4f %8.0f\n", "Change to the form up and idle", Median(opens),
                read_ms, Median(opens) / read_ms);
    std::printf("%-38s %10.2f %10.4f %8.0f\n", "OK to the record written, form gone", Median(saves),
                write_ms, Median(saves) / write_ms);
  }
  host::StopDisplay();
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace carelog::app

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_forms DIR [repetitions]\n");
    return 2;
  }
  return carelog::app::Run(argv[1], argc > 2 ? std::max(1, std::atoi(argv[2])) : 20);
}
