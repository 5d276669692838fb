#include "app/primitive_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "app/qt_ui.h"

namespace ws {

PrimitiveDialog::PrimitiveDialog(const PrimitiveDialogLayout& layout, CreateFn create,
                                 QWidget* parent)
    : QDialog(parent), create_(std::move(create)) {
  setWindowTitle(ToQString(layout.title));
  setObjectName(QString("dialog%1").arg(layout.resourceId));
  auto* form = new QFormLayout(this);
  for (const DialogField& f : layout.fields) {
    if (f.kind == DialogFieldKind::kCheckBox) {
      vectorsOnly_ = new QCheckBox(ToQString(f.label), this);
      vectorsOnly_->setObjectName(QString("field%1").arg(f.controlId));
      form->addRow(vectorsOnly_);
      continue;
    }
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString("field%1").arg(f.controlId));
    if (f.kind == DialogFieldKind::kNumber) {
      // Digits only, as the numeric fields have always taken.
      edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
    }
    if (f.maxChars > 0) edit->setMaxLength(static_cast<int>(f.maxChars));
    form->addRow(ToQString(f.label), edit);
    fields_.push_back(edit);
  }
  auto* row = new QHBoxLayout;
  for (const DialogButton& b : layout.buttons) {
    auto* button = new QPushButton(ToQString(b.text), this);
    button->setObjectName(QString("button%1").arg(b.controlId));
    button->setDefault(b.isDefault);
    button->setAutoDefault(b.isDefault);
    if (b.controlId == kDialogCreateId) {
      connect(button, &QPushButton::clicked, this, &PrimitiveDialog::Create);
    } else {
      connect(button, &QPushButton::clicked, this, &QDialog::reject);
    }
    row->addWidget(button);
  }
  form->addRow(row);
}

void PrimitiveDialog::Create() {
  std::vector<std::string> texts;
  for (const QLineEdit* e : fields_) texts.push_back(e->text().toStdString());
  if (create_(texts, vectorsOnly_ && vectorsOnly_->isChecked())) accept();
}

}  // namespace ws
