// The nodes of a compiled expression tree.
//
// Every node has a value type fixed when the tree is built and answers in any of the three
// types: the parent asks for the type it needs and the node converts (value.h). Every node can
// write itself back as text; an operand that binds more loosely than its parent's operator (or
// as loosely, on the right of a left-associative operator) is written in parentheses, so that
// the text parses back to the same tree.
//
// Invariants:
//   1. A node owns its children; trees are never shared.
//   2. depth() is 1 + the largest depth of the children; the parser refuses trees deeper than
//      kMaxTreeDepth, so evaluation, writing and release recurse a bounded number of times.
//   3. Evaluation never fails: values out of range read as 0 or the empty text.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/eval/operators.h"
#include "runtime/eval/value.h"

namespace carelog::eval {

struct NameEntry;
struct FunctionInfo;
struct Variable;

// A question about bound variables, asked of every variable a tree reads.
using VariablePredicate = std::function<bool(const Variable&)>;

inline constexpr int kMaxTreeDepth = 200;

class Node {
 public:
  Node(ValueType type, int depth) : type_(type), depth_(depth) {}
  virtual ~Node() = default;
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  ValueType type() const { return type_; }
  int depth() const { return depth_; }
  // The grammar level of the node's operator; kLevelPrimary for operands.
  virtual uint8_t level() const { return kLevelPrimary; }

  // Each node overrides the getter of its own type; the defaults convert from it.
  virtual int32_t Integer() const;
  virtual double Real() const;
  virtual std::string String() const;

  // Appends the node's text.
  virtual void Write(std::string& out) const = 0;

  // Whether evaluating the node reads a variable for which `touches` holds, or calls a function
  // whose value changes by itself (MEMORY, RANDOM, TODAY, CLOCK).
  virtual bool Reads(const VariablePredicate& touches) const = 0;

 private:
  ValueType type_;
  int depth_;
};

using NodePtr = std::unique_ptr<Node>;
using NodeList = std::vector<NodePtr>;

// A constant: integer, real, string, or a picture (a string written back without quotes).
class ConstantNode : public Node {
 public:
  static NodePtr Integer(int32_t value);
  static NodePtr Real(double value);
  static NodePtr String(std::string text);
  static NodePtr Picture(std::string text);  // the text includes the leading '@'

  ConstantNode(ValueType type, int32_t integer, double real, std::string text, bool picture);
  int32_t Integer() const override { return integer_; }
  double Real() const override { return real_; }
  std::string String() const override { return text_; }
  void Write(std::string& out) const override;
  bool Reads(const VariablePredicate&) const override { return false; }
  bool is_picture() const { return picture_; }

 private:
  int32_t integer_;
  double real_;
  std::string text_;
  bool picture_;
};

// A bound name; the variable is read from its name-table entry at every evaluation.
class VariableNode : public Node {
 public:
  explicit VariableNode(const NameEntry* entry);
  const NameEntry* entry() const { return entry_; }
  int32_t Integer() const override;
  double Real() const override;
  std::string String() const override;
  void Write(std::string& out) const override;
  bool Reads(const VariablePredicate& touches) const override;

 private:
  const NameEntry* entry_;
};

// Unary minus: real; as an integer, the negated integer value of the operand.
class NegateNode : public Node {
 public:
  explicit NegateNode(NodePtr operand);
  uint8_t level() const override { return kLevelSign; }
  int32_t Integer() const override;
  double Real() const override;
  void Write(std::string& out) const override;
  bool Reads(const VariablePredicate& touches) const override { return operand_->Reads(touches); }

 private:
  NodePtr operand_;
};

// NOT: 1 for 0, else 0.
class NotNode : public Node {
 public:
  explicit NotNode(NodePtr operand);
  uint8_t level() const override { return kLevelNot; }
  int32_t Integer() const override { return operand_->Integer() == 0 ? 1 : 0; }
  void Write(std::string& out) const override;
  bool Reads(const VariablePredicate& touches) const override { return operand_->Reads(touches); }

 private:
  NodePtr operand_;
};

// A binary operator; the subclasses evaluate, this class writes.
class BinaryNode : public Node {
 public:
  static NodePtr Make(const OperatorInfo& op, NodePtr left, NodePtr right);
  uint8_t level() const override { return op_.level; }
  void Write(std::string& out) const override;
  bool Reads(const VariablePredicate& touches) const override {
    return left_->Reads(touches) || right_->Reads(touches);
  }
  uint8_t code() const { return op_.code; }
  const Node& left() const { return *left_; }
  const Node& right() const { return *right_; }

 protected:
  BinaryNode(const OperatorInfo& op, NodePtr left, NodePtr right);
  const OperatorInfo& op_;
  NodePtr left_;
  NodePtr right_;
};

// A call of a built-in function; arguments beyond those given are absent.
class CallNode : public Node {
 public:
  CallNode(const FunctionInfo& function, NodeList arguments);
  int32_t Integer() const override;
  double Real() const override;
  std::string String() const override;
  void Write(std::string& out) const override;
  bool Reads(const VariablePredicate& touches) const override;

 private:
  const FunctionInfo& function_;
  NodeList arguments_;
};

// An array element (one index per dimension of a bound array) or one character of a text.
class IndexNode : public Node {
 public:
  // REQUIRES: indexes not empty; an array operand has exactly as many dimensions as indexes.
  IndexNode(NodePtr operand, NodeList indexes);
  int32_t Integer() const override;
  double Real() const override;
  std::string String() const override;
  void Write(std::string& out) const override;
  bool Reads(const VariablePredicate& touches) const override;

 private:
  // The 0-based element number, or -1 when an index is out of range.
  int64_t ElementNumber() const;
  const NameEntry* array_;  // the bound array, or null for a character of a text
  NodePtr operand_;
  NodeList indexes_;
};

// The characters from a first to a last position (1-based, inclusive) of a text.
class SubstringNode : public Node {
 public:
  SubstringNode(NodePtr operand, NodePtr first, NodePtr last);
  std::string String() const override;
  void Write(std::string& out) const override;
  bool Reads(const VariablePredicate& touches) const override {
    return operand_->Reads(touches) || first_->Reads(touches) || last_->Reads(touches);
  }

 private:
  NodePtr operand_;
  NodePtr first_;
  NodePtr last_;
};

// The value type of a bound array's elements, and its dimension count (0: not an array).
int ArrayDimensions(const Node& node);

}  // namespace carelog::eval
