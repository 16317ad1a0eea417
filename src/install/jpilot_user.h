#ifndef KORVALE_INSTALL_JPILOT_USER_H_
#define KORVALE_INSTALL_JPILOT_USER_H_

// J-Pilot, the Palm desktop of Linux, as one more handheld user when its
// folder ~/.jpilot exists. Queueing keeps a copy of the map in
// ~/.jpilot/korvale-maps/ and adds that copy's path to J-Pilot's install
// list; removing takes the line out and the copy away. J-Pilot installs
// into main memory only.

#include <filesystem>
#include <string>

namespace kv {

inline constexpr const char* kJPilotUserName = "J-Pilot";

class JPilotUser {
 public:
  // `home` is the user's home folder; empty for none.
  explicit JPilotUser(std::filesystem::path home) : home_(std::move(home)) {}

  bool Exists() const;
  int Queue(const std::string& path);
  int Remove(const std::string& file_name);

  std::filesystem::path ListPath() const { return folder() / "jpilot_to_install"; }
  std::filesystem::path KeptFolder() const { return folder() / "korvale-maps"; }

 private:
  std::filesystem::path folder() const { return home_ / ".jpilot"; }

  std::filesystem::path home_;
};

}  // namespace kv

#endif  // KORVALE_INSTALL_JPILOT_USER_H_
