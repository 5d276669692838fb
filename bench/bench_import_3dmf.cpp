// 3DMF import speed through Import3dmf, as time per 1,000 triangles: the
// largest sample (ndc-textured-background.3dmf, binary, 131,730 bytes of
// which nearly all is a texture the import skips, for 2 triangles), and a
// binary metafile made here of one TriMesh of 3,000 triangles (9,000
// distinct corners) to show the rate at which geometry comes in. assimp
// has no 3DMF reader, so nothing independent runs beside it.
#include <cstring>

#include "import/import_3dmf.h"
#include "import/readers/3dmf/metafile_reader.h"
#include "import_bench_support.h"
#include "resource/file_io.h"

namespace {

void ImportMetafile(benchmark::State& state, const std::string& path, double triangles) {
  ws::bench::ImportModel m;
  ws::ImportNotifier notifier("/dev/null");
  ws::ImportProgress progress;
  ws::ImportServices services{notifier, progress, {}, ws::SceneReaders::Defaults(), ws::Import3dmf};
  for (auto _ : state) {
    state.PauseTiming();
    m.model.tables.ResetObject();
    m.ui.ClearMessages();
    state.ResumeTiming();
    if (!ws::Import3dmf(m.model, services, path, true)) state.SkipWithError("import failed");
  }
  state.counters["polygons"] = m.model.tables.polygonCount;
  ws::bench::PerThousandFaces(state, triangles);
}

void BM_Import3dmfLargestSample(benchmark::State& state) {
  ImportMetafile(state, ws::bench::SamplePath("3dmf/ndc-textured-background.3dmf"), 2);
}
BENCHMARK(BM_Import3dmfLargestSample)->Unit(benchmark::kMillisecond)->UseRealTime();

// Big-endian: header, then one TriMesh (2-byte indices: over 255 points).
std::string WriteTriMesh(const std::string& dir, std::uint32_t triangles) {
  std::string f;
  auto u32 = [&](std::uint32_t v) {
    for (int i = 3; i >= 0; --i) f += static_cast<char>(v >> (8 * i));
  };
  auto f32 = [&](float x) {
    std::uint32_t bits;
    std::memcpy(&bits, &x, 4);
    u32(bits);
  };
  const std::uint32_t points = 3 * triangles;
  f += "3DMF";
  u32(16), u32(0x00010006), u32(0), u32(0), u32(0);
  f += "tmsh";
  u32(24 + 6 * triangles + 12 * points + 28);
  for (std::uint32_t v : {triangles, 0u, 0u, 0u, points, 0u}) u32(v);
  for (std::uint32_t i = 0; i < points; ++i)
    f += static_cast<char>(i >> 8), f += static_cast<char>(i);
  for (std::uint32_t i = 0; i < points; ++i)
    f32(float(i % 97)), f32(float(i / 97)), f32(float(i % 3));
  for (int i = 0; i < 6; ++i) f32(0);
  u32(0);
  const std::string path = dir + "/trimesh.3dmf";
  ws::FileHandle out = ws::CreateFileTruncated(path);
  ws::WriteBytes(out, f.data(), f.size());
  return path;
}

void BM_Import3dmfTriMesh3000(benchmark::State& state) {
  static ws::bench::ImportModel dir;
  static const std::string path = WriteTriMesh(dir.dir, 3000);
  ImportMetafile(state, path, 3000);
}
BENCHMARK(BM_Import3dmfTriMesh3000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
