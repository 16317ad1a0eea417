#include "bitmap/palm/output_depth.h"

namespace kv {

int ChooseOutputDepth(int source_depth, int min_depth, int max_depth) {
  int depth = source_depth;
  if (source_depth < min_depth) {
    depth = min_depth;
  } else if (source_depth > max_depth) {
    depth = max_depth;
  }
  // Rounded up to the depths the map tiles use: 1- and 2-bit results become
  // 4-bit bitmaps.
  if (depth < 4) return 4;
  if (depth < 8) return depth == 4 ? 4 : 8;
  if (depth < 16) return depth == 8 ? 8 : 16;
  return depth;
}

}  // namespace kv
