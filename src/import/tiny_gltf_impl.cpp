// The one unit that compiles the glTF library. Images are never decoded
// (the build defines TINYGLTF_NO_STB_IMAGE and its siblings for every unit,
// so that all of them see the same library classes): the editor has no
// textures, and an image in a file is passed over by the reader.
#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>
