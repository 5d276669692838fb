// Small C-string helpers used by code that works on fixed name buffers.
#pragma once

#include <cstddef>

namespace ws {

// 0 when equal byte for byte (case-sensitive), -1 otherwise.
int StringsEqual(const char* a, const char* b);
std::size_t StringLength(const char* s);
void StringCopy(char* destination, const char* source);
// destination = source followed by suffix; destination may be source itself.
void StringJoin(char* destination, const char* suffix, const char* source);

}  // namespace ws
