// Finding the device root: the chosen folder, the environment's, and the
// removable media, on real folders with the mount table given by the test.

#include "install/device_root.h"

#include <gtest/gtest.h>

#include <set>

#include "install/install_back_ends.h"
#include "install/install_results.h"
#include "install_fixture.h"

namespace kv::testing {
namespace {

namespace fs = std::filesystem;

class DeviceRootTest : public InstallFolders {
 protected:
  void SetUp() override {
    InstallFolders::SetUp();
    media = temp / "media" / "anna";
    run_media = temp / "run" / "media" / "anna";
    fs::create_directories(media);
    fs::create_directories(run_media);
  }
  // Mounted: the folders the test says are.
  MountCheck Mounted() {
    return [this](const fs::path& folder) { return mounted.count(folder) != 0; };
  }
  DeviceRootPlaces Places() {
    DeviceRootPlaces places;
    places.media_parents = {media, run_media};
    return places;
  }

  fs::path media;
  fs::path run_media;
  std::set<fs::path> mounted;
};

TEST_F(DeviceRootTest, AFolderCountsWhenMountedOrHoldingTheHandheldsFolders) {
  const fs::path left_over = media / "POCKETPC";
  fs::create_directories(left_over);
  const fs::path with_files = media / "other";
  WriteFile(with_files / "notes.txt", "x");
  const fs::path card = media / "CARD";
  fs::create_directories(card / "storage card");
  struct Row {
    fs::path folder;
    bool mounted;
    bool counts;
  };
  for (const Row& row :
       {Row{left_over, false, false}, Row{left_over, true, true}, Row{with_files, false, false},
        Row{card, false, true}, Row{media / "gone", true, false}, Row{fs::path(), true, false}}) {
    mounted.clear();
    if (row.mounted) mounted.insert(row.folder);
    EXPECT_EQ(CountsAsDevice(row.folder, Mounted()), row.counts) << row.folder;
  }
  // The system's own check: the root is mounted, a fresh folder is not.
  EXPECT_TRUE(IsMountPoint("/"));
  EXPECT_FALSE(IsMountPoint(left_over));
  EXPECT_FALSE(IsMountPoint(media / "gone"));
}

TEST_F(DeviceRootTest, MediaWithTheHandheldsFoldersComeFirstAndLeftOversNotAtAll) {
  fs::create_directories(media / "EMPTY");     // left after unmounting
  fs::create_directories(media / "USBSTICK");  // mounted, not a handheld
  fs::create_directories(run_media / "POCKET" / "My Documents");
  mounted = {media / "USBSTICK", run_media / "POCKET"};
  EXPECT_EQ(FindRemovableMedia({media, run_media, temp / "nowhere"}, Mounted()),
            (std::vector<fs::path>{run_media / "POCKET", media / "USBSTICK"}));
  EXPECT_EQ(RemovableMediaFolders("anna"),
            (std::vector<fs::path>{"/media/anna", "/run/media/anna"}));
  EXPECT_TRUE(RemovableMediaFolders("").empty());
  const InstallLocations locations =
      FindInstallLocations(std::nullopt, [](const char* name) -> std::optional<std::string> {
        if (std::string(name) == "LOGNAME") return "bob";
        return std::nullopt;
      });
  EXPECT_EQ(locations.media_folders, (std::vector<std::string>{"/media/bob", "/run/media/bob"}));
  EXPECT_TRUE(RemovableMediaFolders("..").empty());
}

TEST_F(DeviceRootTest, TheChosenFolderWinsWhileItIsTheDeviceThenTheEnvironmentThenMedia) {
  const fs::path chosen = temp / "chosen";
  fs::create_directories(chosen);
  fs::create_directories(media / "POCKET" / "My Documents");
  DeviceRootPlaces places = Places();
  places.chosen = chosen.string();
  places.environment = (temp / "from-environment").string();
  DeviceRootFinder finder(places, Mounted());
  // Chosen, but unmounted: no device, not another one.
  EXPECT_EQ(finder.Find().origin, DeviceRootOrigin::kNone);
  mounted.insert(chosen);
  EXPECT_EQ(finder.Find().origin, DeviceRootOrigin::kChosen);
  EXPECT_EQ(finder.Find().root, chosen);
  finder.set_chosen(std::string());
  EXPECT_EQ(finder.Find().origin, DeviceRootOrigin::kEnvironment);
  places.chosen.reset();
  places.environment.reset();
  DeviceRootFinder automatic(places, Mounted());
  EXPECT_EQ(automatic.Find().origin, DeviceRootOrigin::kRemovableMedium);
  EXPECT_EQ(automatic.Find().root, media / "POCKET");
  fs::remove_all(media / "POCKET");
  EXPECT_EQ(automatic.Find().origin, DeviceRootOrigin::kNone);
}

TEST_F(DeviceRootTest, TheBackEndsCopyOnlyToADeviceThatIsThere) {
  InstallLocations locations;
  locations.media_folders = {media.string()};
  InstallBackEnds back_ends(locations);
  const fs::path local = temp / "local" / "Alps.prc";
  WriteFile(local, "map");
  std::vector<std::string> folders;
  // Nothing mounted: the link says so, and nothing is written anywhere.
  EXPECT_EQ(back_ends.device.ListFolders(&folders), kDeviceNotConnected);
  fs::create_directories(media / "POCKETPC");
  EXPECT_EQ(back_ends.device.Copy(local.string(), "\\My Documents\\Korvale", CopyMode::kCreate, {}),
            kDeviceNotConnected);
  EXPECT_TRUE(Tree(media / "POCKETPC").empty());
  // Plugged in while the program runs.
  fs::create_directories(media / "POCKETPC" / "My Documents");
  EXPECT_EQ(back_ends.device.Copy(local.string(), "\\My Documents\\Korvale", CopyMode::kCreate, {}),
            kInstallOk);
  EXPECT_EQ(ReadFile(media / "POCKETPC" / "My Documents" / "Korvale" / "Alps.prc"), "map");
}

}  // namespace
}  // namespace kv::testing
