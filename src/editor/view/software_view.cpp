#include "editor/view/software_view.h"

#include <algorithm>
#include <memory>

#include "editor/view/draw_sort.h"

namespace ws {

namespace {

constexpr std::uint32_t kDrawListTag = 0x44524157;      // 'DRAW'
constexpr std::uint32_t kPolygonFrameTag = 0x50465244;  // 'PFRD'
constexpr std::uint32_t kSortScratchTag = 0x534F5254;   // 'SORT'

bool IsAxis(std::uint32_t vector) { return vector < kReservedVectors; }

constexpr std::uint32_t kPrefetchAhead = 8;

// n value-initialised T in a new handle-memory block kept in `block`; null
// when memory runs out.
template <class T>
T* TakeArray(HandleMemory& memory, Block& block, std::size_t n, std::uint32_t tag) {
  Block taken = memory.Allocate(sizeof(T) * n, tag);
  if (!taken) return nullptr;
  block = std::move(taken);
  T* items = reinterpret_cast<T*>(block.data());
  std::uninitialized_value_construct_n(items, n);
  return items;
}

}  // namespace

SoftwareEditView::SoftwareEditView(EditorDisplay& display, std::uint32_t sparkleSeed)
    : d_(display), sparkle_(sparkleSeed) {}

bool SoftwareEditView::Allocate() {
  HandleMemory& memory = d_.model.rt.memory;
  if (!items_) items_ = TakeArray<DrawItem>(memory, itemBlock_, kMaxDrawItems, kDrawListTag);
  if (!frames_)
    frames_ = TakeArray<PolygonFrame>(memory, frameBlock_, kMaxPolygons, kPolygonFrameTag);
  if (!sortScratch_) {
    sortScratch_ = TakeArray<DrawItem>(memory, sortBlock_, kMaxSortedItems, kSortScratchTag);
  }
  if (!items_ || !frames_ || !sortScratch_ || !filler_.Allocate(memory)) {
    d_.model.ui().ShowError(kMsgNoFillMemory);
    d_.model.rt.fatalError = true;
    return false;
  }
  return true;
}

void SoftwareEditView::ProjectAll() { ProjectAllPoints(d_.model.tables, d_.MakeProjector()); }

void SoftwareEditView::Present(const IntRect& source, const IntRect& target) {
  if (d_.frame.firstLayoutPending || d_.offscreen.empty()) return;
  d_.offscreen.Present(source);
  if (presenter_) presenter_->Show(d_.offscreen.shown, source, target);
}

void SoftwareEditView::AddKey(double key) {
  if (!haveKeys_) {
    leastKey_ = greatestKey_ = key;
    haveKeys_ = true;
    return;
  }
  leastKey_ = std::min(leastKey_, key);
  greatestKey_ = std::max(greatestKey_, key);
}

void SoftwareEditView::BuildPolygonItems(bool listPolygons) {
  ObjectTables& t = d_.model.tables;
  const DisplayOptions& o = d_.options;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    // The records are large: ask for a later one's corner list early.
    if (k + kPrefetchAhead < t.polygonCount) {
      __builtin_prefetch(&t.polygons[k + kPrefetchAhead].points[0]);
      __builtin_prefetch(&t.polygons[k + kPrefetchAhead].flags);
    }
    Polygon& poly = t.polygons[k];
    PolygonFrame& frame = frames_[k];
    poly.flags &= ~PolyFlag::kNotDrawn;
    const std::uint32_t n = poly.pointCount;
    bool valid = n > 0 && n <= kMaxPolygonPoints;
    bool divisible = true;
    std::int64_t sum = 0;
    for (std::uint32_t c = 0; c < n && valid; ++c) {
      const std::uint32_t pi = poly.points[c];
      if (pi >= t.pointCount) {
        valid = false;
        break;
      }
      const Point& p = t.points[pi];
      outline_[c] = {p.screenX, p.screenY};
      sum += p.screenDepth;
      if (!(p.eyeDepth <= kNearPlaneDepth)) divisible = false;
    }
    if (!valid) {
      // A polygon naming a point outside the table is never drawn or hit.
      poly.flags = (poly.flags & ~PolyFlag::kBackFacing) | PolyFlag::kNotDrawn;
      continue;
    }
    const bool computeFacing =
        (poly.flags & (PolyFlag::kNeverDrawBackFace | PolyFlag::kEachSideDifferent)) != 0 ||
        o.showBackfaced;
    const bool back = computeFacing && FacingSign({outline_.data(), n}) < 0;
    if (back) {
      poly.flags |= PolyFlag::kBackFacing;
    } else {
      poly.flags &= ~PolyFlag::kBackFacing;
    }
    const double mean = static_cast<double>(sum) / n;
    poly.depth = mean;
    AddKey(mean);
    if (!listPolygons) continue;
    frame.flags = poly.flags;
    frame.pointCount = n;
    frame.depth = mean;
    frame.frontColor = poly.frontColor;
    frame.backColor = poly.backColor;
    frame.divisible = !o.perspective || divisible;
    if (n <= kInlineOutlinePoints)
      std::copy(outline_.begin(), outline_.begin() + n, frame.outline.begin());
    const bool priority = (poly.flags & PolyFlag::kHigherPriority) != 0;
    const bool drawnAsBack = back && !o.perspective && !o.showBackfaced;
    items_[itemCount_++] = {static_cast<std::int32_t>(k),
                            drawnAsBack ? kItemPolygonBack : kItemPolygonFront,
                            priority ? kPriorityKey : mean};
  }
}

void SoftwareEditView::BuildVectorItems(bool listUserVectors) {
  const ObjectTables& t = d_.model.tables;
  const std::uint32_t last =
      listUserVectors ? t.vectorCount : std::min(t.vectorCount, kReservedVectors);
  for (std::uint32_t i = 0; i < last; ++i) {
    const Vector& v = t.vectors[i];
    const bool axis = IsAxis(i);
    if (!axis && v.width == 0) continue;
    if (v.p1 >= t.pointCount || v.p2 >= t.pointCount) continue;
    double key =
        0.5 * (static_cast<double>(t.points[v.p1].screenDepth) + t.points[v.p2].screenDepth);
    if (axis) key -= 1.0;
    AddKey(key);
    items_[itemCount_++] = {static_cast<std::int32_t>(i), kItemVector, key};
  }
}

void SoftwareEditView::SortItems() {
  // Stable: equal keys stay in the order they were listed (polygons, then
  // the axes and vectors, each by index).
  SortDrawItems({items_, itemCount_}, {sortScratch_, kMaxSortedItems});
  sortedCount_ = itemCount_;
}

void SoftwareEditView::AppendWireFrame() {
  const ObjectTables& t = d_.model.tables;
  for (std::uint32_t i = 0; i < t.vectorCount; ++i) {
    if (t.vectors[i].width != 0) continue;
    items_[itemCount_++] = {static_cast<std::int32_t>(i), kItemVector, 0.0};
  }
}

}  // namespace ws
