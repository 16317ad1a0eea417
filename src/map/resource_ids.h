#ifndef KORVALE_MAP_RESOURCE_IDS_H_
#define KORVALE_MAP_RESOURCE_IDS_H_

#include <cstdint>
#include <vector>

namespace kv {

// Gives every entry of `ids` that is kUnassignedResourceId a new ID that no
// entry carries, rising in list order from 1.
//
// Maps written by earlier releases got their IDs this way, and a re-opened
// map must get the same IDs again, so the walk is kept as it was: the cursor
// on the sorted used IDs moves at most one place per step of the candidate,
// which costs an extra step for an existing ID not above the candidate
// ({0} gives 2 first; {3, 3} gives 1, 2, 5).
void AssignResourceIds(std::vector<std::uint16_t>* ids);

}  // namespace kv

#endif  // KORVALE_MAP_RESOURCE_IDS_H_
