// Dialog 154 as Qt widgets: the combo boxes, the list box and the three
// buttons show and drive a ViewZoneDialog (editor/view_zone_dialog.h), which
// holds the rules; accepted means "Done".
#pragma once

#include <QDialog>

class QComboBox;
class QListWidget;

namespace ws {

class ViewZoneDialog;

class ViewZoneQtDialog : public QDialog {
  Q_OBJECT
 public:
  ViewZoneQtDialog(ViewZoneDialog& logic, QWidget* parent);

 private:
  void RefreshList();

  ViewZoneDialog& logic_;
  QComboBox* polygons_ = nullptr;
  QComboBox* priority_ = nullptr;
  QListWidget* list_ = nullptr;
};

}  // namespace ws
