// The default display font kept in "Fonts.Lds" (prefix WFN, no key, one meaningful record:
// the first in physical order), read at the start of MAIN and rewritten by the default-font
// dialog.
//
// Record (48 bytes)            DisplayFont
//   0  STRING(40) typeface  ->  typeface: its first 20 characters, trailing blanks clipped
//  40  SHORT      size      ->  size: low byte; written back zero-extended
//  42  LONG       colour    ->  colour
//  46  SHORT      style     ->  style: sign-extended; written back as its low 16 bits
//
// The file is opened with mode 0x22 (read/write, deny write) and closed right after each use.
#pragma once

#include "app/procedure_globals.h"

namespace carelog::app {

// Reads DisplayFont from the file. A file that is missing or cannot be opened leaves
// DisplayFont unchanged and says nothing; an empty file reads as a blank record (size 0).
// Returns the record store's code of the open (0 when the file was read).
int LoadDisplayFont();

// Creates the file anew with one record holding `font`. Returns 0, or the record store's code
// of the step that failed (the file is closed again in every case).
int SaveDisplayFont(const DisplayFontSettings& font);

// The "&Default Font" item of the frame: the font dialog preset with DisplayFont; on OK the
// choice becomes DisplayFont and is saved; on cancel nothing changes. Windows already open
// keep their fonts.
void ChooseDefaultFont();

}  // namespace carelog::app
