#include "viewer/gl_renderer.h"

#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLVersionFunctionsFactory>
#include <algorithm>
#include <cstddef>

namespace ws::viewer {
namespace {

// The lighting is done in scene space (after the object frame), where the
// lights frame stands; the object frame is a pure rotation, so its upper
// 3 x 3 part turns the normals too.
constexpr const char* kLightFunction = R"(
uniform vec3 lightPosition;
uniform float lightLevel;
uniform float lightRange;
uniform float ambient;
vec3 Lit(vec3 position, vec3 normal, vec3 colour) {
  vec3 toLight = lightPosition - position;
  float distance = length(toLight);
  float diffuse = 0.0;
  if (distance <= lightRange && distance > 0.0 && dot(normal, normal) > 0.0)
    diffuse = max(dot(normalize(normal), toLight / distance), 0.0);
  return min(colour * (ambient + lightLevel * diffuse), vec3(1.0));
}
)";

constexpr const char* kSceneVertex = R"(
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 faceNormal;
layout(location = 2) in vec3 smoothNormal;
layout(location = 3) in vec3 colour;
uniform mat4 objectFrame;
uniform mat4 viewProjection;
uniform int shading;
out vec3 corner;
flat out vec3 faceColour;
out vec3 scenePosition;
out vec3 normal;
out vec3 baseColour;
void main() {
  vec4 scene = objectFrame * vec4(position, 1.0);
  mat3 turn = mat3(objectFrame);
  scenePosition = scene.xyz;
  normal = turn * smoothNormal;
  baseColour = colour;
  if (shading == 0) corner = colour;
  else if (shading == 1) corner = Lit(scene.xyz, turn * faceNormal, colour);
  else corner = Lit(scene.xyz, normal, colour);
  faceColour = corner;
  gl_Position = viewProjection * scene;
  gl_PointSize = 2.0;
}
)";

constexpr const char* kSceneFragment = R"(
in vec3 corner;
flat in vec3 faceColour;
in vec3 scenePosition;
in vec3 normal;
in vec3 baseColour;
uniform int shading;
out vec4 pixel;
void main() {
  if (shading == 1) pixel = vec4(faceColour, 1.0);
  else if (shading == 3) pixel = vec4(Lit(scenePosition, normal, baseColour), 1.0);
  else pixel = vec4(corner, 1.0);
}
)";

// A quad from the vertex id over the viewport's whole width and the top
// `coverage` of its height; the texture's first row is the top row.
constexpr const char* kOverlayVertex = R"(
uniform float coverage;
out vec2 where;
void main() {
  vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));
  where = vec2(corner.x, 1.0 - corner.y);
  gl_Position = vec4(corner.x * 2.0 - 1.0, 1.0 - 2.0 * coverage * (1.0 - corner.y), 0.0, 1.0);
}
)";

// The ground face: a square at height 0 around the eye, reaching `extent`
// each way, its texture repeating every `period` units of the walk world
// (whose y is itemOffset - z).
constexpr const char* kGroundVertex = R"(
uniform mat4 viewProjection;
uniform vec2 centre;
uniform float extent;
uniform float itemOffset;
uniform float period;
out vec2 where;
void main() {
  vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1)) * 2.0 - 1.0;
  vec3 p = vec3(centre.x + corner.x * extent, 0.0, centre.y + corner.y * extent);
  where = vec2(p.x, itemOffset - p.z) / period;
  gl_Position = viewProjection * vec4(p, 1.0);
}
)";

constexpr const char* kGroundFragment = R"(
in vec2 where;
uniform sampler2D ground;
out vec4 pixel;
void main() { pixel = vec4(texture(ground, where).rgb, 1.0); }
)";

constexpr const char* kOverlayFragment = R"(
in vec2 where;
uniform sampler2D layer;
out vec4 pixel;
void main() {
  vec4 c = texture(layer, where);
  if (c.a < 0.5) discard;
  pixel = vec4(c.rgb, 1.0);
}
)";

constexpr const char* kVersion = "#version 330 core\n";

}  // namespace

GlRenderer::GlRenderer() = default;
GlRenderer::~GlRenderer() = default;

std::optional<ViewerFailure> GlRenderer::CheckError(const char* operation) {
  const GLenum e = gl_->glGetError();
  if (e == GL_NO_ERROR) return std::nullopt;
  // Later errors belong to the same failure.
  while (gl_->glGetError() != GL_NO_ERROR) {
  }
  return ViewerFailure{e, operation};
}

