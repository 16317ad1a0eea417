#ifndef KORVALE_INSTALL_INSTALL_CONTEXT_H_
#define KORVALE_INSTALL_INSTALL_CONTEXT_H_

// What the two ways of installing a map work with: the back ends, the user
// interface, the texts, what is remembered between installs, and the map.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/string_table.h"
#include "install/device_link.h"
#include "install/handheld_users.h"
#include "install/install_ui.h"

namespace kv {

struct InstallTarget {
  std::string name;
  std::uint32_t card_id = 0;  // kMainMemoryCard for the handheld itself
};

// Kept for the whole run.
struct InstallMemory {
  // The name of the target chosen last; the next chooser preselects it.
  std::string target_name;
  // In the device's form; also kept in the preferences.
  std::string last_device_folder;
  // The targets of the last install; kept when a user's cards cannot be
  // asked for.
  std::vector<InstallTarget> targets;
};

struct InstallContext {
  HandheldUsers& users;
  DeviceLink& device;
  InstallUi& ui;
  const StringTable& strings;
  InstallMemory& memory;
};

// The map an install writes.
struct InstallableMap {
  // False until the map has a name of its own (saved, re-opened, or named
  // by an earlier install): the install then asks for one.
  bool named = false;
  std::string database_name;
  // The document's file name; becomes the name + ".prc" once asked for.
  std::string file_name;
  // Writes the map database under `database_name` into the file at `path`
  // (which exists and is empty); throws LException.
  std::function<void(const std::string& path, const std::string& database_name)> write;
};

enum class InstallOutcome { kInstalled, kCancelled };

}  // namespace kv

#endif  // KORVALE_INSTALL_INSTALL_CONTEXT_H_
