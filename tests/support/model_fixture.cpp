#include "support/model_fixture.h"

#include "model/color_ops.h"
#include "resource/resource_file.h"

namespace ws::test {

ColorTable SampleColorTable() {
  ColorTable t;
  // Ramp r (entries 8r..8r+7) runs from its base colour at 8r down to dark.
  const RGB16 bases[32] = {{65535, 65535, 65535}, {65535, 0, 0},         {0, 65535, 0},
                           {0, 0, 65535},         {65535, 65535, 0},     {0, 65535, 65535},
                           {65535, 0, 65535},     {34952, 34952, 34952}, {13107, 13107, 13107},
                           {50000, 30000, 10000}};
  for (int r = 0; r < 32; ++r) {
    RGB16 base = r < 10 ? bases[r]
                        : RGB16{static_cast<std::uint16_t>((r * 7919) % 65536),
                                static_cast<std::uint16_t>((r * 104729) % 65536),
                                static_cast<std::uint16_t>((r * 1299709) % 65536)};
    for (int k = 0; k < 8; ++k) {
      // The white ramp ends in black; the others stop one step short.
      int steps = r == 0 ? 7 : 8;
      auto scale = [&](std::uint16_t c) {
        return static_cast<std::uint16_t>(static_cast<std::uint32_t>(c) * (steps - k) / steps);
      };
      t.Set(static_cast<std::size_t>(r * 8 + k),
            {scale(base.red), scale(base.green), scale(base.blue)});
    }
  }
  return t;
}

ColorTable ShiftedColorTable(int shift) {
  ColorTable base = SampleColorTable();
  ColorTable t;
  for (std::size_t i = 0; i < 256; ++i) t.Set(i, base[(i + static_cast<std::size_t>(shift)) % 256]);
  return t;
}

ModelFixture::ModelFixture() {
  model = std::make_unique<Model>(rt);
  model->paths = Paths::FromBase(dir.path());
  ResourceFile& files = model->resources;
  files.CreateResFile(model->paths.preferences);
  WriteClutToFile(files, model->paths.preferences, kCurrentClutId, SampleColorTable());
  WriteClutToFile(files, model->paths.preferences, kImageClutId, ShiftedColorTable(8));
  {
    OpenResource prefs(files, model->paths.preferences);
    std::vector<std::uint8_t> sky(560), floor(65536);
    for (std::size_t i = 0; i < sky.size(); ++i) sky[i] = static_cast<std::uint8_t>(i * 7);
    for (std::size_t i = 0; i < floor.size(); ++i)
      floor[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
    files.WriteResource(prefs.ref(), kResSkdt, 128, sky, "Sky");
    files.WriteResource(prefs.ref(), kResLpat, 0, floor, "Floor");
  }
  model->tables.AllocateObjectTables();
  model->tables.BuildReservedEntries();
  RebuildColorState(*model, model->paths.preferences);
  ui.ClearMessages();
}

}  // namespace ws::test
