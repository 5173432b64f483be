#include "tools/defc/text_parser.h"

#include <cmath>
#include <set>
#include <vector>

#include "runtime/window/definition_reader.h"
#include "tools/defc/text_lexer.h"

namespace carelog::defc {
namespace {

using window::Entry;
using window::Field;
using window::FieldInfo;
using window::FieldType;
using window::KindLayout;

// The name with its indefinite article: "a button", "an entry".
std::string A(const std::string& name) {
  bool vowel = !name.empty() && std::string("aeiou").find(name[0]) != std::string::npos;
  return (vowel ? "an " : "a ") + name;
}

// Thrown inside the parser only; ParseModule turns it into a ParseError.
struct Failure {
  int line;
  std::string message;
};

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  // module = "module" STRING NL { entry }
  void Module(window::Module* module) {
    SkipBlankLines();
    ExpectWord("module");
    module->identifier = Expect(TokenKind::kString, "the module identifier").text;
    if (module->identifier.empty()) Fail("the module identifier is empty");
    ExpectNewline();
    while (true) {
      SkipBlankLines();
      if (Peek().kind == TokenKind::kEnd) break;
      const KindLayout* layout = KindAt(Peek());
      if (!layout || (layout->code != window::kKindWindow && layout->code != window::kKindReport)) {
        Fail("expected 'window' or 'report' at the top level, found " + Describe(Peek()));
      }
      EntryRule(&module->structures.emplace_back(), 0);
    }
  }

 private:
  const Token& Peek() const { return tokens_[pos_]; }
  const Token& Next() { return tokens_[pos_ < tokens_.size() - 1 ? pos_++ : pos_]; }

  [[noreturn]] void Fail(const std::string& message) const { throw Failure{Peek().line, message}; }
  [[noreturn]] void FailAt(const Token& token, const std::string& message) const {
    throw Failure{token.line, message};
  }

  static std::string Describe(const Token& token) {
    switch (token.kind) {
      case TokenKind::kWord:
        return "'" + token.text + "'";
      case TokenKind::kInteger:
        return "the number " + std::to_string(token.integer);
      case TokenKind::kString:
        return "the string \"" + token.text + "\"";
      case TokenKind::kPicture:
        return "the picture @" + token.text;
      default:
        return TokenKindName(token.kind);
    }
  }

  void SkipBlankLines() {
    while (Peek().kind == TokenKind::kNewline) Next();
  }

  const Token& Expect(TokenKind kind, const std::string& what) {
    if (Peek().kind != kind) Fail("expected " + what + ", found " + Describe(Peek()));
    return Next();
  }

  void ExpectWord(const char* word) {
    if (Peek().kind != TokenKind::kWord || Peek().text != word) {
      Fail(std::string("expected '") + word + "', found " + Describe(Peek()));
    }
    Next();
  }

  void ExpectNewline() { Expect(TokenKind::kNewline, "the end of the line"); }

  int64_t Integer(const std::string& what, int64_t low, int64_t high) {
    const Token& token = Expect(TokenKind::kInteger, what);
    if (token.integer < low || token.integer > high) {
      FailAt(token, what + " " + std::to_string(token.integer) + " is out of range");
    }
    return token.integer;
  }

  int32_t I32(const std::string& what) {
    return static_cast<int32_t>(Integer(what, INT32_MIN, INT32_MAX));
  }

  // A 32-bit word written either signed or unsigned.
  uint32_t Word(const std::string& what) {
    return static_cast<uint32_t>(Integer(what, INT32_MIN, UINT32_MAX));
  }

  static const KindLayout* KindAt(const Token& token) {
    if (token.kind != TokenKind::kWord) return nullptr;
    if (token.text == "separator") return window::LayoutOf(window::kKindItem);
    return window::LayoutByName(token.text);
  }

