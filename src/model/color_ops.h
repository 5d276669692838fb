// The colour-table commands and the rebuild of everything derived from the
// current table. The current table is 'clut' 1000 of the Preferences file;
// every replacement is stored there first and then RebuildColorState runs.
// On any failure the previous table stays current.
#pragma once

#include <string>

#include "model/model.h"

namespace ws {

class TextScanner;

// Reads the 256 "%4x,%4x,%4x,%4x" colour lines shared by .wct and .wdo;
// entry i gets index i whatever the first column says. False when a line is
// malformed or the text ends early.
bool ReadColorTableLines(TextScanner& in, ColorTable& table);

// "Load Color Table": open dialog, then the .wct or .act reader by the last
// four characters of the chosen name (other names are ignored).
void LoadColorTable(Model& model);
bool ImportColorTableText(Model& model, const std::string& path);
bool ImportColorTableAct(Model& model, const std::string& path);
// "Save Color Table As...": save dialog, ".wct" appended when missing.
void SaveColorTableAs(Model& model);
// Writes the current table as a .wct text file at `path` (no dialog).
bool WriteColorTableText(Model& model, const std::string& path);

// Makes `table` the current table: 'clut' 1000 "Color Table 256_1.0" in the
// working cluster file (when there is one) and in the Preferences file, then
// RebuildColorState on the Preferences file.
bool StoreCurrentColorTable(Model& model, const ColorTable& table);

// Recomputes the drawing colours from 'clut' 1000 of `file`, the image map
// ('clut' 2000 of the Preferences file into that table), the translated
// floor and sky, then tells the observer.
bool RebuildColorState(Model& model, const std::string& file);
// 'SKDT' 128 of the Preferences file through the image map into 'SKDT' 129
// "Translated Sky".
bool TranslateSky(Model& model, const std::string& file);
// 'LPAT' 0 of the Preferences file through the image map, kept in memory.
bool TranslateFloor(Model& model, const std::string& file);

}  // namespace ws
