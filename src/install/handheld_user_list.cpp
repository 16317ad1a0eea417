#include "install/handheld_user_list.h"

#include "install/install_results.h"

namespace kv {

namespace {

// J-Pilot's identifier: none of the sync folder users can have it, since
// theirs come from their names and J-Pilot's name is taken by J-Pilot.
const std::uint32_t kJPilotUserId = SyncUserId(kJPilotUserName);

}  // namespace

bool HandheldUserList::JPilotShown() {
  if (!jpilot_.Exists()) return false;
  // A sync folder user of that name comes first and hides J-Pilot.
  const int count = sync_.UserCount();
  for (int i = 0; i < count; ++i) {
    if (sync_.UserName(i) == kJPilotUserName) return false;
  }
  return true;
}

bool HandheldUserList::IsJPilot(const std::string& user_name) {
  return user_name == kJPilotUserName && JPilotShown();
}

bool HandheldUserList::IsJPilot(std::uint32_t user_id) {
  return user_id == kJPilotUserId && JPilotShown();
}

int HandheldUserList::UserCount() {
  const int count = sync_.UserCount();
  return JPilotShown() ? count + 1 : count;
}

std::optional<std::string> HandheldUserList::UserName(int index) {
  if (index >= 0 && index == sync_.UserCount() && JPilotShown()) {
    return std::string(kJPilotUserName);
  }
  return sync_.UserName(index);
}

int HandheldUserList::Queue(const std::string& user_name, const std::string& path) {
  return IsJPilot(user_name) ? jpilot_.Queue(path) : sync_.Queue(user_name, path);
}

int HandheldUserList::Remove(const std::string& user_name, const std::string& file_name) {
  return IsJPilot(user_name) ? jpilot_.Remove(file_name) : sync_.Remove(user_name, file_name);
}

int HandheldUserList::UserId(int index, std::uint32_t* id) {
  if (index >= 0 && index == sync_.UserCount() && JPilotShown()) {
    *id = kJPilotUserId;
    return kInstallOk;
  }
  return sync_.UserId(index, id);
}

int HandheldUserList::CardCount(std::uint32_t user_id, std::uint16_t* count) {
  if (IsJPilot(user_id)) {
    *count = 0;
    return kInstallOk;
  }
  return sync_.CardCount(user_id, count);
}

int HandheldUserList::CardIds(std::uint32_t user_id, std::vector<std::uint32_t>* ids) {
  if (IsJPilot(user_id)) {
    ids->clear();
    return kInstallOk;
  }
  return sync_.CardIds(user_id, ids);
}

std::string HandheldUserList::CardName(std::uint32_t user_id, std::uint32_t card_id) {
  return IsJPilot(user_id) ? std::string() : sync_.CardName(user_id, card_id);
}

int HandheldUserList::QueueOnCard(std::uint32_t user_id, std::uint32_t card_id,
                                  const std::string& path) {
  return IsJPilot(user_id) ? kInstallCardNotFound : sync_.QueueOnCard(user_id, card_id, path);
}

int HandheldUserList::RemoveFromCard(std::uint32_t user_id, std::uint32_t card_id,
                                     const std::string& file_name) {
  return IsJPilot(user_id) ? kInstallCardNotFound
                           : sync_.RemoveFromCard(user_id, card_id, file_name);
}

}  // namespace kv
