// What a filter says about the fields of a record: the equalities "field = value" that must
// hold for every record that passes, where the value does not depend on the record.
//
// A record store uses them to read only the range of a key whose leading components the
// equalities fix, instead of testing every record: a record passes the filter only if each
// such field equals its value.
#pragma once

#include <vector>

#include "runtime/eval/expression.h"
#include "runtime/eval/variable.h"

namespace carelog::eval {

struct FieldEquality {
  const Variable* field;  // a bound scalar for which `in_record` holds
  const Node* value;      // reads nothing for which `in_record` holds
};

// The equalities among the conjuncts at the top of the filter's AND tree, either side of '='
// being the field. `in_record` tells which variables belong to the record (and so change from
// one record to the next). Equalities on array elements are not reported.
std::vector<FieldEquality> FindFieldEqualities(const Expression& filter,
                                               const VariablePredicate& in_record);

}  // namespace carelog::eval
