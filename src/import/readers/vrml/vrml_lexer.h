// The tokens of VRML 1.0 and 2.0 text: words (names and numbers), quoted
// strings and the brackets. Commas count as white space and '#' starts a
// comment to the end of the line, as both versions have it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ws::vrml {

enum class TokenKind { kEnd, kWord, kString, kPunct };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string_view text;  // a string's text without its quotes
  std::size_t pos = 0;    // where the token starts
  bool Is(std::string_view punct) const { return kind == TokenKind::kPunct && text == punct; }
  bool IsWord(std::string_view word) const { return kind == TokenKind::kWord && text == word; }
};

// Thrown inside the reader only (caught at its entry point): the message
// names the line of `pos`.
struct SyntaxError {
  std::size_t pos;
  std::string what;
};

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}

  Token Next();
  Token Peek();
  std::size_t position() const { return pos_; }
  void Seek(std::size_t pos) { pos_ = pos < text_.size() ? pos : text_.size(); }
  std::size_t size() const { return text_.size(); }
  // 1 for the first line.
  long LineAt(std::size_t pos) const;
  // Tokens read so far, counted again when a USE reads its node once more.
  std::size_t tokensRead() const { return tokensRead_; }

 private:
  void SkipBlanksAndComments();

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t tokensRead_ = 0;
};

}  // namespace ws::vrml
