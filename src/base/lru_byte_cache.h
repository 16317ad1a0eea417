#ifndef KORVALE_BASE_LRU_BYTE_CACHE_H_
#define KORVALE_BASE_LRU_BYTE_CACHE_H_

// A cache of decoded pieces with a byte budget: each entry states its own
// size, and inserting past the budget drops the least recently used entries
// first. Looking an entry up makes it the most recently used. Views keep
// their decoded tiles and regions here so that memory stays bounded however
// large the image is.
//
// Entries can be pinned (the pieces on screen): they are never evicted, so
// a view never loses what it shows. Pinned entries may take the cache past
// its budget, by at most what is pinned; an unpinned entry is kept only
// while it fits beside them, and the overshoot is given back when the pins
// move on.

#include <cstddef>
#include <list>
#include <map>
#include <set>
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

  // As Find, but leaves the order of use alone.
  const Value* Peek(const Key& key) const {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : &it->second->value;
  }

  bool Contains(const Key& key) const { return index_.count(key) != 0; }

  // Replaces an entry with the same key. An unpinned entry larger than the
  // whole budget is not kept (it would only push everything else out); the
  // returned pointer is then null. So is it for an unpinned entry that does
  // not fit beside the pinned ones. A pinned entry is always kept.
  const Value* Insert(const Key& key, Value value, std::size_t bytes) {
    Erase(key);
    const bool pinned = pinned_.count(key) != 0;
    if (bytes > budget_ && !pinned) return nullptr;
    while (used_ + bytes > budget_ && EvictOldestUnpinned()) {
    }
    if (!pinned && used_ + bytes > budget_) return nullptr;
    entries_.push_front(Entry{key, std::move(value), bytes});
    index_.emplace(key, entries_.begin());
    used_ += bytes;
    return &entries_.front().value;
  }

  // From now on exactly `keys` are pinned, present or inserted later; what
  // the old pins held past the budget goes now.
  void PinOnly(std::set<Key> keys) {
    pinned_ = std::move(keys);
    while (used_ > budget_ && EvictOldestUnpinned()) {
    }
  }
  bool IsPinned(const Key& key) const { return pinned_.count(key) != 0; }

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

  // False when every entry is pinned.
  bool EvictOldestUnpinned() {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
      if (pinned_.count(it->key) != 0) continue;
      used_ -= it->bytes;
      index_.erase(it->key);
      entries_.erase(std::next(it).base());
      return true;
    }
    return false;
  }

  std::size_t budget_;
  std::size_t used_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::map<Key, typename std::list<Entry>::iterator> index_;
  std::set<Key> pinned_;
};

}  // namespace kv

#endif  // KORVALE_BASE_LRU_BYTE_CACHE_H_
