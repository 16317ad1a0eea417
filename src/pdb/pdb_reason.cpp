#include "pdb/pdb_reason.h"

#include <cstdarg>
#include <cstdio>

namespace kv {

void SetPdbReason(PdbReason* reason, const char* format, ...) {
  if (reason == nullptr) return;
  std::va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(reason->text, sizeof reason->text, format, arguments);
  va_end(arguments);
}

}  // namespace kv
