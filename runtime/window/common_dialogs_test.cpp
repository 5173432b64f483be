// The common dialogs driven as a user would: opened by a procedure, answered through the
// automation layer. Their definitions are compiled from the program's own definition text.
#include "runtime/window/common_dialogs.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

#include "runtime/host/input.h"
#include "runtime/host/print_settings.h"
#include "runtime/host/printing.h"
#include "runtime/host/window_system.h"
#include "runtime/window/file_types.h"
#include "runtime/window/font_style.h"
#include "runtime/window/window_testing.h"
#include "tools/defc/text_parser.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

constexpr const char* kFontTitle = "Choose default display Font";

// Registers the dialogs' module, compiled from app/windows/carlg_sf.def.
class DialogDefinitions {
 public:
  DialogDefinitions() {
    std::ifstream in(std::string(CARELOG_SOURCE_DIR) + "/app/windows/carlg_sf.def");
    std::stringstream text;
    text << in.rdbuf();
    Module module;
    defc::ParseError parse_error;
    EXPECT_TRUE(defc::ParseModule(text.str(), &module, &parse_error)) << parse_error.message;
    std::string error;
    EXPECT_TRUE(EncodeModule(module, &body_, &error)) << error;
    name_ = ResourceNameOf(module.identifier);
    record_ = ResourceRecord{"DABDUMP", name_.c_str(), body_.data(), body_.size()};
    module_ = ResourceModule{"common dialogs", &record_, 1};
    AddResourceModule(&module_);
  }
  ~DialogDefinitions() { RemoveResourceModule(&module_); }

 private:
  std::vector<uint8_t> body_;
  std::string name_;
  ResourceRecord record_{};
  ResourceModule module_{};
};

