// The walk view's render world: a copy of the current object in records of
// its own, placed as an item of a small universe, with the environment (sky,
// ground, floor) and the viewer. Built once when walk mode starts, freed
// when it ends; every store is sized at build time so that a frame
// (render_frame.h) allocates nothing.
//
// Axes: the object's points (x, y, z) become render points (x, y, -z), and
// an item places render point (x, y, z') at the world point
// (s*x + X0, s*z' + Y0, s*y + Z0): the world is z up, the object's height
// axis y becoming the world's z.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/object_resources.h"
#include "model/object_tables.h"
#include "raster/raster_fill.h"
#include "raster/surface8.h"
#include "resource/handle_memory.h"

namespace ws {

class Ui;
class ResourceFile;

namespace walk {

// Capacities, under the names the walk renderer has always used.
inline constexpr std::uint32_t GW_MAXITEMS = 5;              // items in the universe
inline constexpr std::uint32_t GW_MAXRENPOINTS = 20020;      // universe points, origins included
inline constexpr std::uint32_t MAX_POLY_POINTS = 150;        // points of one render polygon
inline constexpr std::uint32_t kMaxPolySides = 150;          // vectors of one render polygon
inline constexpr std::uint32_t kMaxZonePolygons = 10;        // View Zone polygons recorded
inline constexpr std::uint32_t kMaxDrawListVectors = 20000;  // per item
inline constexpr std::uint32_t kFrameStoreRecords = 45;
inline constexpr std::uint32_t kRenderObjectHeaders = 5;

inline constexpr double kFarDistance = 100000.0;
inline constexpr double kStartHeading = 90.0;  // degrees
inline constexpr double kFirstItemScale = 0.25;
inline constexpr double kFirstItemOffsetY = 200.0;  // item 0 sits at (0, 200, 0)
inline constexpr double kDegreesToRadians = 3.14159265358979323846 / 180.0;
// Vectors shown by the Vectors On switch get this width: bit 15 marks them
// as added by the switch, the low bits give a one-pixel line.
inline constexpr std::uint32_t kSwitchVectorWidth = 0x8001;
inline constexpr std::uint32_t kWidthMask = 0x7FFF;
inline constexpr std::uint32_t kWidthSwitchBit = 0x8000;

// Environment sizes (resources of the Preferences file).
inline constexpr std::size_t kSkyEntries = 140;     // 'SKDT' 129, 4 bytes each
inline constexpr std::size_t kGroundEntries = 231;  // 'LNDT' 128, 4 bytes each
inline constexpr std::size_t kFloorBytes = 65536;   // 'LPAT' 0, one palette index each

// The build's stop messages, word for word.
inline constexpr std::string_view kTooManyItemsMessage = "GW_World_Items>GW_MAXITEMS";
inline constexpr std::string_view kItemPointsMessage =
    "(maxpts+GW_Universe_Max_Points) > GW_MAXRENPOINTS";
inline constexpr std::string_view kUniversePointsMessage =
    "GW_Universe_Max_Points > GW_MAXRENPOINTS";
inline constexpr std::string_view kPolyPointsMessage = "GameFace->npts > MAX_POLY_POINTS";
// The sides limit speaks of 50 although the test is against 150.
inline constexpr std::string_view kPolySidesMessage = "GameFace->nsides > MAX_POLY_SIDES (50)";
inline constexpr std::string_view kNoGroundMessage = "Can't find LNDT resource.";

// ---- Viewer ------------------------------------------------------------------

// The person walking. Doubles unless said otherwise; z is the eye height.
inline constexpr double kGroundZeroHeight = 15.0;  // eye height at the start and after space

struct WalkViewer {
  double x = 0, y = 0, z = kGroundZeroHeight;          // position, z the eye height
  double ground = kGroundZeroHeight;                   // eye height the viewer falls back to
  double heading = kStartHeading;                      // degrees, 0 <= heading < 360
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};  // orientation, identity at start
  double vx = 0, vy = 0, vz = 0;                       // velocity per frame
  double omega = 0;                                    // angular velocity, radians per frame
  double forward = 0, turn = 0;                        // per-frame inputs, cleared every frame
  bool keyUp = false, keyDown = false, keyLeft = false, keyRight = false;
  bool keyPageUp = false, keyPageDown = false;
  char lastChar = 0;    // last character typed, 0 none
  int insideItem = -1;  // item the viewer has got inside, -1 none
  // Current view zone: its polygon number (-1 none), its item, and the two
  // priority lists refilled from its viewZones on entering it (room for 20
  // each, reserved once so that a frame never allocates).
  int zonePolygon = -1;
  int zoneItem = -1;
  std::vector<std::uint32_t> zonePolys;    // entries without bit 15, whole
  std::vector<std::uint32_t> zoneVectors;  // entries with bit 15, bit 15 cleared
};

// ---- Render object -------------------------------------------------------------

struct RenderPoint {
  double x = 0, y = 0, z = 0;  // the object's (x, y, -z)
};

struct RenderVector {
  std::uint32_t p1 = 0, p2 = 0;
  std::uint8_t color = 0;
  std::uint8_t shade = 0;  // (color & 0xF8) + 7: the last step of its ramp
  std::uint32_t fill = 0;  // color in all four bytes
  std::int32_t attribute = 0;
  std::uint32_t width = 0;  // as the object's, or kSwitchVectorWidth
};

struct RenderPolygon {
  std::uint32_t vectorCount = 0;
  std::array<std::uint32_t, kMaxPolySides> vectors{};
  std::uint8_t frontColor = 0, backColor = 0;
  std::uint8_t shade = 0;                     // (frontColor & 0xF8) + 7
  std::uint32_t frontFill = 0, backFill = 0;  // colour byte repeated four times
  std::uint32_t pointCount = 0;
  std::array<std::uint32_t, MAX_POLY_POINTS> points{};
  std::uint32_t viewZoneCount = 0;
  std::array<std::uint32_t, kMaxViewZones> viewZones{};
  std::uint32_t flags = 0;
};

// One animation slot of the object with its angle's sines and cosines.
struct RenderAnimation {
  AnimationSlot slot;
  double sinA = 0, cosA = 1, sinMinusA = 0, cosMinusA = 1;
};

struct RenderObject {
  std::vector<RenderPoint> points;
  std::vector<RenderVector> vectors;
  std::vector<RenderPolygon> polygons;
  std::int32_t collisionPolygon = -1;  // last polygon with Collision (0x40), -1 none
  std::int32_t entrancePolygon = -1;   // last polygon with Entrance (0x80), -1 none
  bool hasCollision = false;
  bool hasEntrance = false;
  std::uint32_t viewZonePolygonCount = 0;
  std::array<std::uint32_t, kMaxZonePolygons> viewZonePolygons{};  // in polygon order
  std::vector<RenderAnimation> animation;                          // empty when the object has none

