// kvmap convert of several sources: which maps a batch plans before it
// converts anything, what it writes and reports when one source is broken,
// and that cancelling leaves no map behind.

#include "cli/convert_batch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <atomic>
#include <fstream>
#include <sstream>

#include "cli/convert_batch_plan.h"
#include "stripes_folder_test.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr char kBoundsKvm[] = "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47\nkv_east=7=9\n";

class ConvertBatchTest : public testing::StripesFolderTest {
 protected:
  ConvertBatchTest() : StripesFolderTest("kv_batch_") {}

  std::string Write(const fs::path& name, const std::string& text) {
    fs::create_directories((dir_ / name).parent_path());
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return (dir_ / name).string();
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string CalibratedBmp(const std::string& stem) {
    Write(stem + ".kvm", kBoundsKvm);
    return WriteBmp(stem + ".bmp", 200, 150);
  }
};

TEST_F(ConvertBatchTest, PlansFoldersNamesAndSkipsBeforeConverting) {
  const std::string a = CalibratedBmp("sheets/a");
  const std::string b = CalibratedBmp("sheets/b");
  Write("sheets/c.bmp", "an image without a calibration");
  Write("sheets/d.png.cal", "");  // a png.cal names only its png
  Write("sheets/inner/e.kvm", kBoundsKvm);
  Write("sheets/inner/e.bmp", "a sub-folder is not searched");
  const std::string loose = WriteBmp("loose.bmp", 200, 150);

  // A folder gives its calibrated images by name; a file given is taken
  // with or without one unless a calibration is required.
  cli::BatchPlan plan = cli::PlanBatch({{Path("sheets"), loose, a}, Path("out"), false});
  ASSERT_EQ(plan.maps.size(), 3u);
  EXPECT_EQ(plan.maps[0].source, a);
  EXPECT_EQ(plan.maps[0].output, Path("out/a.prc"));
  EXPECT_EQ(plan.maps[1].source, b);
  EXPECT_EQ(plan.maps[2].source, loose);  // `a` named again is one map
  EXPECT_THAT(plan.skipped, ElementsAre(Path("sheets/c.bmp")));

  plan = cli::PlanBatch({{loose, b}, "", true});
  ASSERT_EQ(plan.maps.size(), 1u);
  EXPECT_EQ(plan.maps[0].output, Path("sheets/b.prc"));  // beside its image without -o
  EXPECT_THAT(plan.skipped, ElementsAre(loose));

  // Refused before anything is written, naming what to fix.
  const struct {
    cli::BatchRequest request;
    std::string message;
  } refusals[] = {
      {{{a, CalibratedBmp("a")}, Path("out"), false},
       a + " and " + Path("a.bmp") + " would both be written as " + Path("out/a.prc")},
      {{{a, b}, loose, false}, loose + " is a file"},
      {{{a, b}, Path("maps.prc"), false}, "names one map"},
      {{{Path("empty")}, "", false}, "no images to convert in " + Path("empty")},
  };
  fs::create_directories(Path("empty"));
  for (const auto& refusal : refusals) {
    try {
      cli::PlanBatch(refusal.request);
      ADD_FAILURE() << refusal.message;
    } catch (const CLI::ValidationError& error) {
      EXPECT_THAT(error.what(), HasSubstr(refusal.message));
    }
  }
  EXPECT_FALSE(fs::exists(Path("out")));

  // One file alone, or a folder with -o naming one map, converts as a
  // single source always did.
  const struct {
    cli::BatchRequest request;
    bool batch;
  } kinds[] = {{{{a}, "", false}, false},
               {{{a}, Path("one.prc"), false}, false},
               {{{Path("sheets")}, Path("one.prc"), false}, false},
               {{{Path("sheets")}, "", false}, true},
               {{{a}, Path("sheets"), false}, true},
               {{{a}, "", true}, true},
               {{{a, b}, "", false}, true}};
  for (const auto& kind : kinds) {
    EXPECT_EQ(cli::IsBatchRequest(kind.request), kind.batch) << kind.request.sources[0];
  }
}

TEST_F(ConvertBatchTest, ABrokenSourceFailsAloneWithTheErrorASingleConvertGives) {
  const std::string good1 = CalibratedBmp("one");
  const std::string broken = Write("two.bmp", "BM but nothing more");
  const std::string good2 = CalibratedBmp("three");
  const testing::KvmapResult single = Run("convert '" + broken + "'");
  ASSERT_EQ(single.exit_code, 1);

  // The output folder is made when it is missing.
  const testing::KvmapResult result =
      Run("convert '" + good1 + "' '" + broken + "' '" + good2 + "' -o '" + Path("maps/new") + "'");
  EXPECT_EQ(result.exit_code, 1) << result.err;
  EXPECT_THAT(result.out, HasSubstr(Path("maps/new/one.prc") + ": 5 images, 16 bits, 200 x 150"));
  EXPECT_THAT(result.out, HasSubstr("converted 2 of 3 sources, skipped 0, failed 1\n"));
  EXPECT_THAT(result.err, HasSubstr(single.err));
  EXPECT_THAT(result.err, HasSubstr(broken));
  for (const char* name : {"one", "three"}) {
    const nlohmann::json json = Info(Path("maps/new/") + name + ".prc");
    EXPECT_EQ(json["map"]["name"], name);
    EXPECT_EQ(json["map"]["width"], 200);
    EXPECT_EQ(json["map"]["top_left_latitude"].get<std::string>().empty(), false);
  }
  EXPECT_FALSE(fs::exists(Path("maps/new/two.prc")));

  // Skipped sources are listed but do not fail the batch.
  const testing::KvmapResult skipping =
      Run("convert --require-calibration '" + good1 + "' '" + WriteBmp("plain.bmp", 200, 150) +
          "' -o '" + Path("maps/skip") + "'");
  EXPECT_EQ(skipping.exit_code, 0) << skipping.err;
  EXPECT_THAT(skipping.out, HasSubstr("converted 1 of 2 sources, skipped 1, failed 0\n"));
  EXPECT_THAT(skipping.err, HasSubstr("skipped " + Path("plain.bmp") + ": no calibration"));
}

TEST_F(ConvertBatchTest, CancellingLeavesNoMapInTheFolder) {
  cli::BatchPlan plan;
  for (const char* name : {"a", "b", "c"}) {
    plan.maps.push_back({WriteBmp(std::string(name) + ".bmp", 1200, 900),
                         Path("out/" + std::string(name) + ".prc")});
  }
  fs::create_directories(Path("out"));
  std::atomic<bool> cancel{false};
  double reported = 0;
  const cli::BatchOptions options{ConversionSettings(), false, false, 2};
  // Cancelled as soon as the first map is under way, as Ctrl-C would.
  const std::vector<cli::MapOutcome> outcomes = cli::ConvertBatch(
      StringTable(), plan, options, cancel, [&](const cli::BatchProgressState& state) {
        reported = state.fraction;
        if (state.fraction > 0) cancel = true;
      });
  EXPECT_GT(reported, 0);
  EXPECT_TRUE(fs::is_empty(Path("out")));
  for (const cli::MapOutcome& outcome : outcomes) {
    EXPECT_EQ(outcome.kind, cli::MapOutcomeKind::kCancelled);
  }
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(cli::ReportBatch(plan, outcomes, out, err), 130);
  EXPECT_EQ(out.str(), "converted 0 of 3 sources, skipped 0, failed 0\n");
  EXPECT_EQ(err.str(), "kvmap: cancelled; 3 maps not written\n");
}

}  // namespace
}  // namespace kv
