#include "bitmap/conversion_threads.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace kv {

namespace {

int FromEnvironment() {
  const char* text = std::getenv("KV_THREADS");
  if (text == nullptr) return 0;
  int count = 0;
  const char* end = text + std::strlen(text);
  const auto [rest, error] = std::from_chars(text, end, count);
  return error == std::errc() && rest == end ? count : 0;
}

}  // namespace

int ConversionThreadCount(int requested) {
  int count = requested > 0 ? requested : FromEnvironment();
  if (count <= 0) count = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(count, 1, kMaxConversionThreads);
}

}  // namespace kv
