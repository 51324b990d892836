#pragma once
// A compact hash set for small records: open addressing in one flat array, no node per element.

#include <boost/functional/hash.hpp>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace System {
namespace Loader {

// A node-based set costs an allocation and two pointers per element and a cache miss per probe;
// the loader looks up millions of face vertices, so elements live in one array, probed linearly.
template <typename T, typename Hash = boost::hash<T>>
class FlatHashSet {
 public:
  explicit FlatHashSet(std::size_t buckets = 16) { allocate(capacityFor(buckets)); }

  // Inserts value unless an equal element is present. Returns the stored element, valid until the
  // next insert, and whether it was inserted.
  std::pair<const T*, bool> insert(const T& value) {
    if ((count + 1) * 2 > slots.size()) {
      grow();
    }
    std::size_t slot = slotOf(value);
    while (used[slot]) {
      if (slots[slot] == value) {
        return std::make_pair(&slots[slot], false);
      }
      slot = (slot + 1) & mask;
    }
    used[slot] = 1;
    slots[slot] = value;
    ++count;
    return std::make_pair(&slots[slot], true);
  }

  // The element equal to value, or null.
  const T* find(const T& value) const {
    for (std::size_t slot = slotOf(value); used[slot]; slot = (slot + 1) & mask) {
      if (slots[slot] == value) {
        return &slots[slot];
      }
    }
    return nullptr;
  }

  std::size_t size() const { return count; }
  bool empty() const { return count == 0; }

  // Removes every element and keeps the capacity.
  void clear() {
    std::memset(used.data(), 0, used.size());
    count = 0;
  }

 private:
  static std::size_t capacityFor(std::size_t buckets) {
    std::size_t capacity = 16;
    while (capacity < buckets) {
      capacity *= 2;
    }
    return capacity;
  }

  void allocate(std::size_t capacity) {
    slots.assign(capacity, T());
    used.assign(capacity, 0);
    mask = capacity - 1;
    shift = 64;
    for (std::size_t c = capacity; c > 1; c /= 2) {
      --shift;
    }
    count = 0;
  }

  // Fibonacci hashing spreads hashes whose low bits repeat, such as those of nearby indices.
  std::size_t slotOf(const T& value) const {
    const std::uint64_t h = static_cast<std::uint64_t>(Hash()(value)) * 0x9E3779B97F4A7C15ULL;
    return static_cast<std::size_t>(h >> shift) & mask;
  }

  void grow() {
    std::vector<T> oldSlots;
    std::vector<unsigned char> oldUsed;
    oldSlots.swap(slots);
    oldUsed.swap(used);
    allocate(oldSlots.size() * 2);
    for (std::size_t i = 0; i < oldSlots.size(); ++i) {
      if (oldUsed[i]) {
        std::size_t slot = slotOf(oldSlots[i]);
        while (used[slot]) {
          slot = (slot + 1) & mask;
        }
        used[slot] = 1;
        slots[slot] = oldSlots[i];
        ++count;
      }
    }
  }

  std::vector<T> slots;
  std::vector<unsigned char> used;
  std::size_t count = 0;
  std::size_t mask = 0;
  unsigned shift = 64;
};

}  // namespace Loader
}  // namespace System
