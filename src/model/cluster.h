// The cluster: the list of objects being edited. Only the current object is
// in the tables; every object of the cluster rests in the working file
// "temp" as its 'ANIM'/'PINF'/'PNTS'/'TVCT'/'FACE' resources (layouts in
// object_resources.h), id = position in the object list, name = list text.
// The list and the working file's 'PINF' ids stay in step: 0 .. n-1.
//
// Saving a cluster copies the working file to a ".wdc" file (through a
// temporary file renamed over the target); loading one copies it over the
// working file once every object in it has been read and checked.
//
// Failures show their message through model.ui() and return false; a
// failed load leaves the tables, the object list, the working file and the
// Preferences file as they were. Changes reach the views through
// model.observer() (ObjectReplaced, ObjectListChanged, SetHelpLine,
// WindowTitleChanged).
//
// The undo history is kept per object and follows the list: Start New
// Cluster and LoadCluster clear it, DeleteObject drops the deleted object's
// stack (later ones move down with their objects), and every change of the
// current object selects that object's stack.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/model.h"

namespace ws {

inline constexpr std::string_view kDefaultObjectName = "Default Object";
inline constexpr std::string_view kInsertedObjectName = "new object";

inline constexpr std::string_view kMsgNoPinf = "Shape corrupt. It doesn't have PINF resource.";
inline constexpr std::string_view kMsgNoClutInCluster = "Can't find clut in user object file.";
inline constexpr std::string_view kMsgNoClutInPrefs = "Can't find clut in preferences file.";
inline constexpr std::string_view kMsgCantCreateWorking =
    "Could not create temp file for default editing.";
inline constexpr std::string_view kMsgNoBackup = "No backup to restore from.";
inline constexpr std::string_view kMsgErrorReading = "Error reading file.";
inline constexpr std::string_view kMsgErrorWriting = "Error writing file.";
// Our own wording where the program had none.
inline constexpr std::string_view kMsgNotACluster = "That file is not a Wirestead cluster file.";
// Beside the working file: the copy a store writes into before it replaces
// the working file.
inline constexpr const char* kStoreCopySuffix = ".store";
inline constexpr std::string_view kMsgCantOpenWorking =
    "Can't open the working cluster file \"temp\".";
inline constexpr std::string_view kMsgClusterFull =
    "The cluster file can't hold any more resources. The object was not stored.";
inline constexpr std::string_view kMsgNameTooLong =
    "An object name can have at most 255 characters.";

inline constexpr std::string_view kPromptNewObject = "What do you want to call it?";
inline constexpr std::string_view kPromptRename = "Type in a new name and hit enter:";
inline constexpr std::string_view kHelpLoadingCluster = "Loading Cluster Objects";
inline constexpr std::string_view kHelpPleaseWait = "Please Wait";
inline constexpr std::string_view kSaveClusterTitle = "Select Directory...";
inline constexpr std::string_view kSaveObjectsTitle = "Select Directory To Put Objects In...";
inline constexpr std::string_view kSaveObjectsDefaultName = "Not Used - Click Save When Finished";

// "Shape corrupt. Object <index> "<name>": <problem>." for a damaged object.
std::string DamagedObjectMessage(std::uint32_t index, std::string_view name,
                                 std::string_view problem);

// Writes the current object into the working file as object `index` named
// `name`. A resource whose table is now empty stays as it was.
bool StoreObject(Model& model, std::uint32_t index, std::string_view name);

// Replaces the current object with object `index` of the working file, then
// resets the views and clears every selection. The object is read, checked
// and converted completely before the tables are touched: a missing 'PINF'
// shows kMsgNoPinf (General Error), any other damage DamagedObjectMessage;
// the tables then stay as they were.
bool LoadObject(Model& model, std::uint32_t index);

// Makes the ".wdc" file at `path` the working cluster: every object is
// checked first; then the object list is rebuilt, the file's 'clut' 1000
// becomes the current colour table, object 0 is loaded, the window title
// becomes `path`, the cluster path `path` and the file state kCluster.
bool LoadCluster(Model& model, const std::string& path);

// "Save Cluster": stores the current object, asks for a ".wdc" name unless
// the work is already a cluster file with a path, and copies the working
// file there.
bool SaveCluster(Model& model);

// "Save Cluster As Objects": every object as "<name>.wdo" in a directory
// chosen with a save dialog; the object that was current is loaded again.
bool SaveClusterAsObjects(Model& model);

// "Start New Cluster": stores the current object, deletes the working file,
// writes 'PREF' 128, and builds a fresh working file holding
// "Default Object". Refused (nothing changes) when the Preferences file has
// no 'clut' 1000. A working file that cannot be created sets the
// runtime's fatal flag: the program ends.
bool StartNewCluster(Model& model);

// Steps shared by Start New Cluster and start-up: creates the working file
// with the Preferences file's 'clut' 1000, allocates the tables, builds the
// reserved entries and stores "Default Object" as object 0. Without a
// 'clut' 1000 in the Preferences file, or when the working file cannot be
// created, shows the message, sets the fatal flag and returns false.
bool CreateWorkingCluster(Model& model);

// "Restore Last Session": loads the backup file as the working cluster and
// forgets its path, so the next "Save Cluster" asks for a name.
bool RestoreLastSession(Model& model);

// "New" of the "Object" menu: asks kPromptNewObject; an empty or cancelled
// answer does nothing.
bool NewObjectCommand(Model& model);
// Appends an empty object named `name` and makes it current.
bool NewObject(Model& model, std::string_view name);

// "Delete from Cluster": removes the current object, renumbering the later
// objects' five resource types down by one.
bool DeleteObject(Model& model);

// "Rename": asks kPromptRename; a non-empty answer renames the current
// object in the list and in the working file.
bool RenameObject(Model& model);
bool RenameObjectTo(Model& model, std::string_view name);

// Choosing object `index` in the list: stores the current object and loads
// the chosen one. When the load fails, the previous object stays current.
// (A running walk mode rebuilds its world afterwards; that is the caller's.)
bool SelectObject(Model& model, std::uint32_t index);

}  // namespace ws
