#include "shell/command_line_answer.h"

namespace kv {

namespace {

// help2man turns this into the manual page, so its layout follows the GNU
// conventions help2man reads: a usage line, a paragraph, then the options.
constexpr std::string_view kHelpText =
    "Usage: korvale-map-manager [OPTION]... [FILE]\n"
    "Turn raster maps into moving maps for GPS handhelds: convert, calibrate,\n"
    "re-open, change the colour depth of and install them.\n"
    "\n"
    "FILE, when given, is opened at start: a map database (.prc), an image\n"
    "(BMP, JPEG, PNG, GIF, TIFF or GeoTIFF, KAP or CAP chart) or a calibration\n"
    "file naming its image (.kvm, .cal, .jpr).\n"
    "\n"
    "Options:\n"
    "  -h, --help     display this help and exit\n"
    "      --version  output version information and exit\n"
    "\n"
    "Qt's own options, such as -platform and -style, are understood too.\n"
    "The command-line program kvmap does the same work without a window.\n";

}  // namespace

std::optional<std::string> CommandLineAnswer(std::span<const std::string_view> arguments,
                                             std::string_view version) {
  for (const std::string_view argument : arguments) {
    if (argument == "--") break;
    if (argument == "--help" || argument == "-h") return std::string(kHelpText);
    if (argument == "--version") {
      return "korvale-map-manager " + std::string(version) + "\n";
    }
  }
  return std::nullopt;
}

}  // namespace kv
