#ifndef KORVALE_BITMAP_PALM_OCTREE_PALETTE_H_
#define KORVALE_BITMAP_PALM_OCTREE_PALETTE_H_

// Octree colour quantisation: the colours that best stand for a whole
// image at a given depth.
//
// Colours are inserted into a tree branching on one bit of red, green and
// blue per level (most significant first), min(depth, 8) levels deep.
// Whenever the tree holds more than 2^depth leaves, the most recently
// created node of the deepest reducible level absorbs its children. The
// palette is the leaves' average colours, depth first, children 0 to 7.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bitmap/conversion_status.h"
#include "bitmap/pixel_source.h"

namespace kv {

// Builds the palette of the whole source (read in colour mode) at `depth`
// (1..8): at most 2^depth colours 0x00RRGGBB, in tree order. ConversionStatus::kNoMemory
// when the tree cannot be grown.
ConversionStatus OctreePalette(const PixelSource& source, int width, int height, int depth,
                               std::vector<std::uint32_t>* colours);

// The quantiser behind OctreePalette, for callers that feed colours
// themselves (for instance the pixels of a stored bitmap).
class OctreeQuantiser {
 public:
  // REQUIRES: 1 <= depth <= 8. Without `remember_leaves` every colour walks
  // from the root (the same result, only slower; tests compare the two).
  explicit OctreeQuantiser(int depth, bool remember_leaves = true);

  // May throw std::bad_alloc.
  void Insert(std::uint32_t colour);
  // Insert() of each colour in turn; a run of equal colours costs one walk.
  void InsertAll(const std::uint32_t* colours, std::size_t count);
  std::vector<std::uint32_t> Colours() const;

 private:
  struct Node {
    std::int32_t children[8];
    std::uint64_t count = 0;
    std::uint64_t red = 0, green = 0, blue = 0;
    bool leaf = false;
    // Counts the times the slot was freed, so that a remembered leaf that
    // was merged away (and its slot perhaps reused) is recognised.
    std::uint32_t incarnation = 0;
  };
  static constexpr std::int32_t kNone = -1;

  // Photos repeat colours; the leaf a colour reached stays its leaf until
  // a reduction merges it into its parent (a reduction only ever merges
  // leaves), so recent colours skip the walk from the root while their leaf
  // lives.
  struct LeafMemo {
    std::uint32_t colour = 0;
    std::int32_t leaf = kNone;
    std::uint32_t incarnation = 0;
  };
  static constexpr std::size_t kLeafMemoSize = 4096;
  static std::size_t MemoSlot(std::uint32_t colour) {
    return (colour * 2654435761u) >> 20 & (kLeafMemoSize - 1);
  }
  bool Remembers(const LeafMemo& memo, std::uint32_t colour) const {
    return remember_leaves_ && memo.leaf != kNone && memo.colour == colour &&
           nodes_[static_cast<std::size_t>(memo.leaf)].incarnation == memo.incarnation;
  }
  void AddToLeaf(std::int32_t leaf, std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                 std::uint64_t times = 1);
  // The leaf an inserted colour reaches, without creating nodes.
  std::int32_t LeafOf(std::uint32_t colour) const;

  std::int32_t NewNode(int level);
  void ReduceOne();
  void FreeNode(std::int32_t node);
  void Collect(std::int32_t node, std::vector<std::uint32_t>* colours) const;

  int leaf_level_;
  std::uint32_t max_leaves_;
  std::uint32_t leaves_ = 0;
  std::int32_t root_ = kNone;
  std::vector<Node> nodes_;
  std::vector<std::int32_t> free_nodes_;
  // Per level, most recent last.
  std::vector<std::vector<std::int32_t>> reducible_;
  bool remember_leaves_;
  std::vector<LeafMemo> leaf_memo_;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_OCTREE_PALETTE_H_
