#pragma once
// A compact hash set for small records: open addressing in one flat array, no node per element.

#include <algorithm>
#include <boost/functional/hash.hpp>
#include <cstddef>
#include <cstdint>
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
    while (slots[slot].used) {
      if (slots[slot].value == value) {
        return std::make_pair(&slots[slot].value, false);
      }
      slot = (slot + 1) & mask;
    }
    slots[slot].used = true;
    slots[slot].value = value;
    ++count;
    return std::make_pair(&slots[slot].value, true);
  }

  std::size_t size() const { return count; }

  // The most slots past the one its hash chose that an element sits: the extra probes of the
  // slowest lookup, which a hash that inputs can aim at makes grow with the element count.
  std::size_t longestProbe() const {
    std::size_t longest = 0;
    for (std::size_t slot = 0; slot < slots.size(); ++slot) {
      if (slots[slot].used) {
        longest = std::max(longest, (slot - slotOf(slots[slot].value)) & mask);
      }
    }
    return longest;
  }

  // Removes every element and keeps the capacity.
  void clear() {
    for (Slot& slot : slots) {
      slot.used = false;
    }
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

  // The flag sits next to its element so that a probe touches one cache line.
  struct Slot {
    T value;
    bool used;
  };

  void allocate(std::size_t capacity) {
    slots.assign(capacity, Slot{T(), false});
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
    std::vector<Slot> old;
    old.swap(slots);
    allocate(old.size() * 2);
    for (const Slot& entry : old) {
      if (entry.used) {
        std::size_t slot = slotOf(entry.value);
        while (slots[slot].used) {
          slot = (slot + 1) & mask;
        }
        slots[slot] = entry;
        ++count;
      }
    }
  }

  std::vector<Slot> slots;
  std::size_t count = 0;
  std::size_t mask = 0;
  unsigned shift = 64;
};

}  // namespace Loader
}  // namespace System