std::optional<ViewerFailure> GlRenderer::Initialise() {
  QOpenGLContext* context = QOpenGLContext::currentContext();
  if (!context) return ViewerFailure{kResultGenericFailure, "Create an OpenGL context"};
  const QSurfaceFormat f = context->format();
  if (f.version() < qMakePair(3, 3) || context->isOpenGLES()) {
    return ViewerFailure{kResultNotSupported, "Acquire OpenGL 3.3 core"};
  }
  gl_ = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_3_3_Core>(context);
  if (!gl_ || !gl_->initializeOpenGLFunctions()) {
    gl_ = nullptr;
    return ViewerFailure{kResultNotSupported, "Acquire OpenGL 3.3 core"};
  }
  while (gl_->glGetError() != GL_NO_ERROR) {
  }
  if (!BuildPrograms()) return ViewerFailure{kResultNoInterface, "Build the shader programs"};

  const GLsizei stride = sizeof(MeshVertex);
  auto makeArray = [&](GLuint& array, GLuint& buffer) {
    gl_->glGenVertexArrays(1, &array);
    gl_->glGenBuffers(1, &buffer);
    gl_->glBindVertexArray(array);
    gl_->glBindBuffer(GL_ARRAY_BUFFER, buffer);
    const std::size_t offsets[] = {offsetof(MeshVertex, position), offsetof(MeshVertex, faceNormal),
                                   offsetof(MeshVertex, smoothNormal),
                                   offsetof(MeshVertex, colour)};
    for (GLuint i = 0; i < 4; ++i) {
      gl_->glEnableVertexAttribArray(i);
      gl_->glVertexAttribPointer(i, 3, GL_FLOAT, GL_FALSE, stride,
                                 reinterpret_cast<const void*>(offsets[i]));
    }
  };
  makeArray(triangleArray_, triangleBuffer_);
  makeArray(lineArray_, lineBuffer_);
  gl_->glGenVertexArrays(1, &quadArray_);
  for (Layer* layer : {&overlay_, &sky_}) {
    gl_->glGenTextures(1, &layer->texture);
    gl_->glBindTexture(GL_TEXTURE_2D, layer->texture);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
  // Far away many texels meet in one pixel: mipmaps keep the ground calm.
  gl_->glGenTextures(1, &groundTexture_);
  gl_->glBindTexture(GL_TEXTURE_2D, groundTexture_);
  gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  gl_->glBindVertexArray(0);
  if (auto failure = CheckError("Create the vertex buffers")) return failure;
  ready_ = true;
  return std::nullopt;
}

bool GlRenderer::BuildPrograms() {
  auto compile = [&](GLenum type, std::initializer_list<const char*> parts) -> GLuint {
    const GLuint shader = gl_->glCreateShader(type);
    std::vector<const char*> sources(parts);
    gl_->glShaderSource(shader, static_cast<GLsizei>(sources.size()), sources.data(), nullptr);
    gl_->glCompileShader(shader);
    GLint ok = 0;
    gl_->glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
      gl_->glDeleteShader(shader);
      return 0;
    }
    return shader;
  };
  auto link = [&](GLuint vs, GLuint fs) -> GLuint {
    if (!vs || !fs) return 0;
    const GLuint program = gl_->glCreateProgram();
    gl_->glAttachShader(program, vs);
    gl_->glAttachShader(program, fs);
    gl_->glLinkProgram(program);
    gl_->glDeleteShader(vs);
    gl_->glDeleteShader(fs);
    GLint ok = 0;
    gl_->glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
      gl_->glDeleteProgram(program);
      return 0;
    }
    return program;
  };
  sceneProgram_ = link(compile(GL_VERTEX_SHADER, {kVersion, kLightFunction, kSceneVertex}),
                       compile(GL_FRAGMENT_SHADER, {kVersion, kLightFunction, kSceneFragment}));
  overlayProgram_ = link(compile(GL_VERTEX_SHADER, {kVersion, kOverlayVertex}),
                         compile(GL_FRAGMENT_SHADER, {kVersion, kOverlayFragment}));
  groundProgram_ = link(compile(GL_VERTEX_SHADER, {kVersion, kGroundVertex}),
                        compile(GL_FRAGMENT_SHADER, {kVersion, kGroundFragment}));
  return sceneProgram_ && overlayProgram_ && groundProgram_;
}

void GlRenderer::Release() {
  if (!gl_) return;
  for (GLuint* array : {&triangleArray_, &lineArray_, &quadArray_}) {
    if (*array) gl_->glDeleteVertexArrays(1, array);
    *array = 0;
  }
  for (GLuint* buffer : {&triangleBuffer_, &lineBuffer_}) {
    if (*buffer) gl_->glDeleteBuffers(1, buffer);
    *buffer = 0;
  }
  for (GLuint* texture : {&overlay_.texture, &sky_.texture, &groundTexture_}) {
    if (*texture) gl_->glDeleteTextures(1, texture);
    *texture = 0;
  }
  for (GLuint* program : {&sceneProgram_, &overlayProgram_, &groundProgram_}) {
    if (*program) gl_->glDeleteProgram(*program);
    *program = 0;
  }
  gl_ = nullptr;
  ready_ = false;
  haveOverlay_ = haveGround_ = false;
  overlay_.width = overlay_.height = sky_.width = sky_.height = 0;
}

