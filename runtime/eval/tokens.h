// The tokens of expression text.
//
//   blank    := ' ' | '\t'                            (separates tokens, otherwise ignored)
//   name     := (letter | '_' | '?') (letter | digit | '_' | ':')* ['#' | '$' | '"']
//   number   := digits ['.' digits*] [exponent] | '.' digits [exponent]
//   exponent := ('E' | 'e') ['+' | '-'] digits        (the number is then a real)
//   string   := '\'' (any but '\'' | "''")* '\''      ("''" stands for one quote)
//   picture  := '@' text up to a blank, ',' or ')'; a P or K pattern runs to its closing
//               letter first
//   operator := one of + - * / % ^ & = < > ~ , : ( ) [ ]
// Anything else is an error. Digits without a point or exponent are an integer when they fit
// 32 bits, else a real.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace carelog::eval {

enum class TokenKind : uint8_t {
  kEnd,
  kName,
  kInteger,
  kReal,
  kString,
  kPicture,
  kOperator,  // `text` holds the one character
  kError,
};

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string text;  // name, string contents, picture text (with '@'), operator character
  int32_t integer = 0;
  double real = 0;

  bool Is(char op) const { return kind == TokenKind::kOperator && text[0] == op; }
};

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}
  // The next token; kError (and then kError forever) at a character no token can hold.
  Token Next();

 private:
  Token Name();
  Token Number();
  Token QuotedString();
  Token Picture();
  bool AtDigit(size_t at) const {
    return at < text_.size() && text_[at] >= '0' && text_[at] <= '9';
  }

  std::string_view text_;
  size_t at_ = 0;
  bool failed_ = false;
};

}  // namespace carelog::eval
