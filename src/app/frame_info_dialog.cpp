#include "app/frame_info_dialog.h"

#include <QFormLayout>
#include <QLabel>

namespace ws {
namespace {

QString Triple(float x, float y, float z) {
  return QString("%1, %2, %3").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3).arg(z, 0, 'f', 3);
}

}  // namespace

FrameInfoDialog::FrameInfoDialog(QWidget* parent, const QString& title) : QDialog(parent) {
  setWindowTitle(title);
  setModal(false);
  auto* form = new QFormLayout(this);
  auto label = [this](const char* name) {
    auto* l = new QLabel(this);
    l->setObjectName(name);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
  };
  direction_ = label("direction");
  up_ = label("up");
  position_ = label("position");
  form->addRow("Direction (z):", direction_);
  form->addRow("Up (y):", up_);
  form->addRow("Position:", position_);
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    rows_[r] = label(QString("row%1").arg(r).toUtf8().constData());
    form->addRow(r == 0 ? "Transform:" : "", rows_[r]);
  }
}

void FrameInfoDialog::ShowFrame(const viewer::Mat4& m) {
  direction_->setText(Triple(m(0, 2), m(1, 2), m(2, 2)));
  up_->setText(Triple(m(0, 1), m(1, 1), m(2, 1)));
  position_->setText(Triple(m(0, 3), m(1, 3), m(2, 3)));
  for (int r = 0; r < 4; ++r) {
    rows_[static_cast<std::size_t>(r)]->setText(QString("%1  %2  %3  %4")
                                                    .arg(m(r, 0), 9, 'f', 3)
                                                    .arg(m(r, 1), 9, 'f', 3)
                                                    .arg(m(r, 2), 9, 'f', 3)
                                                    .arg(m(r, 3), 9, 'f', 3));
  }
}

QString FrameInfoDialog::FieldText(const char* name) const {
  const auto* l = findChild<QLabel*>(name);
  return l ? l->text() : QString();
}

}  // namespace ws
