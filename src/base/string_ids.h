#ifndef KORVALE_BASE_STRING_IDS_H_
#define KORVALE_BASE_STRING_IDS_H_

// The numbers of the language strings the program asks for by name, area by
// area. Each number is defined here once: the language files and the
// program's built-in English texts are keyed by them, so a number never
// changes meaning. Contexts of error messages are in base/message_tables.h,
// menu commands in document/command_ids.h, dialogs in dialogs/dialog_ids.h.

#include <cstdint>

namespace kv {

// Error messages: entry i of each table belongs to code kProgramErrorBit + i.
inline constexpr std::uint32_t kFirstMainMessageId = 800;    // 800..819
inline constexpr std::uint32_t kFirstDetailMessageId = 900;  // 900..919
// Before the context, between context and message, between message and detail.
inline constexpr std::uint32_t kFirstFrameTextId = 1006;  // 1006..1008
inline constexpr std::uint32_t kUnknownFailureId = 1037;

// Reasons that code below the user interface gives by number
// (LException::set_reason(id, argument)); "%s" is the argument.
inline constexpr std::uint32_t kReasonImageNotBeside = 2378;     // the calibration file
inline constexpr std::uint32_t kReasonNamedImageMissing = 2379;  // the .map file
inline constexpr std::uint32_t kReasonSystemOffTheEarth = 2380;  // the coordinate system
inline constexpr std::uint32_t kReasonSizeBeyondTiles = 2381;    // "width x height"
// Why a calibration could not be exported.
inline constexpr std::uint32_t kReasonNotAffine = 2450;           // the worst residual in pixels
inline constexpr std::uint32_t kReasonWorldSystem = 2451;         // the coordinate system
inline constexpr std::uint32_t kReasonUnknownDatum = 2452;        // the datum's name
inline constexpr std::uint32_t kReasonNothingPlaces = 2453;       // the calibration kind
inline constexpr std::uint32_t kReasonNoCoordinateSystem = 2454;  // the datum
inline constexpr std::uint32_t kFirstExportReasonId = 2450;
inline constexpr std::uint32_t kLastExportReasonId = 2454;
// The export chooser's file types.
inline constexpr std::uint32_t kKvmFilesDescription = 2460;
inline constexpr std::uint32_t kKvmFilesPatterns = 2461;
inline constexpr std::uint32_t kOziMapFilesDescription = 2462;
inline constexpr std::uint32_t kOziMapFilesPatterns = 2463;
inline constexpr std::uint32_t kWorldFilesDescription = 2464;
inline constexpr std::uint32_t kWorldFilesPatterns = 2465;

// Operating system errors. "an operating system error of type %s occurred":
// a code without the program bit.
inline constexpr std::uint32_t kSystemErrorCodeMessageId = 2360;
// "error number %s": follows the system's own text of an uncommon error.
inline constexpr std::uint32_t kSystemErrorNumberId = 2361;
// The language strings of the common errors lie from here up to
// kLastReasonTextId.
inline constexpr std::uint32_t kFirstSystemErrorTextId = 2362;
inline constexpr std::uint32_t kLastReasonTextId = 2389;

// The document: its default name, questions, caption and messages.
inline constexpr std::uint32_t kDefaultDocumentNameId = 1028;
inline constexpr std::uint32_t kSaveChangesQuestionId = 1029;
inline constexpr std::uint32_t kCaptionTextId = 1030;
inline constexpr std::uint32_t kReplaceCalibrationQuestionId = 2085;
// Why an empty map is neither saved nor installed.
inline constexpr std::uint32_t kEmptyMapMessageId = 2250;
// The image counts a smaller scale would give a map with too many images.
inline constexpr std::uint32_t kSmallerScaleCountsId = 2350;
// "Stop copying the map?", asked with the copy's context as caption.
inline constexpr std::uint32_t kStopCopyQuestionId = 2083;

// Status line and previewer totals.
inline constexpr std::uint32_t kOneEntryWordId = 1039;
inline constexpr std::uint32_t kEntriesWordId = 1040;
inline constexpr std::uint32_t kBytesUnitId = 1041;
inline constexpr std::uint32_t kKilobytesUnitId = 1042;
inline constexpr std::uint32_t kEmptySizeTextId = 1043;

// The image list: column width templates (separated by ";"), column titles
// and the texts of its columns and totals.
inline constexpr std::uint32_t kColumnWidthTemplatesId = 1;
inline constexpr std::uint32_t kFirstColumnTitleId = 1009;  // five, in column order
inline constexpr std::uint32_t kImageBytesFormatId = 1017;
inline constexpr std::uint32_t kImagePixelsFormatId = 1018;
inline constexpr std::uint32_t kListTotalsFormatId = 1038;

// The names of the colour depths, as the conversion options list them.
inline constexpr std::uint32_t kSixteenBitsNameId = 1014;
inline constexpr std::uint32_t kEightBitsNameId = 1015;
inline constexpr std::uint32_t kFourBitsNameId = 1016;
inline constexpr std::uint32_t kTwoBitsNameId = 1048;
inline constexpr std::uint32_t kOneBitNameId = 1049;

// The previewer's labels, modes and compression words.
inline constexpr std::uint32_t kDateLabelId = 1032;
inline constexpr std::uint32_t kSizeLabelId = 1033;
inline constexpr std::uint32_t kPixelSizeLabelId = 1034;
inline constexpr std::uint32_t kColourDepthLabelId = 1035;
inline constexpr std::uint32_t kCompressedTextId = 1050;
inline constexpr std::uint32_t kNotCompressedTextId = 2084;
inline constexpr std::uint32_t kViewModeTextId = 2063;
inline constexpr std::uint32_t kCalibrateModeTextId = 2064;

// File choosers: titles, filter descriptions and patterns.
inline constexpr std::uint32_t kImagesDescription = 1019, kImagesPatterns = 1020;
inline constexpr std::uint32_t kMapsDescription = 1021, kMapsPatterns = 1022;
inline constexpr std::uint32_t kAllDescription = 1023, kAllPatterns = 1024;
inline constexpr std::uint32_t kOpenImageTitle = 1025, kOpenMapTitle = 1026, kSaveTitle = 1027;
inline constexpr std::uint32_t kCalibrationDescription = 1031, kCalibrationPatterns = 1051;
inline constexpr std::uint32_t kEverythingPatterns = 1052, kEverythingDescription = 1053;
// Asked before a save chooser replaces a file; "%s" is its path.
inline constexpr std::uint32_t kReplaceFileQuestion = 1060;

// Texts that once were English in every language. The language's name in
// itself ("Deutsch"), for the language menu.
inline constexpr std::uint32_t kLanguageNameId = 2290;
// "%s" takes a language's name: it is used from the next start.
inline constexpr std::uint32_t kNextStartNoteId = 2291;
// A QDate format with the month's name ("d MMM yyyy"), read in the
// language's own locale.
inline constexpr std::uint32_t kDateFormatId = 2292;
// The previewer's size label: label, size, unit, entry count.
inline constexpr std::uint32_t kPreviewerSizeFormatId = 2293;
inline constexpr std::uint32_t kErrorCaptionId = 2295;
// The calibration kinds in the order the calibration panel lists them.
inline constexpr std::uint32_t kFirstKindNameId = 2296;
inline constexpr std::uint32_t kCancelButtonId = 2300;
// The language could not be stored ("%s": the settings file).
inline constexpr std::uint32_t kLanguageNotStoredId = 2304;
// The user guide cannot be opened: caption, and the text ("%s": the
// guide's path, or nothing).
inline constexpr std::uint32_t kHelpCaptionId = 2301;
inline constexpr std::uint32_t kHelpFailureId = 2302;
inline constexpr std::uint32_t kHelpFailureNoPathId = 2303;

// Position texts: hemisphere letters, the fraction separator and the letters
// that make a position negative.
inline constexpr std::uint32_t kLatitudeLettersId = 2044;
inline constexpr std::uint32_t kLongitudeLettersId = 2043;
inline constexpr std::uint32_t kFractionSeparatorId = 2051;
inline constexpr std::uint32_t kNegativeLettersId = 2052;
// Explains a UTM zone text: the number, then the band letter, C to M south
// of the equator and N to X north of it.
inline constexpr std::uint32_t kUtmZoneHelpString = 2130;

// The calibration panel. Validation messages are shown under this caption.
inline constexpr std::uint32_t kValidationCaptionString = 2045;
// The messages of the calibration fields' refusals, in the order of
// FieldRefusal after kNone.
inline constexpr std::uint32_t kFirstRefusalString = 2046;
// Whether to leave the points for corners or centre, dropping them.
inline constexpr std::uint32_t kLeavePointsQuestionString = 2065;
// The help line after a click in the image that set no point: without
// pick checked, and without the point fields.
inline constexpr std::uint32_t kClickNeedsPickString = 2260;
inline constexpr std::uint32_t kClickNeedsPointsString = 2261;
// Column headers of the point table; a grid's northing and easting take
// the place of latitude and longitude.
inline constexpr std::uint32_t kPixelXColumnString = 2262;
inline constexpr std::uint32_t kPixelYColumnString = 2263;
inline constexpr std::uint32_t kLatitudeColumnString = 2264;
inline constexpr std::uint32_t kLongitudeColumnString = 2265;
inline constexpr std::uint32_t kNorthingColumnString = 2266;
inline constexpr std::uint32_t kEastingColumnString = 2267;

// Help lines of the calibration panel's fields, and their captions; the
// centre's and the extents' captions are their help lines too.
inline constexpr std::uint32_t kNorthWestLongitudeHelpString = 2010;
inline constexpr std::uint32_t kNorthWestLatitudeHelpString = 2011;
inline constexpr std::uint32_t kSouthEastLongitudeHelpString = 2012;
inline constexpr std::uint32_t kSouthEastLatitudeHelpString = 2013;
inline constexpr std::uint32_t kPointLongitudeHelpString = 2014;
inline constexpr std::uint32_t kPointLatitudeHelpString = 2015;
inline constexpr std::uint32_t kPixelXHelpString = 2016;
inline constexpr std::uint32_t kPixelYHelpString = 2017;
inline constexpr std::uint32_t kParameterValue1HelpString = 2018;
inline constexpr std::uint32_t kParameterValue2HelpString = 2019;
inline constexpr std::uint32_t kParameterValue3HelpString = 2020;
inline constexpr std::uint32_t kParameterValue4HelpString = 2021;
inline constexpr std::uint32_t kParameterValue5HelpString = 2022;
inline constexpr std::uint32_t kParameterValue6HelpString = 2023;
inline constexpr std::uint32_t kPointNumberHelpString = 2025;
inline constexpr std::uint32_t kNextPointHelpString = 2026;
inline constexpr std::uint32_t kPreviousPointHelpString = 2027;
inline constexpr std::uint32_t kDeletePointHelpString = 2028;
inline constexpr std::uint32_t kModeCentreHelpString = 2029;
inline constexpr std::uint32_t kModeCornersHelpString = 2030;
inline constexpr std::uint32_t kModePointsHelpString = 2031;
inline constexpr std::uint32_t kProjectionHelpString = 2032;
inline constexpr std::uint32_t kDatumHelpString = 2033;
inline constexpr std::uint32_t kKindHelpString = 2034;
inline constexpr std::uint32_t kNorthWestZoneHelpString = 2066;
inline constexpr std::uint32_t kSouthEastZoneHelpString = 2067;
inline constexpr std::uint32_t kCentreZoneHelpString = 2068;
inline constexpr std::uint32_t kPointZoneHelpString = 2078;
// Captions of the position fields; a zoned grid's northing and easting take
// the place of latitude and longitude.
inline constexpr std::uint32_t kNorthWestLatitudeCaptionString = 2035;
inline constexpr std::uint32_t kNorthWestLongitudeCaptionString = 2036;
inline constexpr std::uint32_t kSouthEastLatitudeCaptionString = 2037;
inline constexpr std::uint32_t kSouthEastLongitudeCaptionString = 2038;
inline constexpr std::uint32_t kCentreLongitudeCaptionString = 2039;
inline constexpr std::uint32_t kCentreLatitudeCaptionString = 2040;
inline constexpr std::uint32_t kVerticalExtentCaptionString = 2041;
inline constexpr std::uint32_t kHorizontalExtentCaptionString = 2042;
inline constexpr std::uint32_t kNorthWestNorthingCaptionString = 2058;
inline constexpr std::uint32_t kNorthWestEastingCaptionString = 2069;
inline constexpr std::uint32_t kSouthEastNorthingCaptionString = 2070;
inline constexpr std::uint32_t kSouthEastEastingCaptionString = 2071;
inline constexpr std::uint32_t kCentreEastingCaptionString = 2072;
inline constexpr std::uint32_t kCentreNorthingCaptionString = 2073;
inline constexpr std::uint32_t kPointLongitudeCaptionString = 2074;
inline constexpr std::uint32_t kPointLatitudeCaptionString = 2075;
inline constexpr std::uint32_t kPointEastingCaptionString = 2076;
inline constexpr std::uint32_t kPointNorthingCaptionString = 2077;

// Notices after an import.
inline constexpr std::uint32_t kCalibrationTakenTextId = 2190;
inline constexpr std::uint32_t kNoCalibrationTextId = 2191;
inline constexpr std::uint32_t kUnknownDatumTextId = 2192;
inline constexpr std::uint32_t kPointsSkippedTextId = 2193;
inline constexpr std::uint32_t kNoUsablePointsTextId = 2194;
inline constexpr std::uint32_t kUnshownCharactersTextId = 2195;
// One per CalibrationSourceFormat, in its order.
inline constexpr std::uint32_t kFirstCalibrationFormatTextId = 2196;

}  // namespace kv

#endif  // KORVALE_BASE_STRING_IDS_H_
