// Tokens of the definition text form (grammar in text_parser.h).
//
//   word     letters, digits and '_', starting with a letter or '_'
//   integer  optional '-', then decimal digits or 0x and hex digits
//   real     optional '-', digits with a '.' or an exponent
//   string   "..." with the escapes \" \\ and \xNN; bytes outside 0x20-0x7E must be escaped
//   picture  '@' followed by any characters up to white space
//   dash     a lone '-' (a coordinate left open)
//   newline  end of a line; '#' starts a comment that runs to the end of the line
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace carelog::defc {

enum class TokenKind { kWord, kInteger, kReal, kString, kPicture, kDash, kNewline, kEnd };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string text;     // word, string contents (escapes resolved) or picture without '@'
  int64_t integer = 0;  // kInteger
  double real = 0;      // kReal
  int line = 0;
};

struct LexError {
  int line = 0;
  std::string message;
};

// Splits `source` into tokens, ending with kEnd. Returns false with `error` set on a malformed
// token.
bool Tokenize(std::string_view source, std::vector<Token>* tokens, LexError* error);

const char* TokenKindName(TokenKind kind);

}  // namespace carelog::defc
