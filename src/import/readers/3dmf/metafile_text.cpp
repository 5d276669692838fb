// The text form: `label: ClassName ( data )`, read from a token list made
// once for the whole file, with every parenthesis matched beforehand.
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <unordered_map>

#include "import/readers/3dmf/metafile_stream.h"
#include "import/readers/bounded_reader.h"

namespace ws::metafile {
namespace {

constexpr std::uint32_t kNoMatch = std::numeric_limits<std::uint32_t>::max();

struct Token {
  enum Kind : std::uint8_t { kWord, kOpen, kClose, kString } kind;
  std::uint32_t offset;
  std::uint32_t length;
};

bool IsDelimiter(char c) { return IsBlank(c) || c == '(' || c == ')' || c == '#' || c == '"'; }

std::vector<Token> Tokenize(std::string_view s) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (IsBlank(c)) {
      ++i;
    } else if (c == '#') {
      while (i < s.size() && s[i] != '\n' && s[i] != '\r') ++i;
    } else if (c == '(' || c == ')') {
      tokens.push_back({c == '(' ? Token::kOpen : Token::kClose, static_cast<std::uint32_t>(i), 1});
      ++i;
    } else {
      const std::size_t start = i++;
      if (c == '"') {
        while (i < s.size() && s[i] != '"') i += s[i] == '\\' ? 2 : 1;
        i = std::min(i + 1, s.size());
      } else {
        while (i < s.size() && !IsDelimiter(s[i])) ++i;
      }
      tokens.push_back({c == '"' ? Token::kString : Token::kWord, static_cast<std::uint32_t>(start),
                        static_cast<std::uint32_t>(i - start)});
    }
  }
  return tokens;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::uint32_t ClassType(std::string_view name) {
  static constexpr std::pair<std::string_view, std::uint32_t> kClasses[] = {
      {"Container", kContainer}, {"Reference", kReference},
      {"Matrix", kMatrix},       {"DiffuseColor", kDiffuseColor},
      {"Ellipsoid", kEllipsoid}, {"Triangle", kTriangle},
      {"Polygon", kPolygon},     {"TriMesh", kTriMesh},
      {"Mesh", kMesh},           {"TableOfContents", kTableOfContents}};
  for (const auto& [n, type] : kClasses) {
    if (SameName(name, n)) return type;
  }
  return kUnknownClass;
}

// A number as the text form writes it: decimal integers and reals (a sign,
// digits with or without a point, an exponent) and hexadecimal integers
// ("0x1F"). Values that are not finite are refused.
bool ParseNumber(std::string_view w, double& v) {
  bool negative = false;
  if (!w.empty() && (w[0] == '+' || w[0] == '-')) {
    negative = w[0] == '-';
    w.remove_prefix(1);
  }
  if (w.empty() || w[0] == '+' || w[0] == '-') return false;
  const char* end = w.data() + w.size();
  if (w.size() > 2 && w[0] == '0' && (w[1] == 'x' || w[1] == 'X')) {
    std::uint64_t u = 0;
    const auto r = std::from_chars(w.data() + 2, end, u, 16);
    if (r.ec != std::errc() || r.ptr != end) return false;
    v = static_cast<double>(u);
  } else {
    const auto r = std::from_chars(w.data(), end, v);
    if (r.ec != std::errc() || r.ptr != end) return false;
  }
  if (negative) v = -v;
  return std::isfinite(v);
}

// The numbers of one object's data, in order.
class Numbers {
 public:
  Numbers(std::string_view text, const std::vector<Token>& tokens, std::size_t from, std::size_t to)
      : text_(text), tokens_(tokens), pos_(from), end_(to) {}
  std::size_t remaining() const { return end_ - pos_; }
  bool Skip(std::uint64_t n) {
    if (n > remaining()) return false;
    pos_ += static_cast<std::size_t>(n);
    return true;
  }
  bool Real(double& v) {
    if (pos_ >= end_ || tokens_[pos_].kind != Token::kWord) return false;
    const Token& t = tokens_[pos_++];
    return ParseNumber(text_.substr(t.offset, t.length), v);
  }
  bool Float(float& f) {
    double v = 0;
    if (!Real(v) || std::fabs(v) > std::numeric_limits<float>::max()) return false;
    f = static_cast<float>(v);
    return true;
  }
  bool Floats(std::uint64_t n, std::vector<float>& out) {
    if (n > remaining()) return false;
    out.resize(static_cast<std::size_t>(n));
    for (float& f : out) {
      if (!Float(f)) return false;
    }
    return true;
  }
  // A whole number within [lo, hi].
  bool Int(std::int64_t& i, std::int64_t lo, std::int64_t hi) {
    double v = 0;
    if (!Real(v) || v != std::floor(v) || v < static_cast<double>(lo) ||
        v > static_cast<double>(hi))
      return false;
    i = static_cast<std::int64_t>(v);
    return true;
  }
  bool U32(std::uint32_t& u) {
    std::int64_t i = 0;
    if (!Int(i, 0, 0xFFFFFFFFLL)) return false;
    u = static_cast<std::uint32_t>(i);
    return true;
  }

