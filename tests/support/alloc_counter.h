// Counts every allocation made through the global operator new of the test
// program (which alloc_counter.cpp replaces), so that a test can show that
// a stretch of code allocates nothing.
#pragma once

namespace ws::test {

long AllocationCount();

}  // namespace ws::test
