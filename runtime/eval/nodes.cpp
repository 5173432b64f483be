#include "runtime/eval/nodes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "runtime/eval/functions.h"
#include "runtime/eval/name_table.h"
#include "runtime/eval/tokens.h"

namespace carelog::eval {

// ---- Node: conversions from the node's own type ----

int32_t Node::Integer() const {
  return type_ == ValueType::kString ? RealToInteger(TextToReal(String())) : RealToInteger(Real());
}

double Node::Real() const {
  return type_ == ValueType::kString ? TextToReal(String()) : Integer();
}

std::string Node::String() const {
  return type_ == ValueType::kInteger ? IntegerToText(Integer()) : RealToText(Real());
}

namespace {

int DepthOf(std::initializer_list<const Node*> children) {
  int depth = 0;
  for (const Node* child : children) depth = std::max(depth, child->depth());
  return depth + 1;
}

int DepthOf(const NodeList& children, int at_least) {
  int depth = at_least;
  for (const NodePtr& child : children) depth = std::max(depth, child->depth());
  return depth + 1;
}

// Writes `operand`, in parentheses when it binds more loosely than `level` (or as loosely,
// when `equal_needs_parentheses`).
void WriteOperand(const Node& operand, uint8_t level, bool equal_needs_parentheses,
                  std::string& out) {
  const bool parenthesise =
      operand.level() < level || (equal_needs_parentheses && operand.level() == level);
  if (parenthesise) out += '(';
  operand.Write(out);
  if (parenthesise) out += ')';
}

// Writes the operand of a subscript or a substring. A picture runs on to the next blank, comma
// or closing parenthesis, so one followed at once by '[' is written in parentheses.
void WriteSubscripted(const Node& operand, std::string& out) {
  const auto* constant = dynamic_cast<const ConstantNode*>(&operand);
  const bool parenthesise = constant != nullptr && constant->is_picture();
  if (parenthesise) out += '(';
  WriteOperand(operand, kLevelPrimary, false, out);
  if (parenthesise) out += ')';
}

// Closes a subscript whose last part was written from `part_start` on. A picture runs on to the
// next blank, comma or closing parenthesis, so a part that ends in one is closed by " ]".
void CloseSubscript(size_t part_start, std::string& out) {
  Lexer lexer(std::string_view(out).substr(part_start));
  TokenKind last = TokenKind::kEnd;
  for (Token token = lexer.Next(); token.kind != TokenKind::kEnd; token = lexer.Next()) {
    if (token.kind == TokenKind::kError) break;
    last = token.kind;
  }
  if (last == TokenKind::kPicture) out += ' ';
  out += ']';
}

void WriteList(const NodeList& nodes, const char* separator, std::string& out) {
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (i > 0) out += separator;
    nodes[i]->Write(out);
  }
}

}  // namespace

// ---- ConstantNode ----

ConstantNode::ConstantNode(ValueType type, int32_t integer, double real, std::string text,
                           bool picture)
    : Node(type, 1), integer_(integer), real_(real), text_(std::move(text)), picture_(picture) {}

NodePtr ConstantNode::Integer(int32_t value) {
  return std::make_unique<ConstantNode>(ValueType::kInteger, value, value, IntegerToText(value),
                                        false);
}

NodePtr ConstantNode::Real(double value) {
  return std::make_unique<ConstantNode>(ValueType::kReal, RealToInteger(value), value,
                                        RealToText(value), false);
}

NodePtr ConstantNode::String(std::string text) {
  const double real = TextToReal(text);
  return std::make_unique<ConstantNode>(ValueType::kString, RealToInteger(real), real,
                                        std::move(text), false);
}

NodePtr ConstantNode::Picture(std::string text) {
  return std::make_unique<ConstantNode>(ValueType::kString, 0, 0, std::move(text), true);
}

void ConstantNode::Write(std::string& out) const {
  if (type() != ValueType::kString || picture_) {
    out += text_;
    return;
  }
  out += '\'';
  for (char c : text_) {
    if (c == '\'') out += '\'';
    out += c;
  }
  out += '\'';
}

// ---- VariableNode ----

VariableNode::VariableNode(const NameEntry* entry)
    : Node(ValueTypeOf(entry->variable.type), 1), entry_(entry) {}

int32_t VariableNode::Integer() const {
  // LONG is by far the most common bound type (numbers, dates, times): read it directly.
  const Variable& variable = entry_->variable;
  if (variable.type == store::kTypeLong && variable.memo == nullptr && variable.address) {
    int32_t value;
    std::memcpy(&value, variable.address, sizeof value);
    return value;
  }
  return ReadInteger(ElementOf(variable, 0));
}
double VariableNode::Real() const {
  return ReadReal(ElementOf(entry_->variable, 0));
}
std::string VariableNode::String() const {
  return ReadString(ElementOf(entry_->variable, 0));
}
void VariableNode::Write(std::string& out) const {
  out += entry_->name;
}