void GlRenderer::UploadMesh(const SceneMesh& mesh) {
  if (!ready_) return;
  auto upload = [&](GLuint buffer, const std::vector<MeshVertex>& v) {
    gl_->glBindBuffer(GL_ARRAY_BUFFER, buffer);
    gl_->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(v.size() * sizeof(MeshVertex)),
                      v.data(), GL_STATIC_DRAW);
  };
  upload(triangleBuffer_, mesh.triangles);
  upload(lineBuffer_, mesh.lines);
  triangleVertices_ = static_cast<int>(mesh.triangles.size());
  lineVertices_ = static_cast<int>(mesh.lines.size());
}

template <typename RowOf>
void GlRenderer::UploadIndexed(Layer& layer, RowOf rowOf, int left, int w, int h,
                               const std::array<Rgb8, 256>& palette, int transparent) {
  layerPixels_.resize(static_cast<std::size_t>(w) * h);
  std::array<std::uint32_t, 256> rgba{};
  for (std::size_t i = 0; i < 256; ++i) {
    const Rgb8& c = palette[i];
    // Bytes R, G, B, A in memory.
    rgba[i] = c.red | (c.green << 8) | (c.blue << 16) |
              (static_cast<int>(i) == transparent ? 0u : 0xFF000000u);
  }
  std::uint32_t* out = layerPixels_.data();
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* row = rowOf(y);
    for (int x = left; x < left + w; ++x) *out++ = rgba[row[x]];
  }
  gl_->glBindTexture(GL_TEXTURE_2D, layer.texture);
  gl_->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  if (w != layer.width || h != layer.height) {
    gl_->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                      layerPixels_.data());
    layer.width = w;
    layer.height = h;
  } else {
    gl_->glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE,
                         layerPixels_.data());
  }
}

void GlRenderer::UploadOverlay(const Surface8& bitmap, const IntRect& local,
                               std::uint8_t background) {
  if (!ready_) return;
  const IntRect r = Intersect(local, bitmap.Bounds());
  haveOverlay_ = !r.Empty();
  if (!haveOverlay_) return;
  UploadIndexed(
      overlay_, [&](int y) { return bitmap.Row(r.top + y); }, r.left, r.right - r.left + 1,
      r.bottom - r.top + 1, bitmap.palette(), background);
}

void GlRenderer::UploadSky(PixelRows rows, const std::array<Rgb8, 256>& palette) {
  if (!ready_ || rows.width <= 0 || rows.height <= 0) return;
  UploadIndexed(
      sky_, [&](int y) { return rows.rows[y]; }, 0, rows.width, rows.height, palette, -1);
}

bool GlRenderer::UploadGround(const QImage& image) {
  haveGround_ = false;
  if (!ready_ || image.isNull()) return false;
  const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
  gl_->glBindTexture(GL_TEXTURE_2D, groundTexture_);
  // QImage rows are 4-byte aligned at RGBA.
  gl_->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  gl_->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, rgba.width(), rgba.height(), 0, GL_RGBA,
                    GL_UNSIGNED_BYTE, rgba.constBits());
  gl_->glGenerateMipmap(GL_TEXTURE_2D);
  haveGround_ = true;
  return true;
}

