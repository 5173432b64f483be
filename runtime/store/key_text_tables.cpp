// The text tables of key encoding, taken from the process locale.
#include "runtime/store/key_encoding.h"
#include "runtime/values/locale.h"

namespace carelog::store {

TextKeyTables LocaleTextKeyTables(bool oem) {
  const values::LocaleTables& locale = values::Locale();
  TextKeyTables tables;
  for (int c = 0; c < 256; ++c) {  // values::LowerCase, without fetching the tables each time
    tables.lower[c] = locale.char_class[c] == values::kClassUpper ? locale.case_partner[c] : c;
    tables.collation[c] = oem ? locale.oem_collation[c] : locale.collation[c];
  }
  return tables;
}

}  // namespace carelog::store
