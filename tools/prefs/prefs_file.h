// Writes the default Preferences resource file and the hardware viewer's
// ground texture. The output depends on nothing but this code: two runs give
// identical bytes.
//
// Preferences holds, in this order:
//   'clut' 1000 "Color Table 256_1.0"  the default palette (palette.h)
//   'clut' 2000 "Image Palette"         the same table, the images' palette
//   'PREF' 128  "Preferences"           the default settings record
//   'SKDT' 128  "Sky"                   sky patterns (environment.h)
//   'SKDT' 129  "Translated Sky"        the sky through the current table
//   'LNDT' 128  "Ground"                ground patterns
//   'LPAT' 0    "Floor"                 floor texture
//   'PLAY' 0-7                          the sounds (sounds.h)
//   'PINF'/'PNTS'/'TVCT' 0-38           the font glyphs (font.h)
// textures/ground.bmp is the floor texture as a 256 x 256 24-bit bitmap.
#pragma once

#include <ostream>
#include <string>

namespace ws::prefs {

inline constexpr const char* kPreferencesFileName = "Preferences";
inline constexpr const char* kGroundTextureDir = "textures";
inline constexpr const char* kGroundTextureName = "ground.bmp";

// Writes <outDir>/Preferences and <outDir>/textures/ground.bmp (creating
// the directories). Each file is written beside its target and renamed over
// it, so a failed run leaves no half-written file. Problems are described on
// `err`; false when anything failed.
bool GenerateDefaultFiles(const std::string& outDir, std::ostream& err);

}  // namespace ws::prefs
