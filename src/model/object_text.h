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
// Exporter for the ".x" branch of Save Object As; returns success.
using XExporter = std::function<bool(Model&, const std::string& path)>;
// "Save Object As": .wdo (any case) becomes the object file; .x goes to the
// exporter; anything else is refused with the unknown-extension message.
void SaveObjectAs(Model& model, const XExporter& exportX);
// The decision after the dialog, given the chosen path.
void SaveObjectAsPath(Model& model, const std::string& path, const XExporter& exportX);

}  // namespace ws
