#include "app/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <vector>

#include "app/art.h"
#include "app/edit_area.h"
#include "editor/shell/menu_table.h"

namespace ws {

DialogUnits DialogUnits::ForFont(const QFont& font) {
  const QFontMetrics fm(font);
  const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  DialogUnits u;
  u.baseX = (fm.horizontalAdvance(letters) / 26 + 1) / 2;
  u.baseY = fm.height();
  if (u.baseX < 1) u.baseX = 1;
  if (u.baseY < 1) u.baseY = 1;
  return u;
}

ControlPane::ControlPane(QWidget* parent) : QWidget(parent) { setObjectName("controlPane"); }

void ControlPane::paintEvent(QPaintEvent*) {
  if (!column || !column->placed) return;
  QPainter p(this);
  for (int i = 0; i < kToggleCount; ++i) {
    const IntRect& r = column->icons[i];
    const bool pressed = togglePressed && togglePressed(i);
    p.drawImage(r.left, r.top, art::ToggleIcon(i, pressed));
  }
  const IntRect& s = column->swatch;
  const QRect swatch(s.left, s.top, s.right - s.left + 1, s.bottom - s.top + 1);
  p.fillRect(swatch, swatchColor);
  p.setPen(Qt::black);
  p.drawRect(swatch.adjusted(0, 0, -1, -1));
}

void ControlPane::mousePressEvent(QMouseEvent* event) {
  if (mousePressed) mousePressed(event);
}
void ControlPane::mouseReleaseEvent(QMouseEvent* event) {
  if (mouseReleased) mouseReleased(event);
}
void ControlPane::mouseMoveEvent(QMouseEvent* event) {
  if (mouseMoved) mouseMoved(event);
}

ObjectList::ObjectList(QWidget* parent) : QComboBox(parent) {}

void ObjectList::hidePopup() {
  QComboBox::hidePopup();
  if (done) done();
}

void ObjectList::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      // A closed list would step to the next object and load it; Alt+Down
      // still opens the list.
      if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) break;
      event->accept();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      QComboBox::keyPressEvent(event);
      // Taken here: passed on, it would reach the editor as its own key.
      event->accept();
      if (done) done();
      return;
    default:
      break;
  }
  QComboBox::keyPressEvent(event);
}

MainWindow::MainWindow() {
  setObjectName("mainWindow");
  setWindowIcon(QIcon(QPixmap::fromImage(art::WindowIcon())));
  BuildMenus();
  BuildControls();
  resize(TemplateClientSize() + QSize(0, menuBar()->sizeHint().height()));
}

QSize MainWindow::TemplateClientSize() const { return QSize(units_.X(439), units_.Y(265)); }

void MainWindow::BuildMenus() {
  std::vector<QMenu*> open;
  for (const MenuEntry& e : MainMenuTable()) {
    const QString text = QString::fromUtf8(e.text.data(), static_cast<int>(e.text.size()));
    switch (e.kind) {
      case MenuEntryKind::kSubmenu:
        open.push_back(open.empty() ? menuBar()->addMenu(text) : open.back()->addMenu(text));
        break;
      case MenuEntryKind::kEnd:
        open.pop_back();
        break;
      case MenuEntryKind::kSeparator:
        open.back()->addSeparator();
        break;
      case MenuEntryKind::kItem: {
        // The shortcut text after the tab is shown, not bound: the key
        // pre-translation handles Ctrl+N, O, S, X and Z itself.
        QAction* a = open.back()->addAction(text);
        a->setData(e.id);
        actions_.insert(e.id, a);
        const int id = e.id;
        connect(a, &QAction::triggered, this, [this, id] {
          if (commandTriggered) commandTriggered(id);
        });
        break;
      }
    }
  }
  popup_ = new QMenu(this);
  for (const MenuEntry& e : PopupMenuTable()) {
    if (e.kind == MenuEntryKind::kSeparator) {
      popup_->addSeparator();
      continue;
    }
    QAction* a =
        popup_->addAction(QString::fromUtf8(e.text.data(), static_cast<int>(e.text.size())));
    const int id = e.id;
    connect(a, &QAction::triggered, this, [this, id] {
      if (commandTriggered) commandTriggered(id);
    });
  }
}