 private:
  std::string_view text_;
  const std::vector<Token>& tokens_;
  std::size_t pos_, end_;
};

bool DecodeTriMesh(Numbers& n, MetafileObject& out) {
  for (std::uint32_t& c : out.counts) {
    if (!n.U32(c)) return false;
  }
  const std::uint64_t triangles = out.counts[0], edges = out.counts[2], points = out.counts[4];
  if (3 * triangles + 4 * edges + 3 * points > n.remaining()) return false;
  out.triangles.resize(static_cast<std::size_t>(3 * triangles));
  for (std::uint32_t& i : out.triangles) {
    if (!n.U32(i) || i >= points) return false;
  }
  return n.Skip(4 * edges) && n.Floats(3 * points, out.values);
}

bool DecodeMesh(Numbers& n, MetafileObject& out) {
  std::uint32_t vertices = 0, faces = 0, contours = 0;
  if (!n.U32(vertices) || !n.Floats(3ULL * vertices, out.values)) return false;
  if (!n.U32(faces) || !n.U32(contours)) return false;
  const std::uint64_t entries = std::uint64_t{faces} + contours;
  if (entries > n.remaining()) return false;
  out.counts[0] = vertices;
  out.counts[1] = faces;
  out.counts[2] = contours;
  out.faces.resize(static_cast<std::size_t>(entries));
  for (MeshFace& face : out.faces) {
    std::int64_t stored = 0;
    if (!n.Int(stored, -0x7FFFFFFFLL, 0x7FFFFFFFLL)) return false;
    const std::uint64_t count = static_cast<std::uint64_t>(stored < 0 ? -stored : stored);
    if (count > n.remaining()) return false;
    face.count = static_cast<std::uint32_t>(count) | (stored < 0 ? 0x80000000u : 0u);
    face.indices.resize(static_cast<std::size_t>(count));
    for (std::uint32_t& i : face.indices) {
      if (!n.U32(i)) return false;
    }
  }
  return true;
}

bool Decode(std::uint32_t type, Numbers& n, MetafileObject& out) {
  switch (type) {
    case kReference:
      return n.U32(out.referenceId);
    case kMatrix:
      return n.Floats(16, out.values);
    case kDiffuseColor:
      return n.Floats(3, out.values);
    case kTriangle:
      return n.Floats(9, out.values);
    case kEllipsoid:
      if (n.remaining() == 0) {
        out.values.assign(kDefaultEllipsoid.begin(), kDefaultEllipsoid.end());
        return true;
      }
      return n.Floats(12, out.values);
    case kPolygon:
      return n.U32(out.counts[0]) && n.Floats(3ULL * out.counts[0], out.values);
    case kTriMesh:
      return DecodeTriMesh(n, out);
    case kMesh:
      return DecodeMesh(n, out);
    default:
      return true;
  }
}

bool EndsWith(std::string_view s, char c) { return s.size() > 1 && s.back() == c; }

class TextReader : public StreamReader {
 public:
  TextReader(std::vector<std::uint8_t> bytes, LogLine log)
      : StreamReader(std::move(log)),
        bytes_(std::move(bytes)),
        text_(reinterpret_cast<const char*>(bytes_.data()), bytes_.size()) {}

  int Start() {
    tokens_ = Tokenize(text_);
    MatchParentheses();
    if (tokens_.size() < 2 || tokens_[0].kind != Token::kWord || Word(0) != "3DMetafile" ||
        tokens_[1].kind != Token::kOpen || match_[1] == kNoMatch) {
      return kNotAMetafile;
    }
    ReadTables();
    Begin(match_[1] + 1, tokens_.size());
    return kOk;
  }

