// The four primitives of the "Primitives" menu: validation of their dialog
// fields (a core function of the texts the dialog collected, so the Qt
// dialogs hold no rules), and generation of the shapes. The dialog layouts
// themselves are in primitive_dialogs.h.
//
// Validation shows the first fault as a message box with caption "Bad Value"
// and returns nothing; the dialog then stays open with its fields as typed.
// Generation appends points with AddPoint (an existing equal point is
// reused) and vectors with AddVector (fresh records; the cube uses
// AddVectorUnique), defines polygons from the vectors of each face unless
// "Vectors Only" is checked, leaves all of the shape's vectors selected and
// runs RemoveDuplicateGeometry. Coordinates are computed in doubles and
// truncated toward zero; pi is 4 atan(1); n/2 of a whole number is an
// integer division, a factor 0.5 an exact half.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/geometry_context.h"

namespace ws {

// The origin field: "%d,%d,%d" read from its first 30 characters. Values the
// text does not supply stay 0; out-of-range values saturate.
struct PrimitiveOrigin {
  int x = 0;
  int y = 0;
  int z = 0;
  bool operator==(const PrimitiveOrigin&) const = default;
};
inline constexpr std::size_t kOriginFieldMaxChars = 30;

// Unsigned read of a numeric field: spaces around the number are ignored;
// an empty field, any other character, or a value above 4294967295 gives
// nothing ("missing").
std::optional<std::uint32_t> ReadDialogNumber(std::string_view text);
PrimitiveOrigin ReadOrigin(std::string_view text);

// Field texts as the dialogs collected them, in dialog order.
struct CircleFields {
  std::string vectors, diameter, origin;
  bool vectorsOnly = false;
};
struct CylinderFields {
  std::string slices, height, diameter, origin;
  bool vectorsOnly = false;
};
struct SphereFields {
  std::string verticalSlices, horizontalSlices, diameter, origin;
  bool vectorsOnly = false;
};
struct CubeFields {
  std::string height, width, depth, origin;
  bool vectorsOnly = false;
};

struct CircleParams {
  std::uint32_t vectors = 0;
  std::uint32_t diameter = 0;
  PrimitiveOrigin origin;
  bool vectorsOnly = false;
};
struct CylinderParams {
  std::uint32_t slices = 0;
  std::uint32_t height = 0;
  std::uint32_t diameter = 0;
  PrimitiveOrigin origin;
  bool vectorsOnly = false;
};
struct SphereParams {
  std::uint32_t verticalSlices = 0;
  std::uint32_t horizontalSlices = 0;
  std::uint32_t diameter = 0;
  PrimitiveOrigin origin;
  bool vectorsOnly = false;
};
struct CubeParams {
  std::uint32_t height = 0;
  std::uint32_t width = 0;
  std::uint32_t depth = 0;
  PrimitiveOrigin origin;
  bool vectorsOnly = false;
};

// Validation, in the order the checks run. Pc and Vc are the current point
// and vector counts (reserved entries included). After the listed checks
// each shape's room in the three tables is checked (CheckCapacity, "for this
// circle" and so on), because the listed bounds alone do not keep every
// table within its capacity.
//
// Circle: diameter missing or 0 "Missing diameter", >= 5001 "Diameter too
// big (5000 max)", < 5 "Diameter too small (5 min)"; vectors n missing or 0
// "Missing number of vectors", n > 20019 - Pc or n > (20000 - Vc) / 3 "Too
// many vectors (%ld max)" with the smaller bound, n < 4 "You need at least 4
// vectors to define a circle."; origin empty "Missing Origin", any value
// above 1000 "Origin parameter too big (1000 max)", else any below -1000
// "Origin parameter too small (-1000 max)".
std::optional<CircleParams> ValidateCircle(const CircleFields& f, const ObjectTables& t, Ui& ui);
// Cylinder: diameter d missing or 0 "Bad diameter", >= 5001 "Diameter too big
// (5000 max)", < 5 "Diameter too small (5 min)"; slices n missing or 0 "Bad
// Slices", d < n "Diameter must equal to or greater than the number of
// slices", n < 3 "Too few slices (3 min)", n > (20000 - Vc) / 7 "Too many
// slices (%d max)"; height missing or < 3 "Bad height"; origin empty "Bad
// Origin" (not range-checked).
std::optional<CylinderParams> ValidateCylinder(const CylinderFields& f, const ObjectTables& t,
                                               Ui& ui);
// Sphere: vertical slices V missing or 0: no message (the dialog just stays
// open), V < 3 "Bad Vertical Slices (3 min)."; horizontal slices H missing
// or 0 "Bad Horizontal Slices", H < 3 "Bad Horizontal Slices (3 min).";
// (4V + 3) H + 3V > A = 20000 - Vc: "Too many vectors. Reduce vertical or
// horizontal slices (max %dx%d)." with m, m, m the largest whole number with
// (4m + 6) m <= A; diameter missing "Bad Diameter", >= 5001 "Diameter too
// big (5000 max)", < 5 (0 included) "Diameter too small (5 min)"; origin
// empty "Bad Origin".
std::optional<SphereParams> ValidateSphere(const SphereFields& f, const ObjectTables& t, Ui& ui);
// Cube: width missing "Bad width", >= 5001 "Width too big (5000 max)", < 5
// (0 included) "Width too small (5 min)"; then height ("Bad height", "Height
// too big (5000 max)", "Height too small (5 min)") and depth ("Bad depth",
// "Depth too big (5000 max)", "Depth too small (5 min)") likewise; origin
// empty "Bad Origin".
std::optional<CubeParams> ValidateCube(const CubeFields& f, const ObjectTables& t, Ui& ui);

// Generation of validated parameters (no undo step; the Create functions
// take it). Each returns false when its working arrays could not be had from
// handle memory, after the error box ("Not enough memory. Decrease number of
// vectors." for the circle, "Not Enough Memory" for the cylinder, "Not enough
// memory for top.", "... for bottom.", "... for center." or "... for
// points." for the sphere); nothing is added then. Parameters that would
// not fit the tables are refused the same way as in validation (nothing is
// ever written past a capacity). Before polygons are defined, every vector's
// selection mark is cleared, so that vectors selected beforehand cannot join
// the first polygon. Each polygon is announced through the feedback with
// "Defining Polygon %d" (the cube: "Defining Polygon 1" to "... 6") and the
// views are redrawn after it.
//
// Circle (n vectors, r = d 0.5, step 2 pi / n), in the plane z = oz: the
// centre (0, 0, 0), then rim points P[k] = (trunc(r cos(k step) - ox),
// trunc(r sin(k step) + oy), trunc(oz)); for each k the rim vector
// P[k]-P[k+1], spokes P[k]-C and P[k+1]-C (wrapping at n); one triangle per k.
bool GenerateCircle(GeometryContext& ctx, const CircleParams& p);
// Cylinder (n slices, axis parallel to y): centres (0, h/2 + oy, 0) and
// (0, oy - h/2, 0); rings T[k] = (trunc(r sin - ox), trunc(h 0.5 + oy),
// trunc(r cos + oz)) and B[k] with y = trunc(oy - h 0.5); top rim and
// spokes, bottom rim and spokes, then sides T[k]-B[k]. Polygons: the side
// quadrilaterals (each reversed), the top triangles, the bottom triangles
// (each reversed); each group numbered from 0.
bool GenerateCylinder(GeometryContext& ctx, const CylinderParams& p);
// Sphere (V, H, R = d/2): poles (trunc(-ox), trunc(+-R + oy), trunc(oz)),
// rings i = 1 ... V-1 of H points (trunc(R sin(i pi/V) cos(j 2pi/H) - ox),
// trunc(R cos(i pi/V) + oy), trunc(R sin(i pi/V) sin(j 2pi/H) + oz)).
// Vectors: for the first ring each point to the top pole and to the next
// point; for each band the four edges of each quadrilateral; for the last
// ring each point to the next and to the bottom pole. Polygons, numbered on
// from 0: the H top-cap triangles (the last, which closes the ring,
// reversed), the H bottom-cap triangles, the (V - 2) H band quadrilaterals,
// ring by ring from the top. With these orders every face winds the way
// the cube's do.
bool GenerateSphere(GeometryContext& ctx, const SphereParams& p);
// Cube: P1 (ox - W/2, oy - H/2, oz + D/2), P2 (ox + W/2, ...), P3 (ox - W/2,
// oy + H/2, ...), P4, then P5 to P8 the same with oz - D/2; vectors E1 P1-P2,
// E2 P2-P4, E3 P4-P3, E4 P3-P1, E5 P1-P5, E6 P2-P6, E7 P3-P7, E8 P4-P8,
// E9 P5-P6, E10 P6-P8, E11 P8-P7, E12 P7-P5 (AddVectorUnique); six faces
// (E1 E2 E3 E4), (E5 E9 E6 E1), (E3 E7 E11 E8), (E7 E4 E5 E12),
// (E6 E10 E8 E2), (E12 E11 E10 E9), the last five reversed.
bool GenerateCube(GeometryContext& ctx, const CubeParams& p);

// A face whose corners lie on one line once rounded to whole numbers is
// not defined; the shape's generation ends with one note counting them:
// "Skipped 12 degenerate polygons with no area." ("1 degenerate polygon").
std::string SkippedFacesMessage(std::uint32_t count);

// The dialogs' "Create" button: validation; when it passes, the undo step
// ("Undo Circle\tCtrl+Z", "Undo Cylinder\tCtrl+Z", "Undo Sphere\tCtrl+Z",
// "Undo Rectangle\tCtrl+Z") and the generation. True when the dialog closes
// (the shape was made, or its working memory could not be had); false when
// it stays open for correction. Its message boxes come as one batch
// (MessageBatch in platform/ui.h): a repeated message once, with its count.
bool CreateCircle(GeometryContext& ctx, const CircleFields& fields);
bool CreateCylinder(GeometryContext& ctx, const CylinderFields& fields);
bool CreateSphere(GeometryContext& ctx, const SphereFields& fields);
bool CreateCube(GeometryContext& ctx, const CubeFields& fields);

}  // namespace ws
