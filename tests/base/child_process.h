#ifndef KORVALE_TESTS_BASE_CHILD_PROCESS_H_
#define KORVALE_TESTS_BASE_CHILD_PROCESS_H_

// Runs a piece of a test in a forked child, for what must not touch the
// test program itself: a file size limit, a lost privilege, a fatal signal.

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace kv::testing {

// The child's exit code, or minus the number of the signal that ended it.
inline int RunInChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid < 0) return -1000;
  if (pid == 0) {
    int code = 120;
    try {
      code = body();
    } catch (...) {
      code = 121;
    }
    // Skips the parent's exit handlers, which are not the child's business.
    ::_exit(code);
  }
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1001;
  return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

// Sets the file size limit (ulimit -f) of the calling process, in bytes.
inline bool LimitFileSize(rlim_t bytes) {
  const rlimit limit{bytes, bytes};
  return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

// Folder permissions bind everyone but root: a child running as root
// becomes "nobody" (65534) so that a read-only folder is read-only to it.
inline bool GiveUpRoot() {
  if (::geteuid() != 0) return true;
  constexpr uid_t kNobody = 65534;
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

}  // namespace kv::testing

#endif  // KORVALE_TESTS_BASE_CHILD_PROCESS_H_
