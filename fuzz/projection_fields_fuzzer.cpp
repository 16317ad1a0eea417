// Reads arbitrary bytes as a calibration's projection text (it comes from
// calibration files) into the calibration dialog's projection fields and
// writes them back; the text written must read back to the same projection
// with every key that had a value. (Angle values may move in their last digits: a typed angle
// beyond any sense, 1e308 say, is not read back digit for digit.)

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/calibration_projection_fields.h"
#include "geo/position_text.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

const kv::PositionTexts kTexts = {"NS", "EW", ".", "SWsw"};

bool HasKey(const kv::ProjectionFields& fields, const std::string& key) {
  for (const kv::ProjectionParameter& parameter : fields.parameters) {
    if (parameter.key == key) return true;
  }
  return false;
}

std::string Angle(double degrees, kv::PositionAxis axis) {
  return kv::FormatPosition(kTexts, degrees, axis, 2, kv::kFullPrecision);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const kv::ProjectionFields fields = kv::ProjectionFieldsFromText(text, Angle);
  Check(fields.projection >= 0 && fields.projection < 9);
  const std::string written = kv::ProjectionTextFromFields(fields, kTexts.negative_letters);
  Check(fields.projection != 0 || written.empty());
  const kv::ProjectionFields again = kv::ProjectionFieldsFromText(written, Angle);
  Check(again.projection == fields.projection);
  // Every pair with a value is read back under its key.
  for (const kv::ProjectionParameter& before : fields.parameters) {
    if (fields.projection == 0 || before.key.empty() || before.value.empty()) continue;
    Check(HasKey(again, before.key));
  }
  return 0;
}
