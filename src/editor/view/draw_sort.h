// Sorting of a frame's draw list by depth key, farthest (smallest) first.
//
// SortDrawItems is stable: items with equal keys keep the order they were
// listed in, which is the order std::stable_sort by key gives (the tests
// compare the two on random lists). It is a least-significant-digit radix
// sort on the keys' bit patterns in 11-bit digits, skipping the digits all
// keys share, so a frame's few thousand keys of similar size take two or
// three passes. Keys must not be NaN; -0.0 counts as 0.0. `scratch` must
// hold at least as many items as `items`; nothing is allocated.
#pragma once

#include <cstdint>
#include <span>

namespace ws {

struct DrawItem;

void SortDrawItems(std::span<DrawItem> items, std::span<DrawItem> scratch);

}  // namespace ws
