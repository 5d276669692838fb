// wirestead-prefs-gen OUTDIR: writes the default Preferences file and
// textures/ground.bmp into OUTDIR. Run by the build.
#include <iostream>

#include "prefs_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: wirestead-prefs-gen OUTDIR\n";
    return 1;
  }
  return ws::prefs::GenerateDefaultFiles(argv[1], std::cerr) ? 0 : 1;
}
