#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "runtime/window/definition_loader.h"
#include "runtime/window/definition_writer.h"
#include "tools/defc/text_parser.h"
#include "tools/defc/text_printer.h"

namespace carelog::defc {
namespace {

using window::DefinitionError;
using window::Entry;
using window::Field;
using window::Module;

// A module that uses every kind of the layout table.
constexpr const char* kEveryKind = R"(# every kind once
module "carelog.cpp$kinds"

window "KINDS$WINDOW"
  units dialog
  at - - 400 300
  font "MS Sans Serif" 8 fontcolor 0xFF fontstyle 0x2BC
  title "All \"kinds\" \x80"
  icon "RUDIV.ICO"
  ref "Ref"
  help "~Kinds"
  alert 0x70 0x71
  frame 0x3004
  timer 1
  file2 "SECOND.TXT"
  status -1 80
  attr 0x13
  menubar attr 0x1
    menu "&File" id -1 msg "File things"
      item "&Print" id -2 msg "Print it" tip "Tip" help "Help" key 0x270 alert 0x5 action printsetup
      separator id -3
      menu "&More" id -4
        item "Deeper" id -5 action 99
      end
    end
  end
  varstring @d1B id 1 at 1 2 3 4 use long font "Arial" 9
  string "Sun" at 5 6 - - font "Arial" 10
  image "LOGO.BMP" at 1 1 20 20
  region at 0 0 10 10 color 0xFF fill 0xFF00
  line at 0 0 100 0 color 0x0
  box at 0 0 10 10 color 0xFF
  kind7 id 7 at 1 1 1 1
  entry @s50 id 8 at 10 10 60 12 use string 50 msg "Enter it" key 0x20D
  button "&Insert" id 9 at 10 20 40 14 icon "PREVSMAL.ICO" action close default msg "Insert"
  prompt "Add Info:" at 10 30 40 10
  option "&Relationship" id 11 at 10 40 100 40 use byte
    radio "Son in law" id 12 at 12 50 60 10
    radio "Daughter" id 13 at 12 60 60 10 attr 0x4
  end
  check "Temp:" id 14 at 10 90 40 10 use byte
  group "Box" id 15 at 120 10 100 100 tip "A group"
    prompt "Inside" at 125 20 40 10
  end
  list id 16 at 120 120 100 60 format "80L(2)|M~Name~@s40@" msg "Browsing Records" attr 0x803
  list id 17 at 120 190 100 12 format "80L@s20@" drop 10
  kind15 at 1 1 1 1
  spin @n5 id 18 at 10 110 40 12 use long lower 1 upper 99.5 step 0.25 msg "Count"
  textbox id 19 at 10 130 100 40 use longstring 1000
  custom "Widget" id 20 at 1 1 1 1
  kind33 at 1 1 1 1
  kind34 at 1 1 1 1
  progress id 21 at 10 180 100 10 use long upper 100
  sheet id 22 at 230 10 160 200 use type 6 4
    tab "General" id 23 flags 1 msg "General things"
      entry @s20 id 24 at 240 40 60 12 use string 20
    end
    tab "Empty" id 25
    end
  end
  toolbar id 26 at 0 0 400 20
    button "&Tile" id 27 at 2 2 16 16 action tile
  end
end

report "PRINTLIST$REPORT"
  units inch1000
  attr 0x1
  at 500 500 7500 10000
  font "Times New Roman" 10
  title "Visit Log"
  paper 1
  paperwidth 8500
  paperheight 11000
  landscape 1
  header at 0 0 7500 1000
    string "Agency" at 0 0 3000 200
  end
  footer at 0 9000 7500 1000 pagebefore 2
  end
  form at 0 0 7500 10000
  end
  bandgroup id 1 at 0 0 7500 400
    detail id 2 at 0 0 7500 400 keep 1 pageafter 3
      varstring @s40 at 0 0 3000 200 use string 40
    end
  end
  detail at 0 0 7500 200
  end
end
)";

Module Parse(const std::string& text) {
  Module module;
  ParseError error;
  EXPECT_TRUE(ParseModule(text, &module, &error)) << error.line << ": " << error.message;
  return module;
}

std::vector<uint8_t> Compile(const Module& module) {
  std::vector<uint8_t> body;
  std::string error;
  EXPECT_TRUE(window::EncodeModule(module, &body, &error)) << error;
  return body;
}

Module Decompile(const std::vector<uint8_t>& body) {
  Module module;
  EXPECT_EQ(window::DecodeModule(body.data(), body.size(), &module), DefinitionError::kOk);
  return module;
}

// Text -> body -> text gives the printed form of the source, and that form reads back as the
// same module and the same bytes.
void ExpectRoundTrip(const std::string& text) {
  Module parsed = Parse(text);
  std::vector<uint8_t> body = Compile(parsed);
  Module decoded = Decompile(body);
  EXPECT_EQ(decoded, parsed);
  std::string printed = PrintModule(decoded);
  EXPECT_EQ(PrintModule(parsed), printed);
  Module reparsed = Parse(printed);
  EXPECT_EQ(reparsed, parsed);
  EXPECT_EQ(Compile(reparsed), body);
}

TEST(TextForm, EveryKindCompilesAndRoundTrips) {
  ExpectRoundTrip(kEveryKind);
  Module module = Parse(kEveryKind);
  // Every kind code of the layout table occurs.
  std::vector<bool> seen(256, false);
  auto mark = [&](auto& self, const Entry& entry) -> void {
    seen[entry.kind] = true;
    for (const Entry& child : entry.children) self(self, child);
    for (const Entry& bar : entry.menubar) self(self, bar);
  };
  for (const Entry& structure : module.structures) mark(mark, structure);
  size_t count = 0;
  const window::KindLayout* const* layouts = window::AllLayouts(&count);
  for (size_t i = 0; i < count; ++i) EXPECT_TRUE(seen[layouts[i]->code]) << layouts[i]->name;
}

TEST(TextForm, PropertiesReachTheirFields) {
  Module module = Parse(kEveryKind);
  const Entry& window = module.structures[0];
  EXPECT_EQ(window.attr, 0x13u);
  EXPECT_EQ(*window.String(Field::kTitle), "All \"kinds\" \x80");
  EXPECT_EQ(window.font->color, 0xFF);
  EXPECT_EQ(window.font->style, 0x2BC);
  EXPECT_EQ(window.alerts, (std::vector<uint32_t>{0x70, 0x71}));
  EXPECT_EQ(window.at.x, window::kNotGiven);
  EXPECT_EQ(window.menubar[0].attr, 0x1u);
  const Entry& separator = window.menubar[0].children[0].children[1];
  EXPECT_EQ(separator.attr, 0x10u);
  EXPECT_EQ(separator.String(Field::kText), nullptr);
  const Entry& button = window.children[8];
  EXPECT_EQ(button.kind, window::kKindButton);
  EXPECT_EQ(button.Number(Field::kFlags), 1);
  EXPECT_EQ(button.Number(Field::kAction), 15);
  const Entry& spin = window.children[16];
  ASSERT_EQ(spin.kind, window::kKindSpin);
  ASSERT_NE(spin.String(Field::kPicture), nullptr);
  EXPECT_EQ(*spin.String(Field::kPicture), "n5");
  EXPECT_EQ(spin.Real(Field::kUpper), 99.5);
  EXPECT_EQ(module.structures[1].attr, 0x201u);
  ASSERT_TRUE(window.children[0].use.has_value());
  EXPECT_EQ(window.children[0].use->type, 6);
}

TEST(TextForm, CompiledModuleLoadsThroughTheRegistry) {
  static std::vector<uint8_t> body;
  body = Compile(Parse(kEveryKind));
  static const window::ResourceRecord record{"DABDUMP", "KINDS_RSC", body.data(), body.size()};
  static const window::ResourceModule resources{"test", &record, 1};
  window::AddResourceModule(&resources);
  window::DefinitionLoader loader;
  ASSERT_EQ(loader.Open("carelog.cpp$kinds", "PRINTLIST$REPORT"), DefinitionError::kOk);
  EXPECT_EQ(loader.structure().kind, window::kKindReport);
  EXPECT_EQ(loader.structure().children.size(), 5u);
  window::RemoveResourceModule(&resources);
}

struct BadText {
  const char* text;
  int line;
  const char* message;
};

TEST(TextForm, MalformedDefinitionsNameLineAndFault) {
  const BadText cases[] = {
      {"window \"A$W\"\nend\n", 1, "expected 'module'"},
      {"module \"m$x\"\nwindow \"A$W\"\n  button \"x\" at 1 2 3\nend\n", 3, "a coordinate"},
      {"module \"m$x\"\nwindow \"A$W\"\n  button \"x\" picture \"s\"\nend\n", 3,
       "a button has no 'picture'"},
      {"module \"m$x\"\nwindow \"A$W\"\n  buton \"x\"\nend\n", 3,
       "unknown kind or property 'buton'"},
      {"module \"m$x\"\nwindow \"A$W\"\n  group \"g\"\n", 3, "has no 'end'"},
      {"module \"m$x\"\nwindow \"A$W\"\n  item \"x\"\nend\n", 3,
       "an item cannot stand in a window"},
      {"module \"m$x\"\nwindow \"A$W\"\n  at 1 2 3 4\n  at 1 2 3 4\nend\n", 4, "given twice"},
      {"module \"m$x\"\nwindow \"A$W\n", 2, "unterminated string"},
      {"module \"m$x\"\nwindow \"A$W\"\n  button action fly\nend\n", 3, "unknown action 'fly'"},
      {"module \"m$x\"\nwindow \"A$W\"\n  list drop 300\nend\n", 3, "out of range"},
      {"module \"m$x\"\nbutton \"x\"\n", 2, "expected 'window' or 'report'"},
      {"module \"m$x\"\nwindow \"A$W\"\n  attr 0x100\nend\n", 3, "with 'units'"},
  };
  for (const BadText& bad : cases) {
    Module module;
    ParseError error;
    EXPECT_FALSE(ParseModule(bad.text, &module, &error)) << bad.text;
    EXPECT_EQ(error.line, bad.line) << bad.text;
    EXPECT_NE(error.message.find(bad.message), std::string::npos)
        << bad.text << " gave: " << error.message;
  }
}

TEST(TextForm, NestingIsLimitedAsTheReaderLimitsIt) {
  auto nested = [](int levels) {
    std::string text = "module \"m$x\"\nwindow \"A$W\"\n";
    for (int i = 0; i < levels; ++i) text += "group\n";
    for (int i = 0; i < levels; ++i) text += "end\n";
    return text + "end\n";
  };
  ExpectRoundTrip(nested(window::kMaxDepth));
  Module module;
  ParseError error;
  EXPECT_FALSE(ParseModule(nested(window::kMaxDepth + 1), &module, &error));
  EXPECT_EQ(error.line, 3 + window::kMaxDepth);
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ProgramModules, EveryModuleRoundTrips) {
  int modules = 0;
  for (const auto& file :
       std::filesystem::directory_iterator(std::string(CARELOG_SOURCE_DIR) + "/app/windows")) {
    if (file.path().extension() != ".def") continue;
    SCOPED_TRACE(file.path().string());
    ExpectRoundTrip(ReadText(file.path()));
    // The module is named after its file.
    EXPECT_EQ(window::ResourceNameOf(Parse(ReadText(file.path())).identifier),
              file.path().stem().string() + "_RSC");
    ++modules;
  }
  EXPECT_GE(modules, 2);
}

TEST(Compiler, ReportsFileAndLineAndFails) {
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("defc_test_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::path text = dir / "bad.def";
  std::ofstream(text) << "module \"m$bad\"\nwindow \"A$W\"\n  button at 1 2 x 4\nend\n";
  std::string command = std::string(CARELOG_DEFC) + " compile " + text.string() + " -o " +
                        (dir / "bad.bin").string() + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  int status = pclose(pipe);
  EXPECT_NE(status, 0);
  EXPECT_NE(output.find(text.string() + ":3: error: expected a coordinate"), std::string::npos)
      << output;
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace carelog::defc
