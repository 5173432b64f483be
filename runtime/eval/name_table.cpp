#include "runtime/eval/name_table.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "runtime/eval/functions.h"
#include "runtime/eval/values_bridge.h"

namespace carelog::eval {
namespace {

int CompareNames(std::string_view a, std::string_view b) {
  return CompareNamesCollated(a, b);
}

bool SameVariable(const Variable& a, const Variable& b) {
  return a.address == b.address && a.memo == b.memo && a.type == b.type && a.size == b.size &&
         a.places == b.places && a.dimension_count == b.dimension_count &&
         std::equal(std::begin(a.dimensions), std::end(a.dimensions), std::begin(b.dimensions));
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
    const uint64_t locale = LocaleChangeCount();
    if (locale != found_locale_ || found_.size() >= kMaxFoundSpellings) {
      found_.clear();  // the comparison that placed the entries may have changed
      found_locale_ = locale;
    }
    if (const auto known = found_.find(name); known != found_.end()) return known->second;
    const NameEntry* at = &root_;
    while (at != nullptr) {
      const int order = CompareNames(name, at->name);
      if (order == 0) break;
      at = order < 0 ? at->left : at->right;
    }
    if (at == nullptr || at->kind == EntryKind::kRoot) return nullptr;
    found_.emplace(std::string(name), at);
    return at;
  }

  uint64_t Changes() const { return changes_.load(std::memory_order_relaxed); }

  void BindVariable(std::string_view name, const Variable& variable) {
    std::lock_guard lock(mutex_);
    NameEntry& entry = Insert(name);  // a new entry is not yet a variable
    const bool respelled = entry.name != name;
    if (respelled) found_.clear();  // a key of the tree changed its text
    if (respelled || entry.kind != EntryKind::kVariable || !SameVariable(entry.variable, variable)) {
      changes_.fetch_add(1, std::memory_order_relaxed);
    }
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
        found_.clear();  // a spelling found before may meet the new entry first
        return *link;
      }
      at = link;
    }
  }

  // Spellings already found, each with its entry. Entries never move and a rebinding changes
  // an entry in place, so a spelling keeps finding the same entry for as long as the collated
  // comparison stays as it was; not-found results are not kept (a later binding may add them).
  struct SpellingHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  static constexpr size_t kMaxFoundSpellings = 4096;

  std::mutex mutex_;
  NameEntry root_;
  std::unordered_map<std::string, const NameEntry*, SpellingHash, std::equal_to<>> found_;
  uint64_t found_locale_ = 0;
  std::atomic<uint64_t> changes_{0};
};

NameTable& Table() {
  static NameTable* table = new NameTable;  // never destroyed: entries outlive static teardown
  return *table;
}

}  // namespace

const NameEntry* FindName(std::string_view name) {
  return Table().Find(name);
}

uint64_t BindingChanges() {
  return Table().Changes();
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
