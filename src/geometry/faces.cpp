#include "geometry/faces.h"

#include <algorithm>
#include <vector>

#include "geometry/geometry_support.h"

namespace ws {

void FlipFace(ObjectTables& t, std::uint32_t k) {
  if (k >= t.polygonCount) return;
  Polygon& poly = t.polygons[k];
  std::reverse(poly.points, poly.points + std::min(poly.pointCount, kMaxPolygonPoints));
}

bool FlipSelectedFaces(ObjectTables& t) {
  bool flipped = false;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    if (t.polygonSelected[k] == kUnselected) continue;
    FlipFace(t, k);
    flipped = true;
  }
  return flipped;
}

bool ClearViewZoneLists(ObjectTables& t, std::optional<std::uint32_t> walkZone) {
  if (walkZone) {
    if (*walkZone >= t.polygonCount) return false;
    t.polygons[*walkZone].viewZoneCount = 0;
    return true;
  }
  bool cleared = false;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    if (t.polygonSelected[k] == kUnselected) continue;
    t.polygons[k].viewZoneCount = 0;
    cleared = true;
  }
  return cleared;
}

namespace {

// One polygon of the splitting: an original polygon or a piece made by a
// split. Pieces are numbered after the originals in the order they are made
// (A then B of each split), which is the order they enter the table.
struct Piece {
  std::uint32_t root;    // the original polygon its attributes come from
  std::uint32_t offset;  // its point loop within the shared point store
  std::uint32_t count;
};

// What the group-leader field of a polygon becomes once all splits are
// done: DeletePolygon lowers a leader number above each deleted polygon and
// drops the Adopted bit when the leader itself is deleted, so a leader keeps
// naming the same polygon until that polygon is split. A leader number at or
// past the polygon count names no polygon yet; it comes to name the piece
// appended at that position, since each split appends two pieces and
// deletes one polygon below it.
struct LeaderOutcome {
  bool adopted;
  std::uint32_t leader;
};

}  // namespace

