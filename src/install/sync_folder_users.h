#ifndef KORVALE_INSTALL_SYNC_FOLDER_USERS_H_
#define KORVALE_INSTALL_SYNC_FOLDER_USERS_H_

// Handheld users as folders under the handheld data folder, for a sync tool
// (or a person) to take the queued maps from:
//
//   <handheld data folder>/
//     <user name>/              one folder per user; "." names are ignored
//       main/                   maps for the handheld's main memory
//       cards/
//         <id> <card name>/     maps for one expansion card, e.g. "1 SD Card"
//
// Users are in the order of their names (byte order); cards in the order
// of their identifiers. A user's identifier is derived from its name, so it
// stays the same while the folders change.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "install/handheld_users.h"

namespace kv {

class SyncFolderUsers final : public HandheldUsers {
 public:
  // An empty `root` has no users.
  explicit SyncFolderUsers(std::filesystem::path root) : root_(std::move(root)) {}

  int UserCount() override;
  std::optional<std::string> UserName(int index) override;
  int Queue(const std::string& user_name, const std::string& path) override;
  int Remove(const std::string& user_name, const std::string& file_name) override;
  int UserId(int index, std::uint32_t* id) override;
  int CardCount(std::uint32_t user_id, std::uint16_t* count) override;
  int CardIds(std::uint32_t user_id, std::vector<std::uint32_t>* ids) override;
  std::string CardName(std::uint32_t user_id, std::uint32_t card_id) override;
  int QueueOnCard(std::uint32_t user_id, std::uint32_t card_id, const std::string& path) override;
  int RemoveFromCard(std::uint32_t user_id, std::uint32_t card_id,
                     const std::string& file_name) override;

  const std::filesystem::path& root() const { return root_; }

 private:
  std::vector<std::string> UserNames() const;
  // The user's folder, or none when no user has that name or identifier.
  std::optional<std::filesystem::path> UserFolder(const std::string& user_name) const;
  std::optional<std::filesystem::path> UserFolder(std::uint32_t user_id) const;
  // The card folder; `*result` says why there is none.
  std::optional<std::filesystem::path> CardFolder(std::uint32_t user_id, std::uint32_t card_id,
                                                  int* result) const;

  std::filesystem::path root_;
};

// The identifier of the user of that name.
std::uint32_t SyncUserId(const std::string& user_name);

}  // namespace kv

#endif  // KORVALE_INSTALL_SYNC_FOLDER_USERS_H_
