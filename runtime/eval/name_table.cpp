#include "runtime/eval/name_table.h"

#include <memory>
#include <mutex>

#include "runtime/eval/functions.h"
#include "runtime/eval/values_bridge.h"

namespace carelog::eval {
namespace {

int CompareNames(std::string_view a, std::string_view b) {
  return CompareNamesCollated(a, b);
}

class NameTable {
 public:
  NameTable() {
    root_.name = "MMMMMMM";
    struct Keyword {
      const char* name;
      uint8_t code;
    };
    for (const Keyword& k :
         {Keyword{"NOT", 16}, Keyword{"AND", 17}, Keyword{"OR", 18}, Keyword{"XOR", 19}}) {
      NameEntry& entry = Insert(k.name);
      entry.kind = EntryKind::kOperator;
      entry.operator_code = k.code;
    }
    for (const FunctionInfo& f : kFunctions) {
      NameEntry& entry = Insert(f.name);
      entry.kind = EntryKind::kFunction;
      entry.function = &f;
    }
  }

  const NameEntry* Find(std::string_view name) {
    std::lock_guard lock(mutex_);
    const NameEntry* at = &root_;
    while (at != nullptr) {
      const int order = CompareNames(name, at->name);
      if (order == 0) return at->kind == EntryKind::kRoot ? nullptr : at;
      at = order < 0 ? at->left : at->right;
    }
    return nullptr;
  }

  void BindVariable(std::string_view name, const Variable& variable) {
    std::lock_guard lock(mutex_);
    NameEntry& entry = Insert(name);
    entry.kind = EntryKind::kVariable;
    entry.name = std::string(name);
    entry.variable = variable;
    entry.operator_code = 0;
    entry.function = nullptr;
  }

 private:
  // The entry for `name`, created as a leaf when missing. REQUIRES: mutex_ held (or the
  // constructor running).
  NameEntry& Insert(std::string_view name) {
    NameEntry* at = &root_;
    for (;;) {
      const int order = CompareNames(name, at->name);
      if (order == 0) return *at;
      NameEntry*& link = order < 0 ? at->left : at->right;
      if (link == nullptr) {
        link = new NameEntry;  // entries live as long as the process (invariant 1)
        link->name = std::string(name);
        return *link;
      }
      at = link;
    }
  }

  std::mutex mutex_;
  NameEntry root_;
};

NameTable& Table() {
  static NameTable* table = new NameTable;  // never destroyed: entries outlive static teardown
  return *table;
}

}  // namespace

const NameEntry* FindName(std::string_view name) {
  return Table().Find(name);
}

void BindVariable(std::string_view name, const Variable& variable) {
  Table().BindVariable(name, variable);
}

void Bind(std::string_view name, const int32_t* variable) {
  Variable v;
  v.address = variable;
  v.type = store::kTypeLong;
  v.size = 4;
  BindVariable(name, v);
}

void Bind(std::string_view name, const double* variable) {
  Variable v;
  v.address = variable;
  v.type = store::kTypeReal;
  v.size = 8;
  BindVariable(name, v);
}

void Bind(std::string_view name, const char* text, uint32_t length) {
  Variable v;
  v.address = text;
  v.type = store::kTypeString;
  v.size = length;
  BindVariable(name, v);
}

}  // namespace carelog::eval
