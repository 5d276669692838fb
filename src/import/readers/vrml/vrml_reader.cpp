// VRML 1.0 and 2.0 text into scene nodes.
//
// VRML 1.0 nodes map one to one onto the scene nodes of the same names.
// A VRML 2.0 Shape becomes a Separator holding its material, binding,
// coordinates and face set (or primitive), so nothing of one shape reaches
// the next; a Transform becomes a TransformSeparator whose first child is
// the Transform, so its matrix stays with its children.
//
// DEF records where its node starts; USE reads that node again from there,
// since every scene node has one owner. A file of USEs nesting USEs could
// grow without end that way, so the tokens read, first time and again, are
// limited. Unknown nodes and fields are skipped with their brackets
// balanced; prototypes, routes, scripts and inlined files are skipped with
// one log line each.
#include <zlib.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/hand_over.h"
#include "import/readers/bounded_reader.h"
#include "import/readers/readers.h"
#include "import/readers/vrml/vrml_lexer.h"

namespace ws {
namespace {

using namespace scene;
using vrml::Lexer;
using vrml::SyntaxError;
using vrml::Token;
using vrml::TokenKind;

// Real models nest a few dozen levels; deeper nesting only serves to
// exhaust the stack.
constexpr int kMaxNodeDepth = 100;
// The longest list one field may hold: no more would survive the import,
// which keeps 10,000 faces.
constexpr std::size_t kMaxListEntries = 500000;
// Tokens read in all, USEs reading their nodes again included: several
// times the largest file a user would import, far below what nested USEs
// can multiply to.
constexpr std::size_t kMinTokenBudget = 4000000;
constexpr std::size_t kTokenBudgetPerByte = 4;
// Faces the scene may hold, USEs counted at each use: the import keeps
// 10,000 faces, and walking many more only costs time.
constexpr std::size_t kMaxSceneFaces = 1000000;
// What a primitive counts towards it: the most any makes (the sphere).
constexpr std::size_t kPrimitiveFaces = 256;
// gzip magic bytes.
constexpr std::uint8_t kGzip1 = 0x1f, kGzip2 = 0x8b;

std::optional<std::vector<std::uint8_t>> Gunzip(const std::vector<std::uint8_t>& in,
                                                bool* tooLarge) {
  z_stream z{};
  // 16 + 15: a gzip wrapper around a window of up to 32 KiB.
  if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) return std::nullopt;
  z.next_in = const_cast<Bytef*>(in.data());
  z.avail_in = static_cast<uInt>(in.size());
  std::vector<std::uint8_t> out;
  std::array<std::uint8_t, 65536> buffer;
  int rc = Z_OK;
  while (rc != Z_STREAM_END) {
    z.next_out = buffer.data();
    z.avail_out = static_cast<uInt>(buffer.size());
    rc = inflate(&z, Z_NO_FLUSH);
    const std::size_t got = buffer.size() - z.avail_out;
    if ((rc != Z_OK && rc != Z_STREAM_END) || (rc == Z_OK && got == 0))
      break;  // damaged or cut off
    if (got > kMaxImportFileBytes - out.size()) {
      *tooLarge = true;
      break;
    }
    out.insert(out.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
  }
  inflateEnd(&z);
  if (rc != Z_STREAM_END || *tooLarge) return std::nullopt;
  return out;
}

// The faces of a coordIndex list: its runs up to each -1, and a last one
// without it.
std::size_t Runs(const std::vector<std::int32_t>& index) {
  const auto ends = static_cast<std::size_t>(
      std::count_if(index.begin(), index.end(), [](std::int32_t i) { return i < 0; }));
  return ends + (!index.empty() && index.back() >= 0 ? 1 : 0);
}

bool StartsNumber(const Token& t) {
  if (t.kind != TokenKind::kWord || t.text.empty()) return false;
  const char c = t.text[0];
  return IsAsciiDigit(c) || c == '-' || c == '+' || c == '.';
}

// A Shape's geometry as the file gives it, turned into nodes once the
// whole Shape is read (its fields come in any order).
struct Geometry {
  std::unique_ptr<SceneNode> primitive;
  std::vector<Vec3> point;
  std::vector<ColorTriple> color;
  std::vector<std::int32_t> coordIndex, colorIndex;
  bool colorPerVertex = true;
  bool ccw = true;
};

class VrmlReader {
 public:
  VrmlReader(Importer& importer, std::string_view text, int version)
      : importer_(importer),
        lex_(text),
        version_(version),
        budget_(std::max(kMinTokenBudget, text.size() * kTokenBudgetPerByte)) {}

