#ifndef KORVALE_PDB_PDB_REASON_H_
#define KORVALE_PDB_PDB_REASON_H_

// Why the database library refused a file, in words for the user, the way
// LevelDB's Status::Corruption carries its message. The PdbStatus stays what
// callers branch on (1032 for any invalid file); the reason only explains
// it. The text lives in a fixed buffer, so recording it never allocates and
// never throws.

#include <cstddef>

namespace kv {

struct PdbReason {
  static constexpr std::size_t kCapacity = 128;
  char text[kCapacity] = {};
  // The system's error number (errno) when the system refused; the user
  // interface words it in the user's language.
  int system_error = 0;

  bool empty() const { return text[0] == '\0' && system_error == 0; }
};

// printf-style; does nothing when `reason` is null. Longer texts are cut.
void SetPdbReason(PdbReason* reason, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace kv

#endif  // KORVALE_PDB_PDB_REASON_H_
