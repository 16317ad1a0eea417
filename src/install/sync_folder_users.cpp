#include "install/sync_folder_users.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "install/card_folder_name.h"
#include "install/install_results.h"
#include "install/queue_folder.h"

namespace kv {

namespace {

constexpr const char* kMainQueue = "main";
constexpr const char* kCardsFolder = "cards";

bool IsDirectory(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

// The card folders of a user by identifier; the first folder wins when two
// share one.
std::map<std::uint32_t, std::filesystem::directory_entry> Cards(
    const std::filesystem::path& user_folder, bool* readable) {
  std::map<std::uint32_t, std::filesystem::directory_entry> cards;
  *readable = true;
  const std::filesystem::path folder = user_folder / kCardsFolder;
  if (!IsDirectory(folder)) return cards;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) {
    *readable = false;
    return cards;
  }
  std::vector<std::filesystem::directory_entry> entries;
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) {
      *readable = false;
      return cards;
    }
    entries.push_back(*it);
  }
  std::sort(entries.begin(), entries.end());
  for (const auto& entry : entries) {
    const std::optional<CardFolderName> card =
        ParseCardFolderName(entry.path().filename().string());
    if (card && IsDirectory(entry.path())) cards.emplace(card->id, entry);
  }
  return cards;
}

}  // namespace

std::uint32_t SyncUserId(const std::string& user_name) {
  // FNV-1a: stable across runs and machines.
  std::uint32_t hash = 2166136261u;
  for (char c : user_name) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

std::vector<std::string> SyncFolderUsers::UserNames() const {
  std::vector<std::string> names;
  if (root_.empty()) return names;
  std::error_code error;
  std::filesystem::directory_iterator it(root_, error);
  if (error) return names;
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) break;
    const std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.' || !IsDirectory(it->path())) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

int SyncFolderUsers::UserCount() { return static_cast<int>(UserNames().size()); }

std::optional<std::string> SyncFolderUsers::UserName(int index) {
  const std::vector<std::string> names = UserNames();
  if (index < 0 || static_cast<std::size_t>(index) >= names.size()) return std::nullopt;
  return names[static_cast<std::size_t>(index)];
}

std::optional<std::filesystem::path> SyncFolderUsers::UserFolder(
    const std::string& user_name) const {
  if (root_.empty() || !IsPlainFileName(user_name) || user_name[0] == '.') return std::nullopt;
  const std::filesystem::path folder = root_ / user_name;
  if (!IsDirectory(folder)) return std::nullopt;
  return folder;
}

std::optional<std::filesystem::path> SyncFolderUsers::UserFolder(std::uint32_t user_id) const {
  for (const std::string& name : UserNames()) {
    if (SyncUserId(name) == user_id) return root_ / name;
  }
  return std::nullopt;
}

int SyncFolderUsers::Queue(const std::string& user_name, const std::string& path) {
  const std::optional<std::filesystem::path> folder = UserFolder(user_name);
  if (!folder) return kInstallUserNotFound;
  return CopyIntoQueue(path, *folder / kMainQueue);
}

int SyncFolderUsers::Remove(const std::string& user_name, const std::string& file_name) {
  const std::optional<std::filesystem::path> folder = UserFolder(user_name);
  if (!folder) return kInstallUserNotFound;
  return RemoveFromQueue(*folder / kMainQueue, file_name);
}

int SyncFolderUsers::UserId(int index, std::uint32_t* id) {
  const std::optional<std::string> name = UserName(index);
  if (!name) return kInstallUserNotFound;
  *id = SyncUserId(*name);
  return kInstallOk;
}

int SyncFolderUsers::CardCount(std::uint32_t user_id, std::uint16_t* count) {
  const std::optional<std::filesystem::path> folder = UserFolder(user_id);
  if (!folder) return kInstallUserNotFound;
  bool readable = true;
  const auto cards = Cards(*folder, &readable);
  if (!readable) return kInstallCardListUnreadable;
  *count = static_cast<std::uint16_t>(std::min<std::size_t>(cards.size(), 0xfffe));
  return kInstallOk;
}

int SyncFolderUsers::CardIds(std::uint32_t user_id, std::vector<std::uint32_t>* ids) {
  const std::optional<std::filesystem::path> folder = UserFolder(user_id);
  if (!folder) return kInstallUserNotFound;
  bool readable = true;
  const auto cards = Cards(*folder, &readable);
  if (!readable) return kInstallCardListUnreadable;
  ids->clear();
  for (const auto& [id, entry] : cards) ids->push_back(id);
  return kInstallOk;
}

std::optional<std::filesystem::path> SyncFolderUsers::CardFolder(std::uint32_t user_id,
                                                                 std::uint32_t card_id,
                                                                 int* result) const {
  const std::optional<std::filesystem::path> folder = UserFolder(user_id);
  if (!folder) {
    *result = kInstallUserNotFound;
    return std::nullopt;
  }
  bool readable = true;
  const auto cards = Cards(*folder, &readable);
  const auto card = cards.find(card_id);
  if (card == cards.end()) {
    *result = readable ? kInstallCardNotFound : kInstallCardListUnreadable;
    return std::nullopt;
  }
  *result = kInstallOk;
  return card->second.path();
}

std::string SyncFolderUsers::CardName(std::uint32_t user_id, std::uint32_t card_id) {
  int result = kInstallOk;
  const std::optional<std::filesystem::path> folder = CardFolder(user_id, card_id, &result);
  if (!folder) return {};
  return ParseCardFolderName(folder->filename().string())->name;
}

int SyncFolderUsers::QueueOnCard(std::uint32_t user_id, std::uint32_t card_id,
                                 const std::string& path) {
  int result = kInstallOk;
  const std::optional<std::filesystem::path> folder = CardFolder(user_id, card_id, &result);
  if (!folder) return result;
  return CopyIntoQueue(path, *folder);
}

int SyncFolderUsers::RemoveFromCard(std::uint32_t user_id, std::uint32_t card_id,
                                    const std::string& file_name) {
  int result = kInstallOk;
  const std::optional<std::filesystem::path> folder = CardFolder(user_id, card_id, &result);
  if (!folder) return result;
  return RemoveFromQueue(*folder, file_name);
}

}  // namespace kv
