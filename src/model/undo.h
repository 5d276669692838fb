// Undo: compressed snapshots of the current object taken before every
// geometry-changing command, kept per object of the cluster.
//
// A snapshot holds the used part of the object tables (the point, vector and
// polygon records below their counts, and the polygon selection marks of
// the used polygon slots), the view orientation and plot state of
// view_plot_state.h, and the menu label naming the command. Each table part
// is one zstd frame; the frames of one snapshot share one tracked block.
// The point table is saved (reserved points included) only when it holds
// more than the 7 reserved points, the vector table only when it holds more
// than the 6 reserved vectors (the axis cross alone never changes), the
// polygons only when there are any. Restoring sets the counts, writes the
// saved records back byte for byte and leaves every slot at or above a
// restored count as it is.
//
// History is scoped to the object: every object of the cluster owns a stack
// of at most kUndoDepth snapshots, addressed by its object number. Pushes
// and undos act on the stack of the object last chosen with SelectObject,
// so an undo can never write one object's tables into another. The cluster
// code calls SelectObject when the current object changes, DropObject when
// an object is deleted, and Clear for Start New Cluster and cluster loading.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/object_tables.h"
#include "model/view_plot_state.h"
#include "resource/handle_memory.h"

struct ZSTD_CCtx_s;

namespace ws {

struct Runtime;

inline constexpr std::size_t kUndoDepth = 20;  // snapshots per object
inline constexpr std::size_t kUndoLabelMaxChars = 255;
inline constexpr int kUndoMenuId = 57643;

// Menu text of Undo while nothing can be undone.
inline constexpr std::string_view kUndoMenuIdle = "&Undo\tCtrl+Z";
inline constexpr std::string_view kNothingToUndo = "Nothing to Undo!";
// Shown (Notification) when a snapshot cannot be kept; the command still runs.
inline constexpr std::string_view kUndoSnapshotNoMemory =
    "Not enough memory to keep an undo step for this command.";
// Shown (General Error) when a snapshot cannot be restored; the object is
// left as it was and the snapshot stays on the stack.
inline constexpr std::string_view kUndoRestoreFailed =
    "Not enough memory to undo. The object was left as it is.";

// The labels the geometry commands push; four carry no accelerator text.
namespace UndoLabel {
inline constexpr std::string_view kCylinder = "Undo Cylinder\tCtrl+Z";
inline constexpr std::string_view kCircle = "Undo Circle\tCtrl+Z";
inline constexpr std::string_view kSphere = "Undo Sphere\tCtrl+Z";
inline constexpr std::string_view kCube = "Undo Rectangle\tCtrl+Z";
inline constexpr std::string_view kDefine = "Undo Define\tCtrl+Z";
inline constexpr std::string_view kDelete = "Undo Delete\tCtrl+Z";
inline constexpr std::string_view kPlot = "Undo Plot\tCtrl+Z";
inline constexpr std::string_view kDrag = "Undo Drag\tCtrl+Z";
inline constexpr std::string_view kRemoveDuplicates = "Undo Remove Duplicates";
inline constexpr std::string_view kFlipBackface = "Undo Flip Backface";
inline constexpr std::string_view kResetViewZone = "Undo Reset View Zone";
inline constexpr std::string_view kTessellate = "Undo Tessulate";
inline constexpr std::string_view kRotate = "Undo Rotate\tCtrl+Z";
inline constexpr std::string_view kFlip = "Undo Flip\tCtrl+Z";
inline constexpr std::string_view kDuplicate = "Undo Duplicate\tCtrl+Z";
inline constexpr std::string_view kVectorConnect = "Undo Vector Connect\tCtrl+Z";
}  // namespace UndoLabel

// Text and state of the Edit menu's Undo item (id kUndoMenuId).
struct UndoMenuItem {
  std::string text;
  bool enabled = false;
  bool operator==(const UndoMenuItem&) const = default;
};

// What one snapshot reads and one undo writes.
struct UndoTarget {
  ObjectTables& tables;
  ViewState& view;
  PlotState& plot;
};

// One snapshot. The frames lie back to back in `data`: points, vectors,
// polygon records, polygon selection; a length of 0 means the part is absent.
struct UndoSlot {
  Block data;
  std::uint32_t pointDataLength = 0;
  std::uint32_t vectorDataLength = 0;
  std::uint32_t polygonDataLength = 0;
  std::uint32_t selectionDataLength = 0;
  std::uint32_t pointCount = 0;
  std::uint32_t vectorCount = 0;
  std::uint32_t polygonCount = 0;
  // The view and plot fields a command may change along with the tables.
  int viewCode = kViewFront;
  Matrix3 orientation = kIdentityMatrix3;
  std::array<Matrix3, 3> turns{};
  int activeTurn = kTurnNone;
  PlotState plot;
  std::string label;
};

// One object's snapshots, bottom first; never more than kUndoDepth.
using UndoStack = std::vector<UndoSlot>;

class UndoHistory {
 public:
  explicit UndoHistory(Runtime& rt);
  ~UndoHistory();
  UndoHistory(const UndoHistory&) = delete;
  UndoHistory& operator=(const UndoHistory&) = delete;

