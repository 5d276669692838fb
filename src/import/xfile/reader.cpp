// The X-file reader: one lexer for the text and the binary token forms, the
// MSZip inflation of the compressed forms, and one parser over the tokens.
#include <zlib.h>

#include <charconv>
#include <cstring>
#include <unordered_map>

#include "import/readers/bounded_reader.h"
#include "import/xfile/xfile.h"

namespace ws::xfile {
namespace {

constexpr std::size_t kHeaderBytes = 16;

enum class Tok {
  kEnd,
  kName,
  kString,
  kInteger,
  kFloat,
  kGuid,
  kOBrace,
  kCBrace,
  kOBracket,
  kCBracket,
  kComma,
  kSemicolon,
  kDot
};

struct Token {
  Tok kind = Tok::kEnd;
  std::string text;
  double number = 0;
};

std::uint32_t Le(const char* p, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(p[i]);
  return v;
}

std::string Hex(std::uint32_t v, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = kDigits[v & 15];
  return s;
}

class Lexer {
 public:
  Lexer(std::string_view data, bool binary, bool doubles)
      : d_(data), binary_(binary), doubles_(doubles) {}
  // False with `error` set when the data holds no valid token here.
  bool Next(Token& t) { return binary_ ? NextBinary(t) : NextText(t); }
  std::size_t remaining() const { return d_.size() - pos_; }
  // Where the last token (or the fault in it) starts.
  std::size_t tokenStart() const { return start_; }
  std::string error;

 private:
  bool Fail(const char* what) {
    error = what;
    return false;
  }
  bool Take(std::size_t n, const char*& p) {
    if (n > remaining()) return Fail("unexpected end of data");
    p = d_.data() + pos_;
    pos_ += n;
    return true;
  }
  bool NextBinary(Token& t);
  bool NextText(Token& t);