  // entry = KIND [STRING] { property } NL [ block ]
  void EntryRule(Entry* entry, int depth) {
    if (depth > window::kMaxDepth) Fail("entries nest too deeply");
    const Token& kind_token = Next();
    const KindLayout* layout = KindAt(kind_token);
    entry->kind = layout->code;
    std::set<std::string> given;
    if (kind_token.text == "separator") {
      entry->attr = 0x10;
      given.insert("text");
    }
    if (Peek().kind == TokenKind::kString) {
      const Field* positional = PositionalField(*layout);
      if (!positional || given.count(window::InfoOf(*positional).keyword)) {
        Fail(A(kind_token.text) + " takes no text here");
      }
      given.insert(window::InfoOf(*positional).keyword);
      entry->strings[*positional] = Next().text;
    }
    PropertiesToEndOfLine(entry, *layout, &given);
    if (!window::SlotOf(*layout, Field::kChildren)) return;
    // block = { entry | property-line } "end" NL
    while (true) {
      SkipBlankLines();
      const Token& token = Peek();
      if (token.kind == TokenKind::kWord && token.text == "end") {
        Next();
        ExpectNewline();
        return;
      }
      if (token.kind == TokenKind::kEnd) {
        FailAt(kind_token, std::string("the ") + layout->name + " opened here has no 'end'");
      }
      if (const KindLayout* child = KindAt(token)) {
        CheckPlacement(*layout, *child);
        std::vector<Entry>& list =
            child->code == window::kKindMenuBar ? entry->menubar : entry->children;
        if (child->code == window::kKindMenuBar && !list.empty()) Fail("a second menu bar");
        EntryRule(&list.emplace_back(), depth + 1);
      } else if (token.kind == TokenKind::kWord || token.kind == TokenKind::kPicture) {
        PropertiesToEndOfLine(entry, *layout, &given);
      } else {
        Fail("expected a kind, a property or 'end', found " + Describe(token));
      }
    }
  }

  // Windows, reports and menu bars as the text says in text_parser.h.
  void CheckPlacement(const KindLayout& parent, const KindLayout& child) const {
    std::string where = " cannot stand in " + A(parent.name);
    if (child.code == window::kKindWindow || child.code == window::kKindReport) {
      Fail(A(child.name) + " cannot be nested");
    }
    if (child.code == window::kKindMenuBar) {
      if (!window::SlotOf(parent, Field::kMenuBar)) Fail(A("menubar") + where);
      return;
    }
    bool in_menu = parent.code == window::kKindMenuBar || parent.code == window::kKindMenu;
    bool is_menu = child.code == window::kKindMenu || child.code == window::kKindItem;
    if (in_menu != is_menu || (parent.code == window::kKindMenuBar && !is_menu) ||
        (parent.code == window::kKindMenuBar && child.code == window::kKindItem)) {
      Fail(A(child.name) + where);
    }
  }

  static const Field* PositionalField(const KindLayout& layout) {
    static const Field kCandidates[] = {Field::kLabel, Field::kText, Field::kImage};
    for (const Field& field : kCandidates) {
      if (window::SlotOf(layout, field)) return &field;
    }
    return nullptr;
  }

  void PropertiesToEndOfLine(Entry* entry, const KindLayout& layout, std::set<std::string>* given) {
    while (Peek().kind != TokenKind::kNewline && Peek().kind != TokenKind::kEnd) {
      Property(entry, layout, given);
    }
    ExpectNewline();
  }

  void Once(std::set<std::string>* given, const std::string& keyword) {
    if (!given->insert(keyword).second) Fail("'" + keyword + "' is given twice");
  }

  // property = see text_parser.h
  void Property(Entry* entry, const KindLayout& layout, std::set<std::string>* given) {
    const Token& token = Peek();
    if (token.kind == TokenKind::kPicture) {
      if (!window::SlotOf(layout, Field::kPicture)) {
        Fail(A(layout.name) + " has no picture");
      }
      Once(given, "picture");
      entry->strings[Field::kPicture] = Next().text;
      return;
    }
    if (token.kind != TokenKind::kWord) Fail("expected a property, found " + Describe(token));
    std::string keyword = Next().text;
    bool structure = layout.code == window::kKindWindow || layout.code == window::kKindReport;
    if (keyword == "id") {
      if (!layout.control) FailAt(token, A(layout.name) + " has no id");
      Once(given, keyword);
      entry->id = I32("the id");
    } else if (keyword == "attr") {
      Once(given, keyword);
      uint32_t attr = Word("the attribute word");
      if (structure && (attr & window::kUnitMask)) {
        FailAt(token, "give the unit bits of a " + std::string(layout.name) + " with 'units'");
      }
      entry->attr |= attr;
    } else if (keyword == "units") {
      if (!structure) FailAt(token, A(layout.name) + " has no units");
      Once(given, keyword);
      const Token& name = Expect(TokenKind::kWord, "a unit name");
      uint32_t bits = 0;
      if (!window::UnitByName(name.text, &bits)) {
        FailAt(name, "unknown unit '" + name.text + "' (dialog, inch25, inch1000, points)");
      }
      entry->attr |= bits;
    } else if (keyword == "default") {
      if (layout.code != window::kKindButton) FailAt(token, "only a button can be the default");
      Once(given, "flags");
      entry->numbers[Field::kFlags] = 1;
    } else if (keyword == "fontcolor" || keyword == "fontstyle") {
      if (!entry->font) FailAt(token, "'" + keyword + "' needs a 'font' before it");
      Once(given, keyword);
      (keyword == "fontcolor" ? entry->font->color : entry->font->style) =
          static_cast<int32_t>(Word(keyword));
    } else {
      const FieldInfo* info = window::FieldByKeyword(keyword);
      if (!info || info->type == FieldType::kChildren || info->type == FieldType::kMenuBar) {
        FailAt(token, "unknown kind or property '" + keyword + "'");
      }
      if (!window::SlotOf(layout, info->field)) {
        FailAt(token, A(layout.name) + " has no '" + keyword + "'");
      }
      Once(given, keyword);
      FieldValue(entry, *info);
    }
  }

