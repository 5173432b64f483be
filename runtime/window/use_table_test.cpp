#include "runtime/window/use_table.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/window/properties.h"
#include "runtime/window/window_structure.h"
#include "runtime/window/window_testing.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

// A form whose controls are declared in another order than their equates: a STRING entry (3)
// first, a check box for a BYTE (2), then a LONG entry (1).
Entry Shuffled() {
  Entry name = Make(kKindEntry, 3, Rect{8, 8, 120, 18});
  name.use = UseType{use_type::kString, 10};
  Entry urgent = WithText(Make(kKindCheck, 2, Rect{8, 56, 80, 16}), "Urgent");
  urgent.use = UseType{use_type::kByte, 1};
  Entry number = Make(kKindEntry, 1, Rect{8, 32, 60, 18});
  number.use = UseType{use_type::kLong, 4};
  number.strings[Field::kPicture] = "@n5";
  return WindowEntry("SHUFFLED$WINDOW", 0x300, {name, urgent, number});
}

struct Variables {
  int32_t number = 42;
  char name[10];
  uint8_t urgent = 1;
  Variables() { std::memcpy(name, "Ann Lee   ", sizeof name); }
  UseTable Table() { return {use::Byte(2, &urgent), use::Long(1, &number), use::String(3, name)}; }
};

TEST(UseTableTest, FittingTableHasNoMismatch) {
  Variables v;
  EXPECT_EQ(MismatchOf(Shuffled(), v.Table()), "");
  // A long string is held as a fixed string of the same length.
  Entry notes = Make(kKindTextBox, 4, Rect{0, 0, 100, 40});
  notes.use = UseType{use_type::kLongString, 400};
  static char text[400];
  EXPECT_EQ(MismatchOf(WindowEntry("NOTES$WINDOW", 0x300, {notes}), {use::String(4, text)}), "");
}

TEST(UseTableTest, EachKindOfMismatchNamesTheWindowAndTheControl) {
  Variables v;
  Entry window = Shuffled();
  UseTable missing = v.Table();
  missing.erase(missing.begin() + 1);
  EXPECT_EQ(MismatchOf(window, missing), "SHUFFLED$WINDOW: control 1 has no USE variable");

  int16_t small = 0;
  UseTable wrong_type{use::Byte(2, &v.urgent), use::Short(1, &small), use::String(3, v.name)};
  EXPECT_EQ(MismatchOf(window, wrong_type),
            "SHUFFLED$WINDOW: control 1 is LONG(4), its USE variable is SHORT(2)");

  char longer[20];
  UseTable wrong_size{use::Byte(2, &v.urgent), use::Long(1, &v.number), use::String(3, longer)};
  EXPECT_EQ(MismatchOf(window, wrong_size),
            "SHUFFLED$WINDOW: control 3 is STRING(10), its USE variable is STRING(20)");

  int32_t born = 0;
  UseTable date_for_long{use::Byte(2, &v.urgent), use::Date(1, &born), use::String(3, v.name)};
  EXPECT_EQ(MismatchOf(window, date_for_long),
            "SHUFFLED$WINDOW: control 1 is LONG(4), its USE variable is DATE(4)");

  UseTable extra = v.Table();
  extra.push_back(use::Long(7, &v.number));
  EXPECT_EQ(MismatchOf(window, extra),
            "SHUFFLED$WINDOW: control 7 has a USE variable but no such control declares USE");

  UseTable twice = v.Table();
  twice.push_back(use::Long(1, &v.number));
  EXPECT_EQ(MismatchOf(window, twice), "SHUFFLED$WINDOW: control 1 has two USE variables");

  UseTable no_address = v.Table();
  no_address[1].variable.address = nullptr;
  EXPECT_EQ(MismatchOf(window, no_address),
            "SHUFFLED$WINDOW: control 1 has a USE variable without an address");
}

// Records the codes and texts of fatal errors.
struct FatalTexts {
  static std::vector<std::string>& Seen() {
    static std::vector<std::string> seen;
    return seen;
  }
  static void Record(int code, const std::string& message) {
    Seen().push_back(std::to_string(code) + " " + message);
  }
  FatalTexts() : previous(SetFatalErrorHook(&Record)) { Seen().clear(); }
  ~FatalTexts() { SetFatalErrorHook(previous); }
  FatalErrorHook previous;
};

TEST(UseTableTest, ControlsBindByEquateWhateverTheirOrder) {
  Definitions defs({Shuffled()});
  FatalTexts errors;
  Variables v;
  Log log;
  {
    Program program([&] {
      Structure w(StructureKind::kWindow, "SHUFFLED$WINDOW", kModule, v.Table());
      if (!Open(w)) return;
      log.Add(GetProperty(3, prop::kText) + "|" + GetProperty(1, prop::kText));
      bool bound = w.Find(2)->use->address == &v.urgent && w.Find(1)->use->address == &v.number &&
                   w.Find(3)->use->address == v.name;
      log.Add(bound ? "bound" : "wrongly bound");
      Close(w);
    });
    program.Join();
  }
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"Ann Lee|42", "bound"}));
  EXPECT_TRUE(errors.Seen().empty());
}

TEST(UseTableTest, MismatchedTableRefusesToOpenWithInternalError01) {
  Definitions defs({Shuffled()});
  FatalTexts errors;
  Variables v;
  bool opened = true;
  char longer[20];
  Program program([&] {
    Structure w(StructureKind::kWindow, "SHUFFLED$WINDOW", kModule,
                {use::Byte(2, &v.urgent), use::Long(1, &v.number), use::String(3, longer)});
    opened = Open(w);
  });
  program.Join();
  EXPECT_FALSE(opened);
  ASSERT_FALSE(errors.Seen().empty());
  EXPECT_EQ(errors.Seen().front(),
            "501 Internal error 01 (SHUFFLED$WINDOW: control 3 is STRING(10), its USE variable "
            "is STRING(20))");
}

}  // namespace
}  // namespace carelog::window
