#include "editor/interaction/attributes.h"

#include "editor/interaction/view_zone_dialog.h"
#include "editor/shell/command_ids.h"
#include "editor/shell/commands.h"

namespace ws {
namespace {

using namespace PolyFlag;

constexpr std::uint32_t kVisibilityBits =
    kInvisible | kNotVisibleFromCollision | kNeverDrawBackFace | kHigherPriority;
constexpr std::uint32_t kColourModeBits = kShaded | kSelectedColor | kEachSideDifferent;

std::uint32_t SelectedCount(const ObjectTables& t) {
  std::uint32_t n = 0;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) n += t.polygonSelected[k] != kUnselected;
  return n;
}

std::uint8_t ShadeBase(std::uint8_t colour) { return static_cast<std::uint8_t>(colour & 0xF8u); }

// The new flags of one polygon for command `id`; `one` when it is the only
// polygon selected.
std::uint32_t ChangedFlags(std::uint32_t f, int id, bool one) {
  switch (id) {
    case Cmd::kStyleNormal:
      return f & ~(kOutline | kBordered);
    case Cmd::kStyleBordered:
      return (f | kBordered) & ~kOutline;
    case Cmd::kOutlineStyle:
      return (f | kOutline) & ~kBordered;
    case Cmd::kColorSelected:
      return (f | kSelectedColor) & ~(kShaded | kAdopted);
    case Cmd::kColorShaded:
      return (f | kShaded) & ~(kSelectedColor | kAdopted);
    case Cmd::kColorEachSide:
      if (one) {
        f ^= kEachSideDifferent;
        return (f & kEachSideDifferent) != 0 ? f & ~kAdopted : f;
      }
      return (f | kEachSideDifferent) & ~kAdopted;
    case Cmd::kVisibilityNormal:
      return f & ~kVisibilityBits;
    case Cmd::kVisibilityInvisible:
      return (f | kInvisible) & ~(kVisibilityBits & ~kInvisible);
    case Cmd::kVisibilityNeverBackFace:
      return one ? (f ^ kNeverDrawBackFace) & ~kInvisible : f | kNeverDrawBackFace;
    case Cmd::kVisibilityNotFromCollision:
      return one ? f ^ kNotVisibleFromCollision : f | kNotVisibleFromCollision;
    case Cmd::kVisibilityHigherPriority:
      return (one ? f ^ kHigherPriority : f | kHigherPriority) & ~kInvisible;
    case Cmd::kPurposeNormal:
      return f & ~(kCollision | kEntrance | kViewZone);
    case Cmd::kPurposeCollision:
      return (f | kCollision) & ~kEntrance;
    case Cmd::kPurposeEntrance:
      return (f | kEntrance) & ~kCollision;
    default:
      return f;
  }
}

}  // namespace

bool IsAttributeCommand(int id) {
  switch (id) {
    case Cmd::kStyleNormal:
    case Cmd::kStyleBordered:
    case Cmd::kOutlineStyle:
    case Cmd::kColorSelected:
    case Cmd::kColorShaded:
    case Cmd::kColorAdopted:
    case Cmd::kColorEachSide:
    case Cmd::kVisibilityNormal:
    case Cmd::kVisibilityInvisible:
    case Cmd::kVisibilityNeverBackFace:
    case Cmd::kVisibilityNotFromCollision:
    case Cmd::kVisibilityHigherPriority:
    case Cmd::kPurposeNormal:
    case Cmd::kPurposeCollision:
    case Cmd::kPurposeEntrance:
    case Cmd::kPurposeViewZone:
      return true;
    default:
      return false;
  }
}

std::uint32_t ApplyAttributeCommand(ObjectTables& t, int id) {
  if (!IsAttributeCommand(id) || id == Cmd::kColorAdopted || id == Cmd::kPurposeViewZone) return 0;
  const bool one = SelectedCount(t) == 1;
  std::uint32_t changed = 0;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    if (t.polygonSelected[k] == kUnselected) continue;
    Polygon& poly = t.polygons[k];
    poly.flags = ChangedFlags(poly.flags, id, one);
    if (id == Cmd::kColorShaded) {
      poly.viewZones[0] = 0;
      poly.frontColor = ShadeBase(poly.frontColor);
      poly.backColor = ShadeBase(poly.backColor);
      poly.frontFill = FillWord(poly.frontColor);
      poly.backFill = FillWord(poly.backColor);
    }
    ++changed;
  }
  return changed;
}

std::uint32_t AdoptFromGroupLeader(ObjectTables& t, std::uint32_t leader) {
  if (leader >= t.polygonCount) return 0;
  std::uint32_t changed = 0;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    if (t.polygonSelected[k] == kUnselected) continue;
    Polygon& poly = t.polygons[k];
    poly.flags = (poly.flags | kAdopted) & ~kColourModeBits;
    poly.viewZones[0] = leader;
    // Read after this polygon changed: a leader among the selection gives
    // what it now holds.
    poly.flags |= t.polygons[leader].flags & kColourModeBits;
    ++changed;
  }
  return changed;
}

std::optional<std::uint32_t> AskGroupLeader(Ui& ui, std::uint32_t polygonCount) {
  for (;;) {
    const int answer = AskNumber(ui, kPromptGroupLeader);
    if (answer == -1) return std::nullopt;
    if (answer >= 0 && static_cast<std::uint32_t>(answer) < polygonCount) {
      return static_cast<std::uint32_t>(answer);
    }
    ui.ShowNote(kMsgNoSuchPolygon);
  }
}

std::optional<std::string_view> ViewZoneRefusal(const ObjectTables& t) {
  const std::uint32_t n = SelectedCount(t);
  if (n >= 2) return kMsgViewZoneSeveral;
  if (n == 0) return kMsgViewZoneNone;
  if (t.polygonCount < 2) return kMsgViewZoneNoOthers;
  return std::nullopt;
}

bool SetViewZone(EditContext& ctx) {
  ObjectTables& t = ctx.tables();
  if (std::optional<std::string_view> refusal = ViewZoneRefusal(t)) {
    ctx.ui().ShowNote(*refusal);
    return false;
  }
  if (!ctx.runViewZoneDialog) return false;
  ViewZoneDialog dialog(t, ctx.ui());
  const bool modal = ctx.shell.modalDialogOpen;
  ctx.shell.modalDialogOpen = true;
  const bool done = ctx.runViewZoneDialog(dialog);
  ctx.shell.modalDialogOpen = modal;
  if (!done || dialog.zone() >= t.polygonCount) return false;
  dialog.Commit(t);
  t.polygons[dialog.zone()].flags |= kViewZone;
  return true;
}

bool RunAttributeCommand(EditContext& ctx, int id) {
  if (!IsAttributeCommand(id)) return false;
  ObjectTables& t = ctx.tables();
  if (t.allocated()) {
    if (id == Cmd::kPurposeViewZone) {
      // Its checks speak also when nothing is selected.
      SetViewZone(ctx);
    } else if (SelectedCount(t) > 0) {
      if (id != Cmd::kColorAdopted) {
        ApplyAttributeCommand(t, id);
      } else if (std::optional<std::uint32_t> leader = AskGroupLeader(ctx.ui(), t.polygonCount)) {
        AdoptFromGroupLeader(t, *leader);
      }
    }
  }
  ctx.shell.RequestRedraw();
  ctx.shell.RequestMenuRefresh();
  return true;
}

}  // namespace ws
