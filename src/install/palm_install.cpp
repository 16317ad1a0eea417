#include "install/palm_install.h"

#include <optional>

#include "base/exceptions.h"
#include "base/message_tables.h"
#include "install/install_error_text.h"
#include "install/install_name.h"
#include "install/install_results.h"
#include "install/temporary_install_file.h"

namespace kv {

namespace {

// Queues the file; on "already queued" asks, removes the queued one and
// queues again. None when the user keeps the queued file.
template <typename QueueFn, typename RemoveFn>
std::optional<int> QueueReplacing(InstallUi& ui, const std::string& file_name, QueueFn queue,
                                  RemoveFn remove) {
  int result = queue();
  if (result != kInstallAlreadyQueued) return result;
  if (!ui.ConfirmReplace(InstallPath::kPalm, file_name)) return std::nullopt;
  result = remove();
  return result != kInstallOk ? result : queue();
}

}  // namespace

std::vector<InstallTarget> BuildInstallTargets(HandheldUsers& users, int user_index,
                                               const std::vector<InstallTarget>& previous) {
  std::uint32_t user_id = 0;
  if (users.UserId(user_index, &user_id) != kInstallOk) {
    if (!previous.empty()) return previous;
    return {{kMainMemoryTargetName, kMainMemoryCard}};
  }
  std::vector<InstallTarget> targets = {{kMainMemoryTargetName, kMainMemoryCard}};
  std::uint16_t count = 0;
  if (users.CardCount(user_id, &count) != kInstallOk || count == 0) return targets;
  std::vector<std::uint32_t> ids;
  // Cards without names are of no use to choose from: the handheld alone.
  if (users.CardIds(user_id, &ids) != kInstallOk) return targets;
  for (std::uint32_t id : ids) targets.push_back({users.CardName(user_id, id), id});
  return targets;
}

std::size_t PreselectedTarget(const std::vector<InstallTarget>& targets,
                              const std::string& remembered) {
  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (targets[i].name.compare(0, remembered.size(), remembered) == 0) return i;
  }
  return 0;
}

InstallOutcome InstallToPalmUser(InstallContext& context, int user_index, InstallableMap& map) {
  InstallUi& ui = context.ui;
  if (!NameMapForInstall(ui, InstallPath::kPalm, &map)) return InstallOutcome::kCancelled;
  InstallMemory& memory = context.memory;
  memory.targets = BuildInstallTargets(context.users, user_index, memory.targets);
  std::vector<std::string> names;
  for (const InstallTarget& target : memory.targets) names.push_back(target.name);
  const std::optional<std::size_t> chosen =
      ui.ChooseTarget(names, PreselectedTarget(memory.targets, memory.target_name));
  if (!chosen || *chosen >= memory.targets.size()) return InstallOutcome::kCancelled;
  memory.target_name = memory.targets[*chosen].name;
  const InstallTarget target = memory.targets[*chosen];

  TemporaryInstallFile file(InstallFileName(map.database_name));
  map.write(file.path(), map.database_name);
  const std::string queued_name = InstallFileName(map.database_name);
  HandheldUsers& users = context.users;
  std::optional<int> result;
  if (*chosen == 0) {
    const std::string user = users.UserName(user_index).value_or(std::string());
    result = QueueReplacing(
        ui, map.file_name, [&]() { return users.Queue(user, file.path()); },
        [&]() { return users.Remove(user, queued_name); });
  } else {
    std::uint32_t user_id = 0;
    result = users.UserId(user_index, &user_id);
    if (*result == kInstallOk) {
      result = QueueReplacing(
          ui, map.file_name,
          [&]() { return users.QueueOnCard(user_id, target.card_id, file.path()); },
          [&]() {
            // What the removal says does not matter: queueing again tells.
            users.RemoveFromCard(user_id, target.card_id, queued_name);
            return kInstallOk;
          });
    }
  }
  if (!result) return InstallOutcome::kCancelled;
  if (*result != kInstallOk) {
    ui.ShowInstallError(kContextInstall, InstallErrorText(context.strings, *result));
    throw ErrAlreadyReported();
  }
  ui.ShowInstalled(InstallPath::kPalm, map.file_name);
  return InstallOutcome::kInstalled;
}

}  // namespace kv
