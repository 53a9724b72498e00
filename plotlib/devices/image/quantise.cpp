// qqpqnt: a palette of at most 256 colours for a blended true-colour image.
#include <algorithm>
#include <cstdint>
#include <new>
#include <unordered_map>
#include <vector>

#include "devices/image/image.h"

namespace korvan {

namespace {

struct Colour {
  std::uint32_t rgb;
  std::uint32_t count;
  int channel(int c) const { return static_cast<int>((rgb >> (16 - 8 * c)) & 255u); }
};

// A box of the median cut: colours [begin, end) of the list.
struct Box {
  std::size_t begin, end;
  std::uint64_t weight;
  int range, channel;  // widest channel and its extent
};

Box measure(std::vector<Colour>& list, std::size_t begin, std::size_t end) {
  Box b{begin, end, 0, -1, 0};
  int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
  for (std::size_t i = begin; i < end; ++i) {
    b.weight += list[i].count;
    for (int c = 0; c < 3; ++c) {
      lo[c] = std::min(lo[c], list[i].channel(c));
      hi[c] = std::max(hi[c], list[i].channel(c));
    }
  }
  for (int c = 0; c < 3; ++c)
    if (hi[c] - lo[c] > b.range) {
      b.range = hi[c] - lo[c];
      b.channel = c;
    }
  return b;
}

std::uint32_t mean(const std::vector<Colour>& list, const Box& b) {
  std::uint64_t sum[3] = {0, 0, 0}, w = 0;
  for (std::size_t i = b.begin; i < b.end; ++i) {
    for (int c = 0; c < 3; ++c) sum[c] += static_cast<std::uint64_t>(list[i].channel(c)) * list[i].count;
    w += list[i].count;
  }
  if (w == 0) return 0;
  std::uint32_t v = 0;
  for (int c = 0; c < 3; ++c) v = v << 8 | static_cast<std::uint32_t>((sum[c] + w / 2) / w);
  return v;
}

int nearestEntry(const int* palette, int n, std::uint32_t rgb) {
  const int r = static_cast<int>(rgb >> 16), g = static_cast<int>((rgb >> 8) & 255u),
            b = static_cast<int>(rgb & 255u);
  int best = 0;
  long bestDist = -1;
  for (int i = 0; i < n; ++i) {
    const int dr = ((palette[i] >> 16) & 255) - r, dg = ((palette[i] >> 8) & 255) - g,
              db = (palette[i] & 255) - b;
    const long d = static_cast<long>(dr) * dr + static_cast<long>(dg) * dg + static_cast<long>(db) * db;
    if (bestDist < 0 || d < bestDist) {
      bestDist = d;
      best = i;
    }
  }
  return best;
}

}  // namespace

int qqpqnt(const std::uint8_t* rgb, std::size_t count, const int table[256], int palette[256],
           std::uint8_t* indices) try {
  std::unordered_map<std::uint32_t, std::uint32_t> counts;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = rgb + 3 * i;
    counts[static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2]] += 1;
  }
  // entry of each colour of the image
  std::unordered_map<std::uint32_t, int> entry;
  int n = 0;
  if (counts.size() <= 256) {
    for (const auto& [c, k] : counts) {
      palette[n] = static_cast<int>(c);
      entry[c] = n++;
    }
  } else {
    // The plot's own colours first, the most frequent of them if there are
    // more than leave room for the blends.
    std::vector<Colour> own, rest;
    std::vector<bool> isOwn;
    std::unordered_map<std::uint32_t, bool> inTable;
    if (table)
      for (int i = 0; i < 256; ++i) inTable[static_cast<std::uint32_t>(table[i]) & 0xFFFFFFu] = true;
    for (const auto& [c, k] : counts) (inTable.count(c) ? own : rest).push_back({c, k});
    auto byCount = [](const Colour& a, const Colour& b) {
      return a.count != b.count ? a.count > b.count : a.rgb < b.rgb;
    };
    std::sort(own.begin(), own.end(), byCount);
    constexpr std::size_t kOwnMost = 192;
    if (own.size() > kOwnMost) {
      rest.insert(rest.end(), own.begin() + kOwnMost, own.end());
      own.resize(kOwnMost);
    }
    for (const Colour& c : own) {
      palette[n] = static_cast<int>(c.rgb);
      entry[c.rgb] = n++;
    }
    // Median cut of the rest into the entries left: split the heaviest box
    // that can still be split, across its widest channel, at the median.
    std::sort(rest.begin(), rest.end(), [](const Colour& a, const Colour& b) { return a.rgb < b.rgb; });
    std::vector<Box> boxes;
    if (!rest.empty()) boxes.push_back(measure(rest, 0, rest.size()));
    while (!boxes.empty() && n + static_cast<int>(boxes.size()) < 256) {
      std::size_t pick = boxes.size();
      for (std::size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i].range > 0 && boxes[i].end - boxes[i].begin > 1 &&
            (pick == boxes.size() ||
             boxes[i].weight * static_cast<std::uint64_t>(boxes[i].range) >
                 boxes[pick].weight * static_cast<std::uint64_t>(boxes[pick].range)))
          pick = i;
      if (pick == boxes.size()) break;
      Box b = boxes[pick];
      const int ch = b.channel;
      std::sort(rest.begin() + static_cast<std::ptrdiff_t>(b.begin),
                rest.begin() + static_cast<std::ptrdiff_t>(b.end),
                [ch](const Colour& x, const Colour& y) { return x.channel(ch) < y.channel(ch); });
      std::uint64_t half = 0;
      std::size_t cut = b.begin + 1;
      for (std::size_t i = b.begin; i + 1 < b.end; ++i) {
        half += rest[i].count;
        cut = i + 1;
        if (2 * half >= b.weight) break;
      }
      boxes[pick] = measure(rest, b.begin, cut);
      boxes.push_back(measure(rest, cut, b.end));
    }
    for (const Box& b : boxes) palette[n++] = static_cast<int>(mean(rest, b));
    for (const Box& b : boxes)
      for (std::size_t i = b.begin; i < b.end; ++i)
        entry[rest[i].rgb] = nearestEntry(palette, n, rest[i].rgb);
  }
  if (n == 0) palette[n++] = 0;
  for (int i = n; i < 256; ++i) palette[i] = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = rgb + 3 * i;
    auto it = entry.find(static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2]);
    indices[i] = static_cast<std::uint8_t>(it == entry.end() ? 0 : it->second);
  }
  return n;
} catch (const std::bad_alloc&) {
  return 0;
}

}  // namespace korvan
