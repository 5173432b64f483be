// The named settings that change the locale tables, as one line "NAME=value" of an environment
// file gives them (environment.h reads the files).
//
// Names, compared without regard to case:
//   TAMCHARSET   "OEM" sets the OEM flag, anything else clears it
//   TAMCOLSEQ    collation sequence (one item, never converted); "WINDOWS" takes the system's
//                text order; empty resets both collation tables to the identity
//   TAMCASE      "WINDOWS" or two items: upper-case letters, matching lower-case letters
//   TAMMONTH     up to 12 month names          TAMMON     up to 12 abbreviations
//   TAMAMPM      "WINDOWS" or two items: AM text, PM text
//   TAMDIGRAPH   up to 16 three-character entries
//   TAMBUTTON    item n is the text of standard button 0x7F00 + n
//   TAMMSGn      the whole value replaces runtime message n
// Other names are ignored.
//
// Values: a value that starts with '"' is a list of quoted items ("a","b", with "" for a quote
// inside an item); any other value is split at its commas. With the OEM flag on, every value
// but the collation sequence is converted from OEM to ANSI first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/values/locale.h"

namespace carelog::values {

// Applies one setting to `tables`.
void ApplySetting(LocaleTables& tables, std::string_view name, std::string_view value);

// The items of a value, by the rules above.
std::vector<std::string> SplitItems(std::string_view value);

// Rebuilds both collation tables from a sequence of characters: duplicates are dropped and the
// k-th character of the sequence receives the k-th smallest code among the characters named;
// every other character keeps its own code. (For a complete order of the 222 printable codes
// this is exactly the order: the first 95 take 32..126, the rest 128..254.) The OEM table is
// built from the sequence converted into the OEM set, or the ANSI table from the sequence
// converted out of it when `sequence_is_oem`.
void SetCollationSequence(LocaleTables& tables, std::string_view sequence, bool sequence_is_oem);

// Collation weights from a sequence, as above, for one character set.
void CollationFromSequence(std::string_view sequence, uint8_t weights[256]);

}  // namespace carelog::values
