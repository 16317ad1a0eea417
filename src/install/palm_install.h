#ifndef KORVALE_INSTALL_PALM_INSTALL_H_
#define KORVALE_INSTALL_PALM_INSTALL_H_

// Queueing a map for a handheld user's next synchronisation, into main
// memory or onto one of the handheld's expansion cards.

#include <cstddef>
#include <string>
#include <vector>

#include "install/install_context.h"

namespace kv {

inline constexpr const char* kMainMemoryTargetName = "HandHeld";

// "HandHeld" and the user's cards. When the user cannot be asked for, the
// previous list; when the cards cannot, "HandHeld" alone.
std::vector<InstallTarget> BuildInstallTargets(HandheldUsers& users, int user_index,
                                               const std::vector<InstallTarget>& previous);

// The first target whose name begins with `remembered`; 0 when none does.
std::size_t PreselectedTarget(const std::vector<InstallTarget>& targets,
                              const std::string& remembered);

// Names the map if needed, lets the user choose the target, writes the map
// into a temporary file and queues it, asking before it replaces a queued
// file of that name. Ends normally on success and on every cancellation;
// a queue failure is shown (kContextInstall) and then thrown as
// ErrAlreadyReported; a temporary file that cannot be made is
// ErrFileCreate. The temporary file is gone when this returns or throws.
InstallOutcome InstallToPalmUser(InstallContext& context, int user_index, InstallableMap& map);

}  // namespace kv

#endif  // KORVALE_INSTALL_PALM_INSTALL_H_
