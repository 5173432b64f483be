// bench_startup: how long The Care Log takes from process start until its frame is painted,
// and its peak memory, against startup_peer (the platform layer opening one empty window) in
// the same run. Each run starts the program in a fresh working directory; "painted" is the
// moment the program's first line of output arrives: carelog replays a one-line script whose
// command first waits until every window thread is idle, the peer prints once it is idle.
//
//   bench_startup [--runs N]     headless always; sdl too when DISPLAY is set
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Sample {
  double painted_ms = 0;
  double exited_ms = 0;
  double max_rss_mb = 0;
  bool ok = false;
};

// Starts `argv` in `directory`, times its first line of output and its end.
Sample RunOnce(const std::vector<std::string>& argv, const fs::path& directory) {
  Sample sample;
  int out[2];
  if (pipe(out) != 0) return sample;
  auto start = Clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, 2);
    if (chdir(directory.c_str()) != 0) _exit(127);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(out[1]);
  char c;
  bool got_line = false;
  while (read(out[0], &c, 1) == 1) {
    if (c == '\n' && !got_line) {
      got_line = true;
      sample.painted_ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
  }
  close(out[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  sample.exited_ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  sample.max_rss_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  sample.ok = got_line && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return sample;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Summary {
  double painted = 0, exited = 0, rss = 0;
  int failures = 0;
};

Summary Summarise(const std::vector<Sample>& samples) {
  std::vector<double> painted, exited, rss;
  Summary s;
  for (const Sample& x : samples) {
    if (!x.ok) {
      ++s.failures;
      continue;
    }
    painted.push_back(x.painted_ms);
    exited.push_back(x.exited_ms);
    rss.push_back(x.max_rss_mb);
  }
  s.painted = Median(painted);
  s.exited = Median(exited);
  s.rss = Median(rss);
  return s;
}

void Compare(const fs::path& bin, const std::string& display, int runs) {
  fs::path work = fs::temp_directory_path() / ("bench-startup-" + std::to_string(getpid()));
  std::vector<Sample> program, peer;
  for (int i = 0; i < runs; ++i) {
    fs::path dir = work / std::to_string(i);
    fs::create_directories(dir);
    std::ofstream(dir / "script.txt") << "dump\n";
    program.push_back(
        RunOnce({(bin / "carelog").string(), display, "--script", "script.txt"}, dir));
    peer.push_back(RunOnce({(bin / "startup_peer").string(), display}, dir));
  }
  std::error_code ignored;
  fs::remove_all(work, ignored);
  Summary p = Summarise(program), q = Summarise(peer);
  std::printf("%-10s %-14s %10.1f %10.1f %10.1f %6d\n", display.c_str() + 2, "carelog", p.painted,
              p.exited, p.rss, p.failures);
  std::printf("%-10s %-14s %10.1f %10.1f %10.1f %6d\n", display.c_str() + 2, "startup_peer",
              q.painted, q.exited, q.rss, q.failures);
  if (q.painted > 0 && q.rss > 0) {
    std::printf("%-10s %-14s %9.2fx %10s %9.2fx\n", display.c_str() + 2, "ratio",
                p.painted / q.painted, "", p.rss / q.rss);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 20;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: bench_startup [--runs N]\n");
      return 2;
    }
  }
  fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
  std::printf("%d runs each, medians; painted = process start to frame painted\n", runs);
  std::printf("%-10s %-14s %10s %10s %10s %6s\n", "display", "program", "painted ms", "ended ms",
              "peak MB", "failed");
  Compare(bin, "--headless", runs);
  const char* display = std::getenv("DISPLAY");
  if (display && *display) {
    Compare(bin, "--display=sdl", runs);
  } else {
    std::printf("%-10s skipped: no DISPLAY\n", "sdl");
  }
  return 0;
}