  std::string_view d_;
  bool binary_, doubles_;
  std::size_t pos_ = 0, start_ = 0;
  std::uint32_t listLeft_ = 0;  // elements left of an integer or float list
  bool listFloat_ = false;
};

bool Lexer::NextBinary(Token& t) {
  const char* p = nullptr;
  t = Token();
  start_ = pos_;
  if (listLeft_ > 0) {
    --listLeft_;
    std::size_t n = listFloat_ && doubles_ ? 8 : 4;
    if (!Take(n, p)) return false;
    t.kind = listFloat_ ? Tok::kFloat : Tok::kInteger;
    if (!listFloat_) {
      t.number = Le(p, 4);
    } else if (n == 4) {
      float f;
      std::memcpy(&f, p, 4);
      t.number = f;
    } else {
      std::memcpy(&t.number, p, 8);
    }
    return true;
  }
  if (remaining() == 0) return true;  // kEnd
  if (!Take(2, p)) return false;
  std::uint32_t code = Le(p, 2);
again:
  start_ = pos_ - 2;
  switch (code) {
    case 1:
    case 2: {
      if (!Take(4, p)) return false;
      std::uint32_t n = Le(p, 4);
      if (!Take(n, p)) return false;
      t.kind = code == 1 ? Tok::kName : Tok::kString;
      t.text.assign(p, n);
      return true;  // a string's terminator is the next token, a separator
    }
    case 3:
      if (!Take(4, p)) return false;
      t.kind = Tok::kInteger;
      t.number = Le(p, 4);
      return true;
    case 5:
      if (!Take(16, p)) return false;
      t.kind = Tok::kGuid;
      t.text = Hex(Le(p, 4), 8) + "-" + Hex(Le(p + 4, 2), 4) + "-" + Hex(Le(p + 6, 2), 4) + "-" +
               Hex(Le(p + 8, 1), 2) + Hex(Le(p + 9, 1), 2) + "-";
      for (int i = 10; i < 16; ++i) t.text += Hex(Le(p + i, 1), 2);
      return true;
    case 6:
    case 7: {
      if (!Take(4, p)) return false;
      std::uint32_t n = Le(p, 4);
      listFloat_ = code == 7;
      std::size_t each = listFloat_ && doubles_ ? 8 : 4;
      if (n > remaining() / each) return Fail("list longer than the data left");
      listLeft_ = n;
      // The list's first element; an empty list reads as the token after
      // it (a loop, not a call: a file may hold millions of empty lists).
      if (n > 0) return NextBinary(t);
      start_ = pos_;
      if (remaining() == 0) return true;
      if (!Take(2, p)) return false;
      code = Le(p, 2);
      goto again;
    }
    case 0x0a:
      t.kind = Tok::kOBrace;
      return true;
    case 0x0b:
      t.kind = Tok::kCBrace;
      return true;
    case 0x0e:
      t.kind = Tok::kOBracket;
      return true;
    case 0x0f:
      t.kind = Tok::kCBracket;
      return true;
    case 0x12:
      t.kind = Tok::kDot;
      return true;
    case 0x13:
      t.kind = Tok::kComma;
      return true;
    case 0x14:
      t.kind = Tok::kSemicolon;
      return true;
    case 0x1f:
      t.kind = Tok::kName;
      t.text = "template";
      return true;
    default:
      break;
  }
  static constexpr const char* kTypes[] = {"WORD",    "DWORD",   "FLOAT",  "DOUBLE", "CHAR",
                                           "UCHAR",   "SWORD",   "SDWORD", "VOID",   "LPSTR",
                                           "UNICODE", "CSTRING", "array"};
  if (code >= 0x28 && code <= 0x34) {
    t.kind = Tok::kName;
    t.text = kTypes[code - 0x28];
    return true;
  }
  return Fail("unknown binary token");
}

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.';
}

bool Lexer::NextText(Token& t) {
  t = Token();
  for (;;) {  // white space and comments ("#" or "//" to the end of the line)
    while (pos_ < d_.size() && IsBlank(d_[pos_])) ++pos_;
    if (pos_ < d_.size() && (d_[pos_] == '#' || d_.substr(pos_, 2) == "//")) {
      while (pos_ < d_.size() && d_[pos_] != '\n') ++pos_;
      continue;
    }
    break;
  }
  start_ = pos_;
  if (pos_ == d_.size()) return true;
  char c = d_[pos_];
  switch (c) {
    case '{':
      t.kind = Tok::kOBrace;
      break;
    case '}':
      t.kind = Tok::kCBrace;
      break;
    case '[':
      t.kind = Tok::kOBracket;
      break;
    case ']':
      t.kind = Tok::kCBracket;
      break;
    case ',':
      t.kind = Tok::kComma;
      break;
    case ';':
      t.kind = Tok::kSemicolon;
      break;
    default:
      break;
  }
  if (t.kind != Tok::kEnd) {
    ++pos_;
    return true;
  }
  std::size_t start = pos_;
  bool digitNext = pos_ + 1 < d_.size() && d_[pos_ + 1] >= '0' && d_[pos_ + 1] <= '9';
  if ((c >= '0' && c <= '9') || ((c == '-' || c == '+' || c == '.') && digitNext)) {
    bool real = false;
    for (; pos_ < d_.size(); ++pos_) {
      const char x = d_[pos_];
      const bool fraction = x == '.' || x == 'e' || x == 'E';
      if (!fraction && x != '+' && x != '-' && (x < '0' || x > '9')) break;
      real = real || fraction;
    }
    const char* first = d_.data() + start + (c == '+' ? 1 : 0);
    auto [end, ec] = std::from_chars(first, d_.data() + pos_, t.number);
    if (ec != std::errc() || end != d_.data() + pos_) return Fail("malformed number");
    t.kind = real ? Tok::kFloat : Tok::kInteger;
    return true;
  }
  if (c == '.') {
    t.kind = Tok::kDot;
    ++pos_;
    return true;
  }
  if (c == '"' || c == '<') {
    std::size_t end = d_.find(c == '"' ? '"' : '>', pos_ + 1);
    if (end == std::string_view::npos)
      return Fail(c == '"' ? "unterminated string" : "unterminated GUID");
    t.text.assign(d_.substr(pos_ + 1, end - pos_ - 1));
    pos_ = end + 1;
    if (c == '"') {
      t.kind = Tok::kString;
      return true;
    }
    std::string g;
    for (char x : t.text) {
      if (!IsBlank(x)) g += (x >= 'a' && x <= 'z') ? static_cast<char>(x - 32) : x;
    }
    static constexpr std::string_view kShape = "HHHHHHHH-HHHH-HHHH-HHHH-HHHHHHHHHHHH";
    bool ok = g.size() == kShape.size();
    for (std::size_t i = 0; ok && i < g.size(); ++i)
      ok = kShape[i] == '-' ? g[i] == '-' : std::isxdigit(static_cast<unsigned char>(g[i])) != 0;
    if (!ok) return Fail("malformed GUID");
    t.kind = Tok::kGuid;
    t.text = g;
    return true;
  }
  while (pos_ < d_.size() && IsNameChar(d_[pos_])) ++pos_;
  if (pos_ == start) return Fail("unexpected character");
  t.kind = Tok::kName;
  t.text.assign(d_.substr(start, pos_ - start));
  return true;
}

// MSZip: a DWORD with the whole uncompressed file's size (header included),
// then blocks of a WORD uncompressed size, a WORD compressed size and that
// many bytes: "CK" and raw deflate data, which may refer back into the
// previous block's output.
std::optional<std::string> Inflate(std::string_view in, std::string& error) {
  if (in.size() < 4) {
    error = "compressed data too short";
    return std::nullopt;
  }
  std::uint32_t total = Le(in.data(), 4);
  if (total < kHeaderBytes || total - kHeaderBytes > kMaxImportFileBytes) {
    error = "compressed size out of range";
    return std::nullopt;
  }
  std::string out;
  std::size_t pos = 4, previous = 0;
  while (pos < in.size()) {
    if (in.size() - pos < 4) {
      error = "compressed block header cut short";
      return std::nullopt;
    }
    std::uint32_t plain = Le(in.data() + pos, 2), packed = Le(in.data() + pos + 2, 2);
    pos += 4;
    if (packed > in.size() - pos || packed < 2 || in.substr(pos, 2) != "CK") {
      error = "malformed compressed block";
      return std::nullopt;
    }
    if (plain > total - kHeaderBytes - out.size()) {
      error = "compressed data larger than its stated size";
      return std::nullopt;
    }
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
      error = "cannot inflate";
      return std::nullopt;
    }
    std::size_t start = out.size();
    out.resize(start + plain);
    int rc = Z_OK;
    if (previous > 0) {
      std::size_t dict = previous > 32768 ? 32768 : previous;
      rc = inflateSetDictionary(&z, reinterpret_cast<const Bytef*>(out.data() + start - dict),
                                static_cast<uInt>(dict));
    }
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data() + pos + 2));
    z.avail_in = packed - 2;
    z.next_out = reinterpret_cast<Bytef*>(out.data() + start);
    z.avail_out = plain;
    if (rc == Z_OK) rc = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    if (rc != Z_STREAM_END || z.avail_out != 0) {
      error = "corrupt compressed block";
      return std::nullopt;
    }
    previous = plain;
    pos += packed;
  }
  if (out.size() != total - kHeaderBytes) {
    error = "compressed data shorter than its stated size";
    return std::nullopt;
  }
  return out;
}