  // Every node of the file under `root`; throws SyntaxError.
  void Read(GroupNode& root);
  std::size_t shapes() const { return shapes_; }
  std::size_t badFaces() const { return badFaces_; }

 private:
  Token Next();
  void AddShape(std::size_t faces);
  Token Expect(std::string_view punct);
  std::string_view Word();
  bool StartsNode();
  bool SkipStatement();  // PROTO, EXTERNPROTO, ROUTE: true when it was one
  void SkipBalanced();
  void SkipNodeBody();
  void SkipValue();
  void Progress();

  // Reads one node (after DEF name, or the node a USE names, or NULL) and
  // hands its type and DEF name to `node`, positioned before its '{'.
  template <class F>
  void WithNode(F&& node);
  // Reads the fields of a node body up to its '}': `field` reads the value
  // of a field it knows and returns true; unknown ones are skipped.
  // `children` (VRML 1.0 groups) receives the nodes among the fields.
  template <class F>
  void Body(F&& field, GroupNode* children = nullptr);

  double Double();
  std::int32_t Int();
  bool Bool();
  Vec3 Triple();
  template <class T, class F>
  void List(std::vector<T>& out, F&& one);
  std::vector<Vec3> Triples() {
    std::vector<Vec3> v;
    List(v, [&] { return Triple(); });
    return v;
  }
  std::vector<double> Doubles() {
    std::vector<double> v;
    List(v, [&] { return Double(); });
    return v;
  }
  std::vector<std::int32_t> Ints() {
    std::vector<std::int32_t> v;
    List(v, [&] { return Int(); });
    return v;
  }
  Binding BindingValue();
  // The fields both versions share (VRML 2.0 names the scale "scale").
  bool TransformField(std::string_view field, std::string_view scaleName, Transform& t);
  bool LodField(std::string_view field, LOD& lod);
  unsigned PartsValue();

  void Child1(GroupNode& parent);
  std::unique_ptr<SceneNode> Node1(std::string_view type);
  void Children2(GroupNode& parent);
  void Child2(GroupNode& parent);
  void Shape2(GroupNode& parent, std::string_view name);
  MaterialValue Appearance2();
  Geometry Geometry2();
  std::vector<Vec3> PointsOf(std::string_view type, std::string_view field);

