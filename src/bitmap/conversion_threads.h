#ifndef KORVALE_BITMAP_CONVERSION_THREADS_H_
#define KORVALE_BITMAP_CONVERSION_THREADS_H_

namespace kv {

inline constexpr int kMaxConversionThreads = 64;

// Threads that encode tiles: `requested` when positive, else the number in
// the environment variable KV_THREADS when it is one, else one per core.
// Between 1 and kMaxConversionThreads.
int ConversionThreadCount(int requested);

}  // namespace kv

#endif  // KORVALE_BITMAP_CONVERSION_THREADS_H_