bool Tessellate(ObjectTables& t, Ui& ui) {
  const std::uint32_t originals = t.polygonCount;
  auto qualifies = [&](std::uint32_t k) {
    return t.polygonSelected[k] != kUnselected && t.polygons[k].pointCount > 3;
  };

  std::vector<std::uint32_t> points;  // loops of every piece, back to back
  std::vector<Piece> pieces;          // originals first (by number), then pieces made
  std::uint64_t splits = 0;
  for (std::uint32_t k = 0; k < originals; ++k) {
    const Polygon& poly = t.polygons[k];
    const std::uint32_t n = std::min(poly.pointCount, kMaxPolygonPoints);
    pieces.push_back({k, static_cast<std::uint32_t>(points.size()), n});
    if (qualifies(k)) {
      splits += n - 3;
      points.insert(points.end(), poly.points, poly.points + n);
    }
  }
  if (splits == 0) return false;
  if (auto refusal = CheckCapacity(t, {0, splits, splits}, "to tessellate the selection")) {
    ui.ShowNote(*refusal);
    return false;
  }

  // Splitting order: the qualifying originals by number, then the pieces of
  // more than three points in the order they were made.
  std::vector<std::uint32_t> queue;
  std::vector<std::uint8_t> split(originals, 0);
  for (std::uint32_t k = 0; k < originals; ++k) {
    if (qualifies(k)) queue.push_back(k);
  }
  for (std::size_t q = 0; q < queue.size(); ++q) {
    const Piece source = pieces[queue[q]];
    if (queue[q] < originals) split[queue[q]] = 1;
    const std::uint32_t n = source.count;
    const std::uint32_t m = n / 2;
    const std::uint32_t p0 = points[source.offset];
    const std::uint32_t pm = points[source.offset + m];
    AppendFreshVector(t, p0, pm);
    const std::vector<std::uint32_t> loop(points.begin() + source.offset,
                                          points.begin() + source.offset + n);
    const auto offsetA = static_cast<std::uint32_t>(points.size());
    points.insert(points.end(), loop.begin(), loop.begin() + m + 1);
    const auto offsetB = static_cast<std::uint32_t>(points.size());
    points.insert(points.end(), loop.begin() + m, loop.end());
    points.push_back(p0);
    const Piece a{source.root, offsetA, m + 1};
    const Piece b{source.root, offsetB, n - m + 1};
    for (const Piece& piece : {a, b}) {
      if (piece.count > 3) queue.push_back(static_cast<std::uint32_t>(pieces.size()));
      pieces.push_back(piece);
    }
  }
  const std::uint32_t splitCount = static_cast<std::uint32_t>(queue.size());

  // Final numbers: unsplit originals in order, then every triangle piece.
  std::vector<std::uint32_t> finalIndex(pieces.size(), kNoIndex);
  std::uint32_t next = 0;
  for (std::uint32_t k = 0; k < originals; ++k) {
    if (!split[k]) finalIndex[k] = next++;
  }
  const std::uint32_t firstPiece = next;
  for (std::size_t id = originals; id < pieces.size(); ++id) {
    if (pieces[id].count <= 3) finalIndex[id] = next++;
  }
  const std::uint32_t finalCount = next;

  // The final number of the polygon a leader or view-zone entry names, or
  // kNoIndex when that polygon was split (and so deleted).
  auto finalOf = [&](std::uint32_t number) -> std::uint32_t {
    std::uint64_t id = number;
    if (number >= originals) {
      const std::uint64_t ahead = number - originals;
      const std::uint64_t atSplit = ahead / 2;
      if (atSplit >= splitCount)
        return static_cast<std::uint32_t>(finalCount + ahead - 2 * splitCount);
      id = originals + 2 * atSplit + ahead % 2;
    }
    return finalIndex[id];
  };
  auto outcome = [&](const Polygon& root) -> LeaderOutcome {
    if (!(root.flags & PolyFlag::kAdopted)) return {false, root.viewZones[0]};
    const std::uint32_t leader = finalOf(root.viewZones[0]);
    if (leader == kNoIndex) return {false, 0};
    return {true, leader};
  };
  auto applyOutcome = [](Polygon& poly, const LeaderOutcome& o) {
    if (!(poly.flags & PolyFlag::kAdopted)) return;
    if (o.adopted) {
      poly.viewZones[0] = o.leader;
    } else {
      ReleaseLeader(poly);
    }
  };

  // The attributes the pieces inherit, saved before compaction overwrites
  // their sources.
  std::vector<Polygon> roots;
  std::vector<std::uint32_t> rootSlot(originals, kNoIndex);
  for (std::uint32_t k = 0; k < originals; ++k) {
    if (!split[k]) continue;
    rootSlot[k] = static_cast<std::uint32_t>(roots.size());
    roots.push_back(t.polygons[k]);
  }
  std::vector<LeaderOutcome> outcomes(originals);
  for (std::uint32_t k = 0; k < originals; ++k) outcomes[k] = outcome(t.polygons[k]);

  for (std::uint32_t k = 0; k < originals; ++k) {
    if (split[k]) continue;
    const std::uint32_t to = finalIndex[k];
    if (to != k) {
      t.polygons[to] = t.polygons[k];
      t.polygonSelected[to] = t.polygonSelected[k];
    }
    RenumberViewZoneEntries(t.polygons[to], false, finalOf);
    applyOutcome(t.polygons[to], outcomes[k]);
  }
  for (std::size_t id = originals; id < pieces.size(); ++id) {
    const Piece& piece = pieces[id];
    if (piece.count > 3) continue;
    const Polygon& root = roots[rootSlot[piece.root]];
    Polygon& poly = t.polygons[finalIndex[id]];
    poly.depth = root.depth;
    poly.pointCount = piece.count;
    poly.vectorCount = piece.count;
    poly.viewZoneCount = root.viewZoneCount;
    poly.flags = root.flags;
    poly.frontFill = root.frontFill;
    poly.backFill = root.backFill;
    std::copy(root.viewZones, root.viewZones + kMaxViewZones, poly.viewZones);
    std::copy(points.begin() + piece.offset, points.begin() + piece.offset + piece.count,
              poly.points);
    poly.frontColor = root.frontColor;
    poly.backColor = root.backColor;
    RenumberViewZoneEntries(poly, false, finalOf);
    applyOutcome(poly, outcomes[piece.root]);
    t.polygonSelected[finalIndex[id]] = kSelected;
  }
  t.polygonCount = finalCount;
  RebuildVectorLists(t, firstPiece, finalCount);
  return true;
}

}  // namespace ws
