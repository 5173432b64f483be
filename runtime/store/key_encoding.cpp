#include "runtime/store/key_encoding.h"

#include <algorithm>
#include <cstring>

#include "runtime/store/declarations.h"
#include "runtime/store/table_entries.h"

namespace carelog::store {
namespace {

void MapText(std::string& bytes, size_t from, bool nocase, const TextKeyTables& text) {
  uint8_t* p = reinterpret_cast<uint8_t*>(bytes.data());
  const size_t end = bytes.size();
  if (nocase) {
    for (size_t i = from; i < end; ++i) p[i] = text.collation[text.lower[p[i]]];
  } else {
    for (size_t i = from; i < end; ++i) p[i] = text.collation[p[i]];
  }
}

void InvertFrom(std::string& bytes, size_t from) {
  for (size_t i = from; i < bytes.size(); ++i) bytes[i] = static_cast<char>(~bytes[i]);
}

void AppendReversed(const uint8_t* src, size_t size, std::string* out) {
  const size_t start = out->size();
  out->resize(start + size);
  char* to = out->data() + start;
  for (size_t i = 0; i < size; ++i) to[i] = static_cast<char>(src[size - 1 - i]);
}

// One element of a numeric type, or the whole field for the others.
void EncodeBody(const FieldDef& f, bool nocase, const TextKeyTables& text, const uint8_t* src,
                std::string* out) {
  const size_t start = out->size();
  const size_t size = f.total_size;
  switch (f.type) {
    case kTypeString:
      out->append(reinterpret_cast<const char*>(src), size);
      MapText(*out, start, nocase, text);
      return;
    case kTypeCString: {
      const void* nul = std::memchr(src, 0, size);
      size_t len = nul ? static_cast<const uint8_t*>(nul) - src : size;
      out->append(reinterpret_cast<const char*>(src), len);
      out->append(size - len, ' ');
      MapText(*out, start, nocase, text);
      return;
    }
    case kTypePString: {
      size_t len = size == 0 ? 0 : std::min<size_t>(src[0], size - 1);
      out->append(reinterpret_cast<const char*>(src) + (size == 0 ? 0 : 1), len);
      out->append(size - len, '\0');
      MapText(*out, start, nocase, text);
      return;
    }
    case kTypeUShort:
    case kTypeULong:
      AppendReversed(src, size, out);
      return;
    case kTypeShort:
    case kTypeLong:
      AppendReversed(src, size, out);
      if (size > 0) (*out)[start] ^= static_cast<char>(0x80);
      return;
    case kTypeSReal:
    case kTypeReal:
      AppendReversed(src, size, out);
      if (size == 0) return;
      if ((static_cast<uint8_t>((*out)[start]) & 0x80) == 0) {
        (*out)[start] |= static_cast<char>(0x80);
      } else {
        InvertFrom(*out, start);
      }
      return;
    case kTypeDecimal: {
      out->append(reinterpret_cast<const char*>(src), size);
      if (size == 0) return;
      bool negative = (static_cast<uint8_t>((*out)[start]) & 0xF0) != 0;
      if (negative) (*out)[start] &= 0x0F;
      (*out)[start] ^= static_cast<char>(0x80);
      if (negative) InvertFrom(*out, start);
      return;
    }
    default:
      out->append(reinterpret_cast<const char*>(src), size);
      return;
  }
}

}  // namespace

const TextKeyTables& DefaultTextKeyTables() {
  static const TextKeyTables tables = [] {
    TextKeyTables t;
    for (int c = 0; c < 256; ++c) {
      t.lower[c] = static_cast<uint8_t>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
      t.collation[c] = static_cast<uint8_t>(c);
    }
    return t;
  }();
  return tables;
}

void AppendComponent(const FieldDef& field, bool descending, bool nocase, const TextKeyTables& text,
                     const uint8_t* record, std::string* out) {
  const size_t start = out->size();
  EncodeBody(field, nocase, text, record + field.offset, out);
  if (descending) InvertFrom(*out, start);
}

bool IsBlankComponent(const FieldDef& field, const uint8_t* record) {
  const uint8_t* src = record + field.offset;
  switch (field.type) {
    case kTypeString:
    case kTypeGroup:
      return std::all_of(src, src + field.total_size, [](uint8_t c) { return c == ' '; });
    case kTypeCString:
    case kTypePString:
      return field.total_size == 0 || src[0] == 0;
    default:
      return std::all_of(src, src + field.total_size, [](uint8_t c) { return c == 0; });
  }
}

void KeyEncoder::AppendValue(const KeyDef& key, const uint8_t* record, std::string* out) const {
  for (const KeyComponentDef& c : key.components) {
    AppendComponent(def->fields[c.field_index], c.descending, key.nocase(), *text, record, out);
  }
}

bool KeyEncoder::IsBlank(const KeyDef& key, const uint8_t* record) const {
  for (const KeyComponentDef& c : key.components) {
    if (!IsBlankComponent(def->fields[c.field_index], record)) return false;
  }
  return true;
}

EncodedKey MakeKeyEntry(uint32_t table, uint8_t key_number, bool dup, std::string_view value,
                        uint32_t record) {
  EncodedKey e;
  e.key = KeyPrefix(table, key_number);
  e.key.append(value);
  AppendU32BE(dup ? &e.key : &e.data, record);
  return e;
}

uint32_t KeyEntryRecord(bool dup, std::string_view key_part, std::string_view data_part) {
  std::string_view from = dup ? key_part : data_part;
  if (from.size() < 4) return 0;
  return ReadU32BE(from, from.size() - 4);
}

}  // namespace carelog::store