class DialogTest : public ::testing::Test {
 protected:
  // Waits until the current window has this title.
  bool WaitForTitle(const std::string& title) {
    for (int i = 0; i < 500; ++i) {
      if (automation.WaitIdle().ok && automation.CurrentTitle() == title) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  // Clicks a list and moves its selection to row `row` (from 1) with the keys.
  void ChooseRow(int list, int row) {
    ASSERT_TRUE(automation.Click(std::to_string(list), false).ok);
    ASSERT_TRUE(automation.Key("Home").ok);
    for (int i = 1; i < row; ++i) ASSERT_TRUE(automation.Key("Down").ok);
    ASSERT_TRUE(automation.WaitIdle().ok);
  }
  std::vector<std::string> Rows(int list) {
    std::vector<std::string> rows;
    std::stringstream all(Property(ControlInfoOf(list), "rows"));
    for (std::string row; std::getline(all, row, '\t');) rows.push_back(row);
    return rows;
  }
  int RowOf(int list, const std::string& text) {
    std::vector<std::string> rows = Rows(list);
    for (size_t i = 0; i < rows.size(); ++i) {
      if (rows[i] == text) return static_cast<int>(i) + 1;
    }
    return 0;
  }

  DialogDefinitions definitions;
  FatalErrors errors;
  host::Automation automation;
};

// A dialog run on the program's thread. A test that stops early closes whatever is still
// open, so the program's thread can end.
class DialogRun {
 public:
  ~DialogRun() {
    if (!program_) return;
    for (host::WindowId w : host::TopLevelWindows()) host::InjectClose(w);
    program_.reset();
  }
  void Start(std::function<void()> body) {
    program_ = std::make_unique<Program>([this, body] {
      body();
      log.Add("returned");
    });
  }
  // Waits until the dialog has returned.
  bool Finish() {
    bool returned = log.WaitFor("returned");
    if (returned) program_.reset();
    return returned;
  }
  Log log;

 private:
  std::unique_ptr<Program> program_;
};

// One run of the font dialog. The run is the last member, so it ends first.
struct FontRun {
  FontChoice choice;
  bool result = false;
  DialogRun run;
  void Start() {
    run.Start([this] { result = ChooseFont(kFontTitle, &choice); });
  }
  bool Finish() { return run.Finish(); }
};

TEST_F(DialogTest, FontDialogShowsItsPresetAndCancelChangesNothing) {
  FontRun run;
  run.choice =
      FontChoice{"Arial", 12, 0x0000FF, 700 | font_style::kItalic | font_style::kUnderline};
  FontChoice before = run.choice;
  run.Start();
  ASSERT_TRUE(WaitForTitle(kFontTitle));
  EXPECT_EQ(ControlInfoOf(1).text, "Arial");
  EXPECT_EQ(ControlInfoOf(2).text, "Arial");
  EXPECT_GT(ControlInfoOf(2).selected_row, 0);
  EXPECT_EQ(ControlInfoOf(3).text, "Bold Italic");
  EXPECT_EQ(ControlInfoOf(4).text, "Bold Italic");
  EXPECT_EQ(ControlInfoOf(5).text, "12");
  EXPECT_EQ(ControlInfoOf(6).text, "12");
  EXPECT_EQ(Property(ControlInfoOf(7), "checked"), "0");
  EXPECT_EQ(Property(ControlInfoOf(8), "checked"), "1");
  EXPECT_EQ(ControlInfoOf(9).text, "Red");
  // The faces are the installed families plus the names the definitions use.
  EXPECT_GT(RowOf(2, "Courier New"), 0);
  EXPECT_GT(RowOf(2, "Liberation Serif"), 0);

  // A change, then Cancel: the caller's choice is untouched.
  ASSERT_TRUE(automation.Click("8", false).ok);
  ASSERT_TRUE(automation.Click("12", false).ok);
  ASSERT_TRUE(run.Finish());
  EXPECT_FALSE(run.result);
  EXPECT_EQ(run.choice.face, before.face);
  EXPECT_EQ(run.choice.size, before.size);
  EXPECT_EQ(run.choice.color, before.color);
  EXPECT_EQ(run.choice.style, before.style);
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(DialogTest, FontDialogReturnsTheFaceAndSizeChosen) {
  FontRun run;
  run.choice = FontChoice{"Arial", 10, 0, 0};
  run.Start();
  ASSERT_TRUE(WaitForTitle(kFontTitle));
  // A face typed into the entry (any case) selects its row and is returned as listed.
  ASSERT_TRUE(automation.Click("1", false).ok);
  ASSERT_TRUE(automation.Type("courier new").ok);
  ASSERT_TRUE(automation.Key("Tab").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ControlInfoOf(2).text, "Courier New");
  // Sizes 8, 9, 10, 11, 12, ...: the fifth row is 12.
  ChooseRow(6, 5);
  EXPECT_EQ(ControlInfoOf(5).text, "12");
  // Blue is the thirteenth colour.
  ChooseRow(9, 13);
  EXPECT_EQ(ControlInfoOf(9).text, "Blue");
  ASSERT_TRUE(automation.Click("11", false).ok);
  ASSERT_TRUE(run.Finish());
  EXPECT_TRUE(run.result);
  EXPECT_EQ(run.choice.face, "Courier New");
  EXPECT_EQ(run.choice.size, 12);
  EXPECT_EQ(run.choice.color, 0xFF0000);
  EXPECT_EQ(run.choice.style, 0);  // the style was left alone
}

TEST_F(DialogTest, FontDialogListSelectionFillsTheEntryAndBadInputKeepsTheDialogOpen) {
  FontRun run;
  run.choice = FontChoice{"Times New Roman", 14, 0, 0};
  run.Start();
  ASSERT_TRUE(WaitForTitle(kFontTitle));
  ChooseRow(2, 1);
  EXPECT_EQ(ControlInfoOf(1).text, Rows(2).front());
  // A size of 0 shows as no size, and cannot be taken: OK beeps and the dialog stays.
  int beeps = host::BeepCount();
  ASSERT_TRUE(automation.Click("5", false).ok);
  ASSERT_TRUE(automation.Type("0").ok);
  ASSERT_TRUE(automation.Key("Enter").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(host::BeepCount(), beeps + 1);
  EXPECT_EQ(automation.CurrentTitle(), kFontTitle);
  EXPECT_TRUE(ControlInfoOf(5).focused);
  EXPECT_EQ(ControlInfoOf(5).text, "");
  // Escape is Cancel.
  ASSERT_TRUE(automation.Key("Escape").ok);
  ASSERT_TRUE(run.Finish());
  EXPECT_FALSE(run.result);
  EXPECT_EQ(run.choice.face, "Times New Roman");
  EXPECT_EQ(run.choice.size, 14);
}

TEST_F(DialogTest, FontDialogRewritesOnlyTheStyleBitsItShows) {
  // A semibold weight the style list cannot name, strikeout and a bit of no meaning to
  // drawing: confirmed unchanged, they come back unchanged.
  FontRun keep;
  int64_t odd = 600 | font_style::kStrikeout | 0x10000;
  keep.choice = FontChoice{"Arial", 9, 0x123456, odd};
  keep.Start();
  ASSERT_TRUE(WaitForTitle(kFontTitle));
  EXPECT_EQ(ControlInfoOf(3).text, "Bold");
  EXPECT_EQ(Property(ControlInfoOf(7), "checked"), "1");
  EXPECT_EQ(ControlInfoOf(9).text, "Custom");
  ASSERT_TRUE(automation.Key("Enter").ok);
  ASSERT_TRUE(keep.Finish());
  EXPECT_TRUE(keep.result);
  EXPECT_EQ(keep.choice.style, odd);
  EXPECT_EQ(keep.choice.color, 0x123456);

  // Choosing Italic and underline rewrites the weight and effects, nothing else.
  FontRun change;
  change.choice = FontChoice{"Arial", 9, 0, odd};
  change.Start();
  ASSERT_TRUE(WaitForTitle(kFontTitle));
  ChooseRow(4, 2);
  ASSERT_TRUE(automation.Click("7", false).ok);
  ASSERT_TRUE(automation.Click("8", false).ok);
  ASSERT_TRUE(automation.Click("11", false).ok);
  ASSERT_TRUE(change.Finish());
  EXPECT_TRUE(change.result);
  EXPECT_EQ(change.choice.style, 400 | font_style::kItalic | font_style::kUnderline | 0x10000);
  EXPECT_TRUE(errors.Seen().empty());
}

TEST(FontStyle, StyleWordsRoundTripThroughDrawingFonts) {
  for (int64_t style : {int64_t{400}, int64_t{700} | font_style::kItalic,
                        int64_t{100} | font_style::kUnderline | font_style::kStrikeout,
                        int64_t{900} | font_style::kItalic | font_style::kUnderline}) {
    host::FontSpec font;
    ApplyFontStyle(style, &font);
    EXPECT_EQ(FontStyleOf(font), style);
  }
  host::FontSpec plain;
  plain.italic = true;
  ApplyFontStyle(0, &plain);  // no weight given: normal, no effects
  EXPECT_EQ(plain.weight, 400);
  EXPECT_FALSE(plain.italic);
  EXPECT_EQ(DefinitionColorOf(ColorFromDefinition(0x123456)), 0x123456);  // 0x00BBGGRR
}

// Windows and controls read a definition's style word as the font dialog writes it.
TEST(FontStyle, WindowAndControlFontsTakeTheDefinitionsStyleWord) {
  Entry prompt = WithText(Make(kKindPrompt, 1, Rect{0, 0, 60, 12}), "x");
  prompt.font = Font{"Arial", 9, 0x0000FF, 700 | font_style::kItalic | font_style::kStrikeout};
  Entry window = WindowEntry("STYLED$WINDOW", 0x300, {prompt});
  window.font = Font{"Arial", 10, -1, 400 | font_style::kUnderline};
  Definitions defs({window});
  FatalErrors errors;
  host::FontSpec window_font, control_font;
  Program program([&] {
    Structure w(StructureKind::kWindow, "STYLED$WINDOW", kModule, {});
    Open(w);
    window_font = w.font;
    control_font = w.Find(1)->font;
    Close(w);
  });
  program.Join();
  EXPECT_EQ(window_font.weight, 400);  // a normal weight given explicitly is not bold
  EXPECT_TRUE(window_font.underline);
  EXPECT_EQ(FontStyleOf(control_font), 700 | font_style::kItalic | font_style::kStrikeout);
  EXPECT_EQ(DefinitionColorOf(control_font.color), 0x0000FF);
  EXPECT_TRUE(errors.Seen().empty());
}

// One run of the printer setup.
struct SetupRun {
  bool result = false;
  DialogRun run;
  void Start() {
    run.Start([this] { result = PrinterSetup(); });
  }
  bool Finish() { return run.Finish(); }
};

TEST_F(DialogTest, PrinterSetupListsThePrintersAndOkMakesTheChoiceCurrent) {
  host::PrintSettings before = host::CurrentPrintSettings();
  SetupRun run;
  run.Start();
  ASSERT_TRUE(WaitForTitle("Print Setup"));
  int pdf = RowOf(1, host::kPdfPrinterName);
  ASSERT_GT(pdf, 0);
  EXPECT_EQ(ControlInfoOf(1).text, before.printer);
  EXPECT_EQ(ControlInfoOf(3).text, before.paper.name);
  ChooseRow(1, pdf);
  EXPECT_NE(ControlInfoOf(2).text, "");
  // Letter, Legal, Executive, A4, ...
  ChooseRow(3, 4);
  EXPECT_EQ(ControlInfoOf(3).text, "A4");
  ASSERT_TRUE(automation.Click("6", false).ok);
  ASSERT_TRUE(automation.Click("7", false).ok);
  ASSERT_TRUE(run.Finish());
  EXPECT_TRUE(run.result);
  host::PrintSettings now = host::CurrentPrintSettings();
  EXPECT_EQ(now.printer, host::kPdfPrinterName);
  EXPECT_EQ(now.paper.name, "A4");
  EXPECT_NEAR(now.paper.width_inches, 8.27, 0.01);
  EXPECT_EQ(now.orientation, host::Orientation::kLandscape);

  // The dialog opens on the current settings; changes then Cancel keep them.
  SetupRun cancel;
  cancel.Start();
  ASSERT_TRUE(WaitForTitle("Print Setup"));
  EXPECT_EQ(ControlInfoOf(3).text, "A4");
  EXPECT_EQ(Property(ControlInfoOf(6), "checked"), "1");
  ChooseRow(3, 1);
  ASSERT_TRUE(automation.Click("5", false).ok);
  ASSERT_TRUE(automation.Click("8", false).ok);
  ASSERT_TRUE(cancel.Finish());
  EXPECT_FALSE(cancel.result);
  EXPECT_EQ(host::CurrentPrintSettings(), now);
  host::SetPrintSettings(before);
  EXPECT_TRUE(errors.Seen().empty());
}

// One run of the save-file dialog.
struct SaveRun {
  std::string path;
  bool result = false;
  DialogRun run;
  void Start(const std::string& filter) {
    run.Start([this, filter] { result = ChooseSaveFile("Export", &path, filter); });
  }
  bool Finish() { return run.Finish(); }
};

class SaveDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("carelog-save-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "sub");
    for (const char* name : {"a.txt", "B.TXT", "c.log", ".hidden.txt"}) {
      std::ofstream(folder / name) << "x";
    }
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::filesystem::path folder;
};

constexpr const char* kTextFilter = "Text files (*.txt)|*.txt|All files|*.*";

TEST_F(SaveDialogTest, ListsTheFolderByTypeAndGivesANewNameTheTypesExtension) {
  SaveRun run;
  run.path = (folder / "").string();
  run.Start(kTextFilter);
  ASSERT_TRUE(WaitForTitle("Export"));
  EXPECT_EQ(Rows(2), (std::vector<std::string>{"a.txt", "B.TXT"}));
  EXPECT_EQ(Rows(4), (std::vector<std::string>{"..", "sub"}));
  EXPECT_EQ(ControlInfoOf(3).text, folder.string());
  EXPECT_EQ(ControlInfoOf(5).text, "Text files (*.txt)");
  // The second type, chosen from the drop list's popup, lists every file.
  ASSERT_TRUE(automation.Click("5", false).ok);
  ASSERT_TRUE(automation.Key("Down").ok);
  ASSERT_TRUE(automation.Key("Down").ok);
  ASSERT_TRUE(automation.Key("Enter").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ControlInfoOf(5).text, "All files");
  EXPECT_EQ(Rows(2), (std::vector<std::string>{"a.txt", "B.TXT", "c.log"}));
  // A picked file fills the name.
  ASSERT_TRUE(automation.Click("2", false).ok);
  ASSERT_TRUE(automation.Key("Home").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ControlInfoOf(1).text, "a.txt");
  ASSERT_TRUE(automation.Click("1", false).ok);
  ASSERT_TRUE(automation.Type("visits").ok);
  ASSERT_TRUE(automation.Key("Enter").ok);
  ASSERT_TRUE(run.Finish());
  EXPECT_TRUE(run.result);
  // "All files" names no single extension: the name stays as typed.
  EXPECT_EQ(run.path, (folder / "visits").string());
}

TEST_F(SaveDialogTest, MovesThroughFoldersAndCancelKeepsThePath) {
  SaveRun run;
  run.path = (folder / "old.txt").string();
  run.Start(kTextFilter);
  ASSERT_TRUE(WaitForTitle("Export"));
  EXPECT_EQ(ControlInfoOf(1).text, "old.txt");
  ChooseRow(4, 2);  // "sub"
  ASSERT_TRUE(automation.Key("Enter").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ControlInfoOf(3).text, (folder / "sub").string());
  EXPECT_TRUE(Rows(2).empty());
  // A folder typed as the name moves there too; a pattern lists what it matches.
  ASSERT_TRUE(automation.Click("1", false).ok);
  ASSERT_TRUE(automation.Type("..").ok);
  ASSERT_TRUE(automation.Key("Enter").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ControlInfoOf(3).text, folder.string());
  ASSERT_TRUE(automation.Click("1", false).ok);
  ASSERT_TRUE(automation.Type("*.log").ok);
  ASSERT_TRUE(automation.Key("Enter").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(Rows(2), (std::vector<std::string>{"c.log"}));
  // A name in a folder that does not exist is refused.
  int beeps = host::BeepCount();
  ASSERT_TRUE(automation.Click("1", false).ok);
  ASSERT_TRUE(automation.Type("missing/x.txt").ok);
  ASSERT_TRUE(automation.Key("Enter").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(host::BeepCount(), beeps + 1);
  ASSERT_TRUE(automation.Click("7", false).ok);
  ASSERT_TRUE(run.Finish());
  EXPECT_FALSE(run.result);
  EXPECT_EQ(run.path, (folder / "old.txt").string());
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(SaveDialogTest, TypedNameGetsTheSingleExtensionOfItsType) {
  SaveRun run;
  run.path = (folder / "report").string();
  run.Start(kTextFilter);
  ASSERT_TRUE(WaitForTitle("Export"));
  ASSERT_TRUE(automation.Click("6", false).ok);
  ASSERT_TRUE(run.Finish());
  EXPECT_TRUE(run.result);
  EXPECT_EQ(run.path, (folder / "report.txt").string());
}

TEST(FileTypes, FilterTextsAndPatterns) {
  std::vector<FileType> types = ParseFileTypes("Text|*.txt;*.TEXT|Logs||Orphan");
  ASSERT_EQ(types.size(), 1u);  // a pair without patterns and a lone text are dropped
  EXPECT_EQ(types[0].description, "Text");
  EXPECT_EQ(types[0].patterns, (std::vector<std::string>{"*.txt", "*.TEXT"}));
  EXPECT_TRUE(MatchesType(types[0], "notes.TXT"));
  EXPECT_TRUE(MatchesType(types[0], "notes.text"));
  EXPECT_FALSE(MatchesType(types[0], "notes.txt.bak"));
  EXPECT_EQ(DefaultExtension(types[0]), "");  // two patterns: no single extension

  std::vector<FileType> all = ParseFileTypes("");
  ASSERT_EQ(all.size(), 1u);
  EXPECT_TRUE(MatchesType(all[0], "README"));
  EXPECT_EQ(DefaultExtension(all[0]), "");
  EXPECT_EQ(DefaultExtension(ParseFileTypes("|*.pdf")[0]), ".pdf");
  EXPECT_EQ(ParseFileTypes("|*.pdf")[0].description, "*.pdf");
  EXPECT_EQ(DefaultExtension(ParseFileTypes("x|*.p?f")[0]), "");
}

}  // namespace
}  // namespace carelog::window
