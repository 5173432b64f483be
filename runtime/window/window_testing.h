// Test support for the window runtime: definitions registered as a resource module, a program
// run on a thread of its own, a log of the events its procedures saw, and fatal errors recorded
// instead of ending the test program.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "runtime/host/automation.h"
#include "runtime/host/display.h"
#include "runtime/window/definition_writer.h"
#include "runtime/window/fatal_error.h"
#include "runtime/window/resource_registry.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window::testing {

inline constexpr const char* kModule = "test.cpp$wintest";

// Shorthands for building definition entries.
inline Entry Make(uint8_t kind, int id, Rect at) {
  Entry e;
  e.kind = kind;
  e.id = id;
  e.at = at;
  return e;
}
inline Entry WithText(Entry e, const std::string& text) {
  e.strings[Field::kText] = text;
  return e;
}
inline Entry WindowEntry(const std::string& label, uint32_t unit_bits, std::vector<Entry> children,
                         Rect at = Rect{0, 0, 300, 200}) {
  Entry w;
  w.kind = kKindWindow;
  w.attr = unit_bits;
  w.at = at;
  w.strings[Field::kLabel] = label;
  w.strings[Field::kTitle] = label;
  w.children = std::move(children);
  return w;
}

// Registers a module of structures for the lifetime of the object (by default the module
// kModule; a test program that keeps kModule registered names another for its own).
class Definitions {
 public:
  explicit Definitions(std::vector<Entry> structures, const char* module_identifier = kModule) {
    Module module{module_identifier, std::move(structures)};
    std::string error;
    EXPECT_TRUE(EncodeModule(module, &body_, &error)) << error;
    std::string_view id = module_identifier;
    record_name_ = std::string(id.substr(id.find('$') + 1)) + "_RSC";
    record_ = ResourceRecord{"DABDUMP", record_name_.c_str(), body_.data(), body_.size()};
    module_ = ResourceModule{"window tests", &record_, 1};
    AddResourceModule(&module_);
  }
  ~Definitions() { RemoveResourceModule(&module_); }

 private:
  std::vector<uint8_t> body_;
  std::string record_name_;
  ResourceRecord record_{};
  ResourceModule module_{};
};

// Fatal errors of the runtime, recorded.
class FatalErrors {
 public:
  FatalErrors() {
    previous_ = SetFatalErrorHook(&Record);
    Codes().clear();
  }
  ~FatalErrors() { SetFatalErrorHook(previous_); }
  static std::vector<int> Seen() {
    std::lock_guard<std::mutex> lock(Mutex());
    return Codes();
  }

 private:
  static std::mutex& Mutex() {
    static std::mutex m;
    return m;
  }
  static std::vector<int>& Codes() {
    static std::vector<int> c;
    return c;
  }
  static void Record(int code, const std::string&) {
    std::lock_guard<std::mutex> lock(Mutex());
    Codes().push_back(code);
  }
  FatalErrorHook previous_ = nullptr;
};

// Lines that procedures write ("Accepted 3"), read by the test thread.
class Log {
 public:
  void Add(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(line);
    changed_.notify_all();
  }
  std::vector<std::string> Lines() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }
  // Waits until at least `count` lines have been written; false after the timeout.
  bool WaitForCount(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return lines_.size() >= count; });
  }
  // Waits until `line` has been written; false after the timeout.
  bool WaitFor(const std::string& line,
               std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
      for (const auto& l : lines_) {
        if (l == line) return true;
      }
      return false;
    });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> lines_;
};

// "Accepted 3" for the current event.
inline std::string Describe() {
  std::string name = EventName(Event());
  if (name.rfind("EVENT:", 0) == 0) name = name.substr(6);
  return Field() ? name + " " + std::to_string(Field()) : name;
}

// Runs a program's main procedure on a thread of its own, headless.
class Program {
 public:
  explicit Program(Procedure main) {
    static bool started = [] {
      std::string error;
      host::StartDisplay(host::DisplayChoice::kHeadless, &error);
      RegisterAutomation();
      return true;
    }();
    (void)started;
    // Returns once the program's main procedure runs, holding the runtime's semaphore: until
    // it lets go of it the program is busy, so a test's wait for idle waits for its window
    // instead of finding a program that has not started yet.
    std::promise<void> running;
    std::future<void> ran = running.get_future();
    thread_ = std::thread([main, &running] {
      RunProgram([main, &running] {
        running.set_value();
        if (main) main();
      });
    });
    ran.wait();
  }
  ~Program() { Join(); }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

// The automation's control of the current window with this equate.
inline host::ControlInfo ControlInfoOf(int equate) {
  host::Automation automation;
  host::ControlInfo info;
  automation.FindControl(std::to_string(equate), false, &info);
  return info;
}

inline std::string Property(const host::ControlInfo& info, const std::string& name) {
  for (const auto& [key, value] : info.properties) {
    if (key == name) return value;
  }
  return std::string();
}

}  // namespace carelog::window::testing