bool VariableNode::Reads(const VariablePredicate& touches) const {
  return touches(entry_->variable);
}

int ArrayDimensions(const Node& node) {
  const auto* variable = dynamic_cast<const VariableNode*>(&node);
  if (variable == nullptr || variable->entry()->kind != EntryKind::kVariable) return 0;
  return variable->entry()->variable.dimension_count;
}

// ---- NegateNode, NotNode ----

NegateNode::NegateNode(NodePtr operand)
    : Node(ValueType::kReal, DepthOf({operand.get()})), operand_(std::move(operand)) {}

int32_t NegateNode::Integer() const {
  const int64_t negated = -static_cast<int64_t>(operand_->Integer());
  return static_cast<int32_t>(std::min<int64_t>(negated, INT32_MAX));
}

double NegateNode::Real() const {
  return -operand_->Real();
}

void NegateNode::Write(std::string& out) const {
  out += '-';
  WriteOperand(*operand_, kLevelPrimary, false, out);
}

NotNode::NotNode(NodePtr operand)
    : Node(ValueType::kInteger, DepthOf({operand.get()})), operand_(std::move(operand)) {}

void NotNode::Write(std::string& out) const {
  out += "NOT ";
  WriteOperand(*operand_, kLevelComparison, false, out);
}

// ---- Binary operators ----

BinaryNode::BinaryNode(const OperatorInfo& op, NodePtr left, NodePtr right)
    : Node(op.result, DepthOf({left.get(), right.get()})),
      op_(op),
      left_(std::move(left)),
      right_(std::move(right)) {}

void BinaryNode::Write(std::string& out) const {
  WriteOperand(*left_, op_.level, false, out);
  out += op_.spelling;
  WriteOperand(*right_, op_.level, true, out);
}

namespace {

class ArithmeticNode : public BinaryNode {
 public:
  using BinaryNode::BinaryNode;
  double Real() const override {
    const double a = left_->Real();
    const double b = right_->Real();
    switch (op_.code) {
      case kOpPlus:
        return FiniteOrZero(a + b);
      case kOpMinus:
        return FiniteOrZero(a - b);
      case kOpTimes:
        return FiniteOrZero(a * b);
      case kOpDivide:
        return FiniteOrZero(a / b);
      case kOpRemainder:
        return FiniteOrZero(std::fmod(a, b));
      default:
        return FiniteOrZero(std::pow(a, b));
    }
  }
};

class ConcatNode : public BinaryNode {
 public:
  using BinaryNode::BinaryNode;
  std::string String() const override { return left_->String() + right_->String(); }
};

class ComparisonNode : public BinaryNode {
 public:
  using BinaryNode::BinaryNode;
  int32_t Integer() const override {
    const int order = Compare();
    switch (op_.code) {
      case kOpEqual:
        return order == 0;
      case kOpNotEqual:
        return order != 0;
      case kOpLess:
        return order < 0;
      case kOpGreater:
        return order > 0;
      case kOpLessEqual:
        return order <= 0;
      default:
        return order >= 0;
    }
  }

 private:
  int Compare() const {
    const ValueType a = left_->type();
    const ValueType b = right_->type();
    if (a == ValueType::kInteger && b == ValueType::kInteger) {
      const int32_t x = left_->Integer();
      const int32_t y = right_->Integer();
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a == ValueType::kString && b == ValueType::kString) {
      return CompareTexts(left_->String(), right_->String());
    }
    return CompareReals(left_->Real(), right_->Real());
  }
};

class LogicalNode : public BinaryNode {
 public:
  using BinaryNode::BinaryNode;
  int32_t Integer() const override {
    const bool a = left_->Integer() != 0;
    switch (op_.code) {
      case kOpAnd:
        return a && right_->Integer() != 0;
      case kOpOr:
        return a || right_->Integer() != 0;
      default:
        return a != (right_->Integer() != 0);
    }
  }
};

}  // namespace

NodePtr BinaryNode::Make(const OperatorInfo& op, NodePtr left, NodePtr right) {
  switch (op.level) {
    case kLevelOr:
    case kLevelAnd:
      return NodePtr(new LogicalNode(op, std::move(left), std::move(right)));
    case kLevelComparison:
      return NodePtr(new ComparisonNode(op, std::move(left), std::move(right)));
    case kLevelConcat:
      return NodePtr(new ConcatNode(op, std::move(left), std::move(right)));
    default:
      return NodePtr(new ArithmeticNode(op, std::move(left), std::move(right)));
  }
}

