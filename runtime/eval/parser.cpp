#include "runtime/eval/parser.h"

#include "runtime/eval/functions.h"
#include "runtime/eval/name_table.h"
#include "runtime/eval/tokens.h"

namespace carelog::eval {
namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : lexer_(text) {
    current_ = lexer_.Next();
    next_ = lexer_.Next();
  }

  ParseResult Run() {
    ParseResult result;
    NodePtr tree = Expression();
    if (tree != nullptr && current_.kind != TokenKind::kEnd) Fail(kErrorInvalidExpression);
    result.error = error_;
    if (error_ == 0) result.tree = std::move(tree);
    return result;
  }

 private:
  // expression := disjunction
  NodePtr Expression() {
    if (++nesting_ > kMaxNesting) return Fail(kErrorInvalidExpression);
    NodePtr tree = Binary(kLevelOr);
    --nesting_;
    return tree;
  }

  // disjunction, conjunction, comparison, concatenation, sum, product and power share one
  // shape: level := operand { operator-of-level operand }.
  NodePtr Binary(uint8_t level) {
    NodePtr left = Operand(level);
    while (left != nullptr) {
      int tokens = 0;
      const OperatorInfo* op = OperatorHere(level, &tokens);
      if (op == nullptr) break;
      for (int i = 0; i < tokens; ++i) Advance();
      NodePtr right = Operand(level);
      if (right == nullptr) return nullptr;
      left = Checked(BinaryNode::Make(*op, std::move(left), std::move(right)));
    }
    return left;
  }

  // The operand of a binary level: the next tighter level.
  NodePtr Operand(uint8_t level) {
    switch (level) {
      case kLevelAnd:
        return Negation();
      case kLevelPower:
        return Signed();
      default:
        return Binary(level + 1);
    }
  }

  // negation := { NOT | '~' } comparison
  NodePtr Negation() {
    bool negate = false;
    while (current_.Is('~') || NamedOperator(current_) == kOpNot) {
      negate = !negate;
      Advance();
    }
    NodePtr operand = Binary(kLevelComparison);
    if (operand == nullptr || !negate) return operand;
    return Checked(std::make_unique<NotNode>(std::move(operand)));
  }

  // signed := { '+' | '-' } postfix
  NodePtr Signed() {
    bool negate = false;
    while (current_.Is('+') || current_.Is('-')) {
      if (current_.Is('-')) negate = !negate;
      Advance();
    }
    NodePtr operand = Postfix();
    if (operand == nullptr || !negate) return operand;
    return Checked(std::make_unique<NegateNode>(std::move(operand)));
  }

  // postfix := primary { '[' indexes-or-range ']' }
  NodePtr Postfix() {
    NodePtr operand = Primary();
    while (operand != nullptr && current_.Is('[')) {
      Advance();
      NodeList parts;
      bool range = false;
      do {
        if (!parts.empty()) Advance();  // the ',' or ':' just seen
        NodePtr part = Expression();
        if (part == nullptr) return nullptr;
        parts.push_back(std::move(part));
        if (current_.Is(':')) {
          if (range || parts.size() != 1) return Fail(kErrorInvalidExpression);
          range = true;
        }
      } while (current_.Is(',') || (current_.Is(':') && parts.size() == 1));
      if (!Expect(']')) return nullptr;
      if (range) {
        if (parts.size() != 2) return Fail(kErrorInvalidExpression);
        operand = Checked(std::make_unique<SubstringNode>(std::move(operand), std::move(parts[0]),
                                                          std::move(parts[1])));
        continue;
      }
      const int dimensions = ArrayDimensions(*operand);
      const bool fits =
          dimensions == 0 ? parts.size() == 1 : parts.size() == static_cast<size_t>(dimensions);
      if (!fits) return Fail(kErrorInvalidExpression);
      operand = Checked(std::make_unique<IndexNode>(std::move(operand), std::move(parts)));
    }
    return operand;
  }

