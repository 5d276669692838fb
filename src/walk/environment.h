// The walk view's environment: the sky band ('SKDT' 129 "Translated Sky"),
// the ground band ('LNDT' 128) and the floor texture ('LPAT' 0), all from the
// Preferences file. The model translates the sky and floor into the current
// colour table whenever that table is replaced or reloaded (RebuildColorState
// in model/color_ops.h, on the loading paths of a colour table, an object
// and a cluster); the walk view only reads the results.
#pragma once

#include "model/model.h"
#include "walk/render_world.h"

namespace ws::walk {

// The environment source of the model's current state.
EnvironmentSource EnvironmentFrom(Model& model);

// Fills `env` from `source`: sky (absent without a message when 'SKDT' 129
// is missing), the two fixed patterns, ground ("Can't find LNDT resource."
// through `ui` when missing; the ground then keeps the 0xC2 pattern) and the
// floor. Allocates only the floor store.
void LoadEnvironment(WalkEnvironment& env, const EnvironmentSource& source, Ui& ui);

// The sky pattern of screen row r: below row 236 entry r/2 + 4 on even rows
// and r/2 on odd rows (a two-entry dither); from 236 on entry 118 when bit 1
// of r is clear and the last even-row entry (121) when it is set. Without a
// sky every row gets the 0xFF pattern.
const Pattern8& SkyRowPattern(const WalkEnvironment& env, int r);

}  // namespace ws::walk
