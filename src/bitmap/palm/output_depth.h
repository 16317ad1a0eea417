#ifndef KORVALE_BITMAP_PALM_OUTPUT_DEPTH_H_
#define KORVALE_BITMAP_PALM_OUTPUT_DEPTH_H_

namespace kv {

// The depth of the bitmap made from a source of `source_depth` bits per
// pixel: the source depth held within the bounds, then rounded up to a
// depth the encoder writes (below 4 -> 4, 5..7 -> 8, 9..15 -> 16). The
// result may still be unsupported (e.g. 20 within bounds 1..32); the caller
// checks it.
int ChooseOutputDepth(int source_depth, int min_depth, int max_depth);

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_OUTPUT_DEPTH_H_
