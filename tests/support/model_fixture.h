// A complete model in a private temporary base directory, with a minimal
// Preferences file ('clut' 1000, 'clut' 2000, 'SKDT' 128 and
// 'LPAT' 0) written with ResourceFile, and a ScriptedUi recording messages.
#pragma once

#include <memory>

#include "model/model.h"
#include "platform/scripted_ui.h"
#include "support/test_support.h"

namespace ws::test {

// A table of 32 eight-step grey/colour ramps that holds every drawing
// colour exactly (white, the two greys, black, red, green, blue, yellow).
ColorTable SampleColorTable();
// A different table, used as the image palette or as a replacement.
ColorTable ShiftedColorTable(int shift);

struct ModelFixture {
  ModelFixture();

  TempDir dir;
  ScriptedUi ui;
  Runtime rt{ui};
  std::unique_ptr<Model> model;

  Model& m() { return *model; }
  ObjectTables& tables() { return model->tables; }
};

}  // namespace ws::test
