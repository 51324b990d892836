#pragma once
// A hash keyed at random once per process: what a file names cannot be chosen to pile up in one
// part of a table, since where each input lands depends on a key the file's author never sees.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace System {
namespace Loader {

struct HashKey {
  std::uint64_t low;
  std::uint64_t high;
};

// From the system's random source.
HashKey randomHashKey();

inline const HashKey& processHashKey() {
  static const HashKey key = randomHashKey();
  return key;
}

// Hashes 128 bits: the full product of the two keyed halves, its upper half folded onto its
// lower, so every input bit moves most output bits.
inline std::uint64_t keyedHash(std::uint64_t low, std::uint64_t high) {
  __extension__ typedef unsigned __int128 Product;
  const HashKey& key = processHashKey();
  const Product product = Product(low ^ key.low) * Product(high ^ key.high);
  return std::uint64_t(product) ^ std::uint64_t(product >> 64);
}

// For tables keyed by names a file gives (materials, texture paths): eight bytes at a time, each
// step keyed by its position, from the length, so names of other lengths start elsewhere.
struct KeyedStringHash {
  std::size_t operator()(const std::string& text) const {
    std::uint64_t hash = text.size();
    for (std::size_t at = 0; at < text.size(); at += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, text.data() + at, std::min<std::size_t>(8, text.size() - at));
      hash = keyedHash(hash ^ word, at);
    }
    return static_cast<std::size_t>(hash);
  }
};

}  // namespace Loader
}  // namespace System
