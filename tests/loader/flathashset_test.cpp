#include "system/loader/flathashset.h"

#include <gtest/gtest.h>

namespace {

struct Key {
  int id, payload;
  bool operator==(const Key& other) const { return id == other.id; }
};
std::size_t hash_value(const Key& key) { return static_cast<std::size_t>(key.id); }

// Keys a multiple of 1024 apart share their low bits, which a plain modulo would crowd together.
TEST(FlatHashSet, KeepsTheFirstOfEqualElementsAcrossGrowth) {
  System::Loader::FlatHashSet<Key> set(1);
  for (int i = 0; i < 100000; ++i) ASSERT_TRUE(set.insert(Key{i * 1024, i}).second);
  EXPECT_FALSE(set.insert(Key{5 * 1024, -1}).second);
  EXPECT_EQ(100000u, set.size());
  for (int i = 0; i < 100000; ++i) ASSERT_EQ(i, set.find(Key{i * 1024, 0})->payload);
  EXPECT_EQ(nullptr, set.find(Key{3, 0}));
}

}  // namespace
