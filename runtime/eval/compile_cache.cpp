#include "runtime/eval/compile_cache.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/eval/name_table.h"
#include "runtime/eval/parser.h"
#include "runtime/eval/values_bridge.h"

namespace carelog::eval {
namespace {

// The texts a program compiles over and over are few (a browse's range per sort order, a
// report's selection): a short list searched in order is enough.
constexpr size_t kKeptTrees = 32;

struct Kept {
  std::string text;
  std::shared_ptr<const Expression> expression;
};

class CompileCache {
 public:
  SharedCompile Compile(std::string_view text) {
    std::lock_guard lock(mutex_);
    const uint64_t bindings = BindingChanges();
    const uint64_t locale = LocaleChangeCount();
    if (bindings != bindings_ || locale != locale_) {
      kept_.clear();  // every kept tree is stale
      bindings_ = bindings;
      locale_ = locale;
    }
    for (const Kept& kept : kept_) {
      if (kept.text == text) return {kept.expression, 0};
    }
    ParseResult parsed = Parse(text);
    if (parsed.tree == nullptr) return {nullptr, parsed.error};
    auto expression = std::make_shared<const Expression>(std::move(parsed.tree));
    if (kept_.size() == kKeptTrees) kept_.erase(kept_.begin());  // the oldest goes
    kept_.push_back({std::string(text), expression});
    return {expression, 0};
  }

 private:
  std::mutex mutex_;
  uint64_t bindings_ = 0;
  uint64_t locale_ = 0;
  std::vector<Kept> kept_;
};

CompileCache& Cache() {
  static CompileCache* cache = new CompileCache;  // never destroyed, like the name table
  return *cache;
}

}  // namespace

SharedCompile CompileShared(std::string_view text) {
  return Cache().Compile(text);
}

}  // namespace carelog::eval
