// The object text file (.wdo): the colour table, user points, vectors and
// polygons of one object as CR LF text.
//
// LoadObjectText trusts nothing: the whole file is parsed and checked
// (counts against the table capacities, every point and vector index inside
// the file's own tables, list lengths within 150/150/20) before anything is
// appended, so a bad file changes neither the tables nor the colour table.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/model.h"

namespace ws {

// The file's text for the given tables and colour table, CR LF line ends.
std::string FormatObjectText(const ObjectTables& tables, const ColorTable& colors);
// Writes the current object to `path` (temporary file + rename).
bool WriteObjectText(Model& model, const std::string& path);
// Appends the file's object to the current tables, makes its colour table
// current, and makes `path` the object file (state: object file).
bool LoadObjectText(Model& model, const std::string& path);

// "Save Object": the current object file when there is one, else a save
// dialog ("Select directory..") whose answer is used once.
void SaveObjectText(Model& model);
// One export format of Save Object As: its extension (lower case, without
// the dot), its filter in the dialog, and the writer (returns success).
struct ObjectExporter {
  std::string extension;
  FileFilter filter;
  std::function<bool(Model&, const std::string& path)> write;
};
using ObjectExporters = std::vector<ObjectExporter>;
// The exporter for `extension` (compared without regard to case), or null.
const ObjectExporter* FindExporter(const ObjectExporters& exporters, std::string_view extension);
// "Save Object As": .wdo (any case) becomes the object file; an extension
// of one of the exporters goes to it (a failure shows "Could Not Export");
// anything else is refused with the unknown-extension message. The dialog
// offers "Wirestead Object (wdo)" and then each exporter's filter.
void SaveObjectAs(Model& model, const ObjectExporters& exporters);
// The decision after the dialog, given the chosen path.
void SaveObjectAsPath(Model& model, const std::string& path, const ObjectExporters& exporters);

}  // namespace ws