// ---- CallNode ----

CallNode::CallNode(const FunctionInfo& function, NodeList arguments)
    : Node(function.result, DepthOf(arguments, 0)),
      function_(function),
      arguments_(std::move(arguments)) {}

int32_t CallNode::Integer() const {
  return CallFunction(function_, arguments_).AsInteger();
}
double CallNode::Real() const {
  return CallFunction(function_, arguments_).AsReal();
}
std::string CallNode::String() const {
  return CallFunction(function_, arguments_).AsString();
}

bool CallNode::Reads(const VariablePredicate& touches) const {
  switch (function_.number) {
    case kFunctionMemory:
    case kFunctionRandom:
    case kFunctionToday:
    case kFunctionClock:
      return true;
    default:
      break;
  }
  for (const NodePtr& argument : arguments_) {
    if (argument->Reads(touches)) return true;
  }
  return false;
}

void CallNode::Write(std::string& out) const {
  out += function_.name;
  out += '(';
  WriteList(arguments_, ", ", out);
  out += ')';
}

// ---- IndexNode ----

namespace {

ValueType IndexedType(const Node& operand) {
  if (ArrayDimensions(operand) == 0) return ValueType::kString;
  return operand.type();
}

}  // namespace

IndexNode::IndexNode(NodePtr operand, NodeList indexes)
    : Node(IndexedType(*operand), DepthOf(indexes, operand->depth())),
      array_(ArrayDimensions(*operand) > 0 ? static_cast<const VariableNode&>(*operand).entry()
                                           : nullptr),
      operand_(std::move(operand)),
      indexes_(std::move(indexes)) {}

int64_t IndexNode::ElementNumber() const {
  const Variable& variable = array_->variable;
  if (variable.dimension_count != indexes_.size()) return -1;  // rebound since compiled
  int64_t number = 0;
  for (size_t d = 0; d < indexes_.size(); ++d) {
    const int32_t index = indexes_[d]->Integer();
    if (index < 1 || static_cast<uint32_t>(index) > variable.dimensions[d]) return -1;
    number = number * variable.dimensions[d] + (index - 1);
  }
  return number;
}

int32_t IndexNode::Integer() const {
  if (array_ == nullptr) return Node::Integer();
  const int64_t number = ElementNumber();
  return number < 0 ? 0 : ReadInteger(ElementOf(array_->variable, number));
}

double IndexNode::Real() const {
  if (array_ == nullptr) return Node::Real();
  const int64_t number = ElementNumber();
  return number < 0 ? 0 : ReadReal(ElementOf(array_->variable, number));
}

std::string IndexNode::String() const {
  if (array_ != nullptr) {
    // An element out of range reads as the empty text or 0, as its type has it.
    const int64_t number = ElementNumber();
    if (number >= 0) return ReadString(ElementOf(array_->variable, number));
    return type() == ValueType::kString ? std::string() : "0";
  }
  const std::string text = operand_->String();
  const int32_t position = indexes_[0]->Integer();
  if (position < 1 || static_cast<size_t>(position) > text.size()) return {};
  return text.substr(position - 1, 1);
}

bool IndexNode::Reads(const VariablePredicate& touches) const {
  if (operand_->Reads(touches)) return true;
  for (const NodePtr& index : indexes_) {
    if (index->Reads(touches)) return true;
  }
  return false;
}

void IndexNode::Write(std::string& out) const {
  WriteSubscripted(*operand_, out);
  out += '[';
  const size_t list_start = out.size();
  WriteList(indexes_, ", ", out);
  CloseSubscript(list_start, out);
}

// ---- SubstringNode ----

SubstringNode::SubstringNode(NodePtr operand, NodePtr first, NodePtr last)
    : Node(ValueType::kString, DepthOf({operand.get(), first.get(), last.get()})),
      operand_(std::move(operand)),
      first_(std::move(first)),
      last_(std::move(last)) {}

std::string SubstringNode::String() const {
  const std::string text = operand_->String();
  const int64_t first = std::max<int64_t>(first_->Integer(), 1);
  const int64_t last = std::min<int64_t>(last_->Integer(), static_cast<int64_t>(text.size()));
  if (last < first) return {};
  return text.substr(first - 1, last - first + 1);
}

void SubstringNode::Write(std::string& out) const {
  WriteSubscripted(*operand_, out);
  out += '[';
  first_->Write(out);
  out += " : ";
  const size_t last_start = out.size();
  last_->Write(out);
  CloseSubscript(last_start, out);
}

}  // namespace carelog::eval