void GlRenderer::DrawLayer(const Layer& layer, float coverage) {
  gl_->glUseProgram(overlayProgram_);
  gl_->glActiveTexture(GL_TEXTURE0);
  gl_->glBindTexture(GL_TEXTURE_2D, layer.texture);
  gl_->glUniform1i(gl_->glGetUniformLocation(overlayProgram_, "layer"), 0);
  gl_->glUniform1f(gl_->glGetUniformLocation(overlayProgram_, "coverage"), coverage);
  gl_->glBindVertexArray(quadArray_);
  gl_->glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

std::optional<ViewerFailure> GlRenderer::Render(const RenderParams& p, int width, int height) {
  if (!ready_) return ViewerFailure{kResultGenericFailure, "Render the scene"};
  gl_->glViewport(0, 0, width, height);
  gl_->glClearColor(p.background[0], p.background[1], p.background[2], 1.0f);
  gl_->glClearDepth(1.0);
  gl_->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (auto failure = CheckError("Clear the viewport")) return failure;
  const Mat4 viewProjection = p.frames.projection * p.frames.view;

  // The walk view's background: its sky strip, then the ground face.
  gl_->glDisable(GL_DEPTH_TEST);
  gl_->glDisable(GL_CULL_FACE);
  gl_->glDisable(GL_BLEND);
  if (p.skyCoverage > 0.0f && sky_.height > 0) DrawLayer(sky_, std::min(p.skyCoverage, 1.0f));
  if (p.ground && haveGround_) {
    gl_->glUseProgram(groundProgram_);
    gl_->glActiveTexture(GL_TEXTURE0);
    gl_->glBindTexture(GL_TEXTURE_2D, groundTexture_);
    const GLuint g = groundProgram_;
    gl_->glUniform1i(gl_->glGetUniformLocation(g, "ground"), 0);
    gl_->glUniformMatrix4fv(gl_->glGetUniformLocation(g, "viewProjection"), 1, GL_FALSE,
                            viewProjection.m.data());
    gl_->glUniform2f(gl_->glGetUniformLocation(g, "centre"), p.groundCentre[0], p.groundCentre[1]);
    gl_->glUniform1f(gl_->glGetUniformLocation(g, "extent"), kBackClip);
    gl_->glUniform1f(gl_->glGetUniformLocation(g, "itemOffset"),
                     static_cast<float>(kWalkItemOffset));
    gl_->glUniform1f(gl_->glGetUniformLocation(g, "period"), kGroundTexturePeriod);
    gl_->glBindVertexArray(quadArray_);
    gl_->glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  }
  if (auto failure = CheckError("Draw the walk background")) return failure;

  gl_->glEnable(GL_DEPTH_TEST);
  gl_->glDepthFunc(GL_LESS);
  gl_->glDisable(GL_BLEND);
  // A polygon's front and back are separate faces at the same place; each
  // is seen only from its own side.
  gl_->glEnable(GL_CULL_FACE);
  gl_->glFrontFace(GL_CCW);
  gl_->glCullFace(GL_BACK);
  gl_->glEnable(GL_PROGRAM_POINT_SIZE);
  // Every triangle of a face's fan starts at the face's first corner, so
  // with it as the provoking vertex Flat shading gives the whole face one
  // colour.
  gl_->glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
  gl_->glUseProgram(sceneProgram_);
  const GLuint prog = sceneProgram_;
  gl_->glUniformMatrix4fv(gl_->glGetUniformLocation(prog, "objectFrame"), 1, GL_FALSE,
                          p.frames.object.m.data());
  gl_->glUniformMatrix4fv(gl_->glGetUniformLocation(prog, "viewProjection"), 1, GL_FALSE,
                          viewProjection.m.data());
  const std::array<float, 3> light = TransformPoint(p.frames.lights, {0.0f, 0.0f, 0.0f});
  gl_->glUniform3f(gl_->glGetUniformLocation(prog, "lightPosition"), light[0], light[1], light[2]);
  gl_->glUniform1f(gl_->glGetUniformLocation(prog, "lightLevel"), kPointLightLevel);
  gl_->glUniform1f(gl_->glGetUniformLocation(prog, "lightRange"), kPointLightRange);
  gl_->glUniform1f(gl_->glGetUniformLocation(prog, "ambient"), p.shading.ambient);
  const GLint shading = gl_->glGetUniformLocation(prog, "shading");
  // Points only: the corners, unlit.
  const bool pointsOnly = p.shading.quality == kQualityPoints;
  const int mode = p.shading.quality == kQualityFlat      ? 1
                   : p.shading.quality == kQualityGouraud ? 2
                   : p.shading.quality == kQualityPhong   ? 3
                                                          : 0;
  gl_->glUniform1i(shading, mode);
  gl_->glBindVertexArray(triangleArray_);
  gl_->glDrawArrays(pointsOnly ? GL_POINTS : GL_TRIANGLES, 0, triangleVertices_);
  // Wide vectors are lines in their own colour, unlit.
  gl_->glUniform1i(shading, 0);
  gl_->glBindVertexArray(lineArray_);
  gl_->glDrawArrays(GL_LINES, 0, lineVertices_);
  if (auto failure = CheckError("Render the scene")) return failure;

  if (p.overlay && haveOverlay_) {
    gl_->glDisable(GL_DEPTH_TEST);
    gl_->glDisable(GL_CULL_FACE);
    DrawLayer(overlay_, 1.0f);
    if (auto failure = CheckError("Combine the line layer")) return failure;
  }
  gl_->glBindVertexArray(0);
  gl_->glUseProgram(0);
  return std::nullopt;
}

}  // namespace ws::viewer