  Importer& importer_;
  Lexer lex_;
  int version_;
  std::size_t budget_;
  int depth_ = 0;
  int lastPercent_ = 0;
  std::size_t shapes_ = 0;
  std::size_t badFaces_ = 0;
  std::size_t faces_ = 0;
  std::map<std::string, std::size_t, std::less<>> defs_;
};

Token VrmlReader::Next() {
  const Token t = lex_.Next();
  if (lex_.tokensRead() > budget_) throw SyntaxError{t.pos, "too much data (nested USEs)"};
  return t;
}

void VrmlReader::AddShape(std::size_t faces) {
  ++shapes_;
  faces_ += faces;
  if (faces_ > kMaxSceneFaces) throw SyntaxError{lex_.position(), "too many faces"};
}

Token VrmlReader::Expect(std::string_view punct) {
  const Token t = Next();
  if (!t.Is(punct)) throw SyntaxError{t.pos, "'" + std::string(punct) + "' expected"};
  return t;
}

std::string_view VrmlReader::Word() {
  const Token t = Next();
  if (t.kind != TokenKind::kWord) throw SyntaxError{t.pos, "name expected"};
  return t.text;
}

bool VrmlReader::StartsNode() {
  const Token t = lex_.Peek();
  if (t.IsWord("DEF") || t.IsWord("USE")) return true;
  if (t.kind != TokenKind::kWord) return false;
  const std::size_t saved = lex_.position();
  lex_.Next();
  const bool brace = lex_.Peek().Is("{");
  lex_.Seek(saved);
  return brace;
}

void VrmlReader::SkipBalanced() {
  int open = 0;
  do {
    const Token t = Next();
    if (t.kind == TokenKind::kEnd) throw SyntaxError{t.pos, "file ends inside brackets"};
    if (t.Is("{") || t.Is("[") || t.Is("(")) ++open;
    if (t.Is("}") || t.Is("]") || t.Is(")")) --open;
  } while (open > 0);
}

void VrmlReader::SkipNodeBody() {
  if (!lex_.Peek().Is("{")) throw SyntaxError{lex_.Peek().pos, "'{' expected"};
  SkipBalanced();
}

// The value of a field this reader does not use: a list, a node, or a run
// of numbers and strings, or one enumerated name (upper case, as TRUE and
// FALSE and every VRML 1.0 enumeration are).
void VrmlReader::SkipValue() {
  const Token t = lex_.Peek();
  if (t.Is("[") || t.Is("(")) return SkipBalanced();
  if (StartsNode() || t.IsWord("NULL"))
    return WithNode([&](std::string_view, std::string_view) { SkipNodeBody(); });
  bool any = false;
  while (lex_.Peek().kind == TokenKind::kString || StartsNumber(lex_.Peek())) {
    Next();
    any = true;
  }
  const Token w = lex_.Peek();
  if (!any && w.kind == TokenKind::kWord && w.text[0] >= 'A' && w.text[0] <= 'Z') Next();
}

bool VrmlReader::SkipStatement() {
  const Token t = lex_.Peek();
  if (t.IsWord("PROTO") || t.IsWord("EXTERNPROTO")) {
    Next();
    const std::string name(Word());
    importer_.Log("Skipping " + std::string(t.text) + " '" + name + "'");
    if (lex_.Peek().Is("[")) SkipBalanced();
    if (t.IsWord("PROTO")) {
      SkipNodeBody();
    } else if (lex_.Peek().Is("[")) {
      SkipBalanced();
    } else if (Next().kind != TokenKind::kString) {
      throw SyntaxError{t.pos, "EXTERNPROTO without its address"};
    }
    return true;
  }
  if (t.IsWord("ROUTE")) {
    Next();
    const std::string from(Word());
    if (!Next().IsWord("TO")) throw SyntaxError{t.pos, "'TO' expected"};
    importer_.Log("Skipping ROUTE from '" + from + "' to '" + std::string(Word()) + "'");
    return true;
  }
  return false;
}

void VrmlReader::Progress() {
  const int percent =
      static_cast<int>(lex_.position() * 100 / std::max<std::size_t>(lex_.size(), 1));
  if (percent >= lastPercent_ + 5) {
    lastPercent_ = percent;
    importer_.Progress(percent);
  }
}

template <class F>
void VrmlReader::WithNode(F&& node) {
  Token t = Next();
  std::string_view name;
  if (t.IsWord("NULL")) return;
  if (t.IsWord("USE")) {
    const Token use = Next();
    const auto def = defs_.find(use.text);
    if (use.kind != TokenKind::kWord || def == defs_.end()) {
      importer_.Log("No node named '" + std::string(use.text) + "' to USE");
      return;
    }
    const std::size_t resume = lex_.position();
    lex_.Seek(def->second);
    WithNode(node);
    lex_.Seek(resume);
    return;
  }
  if (t.IsWord("DEF")) {
    name = Word();
    defs_[std::string(name)] = lex_.position();
    t = Next();
  }
  if (t.kind != TokenKind::kWord) throw SyntaxError{t.pos, "node expected"};
  if (++depth_ > kMaxNodeDepth) throw SyntaxError{t.pos, "nodes nested too deeply"};
  Progress();
  node(t.text, name);
  --depth_;
}

template <class F>
void VrmlReader::Body(F&& field, GroupNode* children) {
  Expect("{");
  for (;;) {
    const Token t = lex_.Peek();
    if (t.Is("}")) break;
    if (t.kind != TokenKind::kWord) {
      throw SyntaxError{
          t.pos, t.kind == TokenKind::kEnd ? "file ends inside a node" : "field name expected"};
    }
    if (SkipStatement()) continue;
    if (children && StartsNode()) {
      Child1(*children);
      continue;
    }
    Next();
    if (!field(t.text)) SkipValue();
  }
  Next();
}

double VrmlReader::Double() {
  const Token t = Next();
  const std::optional<double> d = TokenReader(t.text).Double();
  if (t.kind != TokenKind::kWord || !d) throw SyntaxError{t.pos, "number expected"};
  return *d;
}

std::int32_t VrmlReader::Int() {
  const Token t = Next();
  std::string_view s = t.text;
  const bool negative = !s.empty() && s[0] == '-';
  if (negative) s.remove_prefix(1);
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    base = 16;
  }
  std::int64_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (t.kind != TokenKind::kWord || s.empty() || ec != std::errc() || end != s.data() + s.size() ||
      v > INT32_MAX) {
    throw SyntaxError{t.pos, "integer expected"};
  }
  return static_cast<std::int32_t>(negative ? -v : v);
}

bool VrmlReader::Bool() {
  const Token t = Next();
  if (t.IsWord("TRUE") || t.IsWord("1")) return true;
  if (t.IsWord("FALSE") || t.IsWord("0")) return false;
  throw SyntaxError{t.pos, "TRUE or FALSE expected"};
}

Vec3 VrmlReader::Triple() {
  const double x = Double(), y = Double();
  return {x, y, Double()};
}

// One value, or a bracketed list of them.
template <class T, class F>
void VrmlReader::List(std::vector<T>& out, F&& one) {
  out.clear();
  if (!lex_.Peek().Is("[")) {
    out.push_back(one());
    return;
  }
  Next();
  while (!lex_.Peek().Is("]")) {
    if (out.size() >= kMaxListEntries) throw SyntaxError{lex_.Peek().pos, "list too long"};
    out.push_back(one());
  }
  Next();
}

Binding VrmlReader::BindingValue() {
  static constexpr std::pair<std::string_view, Binding> kNames[] = {
      {"DEFAULT", Binding::kDefault},      {"OVERALL", Binding::kOverall},
      {"PER_PART", Binding::kPerPart},     {"PER_PART_INDEXED", Binding::kPerPartIndexed},
      {"PER_FACE", Binding::kPerFace},     {"PER_FACE_INDEXED", Binding::kPerFaceIndexed},
      {"PER_VERTEX", Binding::kPerVertex}, {"PER_VERTEX_INDEXED", Binding::kPerVertexIndexed}};
  const Token t = Next();
  for (const auto& [text, value] : kNames) {
    if (t.IsWord(text)) return value;
  }
  throw SyntaxError{t.pos, "binding expected"};
}

unsigned VrmlReader::PartsValue() {
  auto one = [&] {
    const std::string_view w = Word();
    if (w == "SIDES") return Parts::kSides;
    if (w == "BOTTOM") return Parts::kBottom;
    if (w == "TOP") return Parts::kTop;
    if (w == "ALL") return Parts::kAll;
    throw SyntaxError{lex_.position(), "part expected"};
  };
  if (!lex_.Peek().Is("(")) return one();
  Next();
  unsigned parts = one();
  while (lex_.Peek().Is("|")) {
    Next();
    parts |= one();
  }
  Expect(")");
  return parts;
}

bool VrmlReader::TransformField(std::string_view field, std::string_view scaleName, Transform& t) {
  if (field == "translation")
    t.translation = Triple();
  else if (field == "rotation")
    t.rotationAxis = Triple(), t.rotationAngle = Double();
  else if (field == scaleName)
    t.scaleFactor = Triple();
  else if (field == "scaleOrientation")
    t.scaleOrientationAxis = Triple(), t.scaleOrientationAngle = Double();
  else if (field == "center")
    t.center = Triple();
  else
    return false;
  return true;
}

bool VrmlReader::LodField(std::string_view field, LOD& lod) {
  if (field == "range")
    lod.range = Doubles();
  else if (field == "center")
    lod.center = Triple();
  else
    return false;
  return true;
}

void VrmlReader::Child1(GroupNode& parent) {
  WithNode([&](std::string_view type, std::string_view name) {
    std::unique_ptr<SceneNode> node = Node1(type);
    if (!node) return;
    if (!name.empty()) node->name = std::string(name);
    parent.Add(std::move(node));
  });
}

// One VRML 1.0 node, its '{' next; nothing for the nodes that give no
// faces and change nothing the walk keeps.
std::unique_ptr<SceneNode> VrmlReader::Node1(std::string_view type) {
  auto none = [](std::string_view) { return false; };
  auto group = [&](auto node, auto&& field) -> std::unique_ptr<SceneNode> {
    Body(field, node.get());
    return node;
  };
  if (type == "Separator" || type == "WWWAnchor") return group(std::make_unique<Separator>(), none);
  if (type == "Group") return group(std::make_unique<Group>(), none);
  if (type == "TransformSeparator") return group(std::make_unique<TransformSeparator>(), none);
  if (type == "Switch") {
    auto node = std::make_unique<Switch>();
    Switch& s = *node;
    return group(std::move(node), [&](std::string_view f) {
      return f == "whichChild" && (s.whichChild = Int(), true);
    });
  }
  if (type == "LOD") {
    auto node = std::make_unique<LOD>();
    LOD& l = *node;
    return group(std::move(node), [&](std::string_view f) { return LodField(f, l); });
  }
  if (type == "Material") {
    auto m = std::make_unique<Material>();
    Body([&](std::string_view f) {
      if (f == "ambientColor")
        m->ambientColor = Triples();
      else if (f == "diffuseColor")
        m->diffuseColor = Triples();
      else if (f == "specularColor")
        m->specularColor = Triples();
      else if (f == "emissiveColor")
        m->emissiveColor = Triples();
      else if (f == "shininess")
        m->shininess = Doubles();
      else if (f == "transparency")
        m->transparency = Doubles();
      else
        return false;
      return true;
    });
    return m;
  }
  if (type == "MaterialBinding" || type == "NormalBinding") {
    Binding value = type == "MaterialBinding" ? Binding::kOverall : Binding::kDefault;
    Body([&](std::string_view f) { return f == "value" && (value = BindingValue(), true); });
    if (type == "MaterialBinding") return std::make_unique<MaterialBinding>(value);
    return std::make_unique<NormalBinding>(value);
  }
  if (type == "Coordinate3") {
    auto c = std::make_unique<Coordinate3>();
    Body([&](std::string_view f) { return f == "point" && (c->point = Triples(), true); });
    return c;
  }
  if (type == "Normal") {
    auto n = std::make_unique<Normal>();
    Body([&](std::string_view f) { return f == "vector" && (n->vector = Triples(), true); });
    return n;
  }
  if (type == "IndexedFaceSet") {
    auto s = std::make_unique<IndexedFaceSet>();
    Body([&](std::string_view f) {
      if (f == "coordIndex")
        s->coordIndex = Ints();
      else if (f == "materialIndex")
        s->materialIndex = Ints();
      else if (f == "normalIndex")
        s->normalIndex = Ints();
      else
        return false;
      return true;
    });
    AddShape(Runs(s->coordIndex));
    return s;
  }
  if (type == "Translation" || type == "Scale") {
    Vec3 v = type == "Scale" ? Vec3{1, 1, 1} : Vec3{};
    const std::string_view name = type == "Scale" ? "scaleFactor" : "translation";
    Body([&](std::string_view f) { return f == name && (v = Triple(), true); });
    if (type == "Scale") return std::make_unique<Scale>(v);
    return std::make_unique<Translation>(v);
  }
  if (type == "Rotation") {
    auto r = std::make_unique<Rotation>();
    Body([&](std::string_view f) {
      return f == "rotation" && (r->axis = Triple(), r->angle = Double(), true);
    });
    return r;
  }
  if (type == "MatrixTransform") {
    auto m = std::make_unique<MatrixTransform>();
    Body([&](std::string_view f) {
      if (f != "matrix") return false;
      for (double& e : m->matrix) e = Double();
      return true;
    });
    return m;
  }
  if (type == "Transform") {
    auto t = std::make_unique<Transform>();
    Body([&](std::string_view f) { return TransformField(f, "scaleFactor", *t); });
    return t;
  }
  if (type == "Cube") {
    auto c = std::make_unique<Cube>();
    Body([&](std::string_view f) {
      if (f == "width")
        c->width = Double();
      else if (f == "height")
        c->height = Double();
      else if (f == "depth")
        c->depth = Double();
      else
        return false;
      return true;
    });
    AddShape(kPrimitiveFaces);
    return c;
  }
  if (type == "Sphere") {
    auto s = std::make_unique<Sphere>();
    Body([&](std::string_view f) { return f == "radius" && (s->radius = Double(), true); });
    AddShape(kPrimitiveFaces);
    return s;
  }
  if (type == "Cone" || type == "Cylinder") {
    auto cone = std::make_unique<Cone>();
    auto cylinder = std::make_unique<Cylinder>();
    const bool isCone = type == "Cone";
    Body([&](std::string_view f) {
      if (f == "parts")
        (isCone ? cone->parts : cylinder->parts) = PartsValue();
      else if (f == "height")
        (isCone ? cone->height : cylinder->height) = Double();
      else if (f == (isCone ? "bottomRadius" : "radius"))
        (isCone ? cone->bottomRadius : cylinder->radius) = Double();
      else
        return false;
      return true;
    });
    AddShape(kPrimitiveFaces);
    if (isCone) return cone;
    return cylinder;
  }
  if (type == "WWWInline") importer_.Log("Skipping WWWInline node");
  SkipNodeBody();
  return nullptr;
}

// A VRML 2.0 children field: one node or a list of them.
void VrmlReader::Children2(GroupNode& parent) {
  if (!lex_.Peek().Is("[")) return Child2(parent);
  Next();
  while (!lex_.Peek().Is("]")) {
    if (lex_.Peek().kind == TokenKind::kEnd)
      throw SyntaxError{lex_.Peek().pos, "file ends inside a list"};
    if (!SkipStatement()) Child2(parent);
  }
  Next();
}

void VrmlReader::Child2(GroupNode& parent) {
  WithNode([&](std::string_view type, std::string_view name) {
    auto group = [&](auto node, std::string_view childrenField, auto&& field) {
      auto& ref = *node;
      if (!name.empty()) node->name = std::string(name);
      parent.Add(std::move(node));
      Body([&](std::string_view f) {
        if (f == childrenField) return Children2(ref), true;
        return field(f);
      });
    };
    auto none = [](std::string_view) { return false; };
    if (type == "Transform") {
      auto node = std::make_unique<TransformSeparator>();
      Transform& t = node->Make<Transform>();
      group(std::move(node), "children",
            [&](std::string_view f) { return TransformField(f, "scale", t); });
    } else if (type == "Group" || type == "Anchor" || type == "Billboard" || type == "Collision") {
      group(std::make_unique<Group>(), "children", none);
    } else if (type == "Switch") {
      auto node = std::make_unique<Switch>();
      Switch& s = *node;
      group(std::move(node), "choice",
            [&](std::string_view f) { return f == "whichChoice" && (s.whichChild = Int(), true); });
    } else if (type == "LOD") {
      auto node = std::make_unique<LOD>();
      LOD& l = *node;
      group(std::move(node), "level", [&](std::string_view f) { return LodField(f, l); });
    } else if (type == "Shape") {
      Shape2(parent, name);
    } else {
      if (type == "Script" || type == "Inline")
        importer_.Log("Skipping " + std::string(type) + " node");
      SkipNodeBody();
    }
  });
}

MaterialValue VrmlReader::Appearance2() {
  MaterialValue value;
  WithNode([&](std::string_view type, std::string_view) {
    if (type != "Appearance") return SkipNodeBody();
    Body([&](std::string_view f) {
      if (f != "material") return false;
      WithNode([&](std::string_view materialType, std::string_view) {
        if (materialType != "Material") return SkipNodeBody();
        double ambientIntensity = 0.2;
        Body([&](std::string_view g) {
          if (g == "diffuseColor")
            value.diffuse = Triple();
          else if (g == "ambientIntensity")
            ambientIntensity = Double();
          else if (g == "specularColor")
            value.specular = Triple();
          else if (g == "emissiveColor")
            value.emissive = Triple();
          else if (g == "shininess")
            value.shininess = Double();
          else if (g == "transparency")
            value.transparency = Double();
          else
            return false;
          return true;
        });
        value.ambient = {value.diffuse.x * ambientIntensity, value.diffuse.y * ambientIntensity,
                         value.diffuse.z * ambientIntensity};
      });
      return true;
    });
  });
  return value;
}

// The one list field of a Coordinate or Color node.
std::vector<Vec3> VrmlReader::PointsOf(std::string_view type, std::string_view field) {
  std::vector<Vec3> points;
  WithNode([&](std::string_view t, std::string_view) {
    if (t != type) return SkipNodeBody();
    Body([&](std::string_view f) { return f == field && (points = Triples(), true); });
  });
  return points;
}

Geometry VrmlReader::Geometry2() {
  Geometry g;
  WithNode([&](std::string_view type, std::string_view) {
    if (type == "IndexedFaceSet") {
      Body([&](std::string_view f) {
        if (f == "coord")
          g.point = PointsOf("Coordinate", "point");
        else if (f == "color")
          g.color = PointsOf("Color", "color");
        else if (f == "coordIndex")
          g.coordIndex = Ints();
        else if (f == "colorIndex")
          g.colorIndex = Ints();
        else if (f == "colorPerVertex")
          g.colorPerVertex = Bool();
        else if (f == "ccw")
          g.ccw = Bool();
        else
          return false;
        return true;
      });
    } else if (type == "Box") {
      auto c = std::make_unique<Cube>();
      Body([&](std::string_view f) {
        if (f != "size") return false;
        const Vec3 size = Triple();
        c->width = size.x, c->height = size.y, c->depth = size.z;
        return true;
      });
      g.primitive = std::move(c);
    } else if (type == "Sphere") {
      auto s = std::make_unique<Sphere>();
      Body([&](std::string_view f) { return f == "radius" && (s->radius = Double(), true); });
      g.primitive = std::move(s);
    } else if (type == "Cone" || type == "Cylinder") {
      // Cone and Cylinder share their VRML 1.0 parts; each flag clears or
      // sets one.
      unsigned parts = Parts::kAll;
      double radius = 1, height = 2;
      auto flag = [&](unsigned part) { parts = Bool() ? parts | part : parts & ~part; };
      Body([&](std::string_view f) {
        if (f == "side")
          flag(Parts::kSides);
        else if (f == "bottom")
          flag(Parts::kBottom);
        else if (f == "top")
          flag(Parts::kTop);
        else if (f == "height")
          height = Double();
        else if (f == "bottomRadius" || f == "radius")
          radius = Double();
        else
          return false;
        return true;
      });
      if (type == "Cone") {
        auto c = std::make_unique<Cone>();
        c->parts = parts & ~Parts::kTop, c->bottomRadius = radius, c->height = height;
        g.primitive = std::move(c);
      } else {
        auto c = std::make_unique<Cylinder>();
        c->parts = parts, c->radius = radius, c->height = height;
        g.primitive = std::move(c);
      }
    } else {
      SkipNodeBody();
    }
  });
  return g;
}

void VrmlReader::Shape2(GroupNode& parent, std::string_view name) {
  MaterialValue material;
  Geometry g;
  Body([&](std::string_view f) {
    if (f == "appearance")
      material = Appearance2();
    else if (f == "geometry")
      g = Geometry2();
    else
      return false;
    return true;
  });
  if (g.primitive) {
    AddShape(kPrimitiveFaces);
    Separator& shape = parent.Make<Separator>(std::string(name));
    shape.Make<Material>().Append(material);
    shape.Make<MaterialBinding>(Binding::kOverall);
    shape.Add(std::move(g.primitive));
    return;
  }
  // A Color node replaces the diffuse colour, face by face or corner by
  // corner; without colorIndex the faces take their own number, the
  // corners the coordIndex entries. The editor colours a face as a whole,
  // so a face takes the colour of its first corner.
  auto colorOf = [&](std::size_t face, std::size_t firstCorner) -> std::int32_t {
    if (!g.colorPerVertex && g.colorIndex.empty()) return static_cast<std::int32_t>(face);
    const std::vector<std::int32_t>& index = g.colorIndex.empty() ? g.coordIndex : g.colorIndex;
    const std::size_t at = g.colorPerVertex ? firstCorner : face;
    return at < index.size() && index[at] >= 0 ? index[at] : 0;
  };
  // Faces need three corners that name points of their own Coordinate
  // node; the others are left out here, where the list is known, and
  // counted.
  std::vector<std::int32_t> coordIndex, materialIndex;
  std::size_t face = 0;
  for (std::size_t start = 0; start < g.coordIndex.size(); ++face) {
    std::size_t end = start;
    bool named = true;
    for (; end < g.coordIndex.size() && g.coordIndex[end] >= 0; ++end) {
      named = named && static_cast<std::size_t>(g.coordIndex[end]) < g.point.size();
    }
    if (named && end - start >= 3) {
      const auto first = g.coordIndex.begin() + static_cast<std::ptrdiff_t>(start);
      coordIndex.insert(coordIndex.end(), first,
                        g.coordIndex.begin() + static_cast<std::ptrdiff_t>(end));
      if (!g.ccw)
        std::reverse(coordIndex.end() - static_cast<std::ptrdiff_t>(end - start), coordIndex.end());
      coordIndex.push_back(-1);
      materialIndex.push_back(colorOf(face, start));
    } else {
      ++badFaces_;
    }
    start = end + 1;
  }
  if (coordIndex.empty()) return;
  AddShape(materialIndex.size());
  Separator& shape = parent.Make<Separator>(std::string(name));
  Material& m = shape.Make<Material>();
  if (g.color.empty()) m.Append(material);
  for (const ColorTriple& c : g.color) {
    material.diffuse = c;
    m.Append(material);
  }
  shape.Make<MaterialBinding>(g.color.empty() ? Binding::kOverall : Binding::kPerFaceIndexed);
  shape.Make<Coordinate3>().point = std::move(g.point);
  IndexedFaceSet& faces = shape.Make<IndexedFaceSet>();
  faces.coordIndex = std::move(coordIndex);
  if (!g.color.empty()) faces.materialIndex = std::move(materialIndex);
}

void VrmlReader::Read(GroupNode& root) {
  lex_.Seek(0);
  // The header line is a comment to the lexer.
  while (lex_.Peek().kind != TokenKind::kEnd) {
    if (version_ == 1) {
      Child1(root);
    } else if (!SkipStatement()) {
      Child2(root);
    }
  }
}

std::string LineMessage(const std::string& path, long line, std::string_view what) {
  return "Syntax error file '" + path + "', line " + std::to_string(line) + ": " +
         std::string(what);
}

}  // namespace

