// The standard templates of the retained-mode X format and the registry.
#include <cctype>

#include "import/xfile/xfile.h"

namespace ws::xfile {
namespace {

// Kept as X text and read with the file reader, so the one parser checks
// these declarations as it checks a file's own.
constexpr std::string_view kStandard = R"(xof 0302txt 0064
template Header { <3D82AB43-62DA-11CF-AB39-0020AF71E433> WORD major; WORD minor; DWORD flags; }
template Vector { <3D82AB5E-62DA-11CF-AB39-0020AF71E433> FLOAT x; FLOAT y; FLOAT z; }
template Coords2d { <F6F23F44-7686-11CF-8F52-0040333594A3> FLOAT u; FLOAT v; }
template Matrix4x4 { <F6F23F45-7686-11CF-8F52-0040333594A3> array FLOAT matrix[16]; }
template ColorRGBA { <35FF44E0-6C7C-11CF-8F52-0040333594A3> FLOAT red; FLOAT green; FLOAT blue; FLOAT alpha; }
template ColorRGB { <D3E16E81-7835-11CF-8F52-0040333594A3> FLOAT red; FLOAT green; FLOAT blue; }
template IndexedColor { <1630B820-7842-11CF-8F52-0040333594A3> DWORD index; ColorRGBA indexColor; }
template Boolean { <4885AE61-78E8-11CF-8F52-0040333594A3> WORD truefalse; }
template Boolean2d { <4885AE63-78E8-11CF-8F52-0040333594A3> Boolean u; Boolean v; }
template MaterialWrap { <4885AE60-78E8-11CF-8F52-0040333594A3> Boolean u; Boolean v; }
template TextureFilename { <A42790E1-7810-11CF-8F52-0040333594A3> STRING filename; }
template Material { <3D82AB4D-62DA-11CF-AB39-0020AF71E433> ColorRGBA faceColor; FLOAT power;
  ColorRGB specularColor; ColorRGB emissiveColor; [...] }
template MeshFace { <3D82AB5F-62DA-11CF-AB39-0020AF71E433> DWORD nFaceVertexIndices;
  array DWORD faceVertexIndices[nFaceVertexIndices]; }
template MeshFaceWraps { <4885AE62-78E8-11CF-8F52-0040333594A3> DWORD nFaceWrapValues;
  array Boolean2d faceWrapValues[nFaceWrapValues]; }
template MeshTextureCoords { <F6F23F40-7686-11CF-8F52-0040333594A3> DWORD nTextureCoords;
  array Coords2d textureCoords[nTextureCoords]; }
template MeshMaterialList { <F6F23F42-7686-11CF-8F52-0040333594A3> DWORD nMaterials; DWORD nFaceIndexes;
  array DWORD faceIndexes[nFaceIndexes]; [Material <3D82AB4D-62DA-11CF-AB39-0020AF71E433>] }
template MeshNormals { <F6F23F43-7686-11CF-8F52-0040333594A3> DWORD nNormals; array Vector normals[nNormals];
  DWORD nFaceNormals; array MeshFace faceNormals[nFaceNormals]; }
template MeshVertexColors { <1630B821-7842-11CF-8F52-0040333594A3> DWORD nVertexColors;
  array IndexedColor vertexColors[nVertexColors]; }
template Mesh { <3D82AB44-62DA-11CF-AB39-0020AF71E433> DWORD nVertices; array Vector vertices[nVertices];
  DWORD nFaces; array MeshFace faces[nFaces]; [...] }
template FrameTransformMatrix { <F6F23F41-7686-11CF-8F52-0040333594A3> Matrix4x4 frameMatrix; }
template Frame { <3D82AB46-62DA-11CF-AB39-0020AF71E433> [...] }
template FloatKeys { <10DD46A9-775B-11CF-8F52-0040333594A3> DWORD nValues; array FLOAT values[nValues]; }
template TimedFloatKeys { <F406B180-7B3B-11CF-8F52-0040333594A3> DWORD time; FloatKeys tfkeys; }
template AnimationKey { <10DD46A8-775B-11CF-8F52-0040333594A3> DWORD keyType; DWORD nKeys;
  array TimedFloatKeys keys[nKeys]; }
template AnimationOptions { <E2BF56C0-840F-11CF-8F52-0040333594A3> DWORD openclosed; DWORD positionquality; }
template Animation { <3D82AB4F-62DA-11CF-AB39-0020AF71E433> [...] }
template AnimationSet { <3D82AB50-62DA-11CF-AB39-0020AF71E433> [Animation <3D82AB4F-62DA-11CF-AB39-0020AF71E433>] }
template InlineData { <3A23EEA0-94B1-11D0-AB39-0020AF71E433> [BINARY] }
template Url { <3A23EEA1-94B1-11D0-AB39-0020AF71E433> DWORD nUrls; array STRING urls[nUrls]; }
template ProgressiveMesh { <8A63C360-997D-11D0-941C-0080C80CFA7B> [Url <3A23EEA1-94B1-11D0-AB39-0020AF71E433>,
  InlineData <3A23EEA0-94B1-11D0-AB39-0020AF71E433>] }
template Guid { <A42790E0-7810-11CF-8F52-0040333594A3> DWORD data1; WORD data2; WORD data3;
  array UCHAR data4[8]; }
template StringProperty { <7F0F21E0-BFE1-11D1-82C0-00A0C9697271> STRING key; STRING value; }
template PropertyBag { <7F0F21E1-BFE1-11D1-82C0-00A0C9697271> [StringProperty <7F0F21E0-BFE1-11D1-82C0-00A0C9697271>] }
template ExternalVisual { <98116AA0-BDBA-11D1-82C0-00A0C9697271> Guid guidExternalVisual; [...] }
template RightHanded { <7F5D5EA0-D53A-11D1-82C0-00A0C9697271> DWORD bRightHanded; }
)";

TemplateRegistry ReadStandard() {
  auto result =
      Read(std::span(reinterpret_cast<const std::uint8_t*>(kStandard.data()), kStandard.size()),
           TemplateRegistry());
  TemplateRegistry registry;
  for (auto& t : result.file->declared) registry.Add(std::move(t));
  return registry;
}

// Files in use spell template names in more than one case
// ("TextureFileName"), so names match without regard to case.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

void TemplateRegistry::Add(Template t) {
  for (auto& old : list_) {
    if (SameName(old.name, t.name)) {
      old = std::move(t);
      return;
    }
  }
  list_.push_back(std::move(t));
}

const Template* TemplateRegistry::Find(std::string_view name) const {
  for (const auto& t : list_) {
    if (SameName(t.name, name)) return &t;
  }
  return nullptr;
}

const TemplateRegistry& StandardTemplates() {
  static const TemplateRegistry registry = ReadStandard();
  return registry;
}

bool IsPrimitive(std::string_view type, bool* integer) {
  static constexpr std::string_view kIntegers[] = {"WORD",  "DWORD",  "CHAR", "UCHAR",
                                                   "SWORD", "SDWORD", "BYTE"};
  static constexpr std::string_view kOthers[] = {"FLOAT", "DOUBLE",  "STRING",
                                                 "LPSTR", "CSTRING", "UNICODE"};
  for (auto t : kIntegers) {
    if (type == t) {
      if (integer) *integer = true;
      return true;
    }
  }
  for (auto t : kOthers) {
    if (type == t) {
      if (integer) *integer = false;
      return true;
    }
  }
  return false;
}

bool IsStringType(std::string_view type) {
  return type == "STRING" || type == "LPSTR" || type == "CSTRING" || type == "UNICODE";
}

static std::optional<std::uint64_t> ArrayCount(
    const Member& member, const std::map<std::string, std::uint64_t>& earlier) {
  std::uint64_t count = 1;
  for (const auto& d : member.dimensions) {
    std::uint64_t n = 0;
    if (!d.empty() && d[0] >= '0' && d[0] <= '9') {
      for (char c : d) {
        if (c < '0' || c > '9' || n > 0xFFFFFFFFu) return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
      }
    } else {
      auto it = earlier.find(d);
      if (it == earlier.end()) return std::nullopt;
      n = it->second;
    }
    // Dimensions come from 32-bit values; the product is kept within 32
    // bits too, so no later size arithmetic can wrap.
    if (n != 0 && count > 0xFFFFFFFFu / n) return std::nullopt;
    count *= n;
  }
  return count;
}

std::optional<MemberShape> ShapeOf(const Member& member, const TemplateRegistry& registry,
                                   const std::map<std::string, std::uint64_t>& earlier,
                                   std::string* error) {
  MemberShape shape;
  if (member.array) {
    auto n = ArrayCount(member, earlier);
    if (!n) {
      *error = "size of array '" + member.name + "' unknown";
      return std::nullopt;
    }
    shape.count = *n;
  }
  if (!IsPrimitive(member.type, &shape.integer) && !(shape.inner = registry.Find(member.type))) {
    *error = "unknown template '" + member.type + "'";
    return std::nullopt;
  }
  return shape;
}

static const Object* FindIn(const std::vector<Object>& list, const Object& ref) {
  for (const auto& o : list) {
    if (!o.reference &&
        (ref.guid.empty() ? (!ref.name.empty() && o.name == ref.name) : o.guid == ref.guid))
      return &o;
    if (const Object* inner = FindIn(o.children, ref)) return inner;
  }
  return nullptr;
}

const Object* Resolve(const File& file, const Object& reference) {
  return FindIn(file.objects, reference);
}

}  // namespace ws::xfile
