// Builds a scene tree from arbitrary bytes (every node kind, with any
// field values: indices out of range, NaN and infinite transforms, deep
// nesting) and walks it into the import collector and an object. Nothing
// may crash, and the object must stay consistent and within its limits.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "import/import_convert.h"
#include "import/import_scene.h"
#include "platform/scripted_ui.h"

namespace {

using namespace ws::scene;

struct Setup {
  ws::ScriptedUi ui;
  ws::Runtime rt{ui};
  ws::ObjectTables tables{rt};
  ws::ColorTable colors;
  Setup() {
    for (std::size_t i = 0; i < 256; ++i) {
      auto c = static_cast<std::uint16_t>(i * 257);
      colors.Set(i, {c, c, static_cast<std::uint16_t>(65535 - c)});
    }
    if (!tables.AllocateObjectTables()) std::abort();
  }
};

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool more() const { return pos_ < size_; }
  std::uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::int32_t Index() {
    // Mostly small indices and -1, now and then anything.
    const std::uint8_t b = U8();
    if (b == 0xFF) return -1;
    if (b == 0xFE) {
      std::int32_t v = 0;
      for (int i = 0; i < 4; ++i)
        v = static_cast<std::int32_t>(static_cast<std::uint32_t>(v) << 8 | U8());
      return v;
    }
    return b % 24;
  }
  double Real() {
    const std::uint8_t b = U8();
    switch (b) {
      case 0xFF:
        return std::numeric_limits<double>::quiet_NaN();
      case 0xFE:
        return std::numeric_limits<double>::infinity();
      case 0xFD:
        return 1e300;
      case 0xFC: {
        double d;
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits = bits << 8 | U8();
        std::memcpy(&d, &bits, sizeof d);
        return d;
      }
      default:
        return (static_cast<int>(b) - 100) / 8.0;
    }
  }
  ws::Vec3 Vec() { return {Real(), Real(), Real()}; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

Binding AnyBinding(Bytes& in) { return static_cast<Binding>(1 << (in.U8() % 8)); }

void Build(Bytes& in, Separator& root) {
  std::vector<GroupNode*> stack{&root};
  while (in.more()) {
    GroupNode& g = *stack.back();
    switch (in.U8() % 24) {
      case 0:
        stack.push_back(&g.Make<Separator>("s"));
        break;
      case 1:
        stack.push_back(&g.Make<Group>("g"));
        break;
      case 2:
        stack.push_back(&g.Make<TransformSeparator>());
        break;
      case 3: {
        Switch& s = g.Make<Switch>();
        s.whichChild = static_cast<int>(in.U8() % 6) - 3;
        stack.push_back(&s);
        break;
      }
      case 4: {
        LOD& l = g.Make<LOD>();
        for (int n = in.U8() % 4; n > 0; --n) l.range.push_back(in.Real());
        l.center = in.Vec();
        stack.push_back(&l);
        break;
      }
      case 5:
        if (stack.size() > 1) stack.pop_back();
        break;
      case 6: {
        Material& m = g.Make<Material>();
        for (int n = in.U8() % 4; n > 0; --n) m.diffuseColor.push_back(in.Vec());
        for (int n = in.U8() % 3; n > 0; --n) m.ambientColor.push_back(in.Vec());
        for (int n = in.U8() % 2; n > 0; --n) m.shininess.push_back(in.Real());
        break;
      }
      case 7:
        g.Make<MaterialBinding>(AnyBinding(in));
        break;
      case 8:
        g.Make<NormalBinding>(AnyBinding(in));
        break;
      case 9: {
        Coordinate3& c = g.Make<Coordinate3>();
        for (int n = in.U8() % 24; n > 0; --n) c.point.push_back(in.Vec());
        break;
      }
      case 10: {
        Normal& n = g.Make<Normal>();
        for (int k = in.U8() % 8; k > 0; --k) n.vector.push_back(in.Vec());
        break;
      }
      case 11: {
        IndexedFaceSet& f = g.Make<IndexedFaceSet>();
        for (int n = in.U8() % 64; n > 0; --n) f.coordIndex.push_back(in.Index());
        for (int n = in.U8() % 8; n > 0; --n) f.materialIndex.push_back(in.Index());
        for (int n = in.U8() % 16; n > 0; --n) f.normalIndex.push_back(in.Index());
        break;
      }
      case 12:
        g.Make<Translation>(in.Vec());
        break;
      case 13:
        g.Make<Rotation>(in.Vec(), in.Real());
        break;
      case 14:
        g.Make<Scale>(in.Vec());
        break;
      case 15: {
        Matrix m;
        for (double& v : m) v = in.Real();
        g.Make<MatrixTransform>(m);
        break;
      }
      case 16: {
        Transform& t = g.Make<Transform>();
        t.translation = in.Vec();
        t.rotationAxis = in.Vec();
        t.rotationAngle = in.Real();
        t.scaleFactor = in.Vec();
        t.center = in.Vec();
        break;
      }
      case 17: {
        Cube& c = g.Make<Cube>();
        c.width = in.Real();
        c.height = in.Real();
        c.depth = in.Real();
        break;
      }
      case 18:
        g.Make<Sphere>(in.Real());
        break;
      case 19: {
        Cone& c = g.Make<Cone>();
        c.bottomRadius = in.Real();
        c.topRadius = in.U8() % 2 ? in.Real() : 0;
        c.height = in.Real();
        c.parts = in.U8() % 8;
        break;
      }
      case 20: {
        Cylinder& c = g.Make<Cylinder>();
        c.radius = in.Real();
        c.height = in.Real();
        c.parts = in.U8() % 8;
        break;
      }
      case 21:
        // A chain of separators deeper than the state can hold.
        for (int n = in.U8(); n > 0; --n) stack.push_back(&stack.back()->Make<Separator>());
        break;
      default:
        break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Setup setup;
  Bytes in(data, size);
  Separator root("root");
  Build(in, root);
  ws::ImportCollector collector;
  ws::ModelObserver quiet;
  ws::CollectScene(root, collector, {}, quiet, [](std::string_view) {});
  setup.tables.BuildReservedEntries();
  ws::ImportProgress progress;
  ws::ConvertCollected(setup.tables, collector, setup.colors, progress);
  const ws::ObjectTables& t = setup.tables;
  if (t.pointCount > 19999 || t.vectorCount > 19999 || t.polygonCount > 9999) std::abort();
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    const ws::Polygon& p = t.polygons[k];
    for (std::uint32_t i = 0; i < p.pointCount; ++i) {
      if (p.points[i] >= t.pointCount) std::abort();
    }
    for (std::uint32_t i = 0; i < p.vectorCount; ++i) {
      if (p.vectors[i] >= t.vectorCount) std::abort();
    }
  }
  for (std::uint32_t i = ws::kReservedPoints; i < t.pointCount; ++i) {
    // Non-finite corners never reach the collector, so no point is NaN.
    if (!(t.points[i].x == t.points[i].x)) std::abort();
  }
  return 0;
}
