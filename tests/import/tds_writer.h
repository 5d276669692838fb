// Little-endian values, what a reader made of a file in one line (so that
// one comparison checks all of it), and 3D Studio chunks for the tests.
#pragma once

#include <sstream>

#include "import_test_support.h"

namespace ws::test {

using U16 = std::uint16_t;
using U32 = std::uint32_t;

// The values' bytes as the file stores them (little-endian, as we are).
template <class T>
std::string Le(std::initializer_list<T> values) {
  return {reinterpret_cast<const char*>(values.begin()), values.size() * sizeof(T)};
}

inline std::ostream& operator<<(std::ostream& out, const Vec3& v) {
  return out << v.x << ',' << v.y << ',' << v.z;
}

// A group as "name{children} ", a Material as its lists of ambient,
// diffuse and specular colours, shininess and transparency.
inline std::string Dump(const scene::SceneNode& node) {
  using namespace scene;
  std::ostringstream o;
  const auto put = [&](const char* kind, const auto& values) {
    o << kind;
    for (const auto& v : values) o << ' ' << v;
  };
  const auto* g = dynamic_cast<const GroupNode*>(&node);
  if (g) o << g->name << '{';
  for (std::size_t i = 0; g && i < g->children.size(); ++i) o << Dump(*g->children[i]);
  if (g) o << '}';
  if (auto* b = dynamic_cast<const MaterialBinding*>(&node)) o << "Binding" << int(b->value);
  if (auto* r = dynamic_cast<const Rotation*>(&node)) o << "Turn " << r->axis << ' ' << r->angle;
  if (auto* t = dynamic_cast<const MatrixTransform*>(&node)) put("Matrix", t->matrix);
  if (auto* p = dynamic_cast<const Coordinate3*>(&node)) put("Points", p->point);
  if (auto* f = dynamic_cast<const IndexedFaceSet*>(&node))
    put("Faces", f->coordIndex), put(" /", f->materialIndex);
  if (auto* m = dynamic_cast<const Material*>(&node))
    put("Material", m->ambientColor), put(" /", m->diffuseColor), put(" /", m->specularColor),
        put(" /", m->shininess), put(" /", m->transparency);
  return o.str() + ' ';
}

// The scene (or its face count), the log's error lines (the file's path as
// "F"), the drop report and, when no face came, the reason.
inline std::string ReadSummary(ReaderFunction reader, const std::string& name,
                               const std::string& bytes, bool scene = true) {
  ReadResult r = RunReader(reader, name, bytes);
  std::string out = scene ? Dump(r.root()) : std::to_string(r.faces.size()) + " faces ";
  for (const auto& lines : {r.Errors(), r.importer->dropped()})
    for (const std::string& line : lines) out += "| " + line + ' ';
  if (const auto at = out.find(r.path); at != std::string::npos)
    out.replace(at, r.path.size(), "F");
  return out + (r.faces.empty() ? "| " + r.importer->emptyReason() : "");
}

namespace tds {

// A chunk whose header claims `extra` bytes more than it holds.
inline std::string Chunk(U16 id, const std::string& body, int extra = 0) {
  return Le<U16>({id}) + Le<U32>({U32(body.size() + 6 + extra)}) + body;
}
// The main chunk with a version and the editor data, and a named object.
inline std::string File(const std::string& editor) {
  return Chunk(0x4D4D, Chunk(0x0002, Le<U32>({3})) + Chunk(0x3D3D, editor));
}
inline std::string Object(const std::string& name, const std::string& mesh) {
  return Chunk(0x4000, name + '\0' + Chunk(0x4100, mesh));
}

}  // namespace tds
}  // namespace ws::test
