#ifndef KORVALE_TESTS_CLI_KVMAP_RUNNER_H_
#define KORVALE_TESTS_CLI_KVMAP_RUNNER_H_

// Runs the built kvmap program and collects its exit code and output.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kv::testing {

struct KvmapResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// `arguments` is passed to the shell as it stands; quote paths yourself.
// `shell_setup` runs first in the same shell ("ulimit -f 40; cd 'dir' &&").
inline KvmapResult RunKvmap(const std::string& arguments, const std::filesystem::path& work_dir,
                            const std::string& shell_setup = "") {
  const std::filesystem::path out = work_dir / "kvmap.out";
  const std::filesystem::path err = work_dir / "kvmap.err";
  const std::string command = shell_setup + " '" + KVMAP_PATH + "' " + arguments + " >'" +
                              out.string() + "' 2>'" + err.string() + "'";
  int status = std::system(command.c_str());
  KvmapResult result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadWholeFile(out);
  result.err = ReadWholeFile(err);
  return result;
}

}  // namespace kv::testing

#endif  // KORVALE_TESTS_CLI_KVMAP_RUNNER_H_
