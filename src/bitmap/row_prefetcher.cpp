#include "bitmap/row_prefetcher.h"

#include <algorithm>
#include <new>
#include <utility>

namespace kv {

RowPrefetcher::RowPrefetcher(SourceRowReader& reader, int width, std::vector<int> rows, bool ahead,
                             const std::atomic<bool>& cancel)
    : reader_(reader),
      width_(static_cast<std::size_t>(std::max(width, 1))),
      rows_(std::move(rows)),
      chunk_rows_(std::max<std::size_t>({1, kChunkBytes / (width_ * sizeof(std::uint32_t)),
                                         static_cast<std::size_t>(reader.BandRows())})),
      chunk_count_((rows_.size() + chunk_rows_ - 1) / chunk_rows_),
      cancel_(cancel),
      ring_(std::clamp<std::size_t>(chunk_count_, 1, kChunks)) {
  if (ahead && chunk_count_ > 0) thread_ = std::thread([this] { ReadAhead(); });
}

RowPrefetcher::~RowPrefetcher() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void RowPrefetcher::Fill(std::size_t index, Chunk* chunk) {
  chunk->first = index * chunk_rows_;
  chunk->count = std::min(chunk_rows_, rows_.size() - chunk->first);
  chunk->status = ConversionStatus::kOk;
  try {
    chunk->values.resize(chunk->count * width_);
  } catch (const std::bad_alloc&) {
    chunk->status = ConversionStatus::kNoMemory;
    return;
  }
  for (std::size_t k = 0; k < chunk->count; ++k) {
    if (cancel_.load(std::memory_order_relaxed)) {
      chunk->status = ConversionStatus::kCancelled;
      return;
    }
    chunk->status = reader_.ReadRow(rows_[chunk->first + k], chunk->values.data() + k * width_);
    if (chunk->status != ConversionStatus::kOk) return;
  }
}

void RowPrefetcher::ReadAhead() {
  for (std::size_t index = 0; index < chunk_count_; ++index) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [&] { return stopping_ || index - released_ < ring_.size(); });
      if (stopping_) return;
    }
    Chunk& chunk = ring_[index % ring_.size()];
    Fill(index, &chunk);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      filled_ = index + 1;
    }
    changed_.notify_all();
    if (chunk.status != ConversionStatus::kOk) return;
  }
}

bool RowPrefetcher::TakeChunk(std::size_t index) {
  Chunk& chunk = ring_[index % ring_.size()];
  if (thread_.joinable()) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return filled_ > index; });
  } else {
    Fill(index, &chunk);
  }
  status_ = chunk.status;
  return status_ == ConversionStatus::kOk;
}

const std::uint32_t* RowPrefetcher::Next() {
  if (status_ != ConversionStatus::kOk || next_row_ >= rows_.size()) return nullptr;
  const std::size_t index = next_row_ / chunk_rows_;
  if (!holding_chunk_ || index != current_chunk_) {
    if (holding_chunk_) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        released_ = current_chunk_ + 1;
      }
      changed_.notify_all();
    }
    holding_chunk_ = false;
    if (!TakeChunk(index)) return nullptr;
    current_chunk_ = index;
    holding_chunk_ = true;
  }
  const Chunk& chunk = ring_[index % ring_.size()];
  const std::uint32_t* row = chunk.values.data() + (next_row_ - chunk.first) * width_;
  ++next_row_;
  return row;
}

}  // namespace kv
