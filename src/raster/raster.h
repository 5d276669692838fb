// The rasteriser's span drawers: lines (raster_lines.h) and span and polygon
// fills (raster_fill.h) over the 8-bit surface of surface8.h. The frame
// front ends (the editing views' projection and sorting, the walk view's)
// sit above these and share them.
//
// Common rules: pixels are palette indices; nothing is ever written outside
// the rows handed in (thin lines clamp their end points, thick lines clip
// each square, dashed lines and fills clip); nothing is allocated while
// drawing (the polygon filler's tables are allocated once, from handle
// memory that must outlive the filler, as must a surface's).
#pragma once

#include "raster/raster_fill.h"
#include "raster/raster_lines.h"
#include "raster/surface8.h"
