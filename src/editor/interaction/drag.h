// Gestures of the EditArea: the endpoint drag, free rotation, and the
// dispatch of pointer events to whichever gesture runs (the marquee and
// the colour chooser have their own modules).
//
// A gesture starts on a press (EditAreaClick, MarqueeDrag, ChooseColour),
// is stepped by PointerMoved and ends with PointerReleased of its button
// (left for the drag, free rotation and the colour chooser, right for the
// marquee) wherever the cursor is, or with CancelGesture (the window lost
// the mouse). Every end clears the shell's and the view's busy flags.
//
// Endpoint drag (`DragEndpoint`): undo "Undo Drag\tCtrl+Z"; a frame is
// projected and drawn; the endpoint whose screen position is nearer the
// cursor (pixel distances compared as rounded square roots; endpoint 1
// only when strictly nearer) is taken. Each move sets the point to
// x = x0 + (mx - mx0), y = y0 + (my0 - my): one world unit per pixel
// whatever the view, scale or pan, z never changed (every vector sharing
// the point follows); a redraw is requested, a frame shown, and the title
// reads "dx:%5.3f  dy%5.3f" with x - x0 and y0 - y.
//
// Free rotation: the turn matrices become identity and the rotation flags
// are set; each move inside the EditArea turns the orientation from the
// previous cursor position to the new one (FreeRotationStep) and shows a
// frame. A move outside the EditArea ends it, as does the release.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "editor/interaction/interaction.h"

namespace ws {

inline constexpr std::string_view kTitleDragVector = "Drag Vector";
inline constexpr std::string_view kTitleChangingView = "Changing View";

enum class PointerButton { kLeft, kRight };

// Starts a free rotation at a client position inside the EditArea.
// `restoreModeHelp`: the mode's title and help text come back when it ends
// (the selection modes).
void BeginFreeRotationDrag(EditContext& ctx, int clientX, int clientY, bool restoreModeHelp);

// `DragEndpoint`: starts dragging the nearer endpoint of user vector
// `vector` from a client position. False (nothing done) for a vector
// outside the user vectors or whose endpoints are not user points.
bool DragEndpoint(EditContext& ctx, std::uint32_t vector, int clientX, int clientY);

// The title of a drag step.
std::string DragTitle(double dx, double dy);

bool GestureActive(const EditContext& ctx);

// The cursor moved (client pixels, anywhere).
void PointerMoved(EditContext& ctx, int clientX, int clientY);

struct GestureEnd {
  GestureKind kind = GestureKind::kNone;  // the gesture that ended, if any
  // A right button released without moving: the caller opens the pop-up
  // menu at the cursor.
  bool openPopupMenu = false;
};

// A button was released (anywhere, inside the window or not).
GestureEnd PointerReleased(EditContext& ctx, PointerButton button, int clientX, int clientY);

// Ends any gesture without its release (a drag keeps what it moved, a
// marquee selects nothing, the colour chooser applies nothing).
void CancelGesture(EditContext& ctx);

// Shared by the gestures: marks the start and the end of one.
void BeginGesture(EditContext& ctx, GestureKind kind);
void EndGesture(EditContext& ctx);

}  // namespace ws
