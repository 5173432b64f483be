#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/window/definition_reader.h"
#include "runtime/window/definition_writer.h"

namespace carelog::window {
namespace {

std::vector<uint8_t> Encode(const Module& module) {
  std::vector<uint8_t> body;
  std::string error;
  EXPECT_TRUE(EncodeModule(module, &body, &error)) << error;
  return body;
}

// Reads a little-endian word of the body at an offset counted as the format counts them.
struct BodyView {
  const std::vector<uint8_t>& body;
  size_t base;  // body index of offset 0: two bytes before the byte after the identifier

  explicit BodyView(const std::vector<uint8_t>& b)
      : body(b), base(std::strlen(reinterpret_cast<const char*>(b.data())) + 1 - 2) {}
  uint8_t U8(uint32_t offset) const { return body.at(base + offset); }
  uint32_t U32(uint32_t offset) const {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= uint32_t{U8(offset + i)} << (8 * i);
    return value;
  }
  std::string Str(uint32_t offset) const {
    return reinterpret_cast<const char*>(body.data() + base + offset);
  }
};

Entry Window(const std::string& label) {
  Entry window;
  window.kind = kKindWindow;
  window.strings[Field::kLabel] = label;
  return window;
}

TEST(DefinitionBody, HeaderStringsFollowTheFirstStructureWord) {
  Module module{"carelog.cpp$carlg064", {}};
  std::vector<uint8_t> body = Encode(module);
  BodyView view(body);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(body.data())), "carelog.cpp$carlg064");
  EXPECT_EQ(view.U32(2), 0u);  // no structure
  EXPECT_EQ(view.Str(6), "The Care Log");
  EXPECT_EQ(view.Str(19), "$DUMMY");
  EXPECT_EQ(view.Str(26), "RUDIV.ICO");
  EXPECT_EQ(body.size(), view.base + 36);
}

TEST(DefinitionBody, ButtonFieldsSitAtTheirOffsets) {
  Entry button;
  button.kind = kKindButton;
  button.id = 3;
  button.attr = 0x40;
  button.at = Rect{10, 20, 45, 14};
  button.strings[Field::kText] = "&Insert";
  button.strings[Field::kMessage] = "Insert a record";
  button.strings[Field::kIcon] = "PREVSMAL.ICO";
  button.numbers[Field::kKey] = 0x2D;
  button.numbers[Field::kAction] = 15;
  button.numbers[Field::kFlags] = 1;
  button.alerts = {0x2D, 0x2E};
  Entry window = Window("BROWSEALL$QUICKWINDOW");
  window.children.push_back(button);
  std::vector<uint8_t> body = Encode(Module{"carelog.cpp$carlg001", {window}});
  BodyView view(body);

  uint32_t w = view.U32(2);
  ASSERT_EQ(view.U8(w), kKindWindow);
  EXPECT_EQ(view.U32(w + 1), 0u);
  EXPECT_EQ(view.Str(view.U32(w + 33)), "BROWSEALL$QUICKWINDOW");
  uint32_t b = view.U32(w + 29);
  ASSERT_NE(b, 0u);
  EXPECT_EQ(view.U8(b), kKindButton);
  EXPECT_EQ(view.U32(b + 1), 0u);
  EXPECT_EQ(view.U32(b + 5), 0x40u);
  EXPECT_EQ(view.U32(b + 9), 0u);
  EXPECT_EQ(view.U32(b + 13), 3u);
  EXPECT_EQ(view.U32(b + 17), 0u);
  EXPECT_EQ(view.U32(b + 21), 10u);
  EXPECT_EQ(view.U32(b + 25), 20u);
  EXPECT_EQ(view.U32(b + 29), 45u);
  EXPECT_EQ(view.U32(b + 33), 14u);
  EXPECT_EQ(view.Str(view.U32(b + 37)), "Insert a record");
  EXPECT_EQ(view.U32(b + 41), 0u);  // no tip
  EXPECT_EQ(view.U32(b + 45), 0u);  // no help
  EXPECT_EQ(view.U32(b + 49), 0x2Du);
  uint32_t alert = view.U32(b + 53);
  EXPECT_EQ(view.U32(alert), 0x2Du);
  EXPECT_EQ(view.U32(view.U32(alert + 4)), 0x2Eu);
  EXPECT_EQ(view.U32(view.U32(alert + 4) + 4), 0u);
  EXPECT_EQ(view.Str(view.U32(b + 65)), "&Insert");
  EXPECT_EQ(view.Str(view.U32(b + 69)), "PREVSMAL.ICO");
  EXPECT_EQ(view.U32(b + 77), 15u);
  EXPECT_EQ(view.U8(b + 81), 1);
  // Each entry is preceded by what it references.
  EXPECT_LT(view.U32(b + 65), b);
  EXPECT_LT(view.U32(w + 33), w);
}