  // 0: no Collision polygon; 1: Collision, no Entrance; 2: both.
  int ZoneMode() const { return hasCollision ? (hasEntrance ? 2 : 1) : 0; }
};

// ---- Universe --------------------------------------------------------------------

struct UniversePoint {
  double x = 0, y = 0, z = 0;  // world space, z up
};

struct WalkItem {
  std::uint32_t object = 0;  // render object shown
  int zoneMode = 0;          // as RenderObject::ZoneMode
  std::uint32_t firstPoint = 0;
  std::uint32_t lastPoint = 0;  // the origin point's number
  std::uint32_t originPoint = 0;
  double scale = kFirstItemScale;
  double highestZ = 0;  // largest world z of its points
  double radius = 0;
  std::int32_t radiusPlus40 = 0;        // trunc(radius) + 40
  std::vector<std::uint32_t> drawList;  // vector numbers, up to kMaxDrawListVectors
  std::uint32_t drawCount = 0;
};

// ---- Environment ---------------------------------------------------------------------

// Where the environment comes from: the Preferences file (sky and ground are
// read at each build) and the floor already translated into the current
// colour table (the model keeps it; see color_ops.h).
struct EnvironmentSource {
  ResourceFile* files = nullptr;
  std::string preferencesPath;
  std::span<const std::uint8_t> translatedFloor;  // kFloorBytes, or empty
  const AnimationSlots* animation = nullptr;      // the object's, or null
};

struct WalkEnvironment {
  std::array<Pattern8, kSkyEntries> sky{};
  bool skyPresent = false;
  std::array<Pattern8, kGroundEntries> ground{};
  bool groundPresent = false;
  Pattern8 patternC2{};             // all bytes 0xC2
  Pattern8 patternFF{};             // all bytes 0xFF
  std::vector<std::uint8_t> floor;  // kFloorBytes, or empty when none was loaded
};

// ---- Screen and pick ---------------------------------------------------------------

struct ScreenConstants {
  int width = 0, height = 0;
  double centerX = 0, centerY = 0;    // W * 0.5, H * 0.5
  int right = 0, bottom = 0;          // W - 1, H - 1
  int halfWidth = 0, halfHeight = 0;  // W / 2, H / 2
  std::int32_t fovScaleX = 0;         // 16.16
  std::int32_t fovScaleY = 0;         // 16.16
};

// The polygon under the pointer after the last frame.
struct WalkPick {
  int polygon = -1;        // current polygon, -1 none
  std::uint8_t color = 0;  // front colour, or back colour when backFace
  std::uint32_t fill = 0;  // the matching pattern
  int backFace = 0;        // 1: seen from behind and has 0x800
  std::array<ScreenPoint, kMaxFillPoints> outline{};
  std::uint32_t outlineCount = 0;
};

// One entry of a frame's sort.
struct SortEntry {
  std::uint32_t index = 0;
  std::uint32_t kind = 0;  // 1 polygon, 0 vector
  double key = 0;
};

// What the editor hands the walk view at each build and frame, so that the
// renderer needs no editor state.
struct WalkDisplay {
  bool vectorsOn = false;
  bool polygonsOn = true;
  bool hideEnvironment = false;
  std::uint8_t wireColour = 0;
  std::uint8_t blackIndex = 0;
  std::uint8_t highlightColour = 0;  // outline of the polygon under the pointer
};

struct RenderWorld {
  bool built = false;
  // Set when a build failed for want of memory (a "Low Memory #N" message):
  // the program cannot go on. Limits exceeded by the object leave it clear.
  bool outOfMemory = false;
  ScreenConstants screen;
  WalkEnvironment environment;
  std::array<RenderObject, kRenderObjectHeaders> objects;  // object 0 is the current one
  std::uint32_t objectCount = 0;
  std::vector<UniversePoint> universe;  // capacity GW_MAXRENPOINTS
  std::uint32_t universeCount = 0;
  std::vector<WalkItem> items;  // capacity GW_MAXITEMS
  std::uint32_t itemCount = 0;
  double far = kFarDistance;
  double itemScale = kFirstItemScale;
  WalkViewer viewer;
  WalkPick pick;

