#ifndef KORVALE_TESTS_CLI_BOUNDED_CHILD_H_
#define KORVALE_TESTS_CLI_BOUNDED_CHILD_H_

// Runs a program in a child process with bounded CPU time and memory, and
// reports how it ended: an exit status, or the signal that ended it.
//
// Memory: an uninstrumented build gets RLIMIT_AS. Under AddressSanitizer an
// address-space limit cannot work (the shadow memory alone reserves
// terabytes), so ASan's own limits stand in: any single allocation above
// kChildMaxAllocationMb and a resident size above kChildMaxResidentMb end the
// child with an ASan report, which the caller sees as SIGABRT.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kv::testing {

inline constexpr int kChildCpuSeconds = 60;
inline constexpr long kChildMaxAllocationMb = 1024;
inline constexpr long kChildMaxResidentMb = 2048;

struct ChildOutcome {
  bool exited = false;  // false: ended by `signal`
  int exit_code = -1;
  int signal = 0;
  std::string out;
  std::string err;
};

inline std::string ReadFileText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

namespace internal {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kUnderAsan = true;
#else
inline constexpr bool kUnderAsan = false;
#endif

// Runs in the child between fork and exec.
[[noreturn]] inline void ExecBounded(const std::vector<std::string>& argv, const char* out,
                                     const char* err) {
  const int out_fd = open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int err_fd = open(err, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out_fd < 0 || err_fd < 0) _exit(127);
  dup2(out_fd, STDOUT_FILENO);
  dup2(err_fd, STDERR_FILENO);
  const rlimit cpu{kChildCpuSeconds, kChildCpuSeconds};
  setrlimit(RLIMIT_CPU, &cpu);
  if constexpr (kUnderAsan) {
    const char* inherited = std::getenv("ASAN_OPTIONS");
    std::string options = inherited != nullptr ? inherited : "";
    options += ":abort_on_error=1:max_allocation_size_mb=" + std::to_string(kChildMaxAllocationMb) +
               ":hard_rss_limit_mb=" + std::to_string(kChildMaxResidentMb);
    setenv("ASAN_OPTIONS", options.c_str(), 1);
  } else {
    const rlim_t bytes = static_cast<rlim_t>(kChildMaxResidentMb) << 20;
    const rlimit memory{bytes, bytes};
    setrlimit(RLIMIT_AS, &memory);
  }
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  execv(args[0], args.data());
  _exit(127);
}

}  // namespace internal

// argv[0] is the program's path. Standard output and error go through files
// in `log_dir`, which must exist.
inline ChildOutcome RunBounded(const std::vector<std::string>& argv,
                               const std::filesystem::path& log_dir) {
  const std::string out = (log_dir / "stdout").string();
  const std::string err = (log_dir / "stderr").string();
  ChildOutcome outcome;
  const pid_t pid = fork();
  if (pid == 0) internal::ExecBounded(argv, out.c_str(), err.c_str());
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return outcome;
  outcome.exited = WIFEXITED(status);
  outcome.exit_code = outcome.exited ? WEXITSTATUS(status) : -1;
  outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  outcome.out = ReadFileText(out);
  outcome.err = ReadFileText(err);
  return outcome;
}

}  // namespace kv::testing

#endif  // KORVALE_TESTS_CLI_BOUNDED_CHILD_H_
