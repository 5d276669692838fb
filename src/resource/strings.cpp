#include "resource/strings.h"

#include <cstring>

namespace ws {

int StringsEqual(const char* a, const char* b) { return std::strcmp(a, b) == 0 ? 0 : -1; }

std::size_t StringLength(const char* s) { return std::strlen(s); }

void StringCopy(char* destination, const char* source) {
  std::memmove(destination, source, std::strlen(source) + 1);
}

void StringJoin(char* destination, const char* suffix, const char* source) {
  std::size_t sourceLength = std::strlen(source);
  std::size_t suffixLength = std::strlen(suffix);
  // The suffix may itself live inside the destination buffer's tail, so move
  // it into place before the source (which may be the destination) is copied.
  std::memmove(destination + sourceLength, suffix, suffixLength + 1);
  if (destination != source) std::memmove(destination, source, sourceLength);
}

}  // namespace ws