  // primary := constant | picture | '(' expression ')' | bound-name | call
  NodePtr Primary() {
    Token token = current_;
    switch (token.kind) {
      case TokenKind::kInteger:
        Advance();
        return ConstantNode::Integer(token.integer);
      case TokenKind::kReal:
        Advance();
        return ConstantNode::Real(token.real);
      case TokenKind::kString:
        Advance();
        return ConstantNode::String(std::move(token.text));
      case TokenKind::kPicture:
        Advance();
        return ConstantNode::Picture(std::move(token.text));
      case TokenKind::kName:
        return NamedPrimary();
      default:
        break;
    }
    if (!current_.Is('(')) return Fail(kErrorInvalidExpression);
    Advance();
    NodePtr inner = Expression();
    if (inner == nullptr || !Expect(')')) return nullptr;
    return inner;
  }

  // bound-name | function-name [ '(' arguments ')' ]
  NodePtr NamedPrimary() {
    const NameEntry* entry = FindName(current_.text);
    if (entry == nullptr) return Fail(kErrorNotBound);
    if (entry->kind == EntryKind::kVariable) {
      Advance();
      return std::make_unique<VariableNode>(entry);
    }
    if (entry->kind != EntryKind::kFunction) return Fail(kErrorInvalidExpression);
    const FunctionInfo& function = *entry->function;
    Advance();
    NodeList arguments;
    if (current_.Is('(')) {
      Advance();
      if (++nesting_ > kMaxNesting) return Fail(kErrorInvalidExpression);
      if (!current_.Is(')')) {
        for (;;) {
          NodePtr argument = Expression();
          if (argument == nullptr) return nullptr;
          arguments.push_back(std::move(argument));
          if (!current_.Is(',')) break;
          Advance();
        }
      }
      --nesting_;
      if (!Expect(')')) return nullptr;
    } else if (function.max_args > 0) {
      return Fail(kErrorInvalidExpression);
    }
    if (arguments.size() > function.max_args || arguments.size() < function.min_args) {
      return Fail(kErrorInvalidExpression);
    }
    return Checked(std::make_unique<CallNode>(function, std::move(arguments)));
  }

  // The binary operator of `level` at the current token, and how many tokens spell it.
  const OperatorInfo* OperatorHere(uint8_t level, int* tokens) {
    *tokens = 1;
    if (current_.kind == TokenKind::kName) {
      const OperatorInfo* op = FindOperator(NamedOperator(current_));
      return op != nullptr && op->level == level && op->code != kOpNot ? op : nullptr;
    }
    if (current_.kind != TokenKind::kOperator) return nullptr;
    std::string spelling = current_.text;
    if ((current_.Is('<') && (next_.Is('>') || next_.Is('='))) ||
        (current_.Is('>') && next_.Is('='))) {
      spelling += next_.text;
      *tokens = 2;
    }
    return FindBinaryOperator(level, spelling.c_str());
  }

  // The operator code of a name that the name table holds as a keyword operator, else 0.
  static uint8_t NamedOperator(const Token& token) {
    if (token.kind != TokenKind::kName) return 0;
    const NameEntry* entry = FindName(token.text);
    return entry != nullptr && entry->kind == EntryKind::kOperator ? entry->operator_code : 0;
  }

  void Advance() {
    current_ = std::move(next_);
    next_ = lexer_.Next();
  }

  bool Expect(char op) {
    if (!current_.Is(op)) {
      Fail(kErrorInvalidExpression);
      return false;
    }
    Advance();
    return true;
  }

  NodePtr Checked(NodePtr node) {
    if (node->depth() > kMaxTreeDepth) return Fail(kErrorInvalidExpression);
    return node;
  }

  NodePtr Fail(int error) {
    if (error_ == 0) error_ = error;
    return nullptr;
  }

  Lexer lexer_;
  Token current_;
  Token next_;
  int nesting_ = 0;
  int error_ = 0;
};

}  // namespace

ParseResult Parse(std::string_view text) {
  return Parser(text).Run();
}

}  // namespace carelog::eval
