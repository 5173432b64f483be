// The text tables of key encoding, taken from the process locale.
#include "runtime/store/key_encoding.h"

namespace carelog::store {

TextKeyTables LocaleTextKeyTables(bool /*oem*/) {
  return DefaultTextKeyTables();
}

}  // namespace carelog::store
