#include "system/loader/flathashset.h"

#include <gtest/gtest.h>

namespace {

using System::Loader::FlatHashSet;

struct Key {
  int id;
  int payload;
  bool operator==(const Key& other) const { return id == other.id; }
};

std::size_t hash_value(const Key& key) { return static_cast<std::size_t>(key.id); }

TEST(FlatHashSet, KeepsTheFirstOfEqualElements) {
  FlatHashSet<Key> set(50);
  EXPECT_TRUE(set.insert(Key{5, 1}).second);
  const auto again = set.insert(Key{5, 2});
  EXPECT_FALSE(again.second);
  EXPECT_EQ(1, again.first->payload);
  EXPECT_EQ(1u, set.size());
}

TEST(FlatHashSet, GrowingKeepsEveryElement) {
  FlatHashSet<Key> set(1);
  for (int i = 0; i < 100000; ++i) ASSERT_TRUE(set.insert(Key{i * 1024, i}).second);
  EXPECT_EQ(100000u, set.size());
  for (int i = 0; i < 100000; ++i) {
    const Key* found = set.find(Key{i * 1024, 0});
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(i, found->payload);
  }
  EXPECT_EQ(nullptr, set.find(Key{3, 0}));
}

TEST(FlatHashSet, ClearEmptiesTheSetForNewInserts) {
  FlatHashSet<Key> set;
  set.insert(Key{1, 1});
  set.clear();
  EXPECT_TRUE(set.empty());
  EXPECT_EQ(nullptr, set.find(Key{1, 0}));
  EXPECT_TRUE(set.insert(Key{1, 2}).second);
}

}  // namespace
