#include "runtime/store/table_ops.h"

namespace carelog::store {
namespace {

TableOps& DefaultTableOps() {
  static TableOps none;
  return none;
}

TableOps* registered = nullptr;

}  // namespace

AccessMode DecodeAccessMode(uint32_t mode) {
  AccessMode decoded;
  decoded.raw = mode;
  switch (mode & 0x0F) {
    case 1:
      decoded.read = false;
      decoded.write = true;
      break;
    case 2:
      decoded.write = true;
      break;
    default:
      break;
  }
  const uint32_t share = mode & 0xF0;
  decoded.shared = share == 0x00 || share == 0x40;
  decoded.readers_allowed = share == 0x20;
  return decoded;
}

void RegisterTableOps(TableOps* ops) {
  registered = ops;
}

TableOps& CurrentTableOps() {
  return registered != nullptr ? *registered : DefaultTableOps();
}

}  // namespace carelog::store
