#ifndef KORVALE_INSTALL_HANDHELD_USER_LIST_H_
#define KORVALE_INSTALL_HANDHELD_USER_LIST_H_

// All handheld users the program offers: the sync folder users, then
// J-Pilot when the user has it.

#include <filesystem>

#include "install/handheld_users.h"
#include "install/jpilot_user.h"
#include "install/sync_folder_users.h"

namespace kv {

class HandheldUserList final : public HandheldUsers {
 public:
  HandheldUserList(std::filesystem::path handheld_data_folder, std::filesystem::path home)
      : sync_(std::move(handheld_data_folder)), jpilot_(std::move(home)) {}

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

 private:
  bool JPilotShown();
  bool IsJPilot(const std::string& user_name);
  bool IsJPilot(std::uint32_t user_id);

  SyncFolderUsers sync_;
  JPilotUser jpilot_;
};

}  // namespace kv

#endif  // KORVALE_INSTALL_HANDHELD_USER_LIST_H_
