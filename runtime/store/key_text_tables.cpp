// The text tables of key encoding, taken from the process locale.
#include "runtime/store/key_encoding.h"
#include "runtime/values/locale.h"

namespace carelog::store {

TextKeyTables LocaleTextKeyTables(bool oem) {
  const values::LocaleTables& locale = values::Locale();
  TextKeyTables tables;
  for (int c = 0; c < 256; ++c) {
    tables.lower[c] = values::LowerCase(static_cast<uint8_t>(c));
    tables.collation[c] = oem ? locale.oem_collation[c] : locale.collation[c];
  }
  return tables;
}

}  // namespace carelog::store