  void FieldValue(Entry* entry, const FieldInfo& info) {
    std::string what = std::string("the value of '") + info.keyword + "'";
    auto set_number = [&](int64_t value) {
      if (value != info.default_value) entry->numbers[info.field] = value;
    };
    switch (info.type) {
      case FieldType::kU8:
        set_number(Integer(what, 0, 255));
        break;
      case FieldType::kI32:
        set_number(I32(what));
        break;
      case FieldType::kHex: {
        uint32_t word = Word(what);
        set_number(info.default_value < 0 ? static_cast<int32_t>(word) : int64_t{word});
        break;
      }
      case FieldType::kAction:
        if (Peek().kind == TokenKind::kWord) {
          int64_t code = 0;
          if (!window::ActionByName(Peek().text, &code))
            Fail("unknown action '" + Peek().text + "'");
          Next();
          set_number(code);
        } else {
          set_number(Word(what));
        }
        break;
      case FieldType::kString:
      case FieldType::kPicture:
        entry->strings[info.field] = Expect(TokenKind::kString, what).text;
        break;
      case FieldType::kReal: {
        double value = 0;
        if (Peek().kind == TokenKind::kInteger) {
          value = static_cast<double>(Next().integer);
        } else {
          value = Expect(TokenKind::kReal, what).real;
        }
        if (!std::isfinite(value)) Fail(what + " is not a finite number");
        if (value != 0 || std::signbit(value)) entry->reals[info.field] = value;
        break;
      }
      case FieldType::kAt:
        entry->at.x = Coordinate();
        entry->at.y = Coordinate();
        entry->at.width = Coordinate();
        entry->at.height = Coordinate();
        break;
      case FieldType::kUse:
        entry->use = UseRule();
        break;
      case FieldType::kFont: {
        window::Font font;
        font.face = Expect(TokenKind::kString, "the font's face name").text;
        font.points = I32("the font's size in points");
        entry->font = font;
        break;
      }
      case FieldType::kAlerts:
        do entry->alerts.push_back(Word("an alert key code"));
        while (Peek().kind == TokenKind::kInteger);
        break;
      case FieldType::kZones:
        do entry->zones.push_back(I32("a status zone width"));
        while (Peek().kind == TokenKind::kInteger);
        break;
      case FieldType::kChildren:
      case FieldType::kMenuBar:
        Fail("not a property");
    }
  }

  // coord = INT | "-"
  int32_t Coordinate() {
    if (Peek().kind == TokenKind::kDash) {
      Next();
      return window::kNotGiven;
    }
    int32_t value = I32("a coordinate");
    if (value == window::kNotGiven) Fail("write an open coordinate as '-'");
    return value;
  }

  // use = "long" | "byte" | "string" INT | "longstring" INT | "type" INT INT
  window::UseType UseRule() {
    const Token& token = Expect(TokenKind::kWord, "a use type (long, byte, string N, ...)");
    if (token.text == "long") return {0x06, 4};
    if (token.text == "byte") return {0x01, 1};
    if (token.text == "string") return {0x12, Word("the string length")};
    if (token.text == "longstring") return {0x15, Word("the string length")};
    if (token.text == "type") {
      uint8_t type = static_cast<uint8_t>(Integer("the data type code", 0, 255));
      return {type, Word("the size in bytes")};
    }
    FailAt(token, "unknown use type '" + token.text + "' (long, byte, string, longstring, type)");
  }

  std::vector<Token> tokens_;
  size_t pos_ = 0;
};

}  // namespace

bool ParseModule(std::string_view source, window::Module* module, ParseError* error) {
  std::vector<Token> tokens;
  LexError lex_error;
  if (!Tokenize(source, &tokens, &lex_error)) {
    *error = ParseError{lex_error.line, lex_error.message};
    return false;
  }
  try {
    Parser(std::move(tokens)).Module(module);
  } catch (const Failure& failure) {
    *error = ParseError{failure.line, failure.message};
    return false;
  }
  return true;
}

}  // namespace carelog::defc