  // Work stores of the frame, sized at build time.
  std::array<std::uint32_t, kFrameStoreRecords> frameStore{};
  std::vector<UniversePoint> eye;           // per universe point, in the viewer's frame
  std::vector<SortEntry> entries;           // polygons + draw-list vectors
  std::uint32_t entryCount = 0;             // entries of the last frame, sorted by key
  std::vector<SortEntry> sortScratch;       // as large as entries
  std::vector<std::int32_t> rowTable;       // per screen row
  std::vector<std::int32_t> columnU;        // per screen column
  std::vector<std::int32_t> columnV;        // per screen column
  std::vector<ScreenPoint> outline;         // one clipped, projected outline
  std::vector<UniversePoint> clipA, clipB;  // clipping scratch
  HandleMemory fillerMemory;                // declared before the filler, which it must outlive
  PolygonFiller filler;
};

// Adds object `o` of the world as an item at (X0, Y0, Z0) with scale s.
// Returns the stop message when the item or universe point limits are
// exceeded (the item is then not added), else an empty string.
std::string AddItem(RenderWorld& world, std::uint32_t o, double X0, double Y0, double Z0, double s,
                    const WalkDisplay& display);

// Builds the world for the object tables at W x H: environment, render
// object, universe with item 0, viewer at its start values. Returns an empty
// string on success, else the stop message (exact texts above); on failure
// the world is left freed. "Can't find LNDT resource." goes through `ui`
// and the build goes on.
std::string BuildRenderWorld(RenderWorld& world, const ObjectTables& tables,
                             const EnvironmentSource& source, int W, int H,
                             const WalkDisplay& display, Ui& ui);
// Releases every store; the world is then empty (built false).
void FreeRenderWorld(RenderWorld& world);
// Builds every item's vector draw list again (the Vectors On switch changed).
void RebuildVectorDrawList(RenderWorld& world, const WalkDisplay& display);
// The drawing area changed size: frees and builds again at W x H, the
// viewer keeping its position, heading and zone.
std::string ResizeRenderWorld(RenderWorld& world, const ObjectTables& tables,
                              const EnvironmentSource& source, int W, int H,
                              const WalkDisplay& display, Ui& ui);

// One frame (render_frame.h): background, transform, sort, draw, and the
// pick at (cursorX, cursorY) in surface pixels (-1: none) into world.pick.
void RenderFrame(RenderWorld& world, const WalkDisplay& display, PixelRows target, int cursorX,
                 int cursorY);

}  // namespace walk
}  // namespace ws
