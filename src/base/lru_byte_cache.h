#ifndef KORVALE_BASE_LRU_BYTE_CACHE_H_
#define KORVALE_BASE_LRU_BYTE_CACHE_H_

// A cache of decoded pieces with a byte budget: each entry states its own
// size, and inserting past the budget drops the least recently used entries
// first. Looking an entry up makes it the most recently used. Views keep
// their decoded tiles and regions here so that memory stays bounded however
// large the image is.

#include <cstddef>
#include <list>
#include <map>
#include <utility>

namespace kv {

template <typename Key, typename Value>
class LruByteCache {
 public:
  explicit LruByteCache(std::size_t budget_bytes) : budget_(budget_bytes) {}

  // Null when absent; the pointer stays valid until the next Insert or Clear.
  const Value* Find(const Key& key) {
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, it->second);
    return &it->second->value;
  }

  bool Contains(const Key& key) const { return index_.count(key) != 0; }

  // Replaces an entry with the same key. An entry larger than the whole
  // budget is not kept (it would only push everything else out); the
  // returned pointer is then null.
  const Value* Insert(const Key& key, Value value, std::size_t bytes) {
    Erase(key);
    if (bytes > budget_) return nullptr;
    while (used_ + bytes > budget_ && !entries_.empty()) EvictOldest();
    entries_.push_front(Entry{key, std::move(value), bytes});
    index_.emplace(key, entries_.begin());
    used_ += bytes;
    return &entries_.front().value;
  }

  void Erase(const Key& key) {
    auto it = index_.find(key);
    if (it == index_.end()) return;
    used_ -= it->second->bytes;
    entries_.erase(it->second);
    index_.erase(it);
  }

  void Clear() {
    entries_.clear();
    index_.clear();
    used_ = 0;
  }

  std::size_t used_bytes() const { return used_; }
  std::size_t budget_bytes() const { return budget_; }
  std::size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    Key key;
    Value value;
    std::size_t bytes;
  };

  void EvictOldest() {
    const Entry& oldest = entries_.back();
    used_ -= oldest.bytes;
    index_.erase(oldest.key);
    entries_.pop_back();
  }

  std::size_t budget_;
  std::size_t used_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::map<Key, typename std::list<Entry>::iterator> index_;
};

}  // namespace kv

#endif  // KORVALE_BASE_LRU_BYTE_CACHE_H_
