// Polygon definition as the editor runs it, over the table part in
// geometry/polygon_define.h (ordering, the failure messages, the convexity
// warnings, the refusals beyond 150 vectors or 10,000 polygons before
// anything is written).
//
// The Define Polygon button (`DefinePolygonButton`): undo "Undo
// Define\tCtrl+Z"; the polygon is defined from the selected vectors with
// the current colour; on success a frame is drawn checking the new
// polygon, and when it was drawn back-facing it is reversed with FlipFace,
// so a new polygon always faces the viewer; the points are projected
// again, every vector mark cleared and a redraw requested.
#pragma once

#include <cstdint>

#include "editor/interaction/interaction.h"
#include "editor/view/projection.h"

namespace ws {

// `DefinePolygon`: with v non-zero only marks user vector v selected and
// returns 0; with v = 0 defines a polygon from the selected vectors with
// front colour `colour` and returns its index, or -1 after the message.
std::int32_t DefinePolygon(ObjectTables& t, Ui& ui, std::uint32_t v, std::uint8_t colour);

// `DefinePolygonButton` on the editor's current view. The new polygon's
// index, or -1.
std::int32_t DefinePolygonButton(EditContext& ctx);

// The same without a window (the command-line tool): the facing check is
// made on the projection `projector` (for instance the Front view at 100%).
std::int32_t DefinePolygonInView(Model& model, std::uint8_t colour, const Projector& projector);

}  // namespace ws