class Parser {
 public:
  Parser(std::string_view data, bool binary, bool doubles, const TemplateRegistry& registered)
      : lex_(data, binary, doubles), reg_(registered) {}

  bool ParseFile(File& file) {
    if (!Advance()) return false;
    while (tok_.kind != Tok::kEnd) {
      if (tok_.kind != Tok::kName) return Fail("expected a template or a data object");
      if (tok_.text == "template") {
        Template t;
        if (!ParseTemplate(t)) return false;
        reg_.Add(t);
        members_.clear();  // a template may have been replaced or moved
        file.declared.push_back(std::move(t));
      } else {
        Object o;
        if (!ParseObject(o, 1)) return false;
        file.objects.push_back(std::move(o));
      }
    }
    return true;
  }
  // Positions count from the file's start (in the inflated data for the
  // compressed forms).
  std::string error() const {
    return error_ + " at byte " + std::to_string(kHeaderBytes + lex_.tokenStart());
  }

 private:
  bool Advance() { return lex_.Next(tok_) || Fail(lex_.error); }
  bool Fail(const std::string& what) {
    if (error_.empty()) error_ = what;
    return false;
  }
  bool Expect(Tok kind, const char* what) {
    if (tok_.kind != kind) return Fail(std::string("expected ") + what);
    return Advance();
  }
  bool Name(std::string& out) {
    if (tok_.kind != Tok::kName) return Fail("expected a name");
    out = tok_.text;
    return Advance();
  }
  bool SkipSeparators() {
    while (tok_.kind == Tok::kComma || tok_.kind == Tok::kSemicolon) {
      if (!Advance()) return false;
    }
    return true;
  }

