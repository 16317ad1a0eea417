#ifndef KORVALE_TESTS_INSTALL_FAULTY_BACK_ENDS_H_
#define KORVALE_TESTS_INSTALL_FAULTY_BACK_ENDS_H_

// Back ends that pass every call to a real one except the one step a test
// makes fail.

#include <string>
#include <vector>

#include "install/device_link.h"
#include "install/handheld_users.h"

namespace kv::testing {

enum class UserStep { kNone, kUserId, kCardCount, kCardIds, kQueue, kRemove, kQueueOnCard };

struct FaultyUsers final : HandheldUsers {
  FaultyUsers(HandheldUsers& real_users, UserStep failing_step, int failure_code)
      : real(real_users), failing(failing_step), code(failure_code) {}

  int UserCount() override { return real.UserCount(); }
  std::optional<std::string> UserName(int index) override { return real.UserName(index); }
  int Queue(const std::string& user, const std::string& path) override {
    return failing == UserStep::kQueue ? code : real.Queue(user, path);
  }
  int Remove(const std::string& user, const std::string& name) override {
    removed.push_back(name);
    return failing == UserStep::kRemove ? code : real.Remove(user, name);
  }
  int UserId(int index, std::uint32_t* id) override {
    return failing == UserStep::kUserId ? code : real.UserId(index, id);
  }
  int CardCount(std::uint32_t user, std::uint16_t* count) override {
    return failing == UserStep::kCardCount ? code : real.CardCount(user, count);
  }
  int CardIds(std::uint32_t user, std::vector<std::uint32_t>* ids) override {
    return failing == UserStep::kCardIds ? code : real.CardIds(user, ids);
  }
  std::string CardName(std::uint32_t user, std::uint32_t card) override {
    return real.CardName(user, card);
  }
  int QueueOnCard(std::uint32_t user, std::uint32_t card, const std::string& path) override {
    return failing == UserStep::kQueueOnCard ? code : real.QueueOnCard(user, card, path);
  }
  int RemoveFromCard(std::uint32_t user, std::uint32_t card, const std::string& name) override {
    removed.push_back(name);
    return real.RemoveFromCard(user, card, name);
  }

  HandheldUsers& real;
  UserStep failing;
  int code;
  std::vector<std::string> removed;
};

struct FaultyDevice final : DeviceLink {
  explicit FaultyDevice(DeviceLink& real_link) : real(real_link) {}

  int ListFolders(std::vector<std::string>* folders) override {
    if (list_result) return *list_result;
    if (listed) {
      *folders = *listed;
      return 0;
    }
    return real.ListFolders(folders);
  }
  int Copy(const std::string& local, const std::string& folder, CopyMode mode,
           const CopyProgress& progress) override {
    modes.push_back(mode);
    if (copy_result) return *copy_result;
    return real.Copy(local, folder, mode, progress);
  }

  DeviceLink& real;
  std::optional<int> list_result;
  std::optional<std::vector<std::string>> listed;
  std::optional<int> copy_result;
  std::vector<CopyMode> modes;
};

}  // namespace kv::testing

#endif  // KORVALE_TESTS_INSTALL_FAULTY_BACK_ENDS_H_
