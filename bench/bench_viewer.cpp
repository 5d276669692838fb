// One hardware viewer frame on llvmpipe: the editor's line layer (the
// software view without polygon fills), the overlay upload and the GL
// picture of the 10,000-polygon torus of frame_bench_support.h at
// 1024 x 768 in Phong shading, finished with glFinish. The baseline of the
// same run is the software view's full frame of the same scene; the ratio
// of the two medians is what to read. A scene rebuild (the mesh filled
// from the object and uploaded) is measured on its own.
//
// Needs a display for the GL context: run under `xvfb-run -a`.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include "frame_bench_support.h"
#include "viewer/gl_renderer.h"
#include "viewer/hardware_view.h"

namespace ws {
namespace {

using bench::FrameBench;

struct ViewerBench {
  ViewerBench() : view(frame.editor.display, frame.editor.softwareView()) {
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    surface.setFormat(format);
    surface.create();
    context.setFormat(format);
    ok = context.create() && context.makeCurrent(&surface);
    if (!ok) return;
    fbo = std::make_unique<QOpenGLFramebufferObject>(bench::kWidth, bench::kHeight,
                                                     QOpenGLFramebufferObject::Depth);
    fbo->bind();
    ok = !renderer.Initialise().has_value();
    view.SetShading(3);
    frame.editor.SetEditView(&view);
  }
  void Frame() {
    frame.Frame();
    view.Render(renderer, bench::kWidth, bench::kHeight);
    context.functions()->glFinish();
  }

  FrameBench frame{true};
  viewer::HardwareView view;
  QOffscreenSurface surface;
  QOpenGLContext context;
  std::unique_ptr<QOpenGLFramebufferObject> fbo;
  viewer::GlRenderer renderer;
  bool ok = false;
};

void BM_SoftwareFrameTorus10000(benchmark::State& state) {
  auto bench = std::make_unique<FrameBench>(true);
  for (auto _ : state) bench->Frame();
}
BENCHMARK(BM_SoftwareFrameTorus10000)->Unit(benchmark::kMillisecond);

// The viewer bench, or null (the run marked skipped) without a context.
std::unique_ptr<ViewerBench> MakeViewerBench(benchmark::State& state) {
  auto bench = std::make_unique<ViewerBench>();
  if (bench->ok) return bench;
  state.SkipWithError("no OpenGL 3.3 core context (run under xvfb-run -a)");
  return nullptr;
}

void BM_ViewerFrameTorus10000(benchmark::State& state) {
  auto bench = MakeViewerBench(state);
  if (!bench) return;
  bench->Frame();  // the first frame builds the scene
  for (auto _ : state) bench->Frame();
}
BENCHMARK(BM_ViewerFrameTorus10000)->Unit(benchmark::kMillisecond);

void BM_ViewerRebuildTorus10000(benchmark::State& state) {
  auto bench = MakeViewerBench(state);
  if (!bench) return;
  for (auto _ : state) {
    bench->view.Update();
    bench->Frame();
  }
}
BENCHMARK(BM_ViewerRebuildTorus10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ws

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
