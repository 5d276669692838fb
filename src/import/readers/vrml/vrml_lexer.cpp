#include "import/readers/vrml/vrml_lexer.h"

#include <algorithm>

#include "import/readers/bounded_reader.h"

namespace ws::vrml {
namespace {

bool IsPunct(char c) {
  return c == '{' || c == '}' || c == '[' || c == ']' || c == '(' || c == ')' || c == '|';
}

bool EndsWord(char c) { return IsBlank(c) || c == ',' || c == '#' || c == '"' || IsPunct(c); }

}  // namespace

void Lexer::SkipBlanksAndComments() {
  while (pos_ < text_.size()) {
    const char c = text_[pos_];
    if (IsBlank(c) || c == ',') {
      ++pos_;
    } else if (c == '#') {
      while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r') ++pos_;
    } else {
      return;
    }
  }
}

Token Lexer::Next() {
  SkipBlanksAndComments();
  Token t;
  t.pos = pos_;
  if (pos_ >= text_.size()) return t;
  ++tokensRead_;
  const char c = text_[pos_];
  if (IsPunct(c)) {
    t.kind = TokenKind::kPunct;
    t.text = text_.substr(pos_++, 1);
    return t;
  }
  if (c == '"') {
    // A backslash keeps the next character inside the string.
    std::size_t end = pos_ + 1;
    while (end < text_.size() && text_[end] != '"') end += text_[end] == '\\' ? 2 : 1;
    if (end >= text_.size()) throw SyntaxError{pos_, "string without its closing quote"};
    t.kind = TokenKind::kString;
    t.text = text_.substr(pos_ + 1, end - pos_ - 1);
    pos_ = end + 1;
    return t;
  }
  std::size_t end = pos_;
  while (end < text_.size() && !EndsWord(text_[end])) ++end;
  t.kind = TokenKind::kWord;
  t.text = text_.substr(pos_, end - pos_);
  pos_ = end;
  return t;
}

Token Lexer::Peek() {
  const std::size_t saved = pos_;
  const std::size_t savedCount = tokensRead_;
  const Token t = Next();
  pos_ = saved;
  tokensRead_ = savedCount;
  return t;
}

long Lexer::LineAt(std::size_t pos) const {
  const std::string_view before = text_.substr(0, std::min(pos, text_.size()));
  return 1 + static_cast<long>(std::count(before.begin(), before.end(), '\n'));
}

}  // namespace ws::vrml