bool ImportVrml(Importer& importer, const std::string& path) {
  importer.Title("Importing VRML File...");
  bool tooLarge = false;
  std::optional<std::vector<std::uint8_t>> bytes = ReadImportFile(path, &tooLarge);
  if (bytes && bytes->size() >= 2 && (*bytes)[0] == kGzip1 && (*bytes)[1] == kGzip2) {
    bytes = Gunzip(*bytes, &tooLarge);
    if (!bytes && !tooLarge) {
      importer.Log("Unable to decompress file '" + path + "'");
      return false;
    }
  }
  if (!bytes) {
    importer.Log(tooLarge ? "File '" + path + "' is too large to import"
                          : "Unable to open file '" + path + "'");
    return false;
  }
  const std::string text = DecodeText(*bytes);
  const std::string_view head = std::string_view(text).substr(0, 10);
  const int version = head == "#VRML V1.0" ? 1 : head == "#VRML V2.0" ? 2 : 0;
  if (version == 0) {
    importer.Log("File '" + path + "' is not a VRML 1.0 or 2.0 text file");
    return false;
  }
  // Read into a scene of its own, so a file refused halfway adds nothing.
  Separator scene;
  VrmlReader reader(importer, text, version);
  try {
    reader.Read(scene);
  } catch (const SyntaxError& e) {
    importer.Log(LineMessage(path, Lexer(text).LineAt(e.pos), e.what));
    return false;
  }
  for (auto& child : scene.children) importer.root().Add(std::move(child));
  const std::size_t bad = reader.badFaces();
  const std::string badNote = std::to_string(bad) + (bad == 1 ? " face names" : " faces name") +
                              " points its shape does not have, or has fewer than three corners";
  if (reader.shapes() == 0) {
    importer.SetEmptyReason(bad > 0
                                ? "Every face names points its shape does not have, or has fewer "
                                  "than three corners."
                                : "It holds no faces.");
  } else if (bad > 0) {
    importer.NoteDropped(badNote);
  }
  importer.Progress(100);
  return true;
}

}  // namespace ws