TEST(DefinitionBody, WindowEntryIs105BytesWithZonesAndMenuBar) {
  Entry item;
  item.kind = kKindItem;
  item.id = -2;
  item.strings[Field::kText] = "E&xit";
  item.numbers[Field::kAction] = 15;
  Entry menu;
  menu.kind = kKindMenu;
  menu.id = -1;
  menu.strings[Field::kText] = "&File";
  menu.children = {item};
  Entry bar;
  bar.kind = kKindMenuBar;
  bar.children = {menu};
  Entry window = Window("MAIN$APPFRAME");
  window.at = Rect{kNotGiven, kNotGiven, 400, 300};
  window.strings[Field::kTitle] = "The Care Log";
  window.strings[Field::kIcon] = "RUDIV.ICO";
  window.numbers[Field::kFrame] = 0x5822;
  window.numbers[Field::kTimer] = 100;
  window.zones = {-1, 80, 120, 45};
  window.menubar = {bar};
  Entry second = Window("OTHER$WINDOW");
  std::vector<uint8_t> body = Encode(Module{"carelog.cpp$carelog", {window, second}});
  BodyView view(body);

  uint32_t w = view.U32(2);
  EXPECT_EQ(view.U32(w + 13), 0x80000000u);
  EXPECT_EQ(view.U32(w + 21), 400u);
  EXPECT_EQ(view.U32(w + 37), 0u);  // no font record
  EXPECT_EQ(view.Str(view.U32(w + 41)), "The Care Log");
  EXPECT_EQ(view.Str(view.U32(w + 53)), "RUDIV.ICO");
  EXPECT_EQ(view.U32(w + 77), 0x5822u);
  EXPECT_EQ(view.U32(w + 85), 100u);
  // The window's strings are its own copies, not the header strings.
  EXPECT_NE(view.U32(w + 41), 6u);
  std::vector<int32_t> zones;
  for (uint32_t z = view.U32(w + 101); z != 0; z = view.U32(z + 4)) {
    zones.push_back(static_cast<int32_t>(view.U32(z)));
  }
  EXPECT_EQ(zones, (std::vector<int32_t>{-1, 80, 120, 45}));
  uint32_t m = view.U32(w + 89);
  ASSERT_EQ(view.U8(m), kKindMenuBar);
  uint32_t f = view.U32(m + 13);
  EXPECT_EQ(view.U8(f), kKindMenu);
  EXPECT_EQ(static_cast<int32_t>(view.U32(f + 13)), -1);
  EXPECT_EQ(view.Str(view.U32(f + 25)), "&File");
  uint32_t i = view.U32(f + 53);
  EXPECT_EQ(view.U8(i), kKindItem);
  EXPECT_EQ(view.U32(i + 49), 15u);
  // The next structure follows the window's whole tree; nothing lies beyond its 105 bytes
  // but the menu bar and the next structure's strings.
  uint32_t next = view.U32(w + 1);
  EXPECT_GE(next, w + 105);
  EXPECT_EQ(view.U8(next), kKindWindow);
}

TEST(DefinitionBody, EqualTextsAreStoredPerReferenceAndEmptyIsNotAbsent) {
  Entry first = Window("A$WINDOW");
  first.strings[Field::kTitle] = "The Care Log";
  first.strings[Field::kHelp] = "";
  Entry second = Window("B$WINDOW");
  second.strings[Field::kTitle] = "The Care Log";
  std::vector<uint8_t> body = Encode(Module{"x$y", {first, second}});
  BodyView view(body);
  uint32_t a = view.U32(2);
  uint32_t b = view.U32(a + 1);
  EXPECT_NE(view.U32(a + 41), view.U32(b + 41));
  EXPECT_EQ(view.Str(view.U32(b + 41)), "The Care Log");
  ASSERT_NE(view.U32(a + 65), 0u);
  EXPECT_EQ(view.Str(view.U32(a + 65)), "");
  EXPECT_EQ(view.U32(b + 65), 0u);

  Module decoded;
  ASSERT_EQ(DecodeModule(body.data(), body.size(), &decoded), DefinitionError::kOk);
  ASSERT_NE(decoded.structures[0].String(Field::kHelp), nullptr);
  EXPECT_EQ(decoded.structures[1].String(Field::kHelp), nullptr);
}

