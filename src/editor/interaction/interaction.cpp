#include "editor/interaction/interaction.h"

#include "editor/shell/editor_binding.h"

namespace ws {

void PlaySound(EditContext& ctx, int n) {
  if (!ctx.playSound || !ctx.display().options.soundEffects) return;
  ctx.playSound(n);
}

void SyncFrame(EditContext& ctx) { EditorBinding(ctx.editor, ctx.shell).SyncFrameState(); }

void ShowFrameNow(EditContext& ctx) {
  SyncFrame(ctx);
  ctx.editor.ShowFrame();
}

int LocalX(const EditContext& ctx, int clientX) {
  return clientX - ctx.editor.display.layout.editArea.left;
}

int LocalY(const EditContext& ctx, int clientY) {
  return clientY - ctx.editor.display.layout.editArea.top;
}

bool InsideEditArea(const EditContext& ctx, int clientX, int clientY) {
  const EditorDisplay& d = ctx.editor.display;
  return !d.frame.firstLayoutPending && d.layout.editArea.Contains(clientX, clientY);
}

void SetCurrentColour(InteractionState& state, std::uint8_t colour) {
  state.currentColour = colour;
  state.currentFill = FillWord(colour);
  ++state.swatchVersion;
}

}  // namespace ws
