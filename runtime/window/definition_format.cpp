#include "runtime/window/definition_format.h"

#include <iterator>

namespace carelog::window {
namespace {

using F = Field;
using T = FieldType;

constexpr FieldInfo kFieldInfo[] = {
    {F::kAt, T::kAt, "at", 0},
    {F::kUse, T::kUse, "use", 0},
    {F::kFont, T::kFont, "font", 0},
    {F::kLabel, T::kString, "label", 0},
    {F::kTitle, T::kString, "title", 0},
    {F::kText, T::kString, "text", 0},
    {F::kPicture, T::kPicture, "picture", 0},
    {F::kIcon, T::kString, "icon", 0},
    {F::kImage, T::kString, "file", 0},
    {F::kFormat, T::kString, "format", 0},
    {F::kHelp, T::kString, "help", 0},
    {F::kRef, T::kString, "ref", 0},
    {F::kFile2, T::kString, "file2", 0},
    {F::kMessage, T::kString, "msg", 0},
    {F::kTip, T::kString, "tip", 0},
    {F::kKey, T::kHex, "key", 0},
    {F::kAlerts, T::kAlerts, "alert", 0},
    {F::kAction, T::kAction, "action", 0},
    {F::kFlags, T::kU8, "flags", 0},
    {F::kColor, T::kHex, "color", -1},
    {F::kFill, T::kHex, "fill", -1},
    {F::kDropRows, T::kU8, "drop", 0},
    {F::kLower, T::kReal, "lower", 0},
    {F::kUpper, T::kReal, "upper", 0},
    {F::kStep, T::kReal, "step", 0},
    {F::kFrame, T::kHex, "frame", 0},
    {F::kTimer, T::kI32, "timer", 0},
    {F::kMenuBar, T::kMenuBar, "menubar", 0},
    {F::kZones, T::kZones, "status", 0},
    {F::kChildren, T::kChildren, "children", 0},
    {F::kKeep, T::kI32, "keep", 0},
    {F::kPageBefore, T::kI32, "pagebefore", 0},
    {F::kPageAfter, T::kI32, "pageafter", 0},
    {F::kPaper, T::kI32, "paper", 0},
    {F::kPaperWidth, T::kI32, "paperwidth", 0},
    {F::kPaperHeight, T::kI32, "paperheight", 0},
    {F::kLandscape, T::kI32, "landscape", 0},
};
static_assert(std::size(kFieldInfo) == static_cast<size_t>(F::kCount));

// Message block slots at offset o: message, tip, help context, key, alert keys.
#define MESSAGE_BLOCK(o)                                                      \
  {F::kMessage, o}, {F::kTip, o + 4}, {F::kHelp, o + 8}, {F::kKey, o + 12}, { \
    F::kAlerts, o + 16                                                        \
  }

constexpr FieldSlot kWindow[] = {
    {F::kAt, 13},    {F::kChildren, 29}, {F::kLabel, 33}, {F::kFont, 37},   {F::kTitle, 41},
    {F::kIcon, 53},  {F::kRef, 57},      {F::kHelp, 65},  {F::kAlerts, 73}, {F::kFrame, 77},
    {F::kTimer, 85}, {F::kMenuBar, 89},  {F::kFile2, 97}, {F::kZones, 101},
};
constexpr FieldSlot kReport[] = {
    {F::kAt, 13},         {F::kChildren, 29},    {F::kLabel, 33},
    {F::kFont, 37},       {F::kTitle, 41},       {F::kPaper, 45},
    {F::kPaperWidth, 49}, {F::kPaperHeight, 53}, {F::kLandscape, 57},
};
constexpr FieldSlot kVarString[] = {{F::kUse, 21}, {F::kAt, 25}, {F::kPicture, 45}, {F::kFont, 49}};
constexpr FieldSlot kString[] = {{F::kAt, 21}, {F::kText, 41}, {F::kFont, 45}};
constexpr FieldSlot kImage[] = {{F::kAt, 21}, {F::kImage, 37}};
constexpr FieldSlot kRegion[] = {{F::kAt, 21}, {F::kColor, 37}, {F::kFill, 41}};
constexpr FieldSlot kLine[] = {{F::kAt, 21}, {F::kColor, 37}};
constexpr FieldSlot kAtOnly[] = {{F::kAt, 21}};
constexpr FieldSlot kEntry[] = {
    {F::kUse, 21}, {F::kAt, 25}, MESSAGE_BLOCK(41), {F::kPicture, 69}, {F::kFont, 73}};
constexpr FieldSlot kButton[] = {{F::kAt, 21},   MESSAGE_BLOCK(37), {F::kText, 65}, {F::kIcon, 69},
                                 {F::kFont, 73}, {F::kAction, 77},  {F::kFlags, 81}};
constexpr FieldSlot kOption[] = {{F::kUse, 21},  {F::kAt, 25},   MESSAGE_BLOCK(41),
                                 {F::kFont, 65}, {F::kText, 69}, {F::kChildren, 73}};
constexpr FieldSlot kCheck[] = {
    {F::kUse, 21}, {F::kAt, 25}, MESSAGE_BLOCK(41), {F::kFont, 65}, {F::kText, 69}};
constexpr FieldSlot kGroup[] = {
    {F::kAt, 21}, MESSAGE_BLOCK(37), {F::kFont, 61}, {F::kText, 65}, {F::kChildren, 69}};
constexpr FieldSlot kList[] = {
    {F::kFormat, 25}, {F::kAt, 29}, MESSAGE_BLOCK(45), {F::kFont, 65}, {F::kDropRows, 73}};
constexpr FieldSlot kSpin[] = {{F::kUse, 21},   {F::kAt, 25},      MESSAGE_BLOCK(41),
                               {F::kFont, 65},  {F::kPicture, 69}, {F::kLower, 73},
                               {F::kUpper, 81}, {F::kStep, 89}};
constexpr FieldSlot kTextBox[] = {{F::kUse, 21}, {F::kAt, 25}, MESSAGE_BLOCK(41), {F::kFont, 61}};
constexpr FieldSlot kCustom[] = {{F::kAt, 21}, {F::kText, 37}};
constexpr FieldSlot kMenu[] = {{F::kText, 25}, MESSAGE_BLOCK(29), {F::kChildren, 53}};
constexpr FieldSlot kItem[] = {{F::kText, 25}, MESSAGE_BLOCK(29), {F::kAction, 49}};
constexpr FieldSlot kRadio[] = {{F::kAt, 21}, MESSAGE_BLOCK(37), {F::kFont, 61}, {F::kText, 65}};
constexpr FieldSlot kMenuBar[] = {{F::kChildren, 13}};
constexpr FieldSlot kBand[] = {
    {F::kChildren, 21}, {F::kAt, 25}, {F::kKeep, 41}, {F::kPageBefore, 45}, {F::kPageAfter, 49}};
constexpr FieldSlot kBandGroup[] = {{F::kChildren, 21}, {F::kAt, 25}};
constexpr FieldSlot kProgress[] = {{F::kUse, 21}, {F::kAt, 25}, {F::kLower, 49}, {F::kUpper, 57}};
constexpr FieldSlot kSheet[] = {
    {F::kUse, 21}, {F::kAt, 25}, MESSAGE_BLOCK(41), {F::kFont, 65}, {F::kChildren, 73}};
constexpr FieldSlot kTab[] = {
    MESSAGE_BLOCK(21), {F::kFlags, 41}, {F::kText, 42}, {F::kChildren, 50}};
constexpr FieldSlot kToolbar[] = {{F::kAt, 21}, {F::kChildren, 37}};

#undef MESSAGE_BLOCK

#define LAYOUT(kind, text, bytes, is_control, table)       \
  KindLayout {                                             \
    kind, text, bytes, is_control, table, std::size(table) \
  }

constexpr KindLayout kKindLayouts[] = {
    LAYOUT(kKindVarString, "varstring", 53, true, kVarString),
    LAYOUT(kKindString, "string", 49, true, kString),
    LAYOUT(kKindImage, "image", 41, true, kImage),
    LAYOUT(kKindRegion, "region", 45, true, kRegion),
    LAYOUT(kKindLine, "line", 41, true, kLine),
    LAYOUT(kKindBox, "box", 45, true, kRegion),
    LAYOUT(kKind7, "kind7", 37, true, kAtOnly),
    LAYOUT(kKindEntry, "entry", 77, true, kEntry),
    LAYOUT(kKindButton, "button", 82, true, kButton),
    LAYOUT(kKindPrompt, "prompt", 49, true, kString),
    LAYOUT(kKindOption, "option", 77, true, kOption),
    LAYOUT(kKindCheck, "check", 73, true, kCheck),
    LAYOUT(kKindGroup, "group", 73, true, kGroup),
    LAYOUT(kKindList, "list", 74, true, kList),
    LAYOUT(kKind15, "kind15", 37, true, kAtOnly),
    LAYOUT(kKindSpin, "spin", 97, true, kSpin),
    LAYOUT(kKindTextBox, "textbox", 65, true, kTextBox),
    LAYOUT(kKindCustom, "custom", 41, true, kCustom),
    LAYOUT(kKindMenu, "menu", 57, true, kMenu),
    LAYOUT(kKindItem, "item", 53, true, kItem),
    LAYOUT(kKindRadio, "radio", 69, true, kRadio),
    LAYOUT(kKindMenuBar, "menubar", 17, false, kMenuBar),
    LAYOUT(kKindWindow, "window", 105, false, kWindow),
    LAYOUT(kKindReport, "report", 61, false, kReport),
    LAYOUT(kKindHeader, "header", 53, true, kBand),
    LAYOUT(kKindFooter, "footer", 53, true, kBand),
    LAYOUT(kKindBandGroup, "bandgroup", 41, true, kBandGroup),
    LAYOUT(kKindForm, "form", 53, true, kBand),
    LAYOUT(kKindDetail, "detail", 53, true, kBand),
    LAYOUT(kKind33, "kind33", 37, true, kAtOnly),
    LAYOUT(kKind34, "kind34", 37, true, kAtOnly),
    LAYOUT(kKindProgress, "progress", 65, true, kProgress),
    LAYOUT(kKindSheet, "sheet", 77, true, kSheet),
    LAYOUT(kKindTab, "tab", 54, true, kTab),
    LAYOUT(kKindToolbar, "toolbar", 41, true, kToolbar),
};

#undef LAYOUT

struct NamedCode {
  int64_t code;
  const char* name;
};

constexpr NamedCode kActions[] = {
    {2, "tile"},       {3, "cascade"},     {4, "arrange"},         {5, "helpcontents"},
    {6, "helponhelp"}, {7, "helpsearch"},  {8, "contexthelp"},     {10, "cut"},
    {11, "copy"},      {12, "paste"},      {13, "clear"},          {14, "undo"},
    {15, "close"},     {16, "printsetup"}, {17, "tilehorizontal"}, {18, "tilevertical"},
};

constexpr const char* kUnitNames[] = {"dialog", "inch25", "inch1000", "points"};

}  // namespace

const FieldInfo& InfoOf(Field field) {
  return kFieldInfo[static_cast<size_t>(field)];
}

const FieldInfo* FieldByKeyword(std::string_view keyword) {
  for (const FieldInfo& info : kFieldInfo) {
    if (keyword == info.keyword) return &info;
  }
  return nullptr;
}

const KindLayout* LayoutOf(uint8_t kind) {
  for (const KindLayout& layout : kKindLayouts) {
    if (layout.code == kind) return &layout;
  }
  return nullptr;
}

const KindLayout* LayoutByName(std::string_view name) {
  for (const KindLayout& layout : kKindLayouts) {
    if (name == layout.name) return &layout;
  }
  return nullptr;
}

const KindLayout* const* AllLayouts(size_t* count) {
  static const KindLayout* const* table = [] {
    static const KindLayout* pointers[std::size(kKindLayouts)];
    for (size_t i = 0; i < std::size(kKindLayouts); ++i) pointers[i] = &kKindLayouts[i];
    return pointers;
  }();
  *count = std::size(kKindLayouts);
  return table;
}

const FieldSlot* SlotOf(const KindLayout& layout, Field field) {
  for (size_t i = 0; i < layout.slot_count; ++i) {
    if (layout.slots[i].field == field) return &layout.slots[i];
  }
  return nullptr;
}

uint32_t MessageBlockOffset(const KindLayout& layout) {
  const FieldSlot* slot = SlotOf(layout, Field::kMessage);
  return slot ? slot->offset : 0;
}

const char* ActionName(int64_t code) {
  for (const NamedCode& action : kActions) {
    if (action.code == code) return action.name;
  }
  return nullptr;
}

bool ActionByName(std::string_view name, int64_t* code) {
  for (const NamedCode& action : kActions) {
    if (name == action.name) {
      *code = action.code;
      return true;
    }
  }
  return false;
}

const char* UnitName(uint32_t attr) {
  return kUnitNames[(attr & kUnitMask) >> 8];
}

bool UnitByName(std::string_view name, uint32_t* bits) {
  for (uint32_t i = 0; i < std::size(kUnitNames); ++i) {
    if (name == kUnitNames[i]) {
      *bits = i << 8;
      return true;
    }
  }
  return false;
}

}  // namespace carelog::window
