#ifndef KORVALE_DOCUMENT_CALIBRATION_CAPTIONS_H_
#define KORVALE_DOCUMENT_CALIBRATION_CAPTIONS_H_

// Which language string labels each field of the calibration dialog, and
// which one the help line shows while a control has the focus. Both depend
// on the mode, and the captions also on whether positions are typed as a
// zoned grid reference.

#include <cstdint>
#include <string>
#include <vector>

#include "base/string_table.h"

namespace kv {

struct CaptionString {
  int label = 0;             // control ID
  std::uint32_t string = 0;  // string ID
  int field = 0;             // the control it captions
};

// The labels whose text the mode sets (mode 0, 1 or 2). In mode 1 the
// labels of a field pair change places: the centre's latitude is captioned
// by the label that holds the north-west longitude in mode 0.
std::vector<CaptionString> ModeCaptions(int mode, bool zoned_grid);

// The calibration kind at `kind_index` of the kind list in the language of
// `strings` (English when the language lacks it).
std::string KindNameText(const StringTable& strings, int kind_index);

// String ID of the help line for `control`, or 0 for an empty line.
std::uint32_t HelpLineString(int control, int mode);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_CALIBRATION_CAPTIONS_H_