 protected:
  int Parse(std::size_t pos, std::size_t limit, MetafileObject& out, Parsed& p) override {
    std::size_t i = pos;
    while (i < limit && tokens_[i].kind == Token::kWord && EndsWith(Word(i), ':')) ++i;
    const std::size_t nameStart = i;
    while (i < limit && tokens_[i].kind == Token::kWord) ++i;
    if (i == nameStart || i >= limit || tokens_[i].kind != Token::kOpen) return kBadObject;
    const std::size_t close = match_[i];
    if (close == kNoMatch || close >= limit) return kBadObject;
    // A class name may hold blanks ("Apple Computer, Inc.:NameElement").
    const Token& first = tokens_[nameStart];
    const Token& last = tokens_[i - 1];
    out.type = ClassType(text_.substr(first.offset, last.offset + last.length - first.offset));
    p.next = close + 1;
    if (out.type == kContainer) {
      p.kind = Parsed::kContainer;
      p.childStart = i + 1;
      p.childEnd = close;
      return kOk;
    }
    if (out.type == kTableOfContents) {
      p.kind = Parsed::kSkip;
      return kOk;
    }
    Numbers numbers(text_, tokens_, i + 1, close);
    return Decode(out.type, numbers, out) ? kOk : kBadObject;
  }
  std::uint64_t BytePosition(std::size_t pos) const override {
    return pos < tokens_.size() ? tokens_[pos].offset : text_.size();
  }
  bool Lookup(std::uint32_t id, std::size_t& pos) const override {
    const auto entry = entries_.find(id);
    if (entry == entries_.end()) return false;
    const auto label = labels_.find(entry->second);
    if (label == labels_.end()) return false;
    pos = label->second;
    return true;
  }

 private:
  std::string_view Word(std::size_t i) const {
    return text_.substr(tokens_[i].offset, tokens_[i].length);
  }

  void MatchParentheses() {
    match_.assign(tokens_.size(), kNoMatch);
    std::vector<std::uint32_t> open;
    for (std::size_t i = 0; i < tokens_.size(); ++i) {
      if (tokens_[i].kind == Token::kOpen) {
        open.push_back(static_cast<std::uint32_t>(i));
      } else if (tokens_[i].kind == Token::kClose && !open.empty()) {
        match_[open.back()] = static_cast<std::uint32_t>(i);
        open.pop_back();
      }
    }
  }

  // Labels ("name:") and the entries of every table of contents (an id
  // followed by a label use, "name>").
  void ReadTables() {
    for (std::size_t i = 0; i < tokens_.size(); ++i) {
      if (tokens_[i].kind == Token::kWord && EndsWith(Word(i), ':')) {
        const std::string_view w = Word(i);
        labels_.emplace(w.substr(0, w.size() - 1), i);
      }
    }
    for (std::size_t i = 0; i + 1 < tokens_.size(); ++i) {
      if (tokens_[i].kind != Token::kWord || !SameName(Word(i), "TableOfContents") ||
          tokens_[i + 1].kind != Token::kOpen || match_[i + 1] == kNoMatch) {
        continue;
      }
      for (std::size_t k = i + 2; k + 1 < match_[i + 1]; ++k) {
        if (tokens_[k + 1].kind != Token::kWord || !EndsWith(Word(k + 1), '>')) continue;
        Numbers id(text_, tokens_, k, k + 1);
        std::uint32_t value = 0;
        if (!id.U32(value)) continue;
        const std::string_view label = Word(k + 1);
        entries_.emplace(value, label.substr(0, label.size() - 1));
      }
    }
  }

  std::vector<std::uint8_t> bytes_;
  std::string_view text_;
  std::vector<Token> tokens_;
  std::vector<std::uint32_t> match_;
  std::unordered_map<std::string_view, std::size_t> labels_;
  std::unordered_map<std::uint32_t, std::string_view> entries_;
};

}  // namespace

std::unique_ptr<MetafileReader> MakeTextReader(std::vector<std::uint8_t> bytes, LogLine log,
                                               int& status) {
  auto reader = std::make_unique<TextReader>(std::move(bytes), std::move(log));
  status = reader->Start();
  return reader;
}

}  // namespace ws::metafile
