#include "model/undo.h"

#include <zstd.h>

#include <algorithm>
#include <cstring>

#include "resource/runtime.h"

namespace ws {
namespace {

// Handle-memory tags: 'UNDO' for snapshots, 'UNDT' for the restore buffer.
constexpr std::uint32_t kSnapshotTag = 0x554E444F;
constexpr std::uint32_t kRestoreTag = 0x554E4454;

// zstd's first fast level: the tables are mostly small integers and zero
// padding, which even this level packs about twenty to one, and a push of
// a full object has to stay well within one tick of the editor's timer.
constexpr int kCompressionLevel = -1;

// Byte sizes of the used part of each table.
std::size_t PointBytes(std::uint32_t count) { return std::size_t{count} * sizeof(Point); }
std::size_t VectorBytes(std::uint32_t count) { return std::size_t{count} * sizeof(Vector); }
std::size_t PolygonBytes(std::uint32_t count) { return std::size_t{count} * sizeof(Polygon); }
std::size_t SelectionBytes(std::uint32_t count) {
  return std::size_t{count} * sizeof(std::uint32_t);
}

// The plot fields an undo puts back; the editor may keep more in PlotState.
void RestorePlot(const PlotState& saved, PlotState& plot) {
  plot.step = saved.step;
  plot.ep1Pending = saved.ep1Pending;
  plot.ep1X = saved.ep1X;
  plot.ep1Y = saved.ep1Y;
  plot.ep1Z = saved.ep1Z;
  plot.ep1Point = saved.ep1Point;
  plot.viewMemory = saved.viewMemory;
}

// Decompresses one frame into exactly `size` bytes at `out`.
bool DecompressPart(const std::uint8_t* frame, std::uint32_t length, std::uint8_t* out,
                    std::size_t size) {
  if (length == 0) return size == 0;
  if (ZSTD_getFrameContentSize(frame, length) != size) return false;
  const std::size_t written = ZSTD_decompress(out, size, frame, length);
  return !ZSTD_isError(written) && written == size;
}

}  // namespace

void UndoHistory::CompressorDeleter::operator()(ZSTD_CCtx_s* cctx) const { ZSTD_freeCCtx(cctx); }

UndoHistory::UndoHistory(Runtime& rt) : rt_(rt) {}

UndoHistory::~UndoHistory() = default;

bool UndoHistory::CompressPart(const void* bytes, std::size_t size, std::uint32_t& length) {
  length = 0;
  if (size == 0) return true;
  if (!cctx_) {
    cctx_.reset(ZSTD_createCCtx());
    if (!cctx_) return false;
    ZSTD_CCtx_setParameter(cctx_.get(), ZSTD_c_compressionLevel, kCompressionLevel);
  }
  const std::size_t bound = ZSTD_compressBound(size);
  if (scratchCapacity_ - scratchUsed_ < bound) {
    // Grow to fit everything a full object can need, so later pushes never
    // reallocate.
    const std::size_t want = scratchUsed_ + bound;
    std::unique_ptr<std::uint8_t[]> grown(new (std::nothrow) std::uint8_t[want]);
    if (!grown) return false;
    if (scratchUsed_ > 0) std::memcpy(grown.get(), scratch_.get(), scratchUsed_);
    scratch_ = std::move(grown);
    scratchCapacity_ = want;
  }
  const std::size_t written =
      ZSTD_compress2(cctx_.get(), scratch_.get() + scratchUsed_, bound, bytes, size);
  if (ZSTD_isError(written)) return false;
  length = static_cast<std::uint32_t>(written);
  scratchUsed_ += written;
  return true;
}

bool UndoHistory::PushUndo(std::string_view label, const UndoTarget& target) {
  const ObjectTables& t = target.tables;
  UndoSlot slot;
  slot.pointCount = t.pointCount;
  slot.vectorCount = t.vectorCount;
  slot.polygonCount = t.polygonCount;

  // Compress everything before the stack is touched, so that a failure
  // leaves the history exactly as it was.
  scratchUsed_ = 0;
  bool ok = true;
  if (t.pointCount > kReservedPoints) {
    ok = ok && CompressPart(t.points, PointBytes(t.pointCount), slot.pointDataLength);
  }
  if (t.vectorCount > kReservedVectors) {
    ok = ok && CompressPart(t.vectors, VectorBytes(t.vectorCount), slot.vectorDataLength);
  }
  if (t.polygonCount > 0) {
    ok =
        ok && CompressPart(t.polygons.data(), PolygonBytes(t.polygonCount), slot.polygonDataLength);
    ok = ok && CompressPart(t.polygonSelected.data(), SelectionBytes(t.polygonCount),
                            slot.selectionDataLength);
  }
  if (ok && scratchUsed_ > 0) {
    slot.data = rt_.memory.Allocate(scratchUsed_, kSnapshotTag);
    ok = static_cast<bool>(slot.data);
    if (ok) std::memcpy(slot.data.data(), scratch_.get(), scratchUsed_);
  }
  if (!ok) {
    rt_.ui.ShowNote(kUndoSnapshotNoMemory);
    return false;
  }

  slot.viewCode = target.view.viewCode;
  slot.orientation = target.view.orientation;
  slot.turns = target.view.turns;
  slot.activeTurn = target.view.activeTurn;
  slot.plot = target.plot;
  slot.label = std::string(label.substr(0, kUndoLabelMaxChars));

  UndoStack& stack = CurrentStackForWrite();
  if (stack.size() >= kUndoDepth) {
    // The oldest step goes; its block is released with it.
    stack.erase(stack.begin(), stack.begin() + (stack.size() - kUndoDepth + 1));
  }
  stack.push_back(std::move(slot));
  rt_.menuRefreshRequested = true;
  return true;
}

bool UndoHistory::PopUndo(const UndoTarget& target) {
  auto it = stacks_.find(current_);
  if (it == stacks_.end() || it->second.empty()) {
    rt_.ui.ShowNote(kNothingToUndo);
    return false;
  }
  UndoStack& stack = it->second;
  UndoSlot& slot = stack.back();
  ObjectTables& t = target.tables;

  const bool wasBusy = rt_.busy;
  rt_.busy = true;

  // Unpack every part into one buffer first and write the tables only when
  // all of them came out whole: a failed undo must not leave half an object.
  const std::size_t pointBytes = slot.pointDataLength ? PointBytes(slot.pointCount) : 0;
  const std::size_t vectorBytes = slot.vectorDataLength ? VectorBytes(slot.vectorCount) : 0;
  const std::size_t polygonBytes = slot.polygonDataLength ? PolygonBytes(slot.polygonCount) : 0;
  const std::size_t selectionBytes =
      slot.selectionDataLength ? SelectionBytes(slot.polygonCount) : 0;
  const std::size_t total = pointBytes + vectorBytes + polygonBytes + selectionBytes;
  Block unpacked;
  bool ok = slot.pointCount <= kMaxPoints && slot.vectorCount <= kMaxVectors &&
            slot.polygonCount <= kMaxPolygons;
  if (ok && total > 0) {
    unpacked = rt_.memory.Allocate(total, kRestoreTag);
    ok = static_cast<bool>(unpacked);
  }
  if (ok && total > 0) {
    const std::uint8_t* in = slot.data.data();
    std::uint8_t* out = unpacked.data();
    const std::uint32_t lengths[] = {slot.pointDataLength, slot.vectorDataLength,
                                     slot.polygonDataLength, slot.selectionDataLength};
    const std::size_t sizes[] = {pointBytes, vectorBytes, polygonBytes, selectionBytes};
    for (int part = 0; part < 4 && ok; ++part) {
      ok = DecompressPart(in, lengths[part], out, sizes[part]);
      in += lengths[part];
      out += sizes[part];
    }
  }
  if (!ok) {
    rt_.busy = wasBusy;
    rt_.ui.ShowError(kUndoRestoreFailed);
    return false;
  }

  const std::uint8_t* from = unpacked.data();
  t.pointCount = slot.pointCount;
  if (pointBytes) std::memcpy(t.points, from, pointBytes);
  from += pointBytes;
  t.vectorCount = slot.vectorCount;
  if (vectorBytes) std::memcpy(t.vectors, from, vectorBytes);
  from += vectorBytes;
  t.polygonCount = slot.polygonCount;
  if (polygonBytes) std::memcpy(t.polygons.data(), from, polygonBytes);
  from += polygonBytes;
  if (selectionBytes) std::memcpy(t.polygonSelected.data(), from, selectionBytes);
  // The current polygon names a slot that may no longer be in use.
  if (t.currentPolygon >= 0 && static_cast<std::uint32_t>(t.currentPolygon) >= t.polygonCount) {
    t.currentPolygon = -1;
  }

  target.view.viewCode = slot.viewCode;
  target.view.orientation = slot.orientation;
  target.view.turns = slot.turns;
  target.view.activeTurn = slot.activeTurn;
  RestorePlot(slot.plot, target.plot);

  stack.pop_back();
  rt_.busy = wasBusy;
  rt_.menuRefreshRequested = true;
  return true;
}

UndoMenuItem UndoHistory::UndoMenuState() const {
  const UndoStack& stack = CurrentStack();
  if (stack.empty()) return {std::string(kUndoMenuIdle), false};
  return {stack.back().label, true};
}

void UndoHistory::SelectObject(std::uint32_t index) { current_ = index; }

void UndoHistory::DropObject(std::uint32_t index) {
  stacks_.erase(index);
  // Ascending order: key k + 1 moves into k, which is already free.
  for (auto it = stacks_.upper_bound(index); it != stacks_.end();) {
    auto node = stacks_.extract(it++);
    --node.key();
    stacks_.insert(std::move(node));
  }
  if (current_ > index) --current_;
  rt_.menuRefreshRequested = true;
}

void UndoHistory::Clear() {
  stacks_.clear();
  current_ = 0;
  rt_.menuRefreshRequested = true;
}

std::size_t UndoHistory::DepthOf(std::uint32_t index) const {
  auto it = stacks_.find(index);
  return it == stacks_.end() ? 0 : it->second.size();
}

const UndoStack& UndoHistory::CurrentStack() const {
  static const UndoStack kEmpty;
  auto it = stacks_.find(current_);
  return it == stacks_.end() ? kEmpty : it->second;
}

std::uint32_t UndoHistory::ObjectSpan() const {
  return stacks_.empty() ? 0 : stacks_.rbegin()->first + 1;
}

}  // namespace ws
