// Command identifiers: the ids of the main menu, the pop-up menu and the
// few commands without a menu item. These numbers are fixed; the menus,
// the key pre-translation and the tests refer to them by these names.
#pragma once

namespace ws::Cmd {

// File
inline constexpr int kOpen = 57601;
inline constexpr int kInsert = 32848;
inline constexpr int kMerge = 32849;
inline constexpr int kSaveObject = 32835;
inline constexpr int kSaveObjectAs = 32868;
inline constexpr int kSaveCluster = 32819;
inline constexpr int kSaveClusterAsObjects = 32847;
inline constexpr int kStartNewCluster = 32822;
inline constexpr int kRestoreLastSession = 32850;
inline constexpr int kLoadColorTable = 32832;
inline constexpr int kSaveColorTableAs = 32833;
inline constexpr int kExit = 32776;
// Edit
inline constexpr int kUndo = 57643;
inline constexpr int kSetUnits = 32795;
inline constexpr int kSoundEffects = 32840;
inline constexpr int kInstantViewChange = 32841;
inline constexpr int kSelectAllPolygons = 57642;
inline constexpr int kSelectBackFacedOnly = 32863;
inline constexpr int kSelectFrontFacedOnly = 32862;
inline constexpr int kWalkColorPolygon = 32865;
inline constexpr int kWalkFlipPolygonFace = 32866;
inline constexpr int kWalkSetViewZonePriorities = 32892;
// Display
inline constexpr int kThickLine = 32777;
inline constexpr int kAllVectors = 32779;
inline constexpr int kFrontVectorsOnly = 32780;
inline constexpr int kBackVectorsOnly = 32781;
inline constexpr int kInvisiblePolygons = 32782;
inline constexpr int kBackfacedPolygons = 32783;
// Rendering
inline constexpr int kRenderSoftware = 32889;
inline constexpr int kRenderDirectX = 32890;
inline constexpr int kShadingNone = 32876;
inline constexpr int kShadingFlat = 32878;
inline constexpr int kShadingGouraud = 32879;
inline constexpr int kShadingPhong = 32880;
// Object
inline constexpr int kObjectNew = 32774;
inline constexpr int kObjectRename = 32798;
inline constexpr int kDeleteFromCluster = 32775;
inline constexpr int kRemoveDuplicateGeometry = 32796;
inline constexpr int kCheckObject = 32893;  // lists what will not work in walk mode
// Selection
inline constexpr int kDuplicate = 32831;
inline constexpr int kRotate45X = 32828;
inline constexpr int kRotate90X = 32787;
inline constexpr int kRotate45Y = 32827;
inline constexpr int kRotate90Y = 32788;
inline constexpr int kFlipVertically = 32789;
inline constexpr int kFlipHorizontally = 32790;
inline constexpr int kFlipFrontBack = 32791;
inline constexpr int kDuplicateConnect = 32792;
// Polygons
inline constexpr int kTessellate = 32842;
inline constexpr int kFlipPolygonFace = 32797;
inline constexpr int kClearViewZoneList = 32891;
inline constexpr int kStyleNormal = 32825;
inline constexpr int kStyleBordered = 32813;
inline constexpr int kColorSelected = 32802;
inline constexpr int kColorShaded = 32803;
inline constexpr int kColorAdopted = 32804;
inline constexpr int kColorEachSide = 32806;
inline constexpr int kVisibilityNormal = 32807;
inline constexpr int kVisibilityInvisible = 32808;
inline constexpr int kVisibilityNeverBackFace = 32810;
inline constexpr int kVisibilityNotFromCollision = 32811;
inline constexpr int kVisibilityHigherPriority = 32812;
inline constexpr int kPurposeNormal = 32826;
inline constexpr int kPurposeCollision = 32800;
inline constexpr int kPurposeEntrance = 32799;
inline constexpr int kPurposeViewZone = 32801;
// Primitives
inline constexpr int kCube = 32830;
inline constexpr int kCircle = 32784;
inline constexpr int kCylinder = 32785;
inline constexpr int kSphere = 32786;
// Help
inline constexpr int kAbout = 32816;
// Pop-up menu
inline constexpr int kPopupUnselect = 32857;
inline constexpr int kPopupSelectAll = 32885;
inline constexpr int kPopupDelete = 32859;
inline constexpr int kPopupDuplicate = 32858;
inline constexpr int kPopupMakeBackFaced = 32864;
inline constexpr int kPopupMakeFrontFaced = 32861;
inline constexpr int kPopupSelectSameColor = 32855;
// Without a menu item
inline constexpr int kTogglePerspective = 32778;
inline constexpr int kOutlineStyle = 32814;
inline constexpr int kScale50 = 1035;
// Controls of the main window that send commands
inline constexpr int kScale100 = 1034;
inline constexpr int kApplyScale = 1027;
inline constexpr int kSetGuideFrame = 1028;
inline constexpr int kDisplayGuideFrame = 1068;
inline constexpr int kHideEnvironment = 1066;
inline constexpr int kObjectList = 1002;

}  // namespace ws::Cmd