void MainWindow::BuildControls() {
  pane_ = new ControlPane(this);
  setCentralWidget(pane_);
  // The template was laid out for a small 8-point face; the controls take
  // an 8-point version of the system font and the dialog units follow it.
  QFont small = pane_->font();
  small.setPointSize(8);
  pane_->setFont(small);
  units_ = DialogUnits::ForFont(small);
  const DialogUnits& u = units_;

  auto* hintBox = new QGroupBox(pane_);
  hintBox->setGeometry(u.Rect(8, 4, 123, 27));
  auto* hint = new QLabel(tr("Press F5 for Quick Commands"), pane_);
  hint->setAlignment(Qt::AlignCenter);
  hint->setGeometry(u.Rect(15, 17, 110, 8));

  objectList_ = new ObjectList(pane_);
  objectList_->setObjectName("objectList");
  objectList_->setEditable(true);
  objectList_->setInsertPolicy(QComboBox::NoInsert);
  objectList_->setMaxVisibleItems(12);
  objectList_->move(u.X(8), u.Y(40));
  objectList_->resize(u.X(123), objectList_->sizeHint().height());

  modeStrip_ = new QLabel(pane_);
  modeStrip_->setObjectName("modeStrip");
  modeStrip_->setAttribute(Qt::WA_TransparentForMouseEvents);
  modeStrip_->setGeometry(u.X(8), u.Y(60), art::kStripWidth, art::kStripHeight);
  SetMode(4);

  statusTitle_ = new QLabel(pane_);
  statusTitle_->setObjectName("statusTitle");
  statusTitle_->setAlignment(Qt::AlignCenter);
  statusTitle_->setGeometry(u.Rect(49, 105, 82, 11));

  helpBox_ = new QGroupBox(tr("Interactive Help"), pane_);
  helpBox_->setObjectName("helpBox");
  helpBox_->setGeometry(u.Rect(8, 124, 123, 52));
  helpText_ = new QLabel(pane_);
  helpText_->setObjectName("helpText");
  helpText_->setWordWrap(true);
  helpText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // A little wider and deeper than the template's 108 x 34, so the longest
  // help text fits with this face.
  helpText_->setGeometry(u.Rect(13, 136, 114, 39));

  scaleBox_ = new QGroupBox(tr("Scale: 100%"), pane_);
  scaleBox_->setObjectName("scaleBox");
  scaleBox_->setGeometry(u.Rect(8, 185, 123, 45));
  button100_ = new QPushButton(tr("100%"), pane_);
  button100_->setGeometry(u.Rect(15, 197, 38, 12));
  buttonApply_ = new QPushButton(tr("Apply"), pane_);
  buttonApply_->setGeometry(u.Rect(15, 211, 38, 12));
  slider_ = new QSlider(Qt::Horizontal, pane_);
  slider_->setObjectName("scaleSlider");
  slider_->setRange(0, 100);
  slider_->setTickPosition(QSlider::TicksBelow);
  slider_->setTickInterval(10);
  slider_->setGeometry(u.Rect(59, 197, 66, 27));

  guideFrame_ = new QCheckBox(tr("Display Guide Frame"), pane_);
  guideFrame_->setObjectName("guideFrame");
  // The check box's text needs a little more room than the template's 81
  // units with this toolkit's box; it still ends before "Set".
  guideFrame_->setGeometry(u.Rect(8, 235, 94, 10));
  buttonSet_ = new QPushButton(tr("Set"), pane_);
  buttonSet_->setGeometry(u.Rect(104, 235, 27, 11));
  hideEnvironment_ = new QCheckBox(tr("Hide Environment"), pane_);
  hideEnvironment_->setObjectName("hideEnvironment");
  hideEnvironment_->setGeometry(u.Rect(8, 249, 90, 10));
  // Buttons must not keep the keyboard focus from the pre-translation's
  // letters, which a focused button would take as its own mnemonics.
  for (QWidget* w : std::initializer_list<QWidget*>{button100_, buttonApply_, buttonSet_, slider_,
                                                    guideFrame_, hideEnvironment_}) {
    w->setFocusPolicy(Qt::NoFocus);
  }

  editArea_ = new EditArea(pane_);
  editArea_->setGeometry(HelpBoxRight() + 10, 10, 8, 8);
}

int MainWindow::HelpBoxRight() const { return helpBox_->geometry().right(); }

IntRect MainWindow::ModeStripRect() const {
  const QRect r = modeStrip_->geometry();
  return {r.left(), r.top(), r.right(), r.bottom()};
}

void MainWindow::SetMode(int mode) {
  if (mode == shownMode_) return;
  shownMode_ = mode;
  modeStrip_->setPixmap(QPixmap::fromImage(art::ModeStrip(mode)));
}

void MainWindow::ApplyMenuState(const MenuState& state) {
  for (const auto& [id, item] : state) {
    QAction* a = actions_.value(id, nullptr);
    if (!a) continue;
    const QString text = QString::fromStdString(item.text);
    if (a->text() != text) a->setText(text);
    a->setEnabled(item.enabled);
    if (item.checked != a->isChecked()) {
      a->setCheckable(true);
      a->setChecked(item.checked);
    }
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing is Exit: the loop ends and shutdown destroys the window.
  event->ignore();
  if (closeRequested) closeRequested();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (sizeChanged) sizeChanged();
}

}  // namespace ws
