#include "editor/shell/commands.h"

#include <climits>
#include <cstdio>

#include "editor/shell/command_ids.h"
#include "import/import_dispatch.h"
#include "import/object_exporters.h"
#include "model/cluster.h"
#include "model/color_ops.h"
#include "model/object_text.h"

namespace ws {
namespace {

bool EndsWithExactly(const std::string& path, std::string_view suffix) {
  return path.size() > suffix.size() &&
         path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Keeps the preferences record in step with the options, so that Start New
// Cluster and the exit write what the user sees.
void StoreDisplay(CommandContext& ctx, const DisplayOptions& d) {
  ctx.views.SetDisplay(d);
  StoreOptions(d, ctx.model.preferences);
  ctx.shell.RequestRedraw();
}

template <typename Change>
CommandHandler DisplayCommand(Change change) {
  return [change](CommandContext& ctx) {
    DisplayOptions d = ctx.views.Display();
    change(d);
    StoreDisplay(ctx, d);
  };
}

CommandHandler ModelCommand(void (*op)(Model&)) {
  return [op](CommandContext& ctx) {
    op(ctx.model);
    ctx.shell.RequestRedraw();
  };
}

template <typename R>
CommandHandler ModelCommand(R (*op)(Model&)) {
  return [op](CommandContext& ctx) {
    op(ctx.model);
    ctx.shell.RequestRedraw();
  };
}

// Cluster commands followed by the new-object reset when they succeed.
CommandHandler ResettingCommand(bool (*op)(Model&)) {
  return [op](CommandContext& ctx) {
    if (op(ctx.model)) NewObjectReset(ctx);
    ctx.shell.RequestRedraw();
  };
}

void SetWalkEditMode(CommandContext& ctx, int mode) {
  ctx.shell.walkEditMode = mode;
  if (ctx.shell.quickCommandsShown) {
    ctx.views.SetQuickCommandsShown(true, ctx.shell.mode, ctx.shell.walkModeActive, mode);
  }
}

void SelectEverything(ObjectTables& t, std::uint32_t mark) {
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) t.vectors[i].selected = mark;
  for (std::uint32_t i = 0; i < t.polygonCount; ++i) t.polygonSelected[i] = mark;
}

void SelectSameColor(CommandContext& ctx) {
  ObjectTables& t = ctx.model.tables;
  const std::int32_t hovered = ctx.shell.hoveredPolygon;
  if (hovered < 0 || static_cast<std::uint32_t>(hovered) >= t.polygonCount) {
    ctx.model.ui().ShowNote(kMsgSameColorNoPolygon);
    return;
  }
  const std::uint8_t color = t.polygons[hovered].frontColor;
  for (std::uint32_t i = 0; i < t.polygonCount; ++i) {
    if (t.polygons[i].frontColor == color) t.polygonSelected[i] = kSelected;
  }
  ctx.shell.RequestRedraw();
}

void OpenCommand(CommandContext& ctx) {
  std::optional<std::string> path =
      ctx.model.ui().AskOpenPath("Select directory..", OpenDialogFilters());
  if (!path) return;
  OpenPath(ctx, Cmd::kOpen, *path);
}

void UndoCommand(CommandContext& ctx) {
  if (ctx.model.PopUndo()) ctx.shell.RequestRedraw();
}

}  // namespace

bool CommandRegistry::Dispatch(CommandContext& ctx, int id) const {
  auto it = handlers_.find(id);
  if (it == handlers_.end()) return false;
  it->second(ctx);
  ctx.shell.RequestMenuRefresh();
  return true;
}

void PlaySoundEffect(CommandContext& ctx, int n) {
  if (!ctx.views.Display().soundEffects || !ctx.sound) return;
  if (n < 0 || static_cast<std::size_t>(n) >= ctx.model.sounds.size()) return;
  const auto& wav = ctx.model.sounds[n];
  if (wav.empty()) return;
  ctx.sound->Play(wav);
}

int LeadingInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    // Saturate rather than overflow: the callers range-check the result.
    if (value < static_cast<long long>(INT_MAX) + 1) value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int AskNumber(Ui& ui, std::string_view question, std::string* answer) {
  std::optional<std::string> text = ui.AskValue(question, "");
  if (!text) return -1;
  if (answer) *answer = *text;
  return LeadingInteger(*text);
}

void SetUnits(CommandContext& ctx) {
  for (;;) {
    const int value = AskNumber(ctx.model.ui(), kPromptGridValue);
    if (value == -1) return;
    if (value >= 1 && value <= 50) {
      ctx.views.SetGridStep(value);
      ctx.shell.RequestRedraw();
      return;
    }
    ctx.model.ui().ShowNote(kMsgValueOutOfRange);
  }
}

void SetGuideFrame(CommandContext& ctx) {
  auto ask = [&](std::string_view prompt, double& half) {
    for (;;) {
      const int value = AskNumber(ctx.model.ui(), prompt);
      if (value == -1) return false;
      if (value >= 2 && value <= 10000) {
        half = value / 2;
        return true;
      }
      ctx.model.ui().ShowNote(kMsgValueOutOfRange);
    }
  };
  DisplayOptions d = ctx.views.Display();
  if (!ask(kPromptGuideWidth, d.guideHalfWidth)) return;
  ask(kPromptGuideHeight, d.guideHalfHeight);
  StoreDisplay(ctx, d);
}

void NewObjectReset(CommandContext& ctx) {
  ctx.shell.mode = EditorMode::kPlot;
  SetHelpText(ctx.shell, kHelpPlotVectors);
  if (ctx.hooks.newObjectReset) ctx.hooks.newObjectReset();
  ctx.shell.RequestRedraw();
}

void ExitCommand(CommandContext& ctx) {
  for (auto& sound : ctx.model.sounds) sound.clear();
  if (ctx.shell.walkModeActive && ctx.hooks.endWalkMode) ctx.hooks.endWalkMode();
  ctx.shell.quit = true;
}

bool OpenPath(CommandContext& ctx, int mode, const std::string& path) {
  Model& model = ctx.model;
  ctx.shell.RequestRedraw();
  if (EndsWithExactly(path, ".wdc")) return LoadCluster(model, path);
  if (EndsWithExactly(path, ".wdo")) {
    if (mode == Cmd::kOpen && !StartNewCluster(model)) return false;
    if (mode == Cmd::kInsert && !NewObject(model, kInsertedObjectName)) return false;
    if (mode != Cmd::kMerge) NewObjectReset(ctx);
    return LoadObjectText(model, path);
  }
  if (ctx.hooks.importFile) return ctx.hooks.importFile(mode, path);
  // Without the scene import the file is refused before the cluster is
  // touched, so nothing the user had is lost.
  char text[1100];
  std::snprintf(text, sizeof text, "Could not import \"%s\"", path.c_str());
  model.ui().ShowNote(text);
  return false;
}

Preferences CurrentPreferences(const CommandContext& ctx) {
  Preferences p = ctx.model.preferences;
  StoreOptions(ctx.views.Display(), p);
  return p;
}

void ApplyPreferences(CommandContext& ctx, const Preferences& prefs) {
  ctx.model.preferences = prefs;
  DisplayOptions d = OptionsFromPreferences(prefs);
  // The guide frame check box keeps its state; it is not in the record.
  d.guideFrame = ctx.views.Display().guideFrame;
  ctx.views.SetDisplay(d);
}

MenuInputs CollectMenuInputs(const CommandContext& ctx, const CommandRegistry& registry) {
  MenuInputs in;
  const ShellState& s = ctx.shell;
  const DisplayOptions d = ctx.views.Display();
  in.walkModeActive = s.walkModeActive;
  in.walkEditMode = s.walkEditMode;
  in.viewZoneChosen = s.viewZoneChosen;
  in.marqueeSelection = s.marqueeSelection;
  in.rendererChoice = s.rendererChoice;
  in.viewerShading = s.viewerShading;
  in.soundEffects = d.soundEffects;
  in.instantViewChange = d.instantViewChange;
  in.thickLine = d.thickLine;
  in.vectorFilter = d.vectorFilter;
  in.showInvisiblePolygons = d.showInvisible;
  in.showBackfacedPolygons = d.showBackfaced;
  in.undo = ctx.model.undo.UndoMenuState();
  in.objectCount = ctx.model.cluster.objectNames.size();
  if (ctx.model.tables.allocated()) in.polygons = SummarizePolygonSelection(ctx.model.tables);
  in.wired = [&registry](int id) { return registry.IsWired(id); };
  return in;
}

void RegisterCoreCommands(CommandRegistry& r) {
  r.Register(Cmd::kOpen, OpenCommand);
  r.Register(Cmd::kSaveObject, ModelCommand(&SaveObjectText));
  r.Register(Cmd::kSaveObjectAs, [](CommandContext& ctx) {
    SaveObjectAs(ctx.model, StandardObjectExporters(ctx.shell.walkModeActive));
  });
  r.Register(Cmd::kSaveCluster, ModelCommand(&SaveCluster));
  r.Register(Cmd::kSaveClusterAsObjects, ModelCommand(&SaveClusterAsObjects));
  r.Register(Cmd::kStartNewCluster, ResettingCommand(&StartNewCluster));
  r.Register(Cmd::kRestoreLastSession, ModelCommand(&RestoreLastSession));
  r.Register(Cmd::kLoadColorTable, ModelCommand(&LoadColorTable));
  r.Register(Cmd::kSaveColorTableAs, ModelCommand(&SaveColorTableAs));
  r.Register(Cmd::kExit, ExitCommand);

  r.Register(Cmd::kUndo, UndoCommand);
  r.Register(Cmd::kSetUnits, SetUnits);
  r.Register(Cmd::kSoundEffects,
             DisplayCommand([](DisplayOptions& d) { d.soundEffects = !d.soundEffects; }));
  r.Register(Cmd::kInstantViewChange,
             DisplayCommand([](DisplayOptions& d) { d.instantViewChange = !d.instantViewChange; }));
  r.Register(Cmd::kSelectAllPolygons,
             [](CommandContext& ctx) { ctx.shell.marqueeSelection = kMarqueeAllPolygons; });
  r.Register(Cmd::kSelectBackFacedOnly,
             [](CommandContext& ctx) { ctx.shell.marqueeSelection = kMarqueeBackFacedOnly; });
  r.Register(Cmd::kSelectFrontFacedOnly,
             [](CommandContext& ctx) { ctx.shell.marqueeSelection = kMarqueeFrontFacedOnly; });
  r.Register(Cmd::kWalkColorPolygon,
             [](CommandContext& ctx) { SetWalkEditMode(ctx, kWalkEditColour); });
  r.Register(Cmd::kWalkFlipPolygonFace,
             [](CommandContext& ctx) { SetWalkEditMode(ctx, kWalkEditFlipFace); });
  r.Register(Cmd::kWalkSetViewZonePriorities,
             [](CommandContext& ctx) { SetWalkEditMode(ctx, kWalkEditViewZones); });

  r.Register(Cmd::kThickLine,
             DisplayCommand([](DisplayOptions& d) { d.thickLine = !d.thickLine; }));
  r.Register(Cmd::kAllVectors, DisplayCommand([](DisplayOptions& d) { d.vectorFilter = 0; }));
  r.Register(Cmd::kFrontVectorsOnly, DisplayCommand([](DisplayOptions& d) { d.vectorFilter = 1; }));
  r.Register(Cmd::kBackVectorsOnly, DisplayCommand([](DisplayOptions& d) { d.vectorFilter = 2; }));
  r.Register(Cmd::kInvisiblePolygons,
             DisplayCommand([](DisplayOptions& d) { d.showInvisible = !d.showInvisible; }));
  r.Register(Cmd::kBackfacedPolygons,
             DisplayCommand([](DisplayOptions& d) { d.showBackfaced = !d.showBackfaced; }));
  r.Register(Cmd::kTogglePerspective,
             DisplayCommand([](DisplayOptions& d) { d.perspective = !d.perspective; }));
  r.Register(Cmd::kRenderSoftware, [](CommandContext& ctx) {
    ctx.shell.rendererChoice = kRendererSoftware;
    ctx.shell.RequestRedraw();
  });

  r.Register(Cmd::kObjectNew, ResettingCommand(&NewObjectCommand));
  r.Register(Cmd::kObjectRename, ModelCommand(&RenameObject));
  r.Register(Cmd::kDeleteFromCluster, ResettingCommand(&DeleteObject));

  r.Register(Cmd::kAbout, [](CommandContext& ctx) {
    if (ctx.hooks.showAbout) ctx.hooks.showAbout();
  });

  r.Register(Cmd::kPopupUnselect, [](CommandContext& ctx) {
    SelectEverything(ctx.model.tables, kUnselected);
    ctx.shell.RequestRedraw();
  });
  r.Register(Cmd::kPopupSelectAll, [](CommandContext& ctx) {
    SelectEverything(ctx.model.tables, kSelected);
    ctx.shell.RequestRedraw();
  });
  r.Register(Cmd::kPopupSelectSameColor, SelectSameColor);

  r.Register(Cmd::kSetGuideFrame, SetGuideFrame);
  r.Register(Cmd::kScale100, [](CommandContext& ctx) {
    ctx.views.Scale100();
    ctx.shell.RequestRedraw();
  });
  r.Register(Cmd::kScale50, [](CommandContext& ctx) {
    ctx.views.Scale50();
    ctx.shell.RequestRedraw();
  });
  r.Register(Cmd::kApplyScale, [](CommandContext& ctx) {
    ctx.views.ApplyScale();
    ctx.shell.RequestRedraw();
  });
}

}  // namespace ws
