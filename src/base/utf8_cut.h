#ifndef KORVALE_BASE_UTF8_CUT_H_
#define KORVALE_BASE_UTF8_CUT_H_

// Texts the program keeps in fixed byte counts (names, messages, folders)
// are cut where a character begins, so that no half character is kept.

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

// At most `max_bytes` bytes of `text`, never cut inside a UTF-8 sequence.
std::string CutUtf8(std::string_view text, std::size_t max_bytes);

}  // namespace kv

#endif  // KORVALE_BASE_UTF8_CUT_H_
