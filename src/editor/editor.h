// The Editor aggregate: the model of the current object and cluster, the
// display state of the EditArea (EditorDisplay), the hit tester, and the
// current EditView (the software view unless another is installed). One
// instance per editor window (or test); two never share state.
//
// What the window system supplies comes in through small hooks: a
// Presenter that shows the bitmap, and `yieldProcessor`, run once per step
// of an animated view turn. The main window's tick, menus and modes build
// on this class; it keeps only the view operations:
//   Layout        the layout rule for a client size, re-creating the
//                 surface and the fill tables ("CD_Offscreen failed.",
//                 "Not enough memory for polygon filling." and the fatal
//                 flag on failure);
//   ShowFrame     ProjectAll, DrawFrame(0), Present(local, EditArea);
//   TurnToView    the view letters F, E, L, R, T, B;
//   the free-rotation drag steps;
//   the scale controls, each showing a frame outside walk mode.
// As the model's observer it follows colour-table changes (the surface
// palette, the axis label colours) and object replacement (the view reset
// with every selection mark and the hover cleared).
#pragma once

#include <functional>
#include <memory>

#include "editor/view/display.h"
#include "editor/view/edit_view.h"
#include "editor/view/hit_test.h"
#include "editor/view/software_view.h"
#include "model/model.h"

namespace ws {

class Editor final : public ModelObserver {
 public:
  explicit Editor(Runtime& rt, std::uint32_t sparkleSeed = 1);
  ~Editor() override;
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  Model model;
  EditorDisplay display;
  HitTester hitTester;
  // Runs after each 2-degree step of an animated turn, before its frame.
  std::function<void()> yieldProcessor;

  EditView& view() { return *current_; }
  SoftwareEditView& softwareView() { return *software_; }
  // Makes `view` the current EditView (null: the software view again). The
  // caller keeps ownership and must outlive its use.
  void SetEditView(EditView* view) { current_ = view ? view : software_.get(); }
  void SetPresenter(Presenter* presenter) { software_->SetPresenter(presenter); }

  // After the model's start-up (preferences read, colour table and glyphs
  // loaded): the display options from the preferences record, the axis
  // labels, the view reset.
  void InitialiseDisplay();
  // The layout rule for a client size; the first successful layout clears
  // the first-layout flag. False (message shown) when the surface or the
  // fill tables cannot be had, or while the client size is zero.
  bool Layout(int clientWidth, int clientHeight, int helpBoxRight);
  // The same for an EditArea of exactly width x height (headless use).
  bool LayoutArea(int width, int height);

  void ShowFrame();
  // Turns to the view of a letter, animated unless Instant View Change is
  // on. False when the letter names no view or the current one.
  bool TurnToView(char letter);

  // A free-rotation drag (started by selection in empty space): Begin
  // resets the turn matrices and sets the in-progress flag (the tick skips
  // its hover work meanwhile); each Step turns the orientation from one
  // cursor position to the next (EditArea-local), advances the ants and
  // shows a frame; End clears the flag.
  void BeginFreeRotation();
  void FreeRotationStep(int fromX, int fromY, int toX, int toY);
  void EndFreeRotation() { display.view.rotationInProgress = false; }

  void SetSlider(int position);
  void Scale100();
  void Scale50();
  void ApplyScale();

  void ColorTableChanged() override;
  void ObjectReplaced() override;

 private:
  bool FinishLayout();
  void FrameOutsideWalk();

  std::unique_ptr<SoftwareEditView> software_;
  EditView* current_ = nullptr;
};

}  // namespace ws
