// The main window: the menu bar built from the core's menu table, and the
// control column of dialog 102 at the template's positions (dialog units
// converted with the font's base units), with the EditArea to its right.
// The window only shows and reports; EditorApp (editor_app.h) decides.
#pragma once

#include <QComboBox>
#include <QMainWindow>
#include <QMap>
#include <functional>

#include "editor/shell/control_column.h"
#include "editor/shell/menu_state.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QSlider;

namespace ws {

class EditArea;

// Converts dialog units to pixels for a font: x by the average character
// width / 4, y by the character height / 8.
struct DialogUnits {
  int baseX = 6;
  int baseY = 13;
  int X(int du) const { return (du * baseX + 2) / 4; }
  int Y(int du) const { return (du * baseY + 4) / 8; }
  QRect Rect(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(w), Y(h)); }
  static DialogUnits ForFont(const QFont& font);
};

// The client area: paints the toggle buttons and the colour swatch, and
// reports mouse presses and releases over the control column.
class ControlPane : public QWidget {
  Q_OBJECT
 public:
  explicit ControlPane(QWidget* parent);
  const ControlColumn* column = nullptr;
  std::function<bool(int index)> togglePressed;
  QColor swatchColor = Qt::black;
  std::function<void(QMouseEvent*)> mousePressed;
  std::function<void(QMouseEvent*)> mouseReleased;
  // Moves while a button is held (the colour chooser follows them).
  std::function<void(QMouseEvent*)> mouseMoved;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
};

// The object list (control 1002): an editable drop-down. Its arrow keys
// switch objects only while the list is open, and it gives the keyboard
// back (`done`) when the list closes and when Enter or Escape ends a name,
// so that the editor's keys are never typed into the name field by
// accident.
class ObjectList : public QComboBox {
  Q_OBJECT
 public:
  explicit ObjectList(QWidget* parent);
  void hidePopup() override;
  std::function<void()> done;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow();

  ControlPane* pane() const { return pane_; }
  EditArea* editArea() const { return editArea_; }
  ObjectList* objectList() const { return objectList_; }
  QLabel* statusTitle() const { return statusTitle_; }
  QLabel* helpText() const { return helpText_; }
  QLabel* modeStrip() const { return modeStrip_; }
  QGroupBox* helpBox() const { return helpBox_; }
  QGroupBox* scaleBox() const { return scaleBox_; }
  QSlider* slider() const { return slider_; }
  QPushButton* button100() const { return button100_; }
  QPushButton* buttonApply() const { return buttonApply_; }
  QPushButton* buttonSet() const { return buttonSet_; }
  QCheckBox* guideFrame() const { return guideFrame_; }
  QCheckBox* hideEnvironment() const { return hideEnvironment_; }
  QAction* action(int id) const { return actions_.value(id, nullptr); }
  QMenu* popupMenu() const { return popup_; }
  const DialogUnits& units() const { return units_; }

  // Right edge of the "Interactive Help" box and the strip's rectangle, in
  // client pixels.
  int HelpBoxRight() const;
  IntRect ModeStripRect() const;
  // The template's client size.
  QSize TemplateClientSize() const;

  void ApplyMenuState(const MenuState& state);
  void SetMode(int mode);

  // Every menu item and pop-up item reports its id here.
  std::function<void(int id)> commandTriggered;
  // The window's close box (the loop decides what happens).
  std::function<void()> closeRequested;
  std::function<void()> sizeChanged;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildMenus();
  void BuildControls();

  DialogUnits units_;
  ControlPane* pane_ = nullptr;
  EditArea* editArea_ = nullptr;
  ObjectList* objectList_ = nullptr;
  QLabel* statusTitle_ = nullptr;
  QLabel* helpText_ = nullptr;
  QLabel* modeStrip_ = nullptr;
  QGroupBox* helpBox_ = nullptr;
  QGroupBox* scaleBox_ = nullptr;
  QSlider* slider_ = nullptr;
  QPushButton* button100_ = nullptr;
  QPushButton* buttonApply_ = nullptr;
  QPushButton* buttonSet_ = nullptr;
  QCheckBox* guideFrame_ = nullptr;
  QCheckBox* hideEnvironment_ = nullptr;
  QMenu* popup_ = nullptr;
  QMap<int, QAction*> actions_;
  int shownMode_ = -1;
};

}  // namespace ws
