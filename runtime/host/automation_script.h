// Automation scripts: a text file (UTF-8) of commands, one a line, replayed against the
// running program through Automation.
//
//   script   := { line }
//   line     := [ command ] [ "#" comment ] newline
//   command  := verb { argument }
//   argument := bare | quoted            bare: a run of characters up to a space
//   quoted   := '"' { char | '\"' | '\\' | '\n' | '\t' } '"'
//
//   wait                              wait until the program is idle
//   key COMBINATION...                press keys in turn: key Ctrl+PageDown Enter
//   type "text"                       type the text into the focused control
//   click EQUATE | click "Text"       click a control by equate (number or ?NAME) or text
//   select EQUATE ROW                 select a list's row (from 1) as a click on it would
//   menu "&Menu" "&Item"...           choose a menu item along its path
//   answer "&Yes"                     press a button of the message box shown
//   expect-title "text"               the current window's title (waits up to 5 seconds for a
//                                     window still to come, such as a report's preview)
//   expect-text EQUATE "text"         a control's text
//   expect-message "text"             the text of the message box shown
//   dump                              print every window and control
//   screenshot FILE.png [device]      save the current window as PNG, at its logical size, or
//                                     with `device` in the screen's own pixels
//   print-to FILE.pdf                 later print jobs write this PDF (the PDF printer)
//   wait-for-file FILE                wait (up to a minute) until FILE exists: lets scripts
//                                     of two programs on one folder take turns
//   resize WIDTH HEIGHT               give the current window this outer size in pixels
//
// Every command first waits until the program is idle. A failed command ends the script
// with "FILE:LINE: verb: what went wrong" on the error stream and status 1.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace carelog::host {

enum class ScriptVerb : uint8_t {
  kWait,
  kKey,
  kType,
  kClick,
  kSelect,
  kMenu,
  kAnswer,
  kExpectTitle,
  kExpectText,
  kExpectMessage,
  kDump,
  kScreenshot,
  kPrintTo,
  kWaitForFile,
  kResize,
};

struct ScriptArgument {
  std::string text;  // UTF-8, escapes resolved
  bool quoted = false;
};

struct ScriptCommand {
  int line = 0;
  ScriptVerb verb = ScriptVerb::kWait;
  std::vector<ScriptArgument> arguments;
};

// Parses a whole script. On failure returns false with "line N: problem" in *error.
bool ParseScript(std::string_view source, std::vector<ScriptCommand>* out, std::string* error);

const char* ScriptVerbName(ScriptVerb verb);

// Runs parsed commands; `name` prefixes failure messages. Returns the exit status: 0 when
// every command succeeded, 1 at the first failure.
int RunScript(const std::vector<ScriptCommand>& commands, const std::string& name,
              std::ostream& out, std::ostream& err);

// Reads, parses and runs a script file (status 1 too when it cannot be read or parsed).
// Call from a thread that owns no window, while the program runs on its own threads.
int RunScriptFile(const std::string& path, std::ostream& out, std::ostream& err);

// Finds "--script FILE" among program arguments. False when absent (or FILE is missing).
bool ScriptPathFromArguments(int argc, const char* const* argv, std::string* path);

}  // namespace carelog::host
