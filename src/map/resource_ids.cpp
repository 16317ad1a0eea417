#include "map/resource_ids.h"

#include <algorithm>
#include <list>

#include "map/map_layout.h"

namespace kv {

void AssignResourceIds(std::vector<std::uint16_t>* ids) {
  std::list<std::uint32_t> used;
  for (std::uint16_t id : *ids) {
    if (id != kUnassignedResourceId) used.push_back(id);
  }
  used.sort();
  std::uint32_t candidate = 1;
  auto cursor = used.begin();
  for (std::uint16_t& id : *ids) {
    if (id != kUnassignedResourceId) continue;
    while (cursor != used.end() && candidate >= *cursor) {
      ++candidate;
      if (*cursor < candidate) ++cursor;
    }
    id = static_cast<std::uint16_t>(candidate);
    used.insert(cursor, candidate);
    ++candidate;
  }
}

}  // namespace kv
