// The font dialog (FONTCHOICE$DIALOG): a face from the installed families, a style, a size,
// the effects and a colour, with a sample drawn in the font as it stands.
//
// The dialog rewrites only the style bits it shows (weight, italic, underline, strikeout):
// any other bit of the caller's style passes through, and a weight that the style list cannot
// name (say 600) is kept as long as the user leaves the style alone.
#include <strings.h>

#include <algorithm>
#include <cstring>

#include "runtime/host/graphics.h"
#include "runtime/host/window_system.h"
#include "runtime/window/common_dialogs.h"
#include "runtime/window/dialog_fields.h"
#include "runtime/window/font_style.h"
#include "runtime/window/list_rows.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

// Controls of FONTCHOICE$DIALOG.
enum FontField : int {
  kFaceEntry = 1,
  kFaceList = 2,
  kStyleEntry = 3,
  kStyleList = 4,
  kSizeEntry = 5,
  kSizeList = 6,
  kStrikeout = 7,
  kUnderline = 8,
  kColorList = 9,
  kSample = 10,
  kOk = 11,
  kCancel = 12,
};

constexpr int kMinSize = 1;
constexpr int kMaxSize = 255;  // sizes are kept in a byte by the program's font settings
constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// Style rows: index bit 1 is bold, bit 0 italic.
constexpr const char* kStyleNames[] = {"Regular", "Italic", "Bold", "Bold Italic"};
constexpr int kBoldFrom = 600;  // weights from here on show as bold

struct NamedColor {
  const char* name;
  int64_t value;  // 0x00BBGGRR
};
constexpr NamedColor kColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
};

// The dialog's USE variables, in the order of their controls.
struct FontVariables {
  char face[40];
  char style[20];
  int32_t size = 0;
  uint8_t strikeout = 0;
  uint8_t underline = 0;
};

int StyleIndex(const std::string& name) {
  for (int i = 0; i < 4; ++i) {
    if (dialog::SameName(name, kStyleNames[i])) return i;
  }
  return -1;
}

class FontDialog {
 public:
  explicit FontDialog(const FontChoice& preset)
      : preset_(preset),
        window_(StructureKind::kWindow, "FONTCHOICE$DIALOG", dialog::kModule,
                UseTable{use::String(kFaceEntry, v_.face), use::String(kStyleEntry, v_.style),
                         use::Long(kSizeEntry, &v_.size), use::Byte(kStrikeout, &v_.strikeout),
                         use::Byte(kUnderline, &v_.underline)}) {
    std::memset(v_.face, ' ', sizeof v_.face);
    std::memset(v_.style, ' ', sizeof v_.style);
  }

  bool Run(const std::string& title, FontChoice* result) {
    if (!dialog::OpenWithControls(
            window_, {kFaceEntry, kFaceList, kStyleEntry, kStyleList, kSizeEntry, kSizeList,
                      kStrikeout, kUnderline, kColorList, kSample, kOk, kCancel}))
      return false;
    if (!title.empty()) SetProperty(0, prop::kText, title);
    Preset();
    bool chosen = false, done = false;
    while (!done && Accept()) {
      if (Event() == event::kAccepted) {
        switch (Field()) {
          case kFaceEntry:
            FaceTyped();
            break;
          case kStyleEntry:
            StyleTyped();
            break;
          case kSizeEntry:
            SizeTyped();
            break;
          case kStrikeout:
          case kUnderline:
            ShowSample();
            break;
          case kOk:
            chosen = done = Confirm(result);
            break;
          case kCancel:
            done = true;
            break;
        }
      } else if (Event() == event::kNewSelection) {
        RowChosen(Field());
      }
    }
    Close(window_);
    return chosen;
  }

 private:
  Control& Get(int equate) { return *window_.Find(equate); }

  void Preset() {
    std::vector<std::string> faces = host::FontFamilies();
    if (!preset_.face.empty() &&
        std::none_of(faces.begin(), faces.end(),
                     [&](const std::string& f) { return dialog::SameName(f, preset_.face); })) {
      faces.push_back(preset_.face);
      std::sort(faces.begin(), faces.end(), [](const std::string& a, const std::string& b) {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
      });
    }
    SetListRows(Get(kFaceList), std::move(faces));
    int face_row = FindListRow(Get(kFaceList), preset_.face);
    SelectListRow(Get(kFaceList), face_row);
    dialog::PutString(v_.face, sizeof v_.face,
                      face_row ? ListRowText(Get(kFaceList), face_row) : preset_.face);

    int weight = static_cast<int>(preset_.style & font_style::kWeightMask);
    bool bold = weight >= kBoldFrom;
    bool italic = (preset_.style & font_style::kItalic) != 0;
    preset_style_row_ = (bold ? 2 : 0) + (italic ? 1 : 0) + 1;
    SetListRows(Get(kStyleList),
                std::vector<std::string>(std::begin(kStyleNames), std::end(kStyleNames)),
                preset_style_row_);
    dialog::PutString(v_.style, sizeof v_.style, kStyleNames[preset_style_row_ - 1]);

    std::vector<std::string> sizes;
    for (int size : kSizes) sizes.push_back(std::to_string(size));
    SetListRows(Get(kSizeList), std::move(sizes));
    v_.size = preset_.size > 0 ? preset_.size : 0;
    SelectListRow(Get(kSizeList), FindListRow(Get(kSizeList), std::to_string(v_.size)));

    v_.strikeout = (preset_.style & font_style::kStrikeout) ? 1 : 0;
    v_.underline = (preset_.style & font_style::kUnderline) ? 1 : 0;

    std::vector<std::string> colors;
    int color_row = 0;
    for (const NamedColor& c : kColors) {
      colors.push_back(c.name);
      color_values_.push_back(c.value);
      if (c.value == preset_.color) color_row = static_cast<int>(colors.size());
    }
    if (!color_row) {
      // A colour without a name keeps its own row, so confirming returns it unchanged.
      colors.push_back(preset_.color < 0 ? "Automatic" : "Custom");
      color_values_.push_back(preset_.color);
      color_row = static_cast<int>(colors.size());
    }
    SetListRows(Get(kColorList), std::move(colors), color_row);
    Display();
    ShowSample();
  }

