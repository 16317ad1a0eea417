#include "pdb/pack_record.h"

#include <cstddef>

namespace kv {

namespace {

struct DescriptorItem {
  bool zero = false;
  char letter = 0;
  std::uint32_t count = 1;
};

class SlotReader {
 public:
  explicit SlotReader(std::span<const std::uint32_t> values) : values_(values) {}

  std::uint32_t Peek() const { return next_ < values_.size() ? values_[next_] : 0; }
  std::uint32_t Take() {
    std::uint32_t value = Peek();
    ++next_;
    return value;
  }

 private:
  std::span<const std::uint32_t> values_;
  std::size_t next_ = 0;
};

// Reads one item starting at `pos`; returns false at the end of the text.
bool NextItem(std::string_view text, std::size_t* pos, DescriptorItem* item) {
  while (*pos < text.size() && text[*pos] == ',') ++*pos;
  if (*pos >= text.size()) return false;
  *item = DescriptorItem{};
  if (text[*pos] == 'z') {
    item->zero = true;
    ++*pos;
    if (*pos >= text.size()) return false;
  }
  item->letter = text[(*pos)++];
  std::uint32_t count = 0;
  while (*pos < text.size() && text[*pos] >= '0' && text[*pos] <= '9') {
    // Counts beyond a few thousand mean a broken descriptor; saturate rather
    // than overflow.
    if (count < 100000) count = count * 10 + static_cast<std::uint32_t>(text[*pos] - '0');
    ++*pos;
  }
  item->count = count == 0 ? 1 : count;
  return true;
}

}  // namespace

int PackRecord(OutputBuffer* buffer, std::span<const std::uint32_t> values,
               std::string_view descriptor, std::uint32_t* out_value) {
  if (out_value != nullptr) *out_value = 0;
  SlotReader slots(values);
  std::uint32_t bits = 0;
  std::uint32_t pending_bits = 0;
  std::size_t pos = 0;
  DescriptorItem item;
  while (NextItem(descriptor, &pos, &item)) {
    auto field = [&]() { return item.zero ? 0u : slots.Take(); };
    switch (item.letter) {
      case 'b':
        for (std::uint32_t i = 0; i < item.count; ++i) {
          if (AppendByte(buffer, field()) != 0) return 1;
        }
        break;
      case 'w':
        for (std::uint32_t i = 0; i < item.count; ++i) {
          if (AppendBig16(buffer, field()) != 0) return 1;
        }
        break;
      case 'l':
        for (std::uint32_t i = 0; i < item.count; ++i) {
          if (AppendBig32(buffer, field()) != 0) return 1;
        }
        break;
      case 'p':
        for (std::uint32_t i = 0; i < item.count; ++i) {
          if (out_value != nullptr) *out_value = slots.Peek();
          if (!item.zero) slots.Take();
          if (AppendBig32(buffer, 0) != 0) return 1;
        }
        break;
      case 't':
        bits = (item.count >= 32 ? 0u : bits << item.count) | (field() & 0xFFu);
        pending_bits += item.count;
        if (pending_bits >= 8) {
          if (AppendByte(buffer, bits) != 0) return 1;
          bits = 0;
          pending_bits = 0;
        }
        break;
      default:
        break;
    }
  }
  return 0;
}

}  // namespace kv