  bool ParseTemplate(Template& t) {
    if (!Advance() || !Name(t.name) || !Expect(Tok::kOBrace, "'{'")) return false;
    if (tok_.kind != Tok::kGuid) return Fail("template '" + t.name + "' has no GUID");
    t.guid = tok_.text;
    if (!Advance()) return false;
    while (tok_.kind == Tok::kName) {
      Member m;
      m.array = tok_.text == "array";
      if (m.array && !Advance()) return false;
      if (!Name(m.type)) return false;
      if (tok_.kind == Tok::kName && !Name(m.name)) return false;
      while (m.array && tok_.kind == Tok::kOBracket) {
        if (!Advance()) return false;
        if (tok_.kind == Tok::kInteger)
          tok_.text = std::to_string(static_cast<std::uint64_t>(tok_.number));
        else if (tok_.kind != Tok::kName)
          return Fail("expected an array dimension");
        m.dimensions.push_back(tok_.text);
        if (!Advance() || !Expect(Tok::kCBracket, "']'")) return false;
      }
      if (m.array && m.dimensions.empty()) return Fail("array member without a dimension");
      if (!Expect(Tok::kSemicolon, "';'")) return false;
      t.members.push_back(std::move(m));
    }
    if (tok_.kind == Tok::kOBracket) {
      if (!Advance()) return false;
      if (tok_.kind == Tok::kDot) {
        for (int i = 0; i < 3; ++i) {
          if (!Expect(Tok::kDot, "'...'")) return false;
        }
        t.children = Template::Children::kOpen;
      } else {
        t.children = Template::Children::kRestricted;
        for (;;) {
          std::string allowed;
          if (!Name(allowed)) return false;
          t.allowed.push_back(allowed);
          if (tok_.kind == Tok::kGuid && !Advance()) return false;
          if (tok_.kind != Tok::kComma) break;
          if (!Advance()) return false;
        }
      }
      if (!Expect(Tok::kCBracket, "']'")) return false;
    }
    return Expect(Tok::kCBrace, "'}'");
  }

  bool ParseObject(Object& o, int depth) {
    if (depth > kMaxDepth) return Fail("data objects nested too deeply");
    o.templateName = tok_.text;
    const Template* t = reg_.Find(o.templateName);
    if (!Advance()) return false;
    if (tok_.kind == Tok::kName && !Name(o.name)) return false;
    if (!Expect(Tok::kOBrace, "'{'")) return false;
    if (tok_.kind == Tok::kGuid) {
      o.guid = tok_.text;
      if (!Advance()) return false;
    }
    if (!t) return ParseUntyped(o, depth);
    if (!ParseMembers(*t, o, 1) || !SkipSeparators()) return false;
    while (tok_.kind != Tok::kCBrace) {
      Object child;
      if (tok_.kind == Tok::kOBrace) {
        if (!ParseReference(child)) return false;
      } else if (tok_.kind == Tok::kName) {
        if (t->children == Template::Children::kClosed)
          return Fail("template '" + t->name + "' takes no child objects");
        if (!ParseObject(child, depth + 1)) return false;
      } else {
        return Fail(tok_.kind == Tok::kEnd ? "unexpected end of data"
                                           : "unexpected token in data object");
      }
      o.children.push_back(std::move(child));
      if (!SkipSeparators()) return false;
    }
    return Advance();
  }

  bool ParseReference(Object& ref) {
    ref.reference = true;
    if (!Advance()) return false;
    if (tok_.kind == Tok::kName && !Name(ref.name)) return false;
    if (tok_.kind == Tok::kGuid) {
      ref.guid = tok_.text;
      if (!Advance()) return false;
    }
    if (ref.name.empty() && ref.guid.empty()) return Fail("empty reference");
    return Expect(Tok::kCBrace, "'}'");
  }

  // Files use templates they do not declare (the skinning ones, say): such
  // an object keeps its numbers and strings in order and its child objects,
  // for a reader that knows the layout, and the rest of the file still reads.
  bool ParseUntyped(Object& o, int depth) {
    while (tok_.kind != Tok::kCBrace) {
      if (tok_.kind == Tok::kName || tok_.kind == Tok::kOBrace) {
        Object child;
        if (tok_.kind == Tok::kName ? !ParseObject(child, depth + 1) : !ParseReference(child))
          return false;
        o.children.push_back(std::move(child));
        continue;
      }
      if (tok_.kind == Tok::kInteger || tok_.kind == Tok::kFloat || tok_.kind == Tok::kString)
        o.values.push_back(Value{tok_.kind == Tok::kString, tok_.number, tok_.text});
      else if (tok_.kind != Tok::kComma && tok_.kind != Tok::kSemicolon)
        return Fail(tok_.kind == Tok::kEnd ? "unexpected end of data"
                                           : "unexpected token in data object");
      if (!Advance()) return false;
    }
    return Advance();
  }

