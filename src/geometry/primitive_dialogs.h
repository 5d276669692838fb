// The four primitive dialogs as plain data, so that the Qt front end builds
// them without knowing their contents: resource id, title, the fields in tab
// order with their control ids and labels, and the two buttons. The numeric
// fields accept digits only; the origin field takes any text of at most 30
// characters. The texts a dialog collects go to Create... of primitives.h.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace ws {

enum class DialogFieldKind { kNumber, kText, kCheckBox };

struct DialogField {
  int controlId;
  std::string_view label;
  DialogFieldKind kind;
  std::size_t maxChars;  // 0: no limit beyond the field's own
};

struct DialogButton {
  int controlId;
  std::string_view text;
  bool isDefault;
};

struct PrimitiveDialogLayout {
  int resourceId;
  std::string_view title;
  std::span<const DialogField> fields;
  std::span<const DialogButton> buttons;
};

inline constexpr int kDialogCreateId = 1;  // the OK button
inline constexpr int kDialogCancelId = 2;

inline constexpr std::array<DialogButton, 2> kPrimitiveDialogButtons = {{
    {kDialogCreateId, "Create", true},
    {kDialogCancelId, "Cancel", false},
}};

inline constexpr std::array<DialogField, 4> kCircleDialogFields = {{
    {1055, "Number of Vectors:", DialogFieldKind::kNumber, 0},
    {1056, "Diameter:", DialogFieldKind::kNumber, 0},
    {1057, "Origin X, Y, Z:", DialogFieldKind::kText, 30},
    {1058, "Vectors Only", DialogFieldKind::kCheckBox, 0},
}};
inline constexpr std::array<DialogField, 5> kCylinderDialogFields = {{
    {1053, "Number of Slices:", DialogFieldKind::kNumber, 0},
    {1054, "Height:", DialogFieldKind::kNumber, 0},
    {1049, "Diameter:", DialogFieldKind::kNumber, 0},
    {1050, "Origin X, Y, Z:", DialogFieldKind::kText, 30},
    {1059, "Vectors Only", DialogFieldKind::kCheckBox, 0},
}};
inline constexpr std::array<DialogField, 5> kSphereDialogFields = {{
    {1037, "Vertical Slices:", DialogFieldKind::kNumber, 0},
    {1038, "Horizontal Slices:", DialogFieldKind::kNumber, 0},
    {1039, "Diameter:", DialogFieldKind::kNumber, 0},
    {1040, "Origin X, Y, Z:", DialogFieldKind::kText, 30},
    {1060, "Vectors Only", DialogFieldKind::kCheckBox, 0},
}};
inline constexpr std::array<DialogField, 5> kCubeDialogFields = {{
    {1062, "Height:", DialogFieldKind::kNumber, 0},
    {1063, "Width:", DialogFieldKind::kNumber, 0},
    {1066, "Depth:", DialogFieldKind::kNumber, 0},
    {1064, "Origin X, Y, Z:", DialogFieldKind::kText, 30},
    {1065, "Vectors Only", DialogFieldKind::kCheckBox, 0},
}};

inline constexpr PrimitiveDialogLayout kCircleDialog = {
    179, "Enter the attributes of the circle", kCircleDialogFields, kPrimitiveDialogButtons};
inline constexpr PrimitiveDialogLayout kCylinderDialog = {
    178, "Enter the attributes of the cylinder", kCylinderDialogFields, kPrimitiveDialogButtons};
inline constexpr PrimitiveDialogLayout kSphereDialog = {
    158, "Enter the attributes of the sphere", kSphereDialogFields, kPrimitiveDialogButtons};
inline constexpr PrimitiveDialogLayout kCubeDialog = {181, "Enter the attributes of the cube",
                                                      kCubeDialogFields, kPrimitiveDialogButtons};

}  // namespace ws
