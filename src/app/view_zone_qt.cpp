#include "app/view_zone_qt.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/qt_ui.h"
#include "editor/interaction/view_zone_dialog.h"

namespace ws {

ViewZoneQtDialog::ViewZoneQtDialog(ViewZoneDialog& logic, QWidget* parent)
    : QDialog(parent), logic_(logic) {
  setWindowTitle(ToQString(kViewZoneDialogTitle));
  setObjectName(QString("dialog%1").arg(kViewZoneDialogId));
  auto* grid = new QGridLayout(this);
  auto* help = new QLabel(ToQString(kViewZoneHelp), this);
  help->setWordWrap(true);
  grid->addWidget(help, 0, 0, 1, 4);

  polygons_ = new QComboBox(this);
  polygons_->setObjectName(QString("combo%1").arg(kViewZonePolygonComboId));
  for (const std::string& text : logic_.polygonChoices())
    polygons_->addItem(QString::fromStdString(text));
  priority_ = new QComboBox(this);
  priority_->setObjectName(QString("combo%1").arg(kViewZonePriorityComboId));
  for (const std::string& text : ViewZoneDialog::PriorityChoices()) {
    priority_->addItem(QString::fromStdString(text));
  }
  grid->addWidget(polygons_, 1, 0);
  grid->addWidget(new QLabel(ToQString(kViewZoneHasA), this), 1, 1);
  grid->addWidget(priority_, 1, 2);
  grid->addWidget(new QLabel(ToQString(kViewZonePriorityWhenSeen), this), 1, 3);
  grid->addWidget(new QLabel(ToQString(kViewZoneStanding), this), 2, 0, 1, 4);

  auto* add = new QPushButton(ToQString(kViewZoneAdd), this);
  add->setObjectName(QString("button%1").arg(kViewZoneAddId));
  list_ = new QListWidget(this);
  list_->setObjectName(QString("list%1").arg(kViewZoneListId));
  auto* remove = new QPushButton(ToQString(kViewZoneDelete), this);
  remove->setObjectName(QString("button%1").arg(kViewZoneDeleteId));
  auto* done = new QPushButton(ToQString(kViewZoneDone), this);
  done->setDefault(true);
  grid->addWidget(add, 3, 0);
  grid->addWidget(list_, 4, 0, 1, 4);
  grid->addWidget(remove, 5, 0);
  grid->addWidget(done, 5, 3);

  connect(polygons_, qOverload<int>(&QComboBox::currentIndexChanged), this,
          [this](int i) { logic_.polygonChoice = i; });
  connect(priority_, qOverload<int>(&QComboBox::currentIndexChanged), this,
          [this](int i) { logic_.priorityChoice = i; });
  connect(list_, &QListWidget::currentRowChanged, this,
          [this](int row) { logic_.listSelection = row; });
  connect(add, &QPushButton::clicked, this, [this] {
    if (logic_.Add()) RefreshList();
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (logic_.Delete()) RefreshList();
  });
  connect(done, &QPushButton::clicked, this, &QDialog::accept);
  RefreshList();
}

void ViewZoneQtDialog::RefreshList() {
  const QSignalBlocker block(list_);
  list_->clear();
  for (const std::string& text : logic_.Listing()) list_->addItem(QString::fromStdString(text));
  list_->setCurrentRow(logic_.listSelection);
}

}  // namespace ws
