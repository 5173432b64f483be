#include "runtime/host/automation_script.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "runtime/host/automation.h"
#include "runtime/host/print_output.h"
#include "runtime/host/types.h"
#include "runtime/host/window_system.h"

namespace carelog::host {

namespace {

// What each verb takes. `first_bare` requires the first argument unquoted (an equate);
// `all_quoted` requires every argument quoted (texts).
struct VerbRule {
  const char* name;
  ScriptVerb verb;
  int min_arguments;
  int max_arguments;  // -1: no limit
  bool first_bare;
  bool all_quoted;
};

constexpr VerbRule kVerbs[] = {
    {"wait", ScriptVerb::kWait, 0, 0, false, false},
    {"key", ScriptVerb::kKey, 1, -1, false, false},
    {"type", ScriptVerb::kType, 1, 1, false, true},
    {"click", ScriptVerb::kClick, 1, 1, false, false},
    {"select", ScriptVerb::kSelect, 2, 2, true, false},
    {"menu", ScriptVerb::kMenu, 1, -1, false, true},
    {"answer", ScriptVerb::kAnswer, 1, 1, false, false},
    {"expect-title", ScriptVerb::kExpectTitle, 1, 1, false, false},
    {"expect-text", ScriptVerb::kExpectText, 2, 2, true, false},
    {"expect-message", ScriptVerb::kExpectMessage, 1, 1, false, false},
    {"dump", ScriptVerb::kDump, 0, 0, false, false},
    {"screenshot", ScriptVerb::kScreenshot, 1, 2, false, false},
    {"print-to", ScriptVerb::kPrintTo, 1, 1, false, false},
    {"wait-for-file", ScriptVerb::kWaitForFile, 1, 1, false, false},
    {"resize", ScriptVerb::kResize, 2, 2, true, false},
};

constexpr auto kFileWait = std::chrono::seconds(60);
constexpr auto kTitleWait = std::chrono::seconds(5);

AutomationResult WaitForFile(const std::string& path) {
  auto deadline = std::chrono::steady_clock::now() + kFileWait;
  std::error_code error;
  while (!std::filesystem::exists(path, error)) {
    if (std::chrono::steady_clock::now() > deadline) {
      return AutomationResult::Failure("\"" + path + "\" did not appear within a minute");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return AutomationResult{};
}

// A window that a report opens from its timer cycles (its preview, the next report) comes up a
// moment after the program last looked idle, so the title is looked for again, each time after
// the program is idle once more, until it shows or the wait runs out.
AutomationResult ExpectTitle(Automation& automation, const std::string& title) {
  auto deadline = std::chrono::steady_clock::now() + kTitleWait;
  for (;;) {
    AutomationResult r = automation.ExpectTitle(title);
    bool ended = TopLevelWindows().empty();  // no window is left to come up
    if (r.ok || ended || std::chrono::steady_clock::now() > deadline) return r;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    AutomationResult idle = automation.WaitIdle();
    if (!idle.ok) return idle;
  }
}

const VerbRule* RuleOf(std::string_view name) {
  for (const VerbRule& r : kVerbs) {
    if (name == r.name) return &r;
  }
  return nullptr;
}

const VerbRule& RuleOf(ScriptVerb verb) {
  for (const VerbRule& r : kVerbs) {
    if (r.verb == verb) return r;
  }
  return kVerbs[0];
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// escape := '\' ( 'n' | 't' | '"' | '\' ): the character the escape letter stands for.
bool Unescape(char e, char* out, std::string* error) {
  switch (e) {
    case 'n':
      *out = '\n';
      return true;
    case 't':
      *out = '\t';
      return true;
    case '"':
    case '\\':
      *out = e;
      return true;
    default:
      *error = std::string("unknown escape \\") + e;
      return false;
  }
}

// quoted := '"' { char | escape } '"', followed by a space or the end; `i` is at the quote.
bool ReadQuoted(std::string_view line, size_t* i, ScriptArgument* arg, std::string* error) {
  arg->quoted = true;
  ++*i;
  bool closed = false;
  while (*i < line.size()) {
    char q = line[(*i)++];
    if (q == '"') {
      closed = true;
      break;
    }
    if (q != '\\') {
      arg->text += q;
      continue;
    }
    if (*i >= line.size()) break;
    char c;
    if (!Unescape(line[(*i)++], &c, error)) return false;
    arg->text += c;
  }
  if (!closed) {
    *error = "the text has no closing quote";
    return false;
  }
  if (*i < line.size() && !IsSpace(line[*i])) {
    *error = "a space must follow the closing quote";
    return false;
  }
  return true;
}

// bare := a run of characters up to a space, without quotes.
bool ReadBare(std::string_view line, size_t* i, ScriptArgument* arg, std::string* error) {
  while (*i < line.size() && !IsSpace(line[*i])) {
    if (line[*i] == '"') {
      *error = "a quote inside a word";
      return false;
    }
    arg->text += line[(*i)++];
  }
  return true;
}

// line := [ command ] [ "#" comment ]: splits one line into its arguments.
bool SplitLine(std::string_view line, std::vector<ScriptArgument>* out, std::string* error) {
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (IsSpace(c)) {
      ++i;
      continue;
    }
    if (c == '#') break;
    ScriptArgument arg;
    const bool read =
        c == '"' ? ReadQuoted(line, &i, &arg, error) : ReadBare(line, &i, &arg, error);
    if (!read) return false;
    out->push_back(std::move(arg));
  }
  return true;
}

// A count of pixels from 1 to 16384, as the screen option takes them.
bool ParsePixels(const std::string& text, int* out) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  *out = std::stoi(text);
  return *out >= 1 && *out <= 16384;
}

// Gives the current window this outer size, its top left corner staying where it is.
AutomationResult Resize(Automation& automation, const std::vector<ScriptArgument>& a) {
  int width = 0, height = 0;
  if (!ParsePixels(a[0].text, &width) || !ParsePixels(a[1].text, &height)) {
    return AutomationResult::Failure("\"" + a[0].text + " " + a[1].text +
                                     "\" is not a size in pixels (1 to 16384 each)");
  }
  WindowId window = automation.CurrentWindow();
  if (window == kNoWindow) return AutomationResult::Failure("no window is open");
  Rect at = WindowRect(window);
  MoveWindow(window, Rect::FromSize(at.left, at.top, width, height));
  return automation.WaitIdle();
}

std::string Ansi(const ScriptArgument& a) {
  return Utf8ToAnsi(a.text);
}

AutomationResult Execute(Automation& automation, const ScriptCommand& c, std::ostream& out) {
  const std::vector<ScriptArgument>& a = c.arguments;
  switch (c.verb) {
    case ScriptVerb::kWait:
      return AutomationResult{};  // the wait before every command is all it needs
    case ScriptVerb::kKey:
      for (const ScriptArgument& combination : a) {
        AutomationResult r = automation.Key(combination.text);
        if (!r.ok) return r;
        r = automation.WaitIdle();
        if (!r.ok) return r;
      }
      return AutomationResult{};
    case ScriptVerb::kType:
      return automation.Type(Ansi(a[0]));
    case ScriptVerb::kClick:
      return automation.Click(Ansi(a[0]), a[0].quoted);
    case ScriptVerb::kSelect: {
      const std::string& row = a[1].text;
      if (row.empty() || row.size() > 9 ||
          row.find_first_not_of("0123456789") != std::string::npos) {
        return AutomationResult::Failure("row \"" + row + "\" is not a row number");
      }
      return automation.SelectRow(Ansi(a[0]), std::stoi(row));
    }
    case ScriptVerb::kMenu: {
      std::vector<std::string> path;
      for (const ScriptArgument& item : a) path.push_back(Ansi(item));
      return automation.Menu(path);
    }
    case ScriptVerb::kAnswer:
      return automation.Answer(Ansi(a[0]));
    case ScriptVerb::kExpectTitle:
      return ExpectTitle(automation, Ansi(a[0]));
    case ScriptVerb::kExpectText:
      return automation.ExpectText(Ansi(a[0]), Ansi(a[1]));
    case ScriptVerb::kExpectMessage:
      return automation.ExpectMessage(Ansi(a[0]));
    case ScriptVerb::kDump:
      out << automation.Dump();
      out.flush();
      return AutomationResult{};
    case ScriptVerb::kScreenshot:
      if (a.size() > 1 && a[1].text != "device") {
        return AutomationResult::Failure("expected `device` after the file name, not " + a[1].text);
      }
      return automation.Screenshot(
          a[0].text, a.size() > 1 ? ScreenshotSize::kDevice : ScreenshotSize::kLogical);
    case ScriptVerb::kPrintTo:
      SetPrintOutputFile(a[0].text);
      return AutomationResult{};
    case ScriptVerb::kWaitForFile:
      return WaitForFile(a[0].text);
    case ScriptVerb::kResize:
      return Resize(automation, a);
  }
  return AutomationResult::Failure("unknown command");
}

}  // namespace

const char* ScriptVerbName(ScriptVerb verb) {
  return RuleOf(verb).name;
}

bool ParseScript(std::string_view source, std::vector<ScriptCommand>* out, std::string* error) {
  out->clear();
  int line_number = 0;
  size_t start = 0;
  while (start < source.size()) {
    size_t end = source.find('\n', start);
    if (end == std::string_view::npos) end = source.size();
    std::string_view line = source.substr(start, end - start);
    start = end + 1;
    ++line_number;
    std::vector<ScriptArgument> words;
    std::string problem;
    if (!SplitLine(line, &words, &problem)) {
      *error = "line " + std::to_string(line_number) + ": " + problem;
      return false;
    }
    if (words.empty()) continue;
    const VerbRule* rule = words[0].quoted ? nullptr : RuleOf(words[0].text);
    if (!rule) {
      *error =
          "line " + std::to_string(line_number) + ": unknown command \"" + words[0].text + "\"";
      return false;
    }
    ScriptCommand command;
    command.line = line_number;
    command.verb = rule->verb;
    command.arguments.assign(words.begin() + 1, words.end());
    int count = static_cast<int>(command.arguments.size());
    std::string prefix = "line " + std::to_string(line_number) + ": " + rule->name + ": ";
    if (count < rule->min_arguments || (rule->max_arguments >= 0 && count > rule->max_arguments)) {
      *error = prefix + "takes " +
               (rule->max_arguments < 0 ? "at least " + std::to_string(rule->min_arguments)
                : rule->min_arguments == rule->max_arguments
                    ? std::to_string(rule->min_arguments)
                    : std::to_string(rule->min_arguments) + " to " +
                          std::to_string(rule->max_arguments)) +
               " argument(s), not " + std::to_string(count);
      return false;
    }
    if (rule->first_bare && command.arguments[0].quoted) {
      *error = prefix + "the first argument is an equate, without quotes";
      return false;
    }
    if (rule->all_quoted) {
      for (const ScriptArgument& a : command.arguments) {
        if (!a.quoted) {
          *error = prefix + "texts go in double quotes";
          return false;
        }
      }
    }
    if (rule->verb == ScriptVerb::kExpectText && !command.arguments[1].quoted) {
      *error = prefix + "texts go in double quotes";
      return false;
    }
    out->push_back(std::move(command));
  }
  return true;
}

int RunScript(const std::vector<ScriptCommand>& commands, const std::string& name,
              std::ostream& out, std::ostream& err) {
  Automation automation;
  for (const ScriptCommand& c : commands) {
    AutomationResult r = automation.WaitIdle();
    if (r.ok) r = Execute(automation, c, out);
    if (!r.ok) {
      err << name << ":" << c.line << ": " << ScriptVerbName(c.verb) << ": "
          << AnsiToUtf8(r.message) << "\n";
      err.flush();
      return 1;
    }
  }
  return 0;
}

int RunScriptFile(const std::string& path, std::ostream& out, std::ostream& err) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    err << path << ": cannot read the script\n";
    return 1;
  }
  std::stringstream buffer;
  buffer << file.rdbuf();
  std::vector<ScriptCommand> commands;
  std::string error;
  if (!ParseScript(buffer.str(), &commands, &error)) {
    err << path << ":" << error.substr(5) << "\n";  // "line N: ..." -> "N: ..."
    return 1;
  }
  return RunScript(commands, path, out, err);
}

bool ScriptPathFromArguments(int argc, const char* const* argv, std::string* path) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--script") == 0) {
      *path = argv[i + 1];
      return true;
    }
  }
  return false;
}

}  // namespace carelog::host