// Fills every field of a kind's layout with a value that differs from its default.
Entry FullEntry(const KindLayout& layout, int seed) {
  Entry entry;
  entry.kind = layout.code;
  entry.attr = 0x10 + seed;
  if (layout.control) entry.id = seed;
  for (size_t i = 0; i < layout.slot_count; ++i) {
    Field field = layout.slots[i].field;
    const FieldInfo& info = InfoOf(field);
    switch (info.type) {
      case FieldType::kU8:
        entry.numbers[field] = 7;
        break;
      case FieldType::kI32:
        entry.numbers[field] = -5 - seed;
        break;
      case FieldType::kHex:
        entry.numbers[field] = 0x1234 + seed;
        break;
      case FieldType::kAction:
        entry.numbers[field] = 16;
        break;
      case FieldType::kString:
      case FieldType::kPicture:
        entry.strings[field] = std::string(info.keyword) + "!";
        break;
      case FieldType::kReal:
        entry.reals[field] = 12.5 + seed;
        break;
      case FieldType::kAt:
        entry.at = Rect{seed, kNotGiven, 30, 40};
        break;
      case FieldType::kUse:
        entry.use = UseType{0x12, 40};
        break;
      case FieldType::kFont:
        entry.font = Font{"Arial", 8, 0xFF, 700};
        break;
      case FieldType::kAlerts:
        entry.alerts = {5, 0x2D};
        break;
      case FieldType::kZones:
        entry.zones = {-1, 80};
        break;
      case FieldType::kChildren:
      case FieldType::kMenuBar:
        break;
    }
  }
  return entry;
}

TEST(DefinitionBody, EveryKindRoundTripsWithAllItsFields) {
  size_t count = 0;
  const KindLayout* const* layouts = AllLayouts(&count);
  Entry window = FullEntry(*LayoutOf(kKindWindow), 1);
  Entry report = FullEntry(*LayoutOf(kKindReport), 2);
  Entry bar = FullEntry(*LayoutOf(kKindMenuBar), 3);
  Entry menu = FullEntry(*LayoutOf(kKindMenu), 4);
  menu.children.push_back(FullEntry(*LayoutOf(kKindItem), 5));
  bar.children.push_back(menu);
  window.menubar.push_back(bar);
  int seed = 10;
  for (size_t i = 0; i < count; ++i) {
    uint8_t code = layouts[i]->code;
    if (code == kKindWindow || code == kKindReport || code == kKindMenuBar || code == kKindMenu ||
        code == kKindItem) {
      continue;
    }
    Entry entry = FullEntry(*layouts[i], seed++);
    if (SlotOf(*layouts[i], Field::kChildren)) {
      entry.children.push_back(FullEntry(*LayoutOf(kKindString), seed++));
    }
    window.children.push_back(entry);
  }
  report.children.push_back(FullEntry(*LayoutOf(kKindDetail), 99));
  Module module{"carelog.cpp$test", {window, report}};
  std::vector<uint8_t> body = Encode(module);
  Module decoded;
  ASSERT_EQ(DecodeModule(body.data(), body.size(), &decoded), DefinitionError::kOk);
  EXPECT_EQ(decoded, module);
}

TEST(DefinitionModel, UseControlsComeInFieldEquateOrder) {
  auto control = [](uint8_t kind, int32_t id, bool use) {
    Entry entry;
    entry.kind = kind;
    entry.id = id;
    if (use) entry.use = UseType{0x06, 4};
    return entry;
  };
  Entry window = Window("A$W");
  Entry sheet = control(kKindSheet, 2, false);
  Entry tab = control(kKindTab, 3, false);
  tab.children = {control(kKindEntry, 5, true), control(kKindCheck, 4, true)};
  sheet.children = {tab};
  window.children = {control(kKindEntry, 6, true), sheet, control(kKindPrompt, 0, false),
                     control(kKindVarString, 1, true)};
  Entry bar;
  bar.kind = kKindMenuBar;
  Entry menu = control(kKindMenu, -1, false);
  bar.children = {menu};
  window.menubar = {bar};

  std::vector<int32_t> ids;
  for (const Entry* entry : UseControlsOf(window)) ids.push_back(entry->id);
  EXPECT_EQ(ids, (std::vector<int32_t>{1, 4, 5, 6}));
  EXPECT_EQ(ControlsOf(window).size(), 7u);
  EXPECT_EQ(HighestFieldEquate(window), 6);
}

TEST(DefinitionBody, WriterRefusesModelsTheFormatCannotHold) {
  std::vector<uint8_t> body;
  std::string error;
  Entry button;
  button.kind = kKindButton;
  button.strings[Field::kPicture] = "s20";
  Entry window = Window("A$W");
  window.children = {button};
  EXPECT_FALSE(EncodeModule(Module{"x$y", {window}}, &body, &error));
  EXPECT_NE(error.find("button has no picture"), std::string::npos) << error;

  Entry nested = Window("A$W");
  nested.children = {Window("B$W")};
  EXPECT_FALSE(EncodeModule(Module{"x$y", {nested}}, &body, &error));

  Entry control;
  control.kind = kKindPrompt;
  EXPECT_FALSE(EncodeModule(Module{"x$y", {control}}, &body, &error));

  Entry zero = Window(std::string("A\0B", 3));
  EXPECT_FALSE(EncodeModule(Module{"x$y", {zero}}, &body, &error));
}

}  // namespace
}  // namespace carelog::window