  // What a member's type is, worked out once per template rather than for
  // every element of a long array.
  struct MemberInfo {
    bool isString = false, integer = false;
    const Template* inner = nullptr;
  };
  struct TemplateInfo {
    std::vector<MemberInfo> members;
    bool arrays = false;  // only then are earlier integers looked up
  };
  const TemplateInfo* InfoOf(const Template& t) {
    if (auto it = members_.find(&t); it != members_.end()) return &it->second;
    TemplateInfo info;
    for (const auto& m : t.members) {
      MemberInfo mi;
      mi.isString = IsStringType(m.type);
      if (!IsPrimitive(m.type, &mi.integer) && !(mi.inner = reg_.Find(m.type))) {
        Fail("unknown template '" + m.type + "'");
        return nullptr;
      }
      info.arrays = info.arrays || m.array;
      info.members.push_back(mi);
    }
    return &members_.emplace(&t, std::move(info)).first->second;
  }

  bool ParseMembers(const Template& t, Object& o, int depth) {
    if (depth > kMaxDepth) return Fail("templates nested too deeply");
    const TemplateInfo* info = InfoOf(t);
    if (!info) return false;
    std::map<std::string, std::uint64_t> integers;
    for (std::size_t k = 0; k < t.members.size(); ++k) {
      const Member& m = t.members[k];
      const MemberInfo& mi = info->members[k];
      std::uint64_t count = 1;
      if (m.array) {
        std::string why;
        auto shape = ShapeOf(m, reg_, integers, &why);
        if (!shape) return Fail(why);
        count = shape->count;
      }
      // Every element takes at least one byte, the current token one.
      if (count > lex_.remaining() + 1)
        return Fail("array '" + m.name + "' longer than the data left");
      for (std::uint64_t i = 0; i < count; ++i) {
        if (mi.inner) {
          std::size_t before = o.values.size();
          if (!ParseMembers(*mi.inner, o, depth + 1)) return false;
          if (o.values.size() == before) break;  // elements of nothing
          continue;
        }
        Value v;
        if (mi.isString) {
          if (tok_.kind != Tok::kString) return Fail("expected a string for '" + m.name + "'");
          v.isString = true;
          v.text = tok_.text;
        } else {
          if (tok_.kind != Tok::kInteger && (mi.integer || tok_.kind != Tok::kFloat))
            return Fail("expected a number for '" + m.name + "'");
          v.number = tok_.number;
          if (info->arrays && mi.integer && !m.array && v.number >= 0 && v.number <= 0xFFFFFFFFu)
            integers[m.name] = static_cast<std::uint64_t>(v.number);
        }
        o.values.push_back(std::move(v));
        if (!Advance() || !SkipSeparators()) return false;
      }
    }
    return true;
  }

  Lexer lex_;
  TemplateRegistry reg_;
  std::unordered_map<const Template*, TemplateInfo> members_;
  Token tok_;
  std::string error_;
};

}  // namespace

ReadResult Read(std::span<const std::uint8_t> bytes, const TemplateRegistry& registered) {
  ReadResult result;
  std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (all.size() < kHeaderBytes || all.substr(0, 4) != "xof ") {
    result.error = "not an X file";
    return result;
  }
  std::string_view format = all.substr(8, 4), floats = all.substr(12, 4);
  if (floats != "0032" && floats != "0064") {
    result.error = "unknown float size '" + std::string(floats) + "'";
    return result;
  }
  bool binary = format == "bin " || format == "bzip";
  if (!binary && format != "txt " && format != "tzip") {
    result.error = "unknown X format '" + std::string(format) + "'";
    return result;
  }
  std::string_view body = all.substr(kHeaderBytes);
  std::optional<std::string> inflated;
  if (format[1] == 'z') {
    inflated = Inflate(body, result.error);
    if (!inflated) return result;
    body = *inflated;
  }
  Parser parser(body, binary, floats == "0064", registered);
  File file;
  if (!parser.ParseFile(file)) {
    result.error = parser.error();
    return result;
  }
  result.file = std::move(file);
  return result;
}

}  // namespace ws::xfile