  // The face, style and size lists follow what is typed into their entries.
  void FaceTyped() {
    std::string face = dialog::GetString(v_.face, sizeof v_.face);
    int row = FindListRow(Get(kFaceList), face);
    if (!row) row = FindListRowByPrefix(Get(kFaceList), face);
    if (row) SelectListRow(Get(kFaceList), row);
    ShowSample();
  }

  void StyleTyped() {
    int index = StyleIndex(dialog::GetString(v_.style, sizeof v_.style));
    if (index >= 0) SelectListRow(Get(kStyleList), index + 1);
    ShowSample();
  }

  void SizeTyped() {
    SelectListRow(Get(kSizeList), FindListRow(Get(kSizeList), std::to_string(v_.size)));
    ShowSample();
  }

  void RowChosen(int list) {
    Control& c = Get(list);
    if (SelectedListRow(c) == 0) return;
    std::string row = ListRowText(c, SelectedListRow(c));
    switch (list) {
      case kFaceList:
        dialog::PutString(v_.face, sizeof v_.face, row);
        break;
      case kStyleList:
        dialog::PutString(v_.style, sizeof v_.style, row);
        break;
      case kSizeList:
        v_.size = std::stoi(row);
        break;
      default:
        break;
    }
    Display();
    ShowSample();
  }

  // The font as the dialog shows it now; the weight stays the caller's until the style
  // changes.
  FontChoice Current() {
    FontChoice font;
    font.face = dialog::GetString(v_.face, sizeof v_.face);
    font.size = v_.size;
    const Control& colors = Get(kColorList);
    int color_row = SelectedListRow(colors);
    font.color = color_row ? color_values_[static_cast<size_t>(color_row - 1)] : preset_.color;
    int64_t style = preset_.style & ~(font_style::kWeightMask | font_style::kItalic |
                                      font_style::kUnderline | font_style::kStrikeout);
    int index = StyleIndex(dialog::GetString(v_.style, sizeof v_.style));
    if (index < 0) index = preset_style_row_ - 1;
    if (index + 1 == preset_style_row_) {
      style |= preset_.style & font_style::kWeightMask;
    } else {
      style |= (index & 2) ? font_style::kBoldWeight : font_style::kNormalWeight;
    }
    if (index & 1) style |= font_style::kItalic;
    if (v_.underline) style |= font_style::kUnderline;
    if (v_.strikeout) style |= font_style::kStrikeout;
    font.style = style;
    return font;
  }

  void ShowSample() {
    FontChoice font = Current();
    Control& sample = Get(kSample);
    host::FontSpec spec = window_.font;
    if (!font.face.empty()) spec.face = font.face;
    if (font.size >= kMinSize && font.size <= kMaxSize) spec.points = font.size;
    ApplyFontStyle(font.style, &spec);
    spec.color = font.color < 0 ? host::Color{} : ColorFromDefinition(font.color);
    sample.font = spec;
    sample.Invalidate();
  }

  // Checks the choice; a field that cannot be taken gets the focus back.
  bool Confirm(FontChoice* result) {
    FontChoice font = Current();
    if (font.face.empty() || !FindListRow(Get(kFaceList), font.face)) {
      host::Beep();
      Select(kFaceEntry);
      return false;
    }
    font.face = ListRowText(Get(kFaceList), FindListRow(Get(kFaceList), font.face));
    if (StyleIndex(dialog::GetString(v_.style, sizeof v_.style)) < 0) {
      host::Beep();
      Select(kStyleEntry);
      return false;
    }
    if (font.size < kMinSize || font.size > kMaxSize) {
      host::Beep();
      Select(kSizeEntry);
      return false;
    }
    *result = font;
    return true;
  }

  FontChoice preset_;
  FontVariables v_;
  Structure window_;
  int preset_style_row_ = 1;
  std::vector<int64_t> color_values_;
};

}  // namespace

bool ChooseFont(const std::string& title, FontChoice* choice) {
  if (!choice) return false;
  FontDialog dialog(*choice);
  return dialog.Run(title, choice);
}

}  // namespace carelog::window
