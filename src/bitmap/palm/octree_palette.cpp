#include "bitmap/palm/octree_palette.h"

#include <algorithm>
#include <bit>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>

#include "bitmap/rgb_colour.h"
#endif

namespace kv {

namespace {

// How many colours from the first on are equal to it (at least 1). Enlarged
// maps repeat colours over long runs, so four are compared at a time.
std::size_t RunLength(const std::uint32_t* colours, std::size_t count) {
  const std::uint32_t colour = colours[0];
  std::size_t run = 1;
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi32(static_cast<int>(colour));
  while (run + 4 <= count) {
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colours + run));
    const int equal = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(four, wanted)));
    if (equal != 0xF)
      return run + static_cast<std::size_t>(std::countr_one(static_cast<unsigned>(equal)));
    run += 4;
  }
#endif
  while (run < count && colours[run] == colour) ++run;
  return run;
}

}  // namespace

OctreeQuantiser::OctreeQuantiser(int depth, bool remember_leaves)
    : leaf_level_(std::min(depth, 8)),
      max_leaves_(1u << depth),
      reducible_(static_cast<std::size_t>(leaf_level_)),
      remember_leaves_(remember_leaves),
      leaf_memo_(kLeafMemoSize) {}

std::int32_t OctreeQuantiser::NewNode(int level) {
  std::int32_t node;
  if (!free_nodes_.empty()) {
    node = free_nodes_.back();
    free_nodes_.pop_back();
    const std::uint32_t incarnation = nodes_[static_cast<std::size_t>(node)].incarnation;
    nodes_[static_cast<std::size_t>(node)] = Node{};
    nodes_[static_cast<std::size_t>(node)].incarnation = incarnation;
  } else {
    nodes_.emplace_back();
    node = static_cast<std::int32_t>(nodes_.size() - 1);
  }
  Node& fresh = nodes_[static_cast<std::size_t>(node)];
  std::fill(std::begin(fresh.children), std::end(fresh.children), kNone);
  if (level == leaf_level_) {
    fresh.leaf = true;
    ++leaves_;
  } else {
    reducible_[static_cast<std::size_t>(level)].push_back(node);
  }
  return node;
}

void OctreeQuantiser::AddToLeaf(std::int32_t leaf, std::uint32_t red, std::uint32_t green,
                                std::uint32_t blue, std::uint64_t times) {
  Node& node = nodes_[static_cast<std::size_t>(leaf)];
  node.count += times;
  node.red += red * times;
  node.green += green * times;
  node.blue += blue * times;
}

std::int32_t OctreeQuantiser::LeafOf(std::uint32_t colour) const {
  const LeafMemo& memo = leaf_memo_[MemoSlot(colour)];
  if (Remembers(memo, colour)) return memo.leaf;
  std::int32_t node = root_;
  for (int level = 0; !nodes_[static_cast<std::size_t>(node)].leaf; ++level) {
    const unsigned bit = static_cast<unsigned>(7 - level);
    const std::size_t child = ((colour >> (16 + bit)) & 1) << 2 | ((colour >> (8 + bit)) & 1) << 1 |
                              ((colour >> bit) & 1);
    node = nodes_[static_cast<std::size_t>(node)].children[child];
  }
  return node;
}

// After the first colour of a run the path to its leaf exists, so the
// others create no node and cause no reduction: they all land in the leaf
// the first one ends in, as if inserted one by one.
void OctreeQuantiser::InsertAll(const std::uint32_t* colours, std::size_t count) {
  std::size_t i = 0;
  while (i < count) {
    const std::uint32_t colour = colours[i];
    const std::size_t run = RunLength(colours + i, count - i);
    Insert(colour);
    if (run > 1) {
      AddToLeaf(LeafOf(colour), RedOf(colour), GreenOf(colour), BlueOf(colour), run - 1);
    }
    i += run;
  }
}