  // Snapshots the target on top of the current object's stack with `label`
  // (cut to kUndoLabelMaxChars bytes). A full stack first loses its bottom
  // snapshot. When memory for the snapshot cannot be had, shows
  // kUndoSnapshotNoMemory, leaves the stack as it was and returns false;
  // the command goes ahead without an undo step. Asks for a menu refresh.
  bool PushUndo(std::string_view label, const UndoTarget& target);
  // The Undo command: restores the top snapshot of the current object's
  // stack into the target and removes it. An empty stack shows
  // "Nothing to Undo!" and changes nothing. The runtime is marked busy
  // while the tables are rewritten. A current polygon past the restored
  // polygon count becomes -1. Returns true when something was restored:
  // the caller then requests a redraw of all views. Asks for a menu refresh.
  bool PopUndo(const UndoTarget& target);

  // The Undo item: the top label, enabled, or kUndoMenuIdle grayed.
  UndoMenuItem UndoMenuState() const;

  // Makes `index` the current object; its stack (empty if it never had
  // one) receives the following pushes and undos.
  void SelectObject(std::uint32_t index);
  // Object `index` was deleted: its stack goes and the stacks of the
  // objects after it move down one number, as the objects do. A current
  // number above `index` follows its object down. When the current object
  // itself was deleted the number stays, now naming the object that moved
  // into it; the cluster then calls SelectObject with the object it makes
  // current (the one before, when the last object was deleted).
  void DropObject(std::uint32_t index);
  // Empties every stack (Start New Cluster, loading a cluster); the current
  // object becomes 0.
  void Clear();

  std::uint32_t currentObject() const { return current_; }
  // Snapshots held for the current object, and for object `index`.
  std::size_t depth() const { return DepthOf(current_); }
  std::size_t DepthOf(std::uint32_t index) const;
  // The current object's stack, bottom first (for inspection).
  const UndoStack& CurrentStack() const;
  // Highest object number that has a stack, plus one.
  std::uint32_t ObjectSpan() const;

 private:
  struct CompressorDeleter {
    void operator()(ZSTD_CCtx_s* cctx) const;
  };

  // Appends one zstd frame of `bytes` to the scratch buffer; its length, or
  // 0 for an empty part. False when zstd fails.
  bool CompressPart(const void* bytes, std::size_t size, std::uint32_t& length);
  UndoStack& CurrentStackForWrite() { return stacks_[current_]; }

  Runtime& rt_;
  std::map<std::uint32_t, UndoStack> stacks_;
  std::uint32_t current_ = 0;
  std::unique_ptr<ZSTD_CCtx_s, CompressorDeleter> cctx_;
  // Compressed frames of the snapshot being taken; reused between pushes so
  // a push costs one exact-size allocation.
  std::unique_ptr<std::uint8_t[]> scratch_;
  std::size_t scratchCapacity_ = 0;
  std::size_t scratchUsed_ = 0;
};

}  // namespace ws
