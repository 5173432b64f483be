// Parses random text as an expression; when it compiles, evaluates it in all three types and
// checks that the text written back parses to a tree that writes the same text again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/eval/name_table.h"
#include "runtime/eval/parser.h"

namespace {

int32_t number = 42;
double real = 2.5;
char text[8] = {'a', 'b', 'c', ' ', ' ', ' ', ' ', ' '};

void BindOnce() {
  static bool bound = false;
  if (bound) return;
  bound = true;
  carelog::eval::Bind("PAT:Patient_Number", &number);
  carelog::eval::Bind("Loc:Real", &real);
  carelog::eval::Bind("Loc:Text", text, sizeof text);
}

std::string Write(const carelog::eval::Node& tree) {
  std::string out;
  tree.Write(out);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BindOnce();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  carelog::eval::ParseResult parsed = carelog::eval::Parse(input);
  if (parsed.tree == nullptr) return 0;
  (void)parsed.tree->Integer();
  (void)parsed.tree->Real();
  (void)parsed.tree->String();
  const std::string written = Write(*parsed.tree);
  carelog::eval::ParseResult again = carelog::eval::Parse(written);
  if (again.tree == nullptr || Write(*again.tree) != written) std::abort();
  return 0;
}