void OctreeQuantiser::Insert(std::uint32_t colour) {
  const std::uint32_t red = RedOf(colour);
  const std::uint32_t green = GreenOf(colour);
  const std::uint32_t blue = BlueOf(colour);
  LeafMemo& memo = leaf_memo_[MemoSlot(colour)];
  if (Remembers(memo, colour)) {
    // Same leaf as the walk would reach; no new node, so nothing to reduce.
    AddToLeaf(memo.leaf, red, green, blue);
    return;
  }
  if (root_ == kNone) root_ = NewNode(0);
  std::int32_t node = root_;
  int level = 0;
  while (!nodes_[static_cast<std::size_t>(node)].leaf) {
    const unsigned bit = static_cast<unsigned>(7 - level);
    const std::size_t child =
        ((red >> bit) & 1) << 2 | ((green >> bit) & 1) << 1 | ((blue >> bit) & 1);
    std::int32_t next = nodes_[static_cast<std::size_t>(node)].children[child];
    if (next == kNone) {
      next = NewNode(level + 1);  // may move nodes_
      nodes_[static_cast<std::size_t>(node)].children[child] = next;
    }
    node = next;
    ++level;
  }
  AddToLeaf(node, red, green, blue);
  // A reduction that merges this leaf away also forgets it.
  memo = LeafMemo{colour, node, nodes_[static_cast<std::size_t>(node)].incarnation};
  while (leaves_ > max_leaves_) ReduceOne();
}

void OctreeQuantiser::ReduceOne() {
  int level = leaf_level_ - 1;
  while (level > 0 && reducible_[static_cast<std::size_t>(level)].empty()) --level;
  auto& candidates = reducible_[static_cast<std::size_t>(level)];
  if (candidates.empty()) return;  // only a leaf root is left
  const std::int32_t node = candidates.back();
  candidates.pop_back();
  Node merged = nodes_[static_cast<std::size_t>(node)];
  std::uint32_t children = 0;
  for (std::int32_t& child : merged.children) {
    if (child == kNone) continue;
    const Node& absorbed = nodes_[static_cast<std::size_t>(child)];
    merged.count += absorbed.count;
    merged.red += absorbed.red;
    merged.green += absorbed.green;
    merged.blue += absorbed.blue;
    FreeNode(child);
    child = kNone;
    ++children;
  }
  merged.leaf = true;
  nodes_[static_cast<std::size_t>(node)] = merged;
  leaves_ -= children - 1;
}

void OctreeQuantiser::FreeNode(std::int32_t node) {
  ++nodes_[static_cast<std::size_t>(node)].incarnation;
  free_nodes_.push_back(node);
}

void OctreeQuantiser::Collect(std::int32_t node, std::vector<std::uint32_t>* colours) const {
  const Node& current = nodes_[static_cast<std::size_t>(node)];
  if (current.leaf) {
    if (current.count == 0) return;
    const auto average = [&](std::uint64_t sum) {
      return static_cast<std::uint32_t>(sum / current.count);
    };
    colours->push_back(
        PackRgb(average(current.red), average(current.green), average(current.blue)));
    return;
  }
  for (std::int32_t child : current.children) {
    if (child != kNone) Collect(child, colours);
  }
}

std::vector<std::uint32_t> OctreeQuantiser::Colours() const {
  std::vector<std::uint32_t> colours;
  if (root_ != kNone) Collect(root_, &colours);
  return colours;
}

ConversionStatus OctreePalette(const PixelSource& source, int width, int height, int depth,
                               std::vector<std::uint32_t>* colours) {
  if (depth < 1 || depth > 8) return ConversionStatus::kBadDepth;
  try {
    OctreeQuantiser quantiser(depth);
    std::vector<int> xs(static_cast<std::size_t>(width));
    for (std::size_t x = 0; x < xs.size(); ++x) xs[x] = static_cast<int>(x);
    std::vector<std::uint32_t> row(xs.size());
    for (int y = 0; y < height; ++y) {
      source.PixelsOfRow(xs, y, row.data());
      quantiser.InsertAll(row.data(), row.size());
    }
    *colours = quantiser.Colours();
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  return ConversionStatus::kOk;
}

}  // namespace kv
