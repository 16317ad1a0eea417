#ifndef KORVALE_INSTALL_HANDHELD_USERS_H_
#define KORVALE_INSTALL_HANDHELD_USERS_H_

// The handheld users the desktop synchronises with, and the queues of files
// each one receives at its next synchronisation: one for the handheld's
// main memory and one for each of its expansion cards. Results are the
// codes of install_results.h.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class HandheldUsers {
 public:
  virtual ~HandheldUsers() = default;

  // Users are numbered from 0 in a stable order.
  virtual int UserCount() = 0;
  // None for an index without a user.
  virtual std::optional<std::string> UserName(int index) = 0;

  // Main memory. Queue copies the file at `path` into the user's queue:
  // kInstallOk, kInstallAlreadyQueued when a file of that name waits there,
  // another negative code on failure. Remove takes the file named
  // `file_name` out of the queue (kInstallOk also when it was not there).
  virtual int Queue(const std::string& user_name, const std::string& path) = 0;
  virtual int Remove(const std::string& user_name, const std::string& file_name) = 0;

  // Expansion cards, named by the user's identifier.
  virtual int UserId(int index, std::uint32_t* id) = 0;
  virtual int CardCount(std::uint32_t user_id, std::uint16_t* count) = 0;
  virtual int CardIds(std::uint32_t user_id, std::vector<std::uint32_t>* ids) = 0;
  // The card's display name; empty when it has none.
  virtual std::string CardName(std::uint32_t user_id, std::uint32_t card_id) = 0;
  virtual int QueueOnCard(std::uint32_t user_id, std::uint32_t card_id,
                          const std::string& path) = 0;
  virtual int RemoveFromCard(std::uint32_t user_id, std::uint32_t card_id,
                             const std::string& file_name) = 0;
};

}  // namespace kv

#endif  // KORVALE_INSTALL_HANDHELD_USERS_H_
