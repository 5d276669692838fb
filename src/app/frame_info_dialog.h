// The three modeless frame-information dialogs of the hardware viewer
// ("Mesh Frame Info", "Light Frame Info", "Camera Frame Information"): the
// frame's orientation (direction z and up y), its position and its 4 x 4
// transform, refreshed with every picture.
#pragma once

#include <QDialog>
#include <array>

#include "viewer/viewer_scene.h"

class QLabel;

namespace ws {

class FrameInfoDialog final : public QDialog {
  Q_OBJECT
 public:
  FrameInfoDialog(QWidget* parent, const QString& title);
  void ShowFrame(const viewer::Mat4& frame);
  QString FieldText(const char* name) const;

 private:
  QLabel* direction_ = nullptr;
  QLabel* up_ = nullptr;
  QLabel* position_ = nullptr;
  std::array<QLabel*, 4> rows_{};
};

}  // namespace ws
