#ifndef KORVALE_BITMAP_ROW_PREFETCHER_H_
#define KORVALE_BITMAP_ROW_PREFETCHER_H_

// Hands out the rows a pass needs, in order, read by a SourceRowReader. With
// `ahead` set, a thread of its own reads (decodes) the next rows while the
// caller works on the current ones; at most kChunks chunks of rows are
// held, each of about kChunkBytes but never fewer rows than the reader
// decodes at once. Without, each chunk is read when it is needed.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "bitmap/conversion_status.h"
#include "bitmap/source_row_reader.h"

namespace kv {

class RowPrefetcher {
 public:
  static constexpr std::size_t kChunkBytes = std::size_t{4} << 20;
  static constexpr std::size_t kChunks = 3;

  // `rows` ascending, each 0 <= y < the source's height; `width` values a
  // row. Reading stops early when `cancel` is set.
  // REQUIRES: reader and cancel outlive the prefetcher.
  RowPrefetcher(SourceRowReader& reader, int width, std::vector<int> rows, bool ahead,
                const std::atomic<bool>& cancel);
  // Stops reading (between rows) and waits for the reading thread.
  ~RowPrefetcher();
  RowPrefetcher(const RowPrefetcher&) = delete;
  RowPrefetcher& operator=(const RowPrefetcher&) = delete;

  // The values of the next row of the list, valid until the next call; null
  // after the last row, or when reading failed or was cancelled (status()
  // then says which).
  const std::uint32_t* Next();
  ConversionStatus status() const { return status_; }

 private:
  struct Chunk {
    std::vector<std::uint32_t> values;
    std::size_t first = 0;  // index into rows_ of its first row
    std::size_t count = 0;
    ConversionStatus status = ConversionStatus::kOk;  // of the read that filled it
  };

  // Reads the rows of chunk number `index` into `chunk`.
  void Fill(std::size_t index, Chunk* chunk);
  void ReadAhead();
  bool TakeChunk(std::size_t index);

  SourceRowReader& reader_;
  const std::size_t width_;
  const std::vector<int> rows_;
  const std::size_t chunk_rows_;
  const std::size_t chunk_count_;
  const std::atomic<bool>& cancel_;
  std::vector<Chunk> ring_;

  // Consumer side.
  std::size_t next_row_ = 0;       // index into rows_
  std::size_t current_chunk_ = 0;  // chunk number being handed out
  bool holding_chunk_ = false;
  ConversionStatus status_ = ConversionStatus::kOk;

  // Shared with the reading thread.
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t filled_ = 0;    // chunks read
  std::size_t released_ = 0;  // chunks the consumer is done with
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_ROW_PREFETCHER_H_
