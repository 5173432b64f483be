// The "&Default Font" item of the frame: the runtime's font dialog over DisplayFont.
#include <algorithm>

#include "app/display_font.h"
#include "runtime/window/common_dialogs.h"

namespace carelog::app {

void ChooseDefaultFont() {
  window::FontChoice choice;
  choice.face = DisplayFont.typeface;
  choice.size = DisplayFont.size;
  choice.color = DisplayFont.color;
  choice.style = DisplayFont.style;
  if (!window::ChooseFont("Choose default display Font", &choice)) return;
  std::string face = choice.face.substr(0, DisplayFontSettings::kTypefaceLength);
  face.erase(face.find_last_not_of(' ') + 1);
  DisplayFont.typeface = face;
  DisplayFont.size = static_cast<uint8_t>(std::clamp(choice.size, 0, 255));
  DisplayFont.color = static_cast<int32_t>(choice.color);
  DisplayFont.style = static_cast<int32_t>(choice.style);
  SaveDisplayFont(DisplayFont);
}

}  // namespace carelog::app
