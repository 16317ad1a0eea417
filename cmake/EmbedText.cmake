# Writes OUTPUT, a C++ source defining FUNCTION (in namespace kv) that returns
# the bytes of INPUT as a std::string_view. Run with cmake -P.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.
#include <string_view>

namespace kv {
namespace {
const char kText[] = {
    ${bytes}0};
}  // namespace

std::string_view ${FUNCTION}() { return std::string_view(kText, sizeof kText - 1); }
}  // namespace kv
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
