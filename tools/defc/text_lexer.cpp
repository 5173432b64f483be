#include "tools/defc/text_lexer.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace carelog::defc {
namespace {

bool IsWordStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsWordChar(char c) {
  return IsWordStart(c) || IsDigit(c);
}
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class Lexer {
 public:
  Lexer(std::string_view source, std::vector<Token>* tokens, LexError* error)
      : source_(source), tokens_(tokens), error_(error) {}

  bool Run() {
    while (pos_ < source_.size()) {
      char c = source_[pos_];
      if (IsSpace(c)) {
        ++pos_;
      } else if (c == '#') {
        while (pos_ < source_.size() && source_[pos_] != '\n') ++pos_;
      } else if (c == '\n') {
        Push(TokenKind::kNewline);
        ++pos_;
        ++line_;
      } else if (c == '"') {
        if (!String()) return false;
      } else if (c == '@') {
        size_t start = ++pos_;
        while (pos_ < source_.size() && !IsSpace(source_[pos_]) && source_[pos_] != '\n') ++pos_;
        Push(TokenKind::kPicture).text = source_.substr(start, pos_ - start);
      } else if (IsDigit(c) ||
                 (c == '-' && pos_ + 1 < source_.size() && IsDigit(source_[pos_ + 1]))) {
        if (!Number()) return false;
      } else if (c == '-') {
        Push(TokenKind::kDash);
        ++pos_;
      } else if (IsWordStart(c)) {
        size_t start = pos_;
        while (pos_ < source_.size() && IsWordChar(source_[pos_])) ++pos_;
        Push(TokenKind::kWord).text = source_.substr(start, pos_ - start);
      } else {
        return Fail(std::string("unexpected character '") + Printable(c) + "'");
      }
    }
    Push(TokenKind::kNewline);
    Push(TokenKind::kEnd);
    return true;
  }

 private:
  static std::string Printable(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F) return std::string(1, c);
    static const char kHex[] = "0123456789ABCDEF";
    return std::string("\\x") + kHex[u >> 4] + kHex[u & 15];
  }

  Token& Push(TokenKind kind) {
    Token& token = tokens_->emplace_back();
    token.kind = kind;
    token.line = line_;
    return token;
  }

  bool Fail(const std::string& message) {
    error_->line = line_;
    error_->message = message;
    return false;
  }

  // string = '"' { char | '\"' | '\\' | '\x' hex hex } '"'
  bool String() {
    std::string text;
    ++pos_;
    while (true) {
      if (pos_ >= source_.size() || source_[pos_] == '\n') return Fail("unterminated string");
      char c = source_[pos_++];
      if (c == '"') break;
      unsigned char u = static_cast<unsigned char>(c);
      if (u < 0x20 || u >= 0x7F) {
        return Fail("a string holds the byte " + Printable(c) + "; write it as \\xNN");
      }
      if (c != '\\') {
        text += c;
        continue;
      }
      if (pos_ >= source_.size()) return Fail("unterminated string");
      char escape = source_[pos_++];
      if (escape == '"' || escape == '\\') {
        text += escape;
      } else if (escape == 'x' && pos_ + 1 < source_.size() && HexValue(source_[pos_]) >= 0 &&
                 HexValue(source_[pos_ + 1]) >= 0) {
        int value = HexValue(source_[pos_]) * 16 + HexValue(source_[pos_ + 1]);
        if (value == 0) return Fail("a string cannot hold a zero byte");
        text += static_cast<char>(value);
        pos_ += 2;
      } else {
        return Fail("unknown escape in a string (use \\\", \\\\ or \\xNN)");
      }
    }
    Push(TokenKind::kString).text = std::move(text);
    return true;
  }

  // integer = ['-'] (digits | '0x' hexdigits);  real = ['-'] digits ('.' digits | exponent)
  bool Number() {
    size_t start = pos_;
    if (source_[pos_] == '-') ++pos_;
    bool hex = source_.substr(pos_, 2) == "0x" || source_.substr(pos_, 2) == "0X";
    if (hex) pos_ += 2;
    bool real = false;
    while (pos_ < source_.size()) {
      char c = source_[pos_];
      if (IsDigit(c) || (hex && HexValue(c) >= 0)) {
        ++pos_;
      } else if (!hex && (c == '.' || c == 'e' || c == 'E')) {
        real = true;
        ++pos_;
        if ((c == 'e' || c == 'E') && pos_ < source_.size() &&
            (source_[pos_] == '-' || source_[pos_] == '+')) {
          ++pos_;
        }
      } else {
        break;
      }
    }
    if (pos_ < source_.size() && IsWordChar(source_[pos_])) return Fail("malformed number");
    std::string text(source_.substr(start, pos_ - start));
    char* end = nullptr;
    errno = 0;
    if (real) {
      double value = std::strtod(text.c_str(), &end);
      if (*end != '\0' || errno == ERANGE) return Fail("malformed number '" + text + "'");
      Push(TokenKind::kReal).real = value;
    } else {
      long long value = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
      if (*end != '\0' || errno == ERANGE || end == text.c_str() ||
          (hex && text.size() <= static_cast<size_t>(text[0] == '-' ? 3 : 2))) {
        return Fail("malformed number '" + text + "'");
      }
      Push(TokenKind::kInteger).integer = value;
    }
    return true;
  }

  std::string_view source_;
  size_t pos_ = 0;
  int line_ = 1;
  std::vector<Token>* tokens_;
  LexError* error_;
};

}  // namespace

bool Tokenize(std::string_view source, std::vector<Token>* tokens, LexError* error) {
  tokens->clear();
  return Lexer(source, tokens, error).Run();
}

const char* TokenKindName(TokenKind kind) {
  switch (kind) {
    case TokenKind::kWord:
      return "a word";
    case TokenKind::kInteger:
      return "a number";
    case TokenKind::kReal:
      return "a real number";
    case TokenKind::kString:
      return "a string";
    case TokenKind::kPicture:
      return "a picture";
    case TokenKind::kDash:
      return "'-'";
    case TokenKind::kNewline:
      return "the end of the line";
    case TokenKind::kEnd:
      return "the end of the file";
  }
  return "a token";
}

}  // namespace carelog::defc
