#include "runtime/eval/filter_analysis.h"

#include "runtime/eval/name_table.h"

namespace carelog::eval {
namespace {

const Variable* RecordScalar(const Node& node, const VariablePredicate& in_record) {
  const auto* variable = dynamic_cast<const VariableNode*>(&node);
  if (variable == nullptr) return nullptr;
  const Variable& bound = variable->entry()->variable;
  if (bound.dimension_count != 0 || !in_record(bound)) return nullptr;
  return &bound;
}

void Collect(const Node& node, const VariablePredicate& in_record,
             std::vector<FieldEquality>* out) {
  const auto* binary = dynamic_cast<const BinaryNode*>(&node);
  if (binary == nullptr) return;
  if (binary->code() == kOpAnd) {
    Collect(binary->left(), in_record, out);
    Collect(binary->right(), in_record, out);
    return;
  }
  if (binary->code() != kOpEqual) return;
  for (const auto& [field_side, value_side] : {std::pair{&binary->left(), &binary->right()},
                                               std::pair{&binary->right(), &binary->left()}}) {
    const Variable* field = RecordScalar(*field_side, in_record);
    if (field != nullptr && !value_side->Reads(in_record)) {
      out->push_back({field, value_side});
      return;
    }
  }
}

}  // namespace

std::vector<FieldEquality> FindFieldEqualities(const Expression& filter,
                                               const VariablePredicate& in_record) {
  std::vector<FieldEquality> out;
  Collect(filter.tree(), in_record, &out);
  return out;
}

}  // namespace carelog::eval
