#include "app/display_font.h"

#include <algorithm>
#include <cstring>

#include "app/data/dictionary.h"
#include "app/data/records.h"
#include "runtime/store/file_statements.h"

namespace carelog::app {
namespace {

void ClearRecord(appdata::FontsRecord& record) {
  std::memset(record.FONTTYPEFACE, ' ', sizeof(record.FONTTYPEFACE));
  record.FONTSIZE = 0;
  record.FONTCOLOR = 0;
  record.FONTSTYLE = 0;
}

std::string TypefaceOf(const appdata::FontsRecord& record) {
  std::string face(record.FONTTYPEFACE,
                   std::min(sizeof(record.FONTTYPEFACE), DisplayFontSettings::kTypefaceLength));
  face.erase(face.find_last_not_of(' ') + 1);
  return face;
}

}  // namespace

int LoadDisplayFont() {
  store::FileDeclaration& file = appdata::FontsFile();
  int code = store::Open(file, store::kOpenDefaultMode);
  if (code != 0) return code;
  appdata::FontsRecord& record = appdata::WFN;
  ClearRecord(record);
  store::Set(file);
  store::Next(file);  // an empty file leaves the blank record
  DisplayFont.typeface = TypefaceOf(record);
  DisplayFont.size = static_cast<uint8_t>(static_cast<uint16_t>(record.FONTSIZE) & 0xFF);
  DisplayFont.color = record.FONTCOLOR;
  DisplayFont.style = record.FONTSTYLE;  // sign-extends
  store::Close(file);
  return 0;
}

int SaveDisplayFont(const DisplayFontSettings& font) {
  store::FileDeclaration& file = appdata::FontsFile();
  int code = store::Create(file);
  if (code != 0) return code;
  code = store::Open(file, store::kOpenDefaultMode);
  if (code != 0) return code;
  appdata::FontsRecord& record = appdata::WFN;
  ClearRecord(record);
  std::memcpy(record.FONTTYPEFACE, font.typeface.data(),
              std::min(font.typeface.size(), sizeof(record.FONTTYPEFACE)));
  record.FONTSIZE = static_cast<int16_t>(font.size);
  record.FONTCOLOR = font.color;
  record.FONTSTYLE = static_cast<int16_t>(static_cast<uint16_t>(font.style & 0xFFFF));
  code = store::Add(file);
  int closed = store::Close(file);
  return code != 0 ? code : closed;
}

}  // namespace carelog::app
