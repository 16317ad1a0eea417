// kvmap convert on every core gives the file one thread gives; Ctrl-C
// cancels it without leaving anything behind; its progress line shows only
// on a terminal.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bitmap/bmp_fixture.h"
#include "cli/progress_printer.h"
#include "kvmap_runner.h"
#include "temp_folder.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::uint32_t Photo(int x, int y) {
  const int texture = ((x * 7919) ^ (y * 104729)) & 15;
  return static_cast<std::uint32_t>((x / 3 + texture) & 0xFF) << 16 |
         static_cast<std::uint32_t>((y / 2 + 40 + texture) & 0xFF) << 8 |
         static_cast<std::uint32_t>(((x + y) / 5 + 90 - texture) & 0xFF);
}

class ConvertProgressTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = kv::MakeTempFolder("kv_progress_"); }
  void TearDown() override { fs::remove_all(dir_); }

  std::string WriteBmp(const std::string& name, int width, int height) {
    testing::BmpParams params;
    params.width = width;
    params.height = height;
    const std::vector<std::uint8_t> bytes = testing::MakeBmp(params, Photo);
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  fs::path dir_;
};

// Sets an environment variable for kvmap runs while it lives.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() { unsetenv(name_); }

 private:
  const char* name_;
};

TEST_F(ConvertProgressTest, OneThreadAndFourWriteTheSameFile) {
  const std::string source = WriteBmp("photo.bmp", 900, 600);
  ScopedVariable date("SOURCE_DATE_EPOCH", "1700000000");
  for (const std::string depth : {"16", "8"}) {
    for (const std::string threads : {"1", "4"}) {
      ScopedVariable count("KV_THREADS", threads);
      fs::create_directories(dir_ / threads);
      const testing::KvmapResult result =
          testing::RunKvmap("convert --depth " + depth + " '" + source + "' -o '" +
                                (dir_ / threads / "map.prc").string() + "'",
                            dir_);
      ASSERT_EQ(result.exit_code, 0) << result.err;
    }
    const std::string one = testing::ReadWholeFile(dir_ / "1" / "map.prc");
    EXPECT_GT(one.size(), 100000u);
    EXPECT_TRUE(one == testing::ReadWholeFile(dir_ / "4" / "map.prc")) << depth;
  }
}

// Runs kvmap with a Ctrl-C already waiting for it, as one pressed while it
// starts to convert would be; returns the exit status.
int RunInterrupted(const std::vector<std::string>& arguments, const fs::path& work_dir) {
  const pid_t child = fork();
  if (child == 0) {
    const int out = open((work_dir / "kvmap.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open((work_dir / "kvmap.err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    sigprocmask(SIG_BLOCK, &interrupt, nullptr);
    raise(SIGINT);  // blocked, so it waits; exec keeps it waiting
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(KVMAP_PATH));
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(KVMAP_PATH, argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ConvertProgressTest, CtrlCCancelsWithoutWritingAnything) {
  const std::string source = WriteBmp("photo.bmp", 900, 600);
  const fs::path output = dir_ / "out" / "map.prc";
  fs::create_directories(output.parent_path());
  EXPECT_EQ(RunInterrupted({"convert", source, "-o", output.string()}, dir_), 130);
  EXPECT_THAT(testing::ReadWholeFile(dir_ / "kvmap.err"), HasSubstr("kvmap: cancelled"));
  EXPECT_TRUE(fs::is_empty(output.parent_path()));
}

TEST_F(ConvertProgressTest, CtrlCCancelsABatchWithoutWritingAnything) {
  const std::string first = WriteBmp("first.bmp", 900, 600);
  const std::string second = WriteBmp("second.bmp", 900, 600);
  const fs::path output = dir_ / "maps";
  EXPECT_EQ(RunInterrupted({"convert", first, second, "-o", output.string()}, dir_), 130);
  EXPECT_THAT(testing::ReadWholeFile(dir_ / "kvmap.err"), HasSubstr("kvmap: cancelled"));
  EXPECT_TRUE(fs::is_empty(output));
}

TEST_F(ConvertProgressTest, NoProgressLineWhenTheOutputIsNotATerminal) {
  const std::string source = WriteBmp("photo.bmp", 500, 300);
  const testing::KvmapResult result = testing::RunKvmap("convert '" + source + "'", dir_);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out.find('\r'), std::string::npos);
  EXPECT_EQ(result.out.find("converting"), std::string::npos);
}

std::string Printed(const std::function<void(cli::ProgressPrinter&)>& body, bool terminal) {
  std::FILE* file = std::tmpfile();
  {
    cli::ProgressPrinter printer(file, terminal);
    body(printer);
  }
  std::rewind(file);
  std::string text;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text.push_back(char(c));
  std::fclose(file);
  return text;
}

TEST(ProgressPrinter, RedrawsOneLineAsThePercentChangesAndClearsIt) {
  const auto run = [](cli::ProgressPrinter& printer) {
    ConversionProgress progress{0, 1000, 0, 10};
    printer.Show(progress);
    progress.rows_read = 1;  // still 0 %
    printer.Show(progress);
    progress.rows_read = 1000;
    progress.tiles_done = 10;
    printer.Show(progress);
    printer.End();
  };
  EXPECT_EQ(Printed(run, true),
            "\r\033[Kconverting:   0%, 0 of 10 tiles"
            "\r\033[Kconverting: 100%, 10 of 10 tiles"
            "\r\033[K");
  EXPECT_EQ(Printed(run, false), "");
}

}  // namespace
}  // namespace kv
