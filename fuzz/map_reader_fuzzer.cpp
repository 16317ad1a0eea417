// Reads arbitrary bytes as a map database, then writes the result again.

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/exceptions.h"
#include "map/c_image_container.h"
#include "map/map_reader.h"
#include "map/map_writer.h"
#include "pdb/memory_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kv::MemoryStream stream(std::span<const std::uint8_t>(data, size));
  kv::CImageContainer container("Map", nullptr);
  kv::ConversionSettings settings;
  try {
    kv::ReadMapDatabase(stream, container, settings, nullptr);
    kv::MemoryStream out;
    kv::WriteMapDatabase(container, out, "fuzz", 1);
  } catch (const kv::LException&) {
    // Refusing bad input is the expected outcome.
  }
  return 0;
}
