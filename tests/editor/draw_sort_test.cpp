#include "editor/view/draw_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "editor/view/software_view.h"

namespace ws {
namespace {

// The plain reference: a stable sort by key.
std::vector<DrawItem> Reference(std::vector<DrawItem> items) {
  std::stable_sort(items.begin(), items.end(),
                   [](const DrawItem& a, const DrawItem& b) { return a.key < b.key; });
  return items;
}

void ExpectSameOrder(const std::vector<DrawItem>& a, const std::vector<DrawItem>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    ASSERT_EQ(a[i].index, b[i].index) << i;
    ASSERT_EQ(a[i].kind, b[i].kind) << i;
    ASSERT_EQ(a[i].key, b[i].key) << i;
  }
}

TEST(DrawSort, MatchesAStableSortOnRandomLists) {
  std::mt19937 rng(11);
  std::vector<DrawItem> scratch(40000);
  for (int round = 0; round < 300; ++round) {
    const std::size_t n =
        std::uniform_int_distribution<std::size_t>(0, round < 290 ? 2000 : 30000)(rng);
    // Keys as frames make them: means of integer depth keys (quarters,
    // thirds), vector halves, axis keys less one, the priority key, and a
    // few far outliers of both signs; drawn from a small pool for ties.
    std::vector<double> pool;
    for (int i = 0; i < 40; ++i) {
      const int z = std::uniform_int_distribution<int>(28000, 34000)(rng);
      pool.push_back(z);
      pool.push_back(z / 3.0);
      pool.push_back(z + 0.25);
      pool.push_back(z - 1.0);
    }
    pool.insert(pool.end(), {kPriorityKey, -5.0, -0.0, 0.0, -1e9, 1e9, -28999.5, 1e-300});
    std::vector<DrawItem> items(n);
    for (std::size_t i = 0; i < n; ++i) {
      items[i].index = static_cast<std::int32_t>(i);
      items[i].kind = static_cast<std::int32_t>(i % 3);
      items[i].key = pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)];
    }
    const std::vector<DrawItem> expected = Reference(items);
    SortDrawItems(items, scratch);
    ExpectSameOrder(items, expected);
  }
}

}  // namespace
}  // namespace ws
