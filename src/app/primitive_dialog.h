// A primitive's dialog (circle, cylinder, sphere, cube) built from its
// layout in geometry/primitive_dialogs.h. "Create" hands the field texts
// and the "Vectors Only" check to `create`, which validates and makes the
// shape; the dialog closes only when it returns true, so a refused value
// leaves the fields as typed.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "geometry/primitive_dialogs.h"

class QCheckBox;
class QLineEdit;

namespace ws {

class PrimitiveDialog : public QDialog {
  Q_OBJECT
 public:
  using CreateFn = std::function<bool(const std::vector<std::string>& texts, bool vectorsOnly)>;
  PrimitiveDialog(const PrimitiveDialogLayout& layout, CreateFn create, QWidget* parent);

  // The text fields in tab order (tests fill them).
  const std::vector<QLineEdit*>& fields() const { return fields_; }
  QCheckBox* vectorsOnly() const { return vectorsOnly_; }
  void Create();

 private:
  CreateFn create_;
  std::vector<QLineEdit*> fields_;
  QCheckBox* vectorsOnly_ = nullptr;
};

}  // namespace ws
