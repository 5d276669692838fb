// The hardware viewer's retained scene, without the graphics library: the
// mesh filled from the object, the shading words, the lights and the
// camera and object frames placed from the editor's view state. The GL
// renderer (gl_renderer.h) draws what this holds; tests check it with no
// context at all.
//
// Mesh: the object's polygons go through the X export's filling
// (FillBuilderFromObject, shininess 0.1): each face becomes a triangle fan
// whose corners carry the face colour (FaceColor of its material), the
// face normal and a smooth normal. A corner's smooth normal is the sum of
// the normals of the faces around its point on the same side of the
// surface: those reached from its face across shared edges run in opposite
// directions (consistently wound neighbours), each within 120 degrees of
// the face it is reached from. So a closed box gets rounded corners on each
// face, while a polygon's reversed back face, which shares every point and
// edge, never cancels its front. Vectors of non-zero display width become lines in their own
// colour.
//
// Shading (the menu's 0 None, 1 Flat, 2 Gouraud, 3 Phong) gives the quality
// word 0x80, 0x88, 0x89, 0x8A and the ambient light 1.0 for None, 0.5
// otherwise; while the Polygons toggle is off the word is 0 (points, unlit)
// and the ambient 0.5 whatever the menu says.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "editor/view/display.h"
#include "import/material_value.h"
#include "model/color_table.h"
#include "model/object_tables.h"

namespace ws::viewer {

inline constexpr double kViewerShininess = 0.1;
// The point light: grey 0.8, range 2000, in the lights frame at
// (0, 100, 300) of the scene.
inline constexpr float kPointLightLevel = 0.8f;
inline constexpr float kPointLightRange = 2000.0f;
inline constexpr std::array<float, 3> kLightsFramePosition = {0.0f, 100.0f, 300.0f};
inline constexpr float kFrontClip = 1.0f;
inline constexpr float kBackClip = 100000.0f;
// The plain view's camera stands this many times the mesh's largest
// absolute coordinate in front of the origin.
inline constexpr double kCameraDistanceFactor = 1.5;

enum class Shading { kNone = 0, kFlat = 1, kGouraud = 2, kPhong = 3 };

inline constexpr std::uint32_t kQualityPoints = 0x00;
inline constexpr std::uint32_t kQualityNone = 0x80;
inline constexpr std::uint32_t kQualityFlat = 0x88;
inline constexpr std::uint32_t kQualityGouraud = 0x89;
inline constexpr std::uint32_t kQualityPhong = 0x8A;

struct ShadingState {
  std::uint32_t quality = kQualityNone;
  float ambient = 1.0f;
};
// The quality word and ambient level of a shading menu value (0..3; any
// other counts as None) with the Polygons toggle.
ShadingState ShadingFor(int shading, bool polygonsOn);

// One corner of a drawn triangle (or a line end, or a point).
struct MeshVertex {
  std::array<float, 3> position{};
  std::array<float, 3> faceNormal{};
  std::array<float, 3> smoothNormal{};
  std::array<float, 3> colour{};
};

struct SceneMesh {
  std::vector<MeshVertex> triangles;  // three per triangle
  std::vector<MeshVertex> lines;      // two per wide vector
  double largestExtent = 0.0;         // the largest absolute coordinate
  std::uint32_t faceCount = 0;
};

// Fills `mesh` from the object (walk mode: the walk world's quarter scale).
// The points-only quality draws the triangles' corners as points.
void BuildSceneMesh(const ObjectTables& tables, const ColorTable& colors, bool walkMode,
                    SceneMesh& mesh);
// A hash of everything BuildSceneMesh reads: the points, the vectors' ends,
// widths and colours, each polygon's corners, flags and colours, and the
// palette. An edit that keeps every count (a dragged point, a recoloured or
// hidden face, an undo) changes it. One pass over the tables, well under a
// millisecond for a full object, so it is cheap enough for every frame.
std::uint64_t SceneSourceHash(const ObjectTables& tables, const ColorTable& colors);

// A 4 x 4 matrix, column-major as GL takes it.
struct Mat4 {
  std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  float operator()(int row, int col) const { return m[static_cast<std::size_t>(col * 4 + row)]; }
  float& operator()(int row, int col) { return m[static_cast<std::size_t>(col * 4 + row)]; }
};
Mat4 operator*(const Mat4& a, const Mat4& b);
Mat4 Translation(float x, float y, float z);
std::array<float, 3> TransformPoint(const Mat4& m, const std::array<float, 3>& p);

// The frames of the scene for one picture, from the editor's view state.
struct SceneFrames {
  Mat4 object;      // the object frame: the view's turn and orientation
  Mat4 view;        // world to camera
  Mat4 projection;  // camera to clip space
  Mat4 camera;      // the camera frame's own transform (camera to world)
  Mat4 lights;      // the lights frame's transform
  bool perspective = false;
};
// The plain view: orthographic, a viewing plane of half-size max(width,
// height) / 2 / zoom, the camera at (pan, 1.5 x the largest extent) looking
// along -z with up +y. With Perspective on the camera follows the editor's
// perspective eye: 300 units in front, focal length the layout's
// perspective factor, the scale applied to the object. The lights frame
// keeps its place relative to the camera's start at (0, 0, 300).
SceneFrames PlaceFrames(const EditorDisplay& display, double largestExtent);

// Where the walk view's eye stands in its own world (z up): position, eye
// height z and heading in degrees, 0 along +x, 90 along +y.
struct WalkEye {
  double x = 0.0, y = 0.0, z = 15.0;
  double heading = 90.0;
};
// The walk world shows the quarter-size mesh point (x, y, z) at
// (x, kWalkItemOffset - z, y): the object stands this far ahead of the
// walk's start, its height axis y the world's z.
inline constexpr double kWalkItemOffset = 200.0;
// The lights frame rides this far above the walking camera, as it stands
// 100 above the plain view's camera start.
inline constexpr float kWalkLightsAbove = 100.0f;
// The walk mesh point a walk world point shows.
std::array<double, 3> WalkToMesh(double x, double y, double z);
// Walk mode: the camera at the eye (kWalkItemOffset back along the mesh's
// z), looking along the heading, up +y; the object frame unturned; the walk
// view's own projection for a width x height picture: 90 degrees across and
// 90 degrees up, the ahead direction at pixel (width / 2, height / 2), so
// that every point lands on the pixel the software walk view gives it.
SceneFrames PlaceWalkFrames(const WalkEye& eye, int width, int height);

}  // namespace ws::viewer
