#include "runtime/eval/tokens.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace carelog::eval {
namespace {

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

Token Error() {
  Token token;
  token.kind = TokenKind::kError;
  return token;
}

}  // namespace

Token Lexer::Next() {
  if (failed_) return Error();
  while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) ++at_;
  if (at_ == text_.size()) return Token{};
  const char c = text_[at_];
  Token token;
  if (IsLetter(c) || c == '_' || c == '?') {
    token = Name();
  } else if (IsDigit(c) || (c == '.' && AtDigit(at_ + 1))) {
    token = Number();
  } else if (c == '\'') {
    token = QuotedString();
  } else if (c == '@') {
    token = Picture();
  } else if (std::strchr("+-*/%^&=<>~,:()[]", c) != nullptr) {
    token.kind = TokenKind::kOperator;
    token.text = std::string(1, c);
    ++at_;
  } else {
    token = Error();
  }
  if (token.kind == TokenKind::kError) failed_ = true;
  return token;
}

Token Lexer::Name() {
  const size_t start = at_++;
  while (at_ < text_.size() &&
         (IsLetter(text_[at_]) || IsDigit(text_[at_]) || text_[at_] == '_' || text_[at_] == ':')) {
    ++at_;
  }
  if (at_ < text_.size() && std::strchr("#$\"", text_[at_]) != nullptr) ++at_;
  Token token;
  token.kind = TokenKind::kName;
  token.text = std::string(text_.substr(start, at_ - start));
  return token;
}

// Digits, an optional fraction and an optional exponent; the value is the correctly rounded
// double of that decimal text, so a real written back by RealToText reads back unchanged.
Token Lexer::Number() {
  const size_t start = at_;
  bool real = false;
  while (AtDigit(at_)) ++at_;
  if (at_ < text_.size() && text_[at_] == '.') {
    real = true;
    ++at_;
    while (AtDigit(at_)) ++at_;
  }
  if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
    size_t at = at_ + 1;
    if (at < text_.size() && (text_[at] == '+' || text_[at] == '-')) ++at;
    if (AtDigit(at)) {
      while (AtDigit(at)) ++at;
      real = true;
      at_ = at;
    }
  }
  const std::string digits(text_.substr(start, at_ - start));
  const double value = std::strtod(digits.c_str(), nullptr);
  if (!std::isfinite(value)) return Error();
  Token token;
  if (!real && value <= 2147483647.0) {
    token.kind = TokenKind::kInteger;
    token.integer = static_cast<int32_t>(value);
  } else {
    token.kind = TokenKind::kReal;
  }
  token.real = value;
  return token;
}

Token Lexer::QuotedString() {
  Token token;
  token.kind = TokenKind::kString;
  for (++at_; at_ < text_.size(); ++at_) {
    if (text_[at_] == '\'') {
      if (at_ + 1 < text_.size() && text_[at_ + 1] == '\'') {
        token.text += '\'';
        ++at_;
      } else {
        ++at_;
        return token;
      }
    } else {
      token.text += text_[at_];
    }
  }
  return Error();  // no closing quote
}

Token Lexer::Picture() {
  const size_t start = at_++;
  if (at_ < text_.size() && std::strchr("PpKk", text_[at_]) != nullptr) {
    const size_t close = text_.find(text_[at_], at_ + 1);
    if (close == std::string_view::npos) return Error();
    at_ = close + 1;
  }
  while (at_ < text_.size() && std::strchr(" \t,)", text_[at_]) == nullptr) ++at_;
  if (at_ == start + 1) return Error();  // '@' alone
  Token token;
  token.kind = TokenKind::kPicture;
  token.text = std::string(text_.substr(start, at_ - start));
  return token;
}

}  // namespace carelog::eval
