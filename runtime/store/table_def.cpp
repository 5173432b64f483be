// The definition stream: encoder, bounds-checked decoder and comparison.
#include "runtime/store/table_def.h"
#include "runtime/store/error_codes.h"

#include "runtime/store/declarations.h"

namespace carelog::store {
namespace {

class StreamWriter {
 public:
  void U8(uint32_t v) { out_.push_back(static_cast<char>(v & 0xFF)); }
  void U16(uint32_t v) {
    U8(v);
    U8(v >> 8);
  }
  void Str(const std::string& s) {
    out_.append(s.data(), s.size());
    U8(0);
    if (s.empty()) U8(0);
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

// Every read checks the remaining length; the first failure sticks and later reads give 0.
class StreamReader {
 public:
  explicit StreamReader(std::string_view in) : in_(in) {}
  bool ok() const { return ok_; }
  size_t remaining() const { return in_.size() - pos_; }

  uint8_t U8() {
    if (!ok_ || pos_ >= in_.size()) {
      ok_ = false;
      return 0;
    }
    return static_cast<uint8_t>(in_[pos_++]);
  }
  uint16_t U16() {
    uint16_t low = U8();
    return static_cast<uint16_t>(low | (U8() << 8));
  }
  // A string ends at its zero byte; an empty one carries a second byte (0 empty, 1 absent).
  std::string Str() {
    if (!ok_) return {};
    size_t end = in_.find('\0', pos_);
    if (end == std::string_view::npos) {
      ok_ = false;
      return {};
    }
    std::string s(in_.substr(pos_, end - pos_));
    pos_ = end + 1;
    if (s.empty() && U8() > 1) ok_ = false;
    return s;
  }

 private:
  std::string_view in_;
  size_t pos_ = 0;
  bool ok_ = true;
};

void EncodeField(const FieldDef& f, StreamWriter& w) {
  w.U8(f.type);
  w.U16(f.offset);
  w.Str(f.name);
  w.U16(f.element_count);
  w.U16(f.total_size);
  w.U16(f.overlay);
  w.U16(f.field_number);
  if (IsDecimalType(f.type)) {
    w.U8(f.places);
    w.U8(f.decimal_size);
  } else if (IsStringType(f.type)) {
    w.U16(f.declared_length);
    w.Str(f.picture);
  }
}

FieldDef DecodeField(StreamReader& r) {
  FieldDef f;
  f.type = r.U8();
  f.offset = r.U16();
  f.name = r.Str();
  f.element_count = r.U16();
  f.total_size = r.U16();
  f.overlay = r.U16();
  f.field_number = r.U16();
  if (IsDecimalType(f.type)) {
    f.places = r.U8();
    f.decimal_size = r.U8();
  } else if (IsStringType(f.type)) {
    f.declared_length = r.U16();
    f.picture = r.Str();
  }
  return f;
}

}  // namespace

bool IsStringType(uint8_t type) {
  return type == kTypeString || type == kTypeCString || type == kTypePString;
}

bool IsDecimalType(uint8_t type) {
  return type == kTypeDecimal || type == kTypePDecimal;
}

bool TableDefinition::has_binary_memo() const {
  for (const MemoDef& m : memos) {
    if (m.binary()) return true;
  }
  return false;
}

uint32_t TableDefinition::KeyValueSize(const KeyDef& key) const {
  uint32_t size = 0;
  for (const KeyComponentDef& c : key.components) size += fields[c.field_index].total_size;
  return size;
}

std::string EncodeDefinition(const TableDefinition& def) {
  StreamWriter w;
  w.U16(def.has_binary_memo() ? 2 : 1);
  w.U16(def.record_size);
  w.U16(static_cast<uint32_t>(def.fields.size()));
  w.U16(static_cast<uint32_t>(def.memos.size()));
  w.U16(static_cast<uint32_t>(def.keys.size()));
  for (const FieldDef& f : def.fields) EncodeField(f, w);
  for (const MemoDef& m : def.memos) {
    w.Str(m.name);
    w.Str(m.label);
    w.U16(m.max_size);
    w.U16(m.flags);
  }
  for (const KeyDef& k : def.keys) {
    w.Str(k.name);
    w.Str(k.label);
    w.U8(k.flags);
    w.U16(static_cast<uint32_t>(k.components.size()));
    for (const KeyComponentDef& c : k.components) {
      w.U16(c.field_index);
      w.U16(c.descending ? 1 : 0);
    }
  }
  return w.Take();
}

int DecodeDefinition(std::string_view stream, TableDefinition* def) {
  StreamReader r(stream);
  TableDefinition d;
  uint16_t version = r.U16();
  d.record_size = r.U16();
  uint16_t field_count = r.U16();
  uint16_t memo_count = r.U16();
  uint16_t key_count = r.U16();
  if (!r.ok() || version < 1 || version > 2) return kErrInvalidRecordDeclaration;
  // Each field takes at least 13 bytes, each memo 8 and each key 7: counts that cannot fit in
  // what is left are refused before anything is reserved.
  size_t least = size_t{field_count} * 13 + size_t{memo_count} * 8 + size_t{key_count} * 7;
  if (least > r.remaining()) return kErrInvalidRecordDeclaration;

  d.fields.reserve(field_count);
  for (uint16_t i = 0; i < field_count && r.ok(); ++i) {
    FieldDef f = DecodeField(r);
    if (uint32_t{f.offset} + f.total_size > d.record_size) return kErrInvalidRecordDeclaration;
    d.fields.push_back(std::move(f));
  }
  for (uint16_t i = 0; i < memo_count && r.ok(); ++i) {
    MemoDef m;
    m.name = r.Str();
    m.label = r.Str();
    m.max_size = r.U16();
    m.flags = r.U16();
    if (m.max_size > kDefMaxMemoSize) return kErrInvalidRecordDeclaration;
    d.memos.push_back(std::move(m));
  }
  for (uint16_t i = 0; i < key_count && r.ok(); ++i) {
    KeyDef k;
    k.name = r.Str();
    k.label = r.Str();
    k.flags = r.U8();
    uint16_t components = r.U16();
    if (size_t{components} * 4 > r.remaining()) return kErrInvalidRecordDeclaration;
    for (uint16_t c = 0; c < components; ++c) {
      KeyComponentDef comp;
      comp.field_index = r.U16();
      comp.descending = r.U16() != 0;
      if (comp.field_index >= d.fields.size()) return kErrInvalidRecordDeclaration;
      k.components.push_back(comp);
    }
    d.keys.push_back(std::move(k));
  }
  if (!r.ok()) return kErrInvalidRecordDeclaration;
  if ((version == 2) != d.has_binary_memo()) return kErrInvalidRecordDeclaration;
  *def = std::move(d);
  return 0;
}

bool SameDefinition(const TableDefinition& a, const TableDefinition& b) {
  if (a.record_size != b.record_size || a.fields.size() != b.fields.size() ||
      a.memos.size() != b.memos.size() || a.keys.size() != b.keys.size()) {
    return false;
  }
  for (size_t i = 0; i < a.fields.size(); ++i) {
    const FieldDef& x = a.fields[i];
    const FieldDef& y = b.fields[i];
    if (x.type != y.type || x.offset != y.offset || x.element_count != y.element_count ||
        x.total_size != y.total_size || x.overlay != y.overlay ||
        x.field_number != y.field_number || x.places != y.places ||
        x.decimal_size != y.decimal_size || x.declared_length != y.declared_length) {
      return false;
    }
  }
  for (size_t i = 0; i < a.memos.size(); ++i) {
    if (a.memos[i].max_size != b.memos[i].max_size || a.memos[i].flags != b.memos[i].flags) {
      return false;
    }
  }
  for (size_t i = 0; i < a.keys.size(); ++i) {
    const KeyDef& x = a.keys[i];
    const KeyDef& y = b.keys[i];
    if (x.flags != y.flags || x.components.size() != y.components.size()) return false;
    for (size_t c = 0; c < x.components.size(); ++c) {
      if (x.components[c].field_index != y.components[c].field_index ||
          x.components[c].descending != y.components[c].descending) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace carelog::store
