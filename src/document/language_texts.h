#ifndef KORVALE_DOCUMENT_LANGUAGE_TEXTS_H_
#define KORVALE_DOCUMENT_LANGUAGE_TEXTS_H_

// String IDs of texts that once were English in every language: how a
// language names itself, the note after switching it, the date format, the
// previewer's tile count, the error caption, the calibration kinds and the
// progress dialog's button. DocumentText gives the English one when a
// language file lacks a text.

#include <cstdint>

namespace kv {

// The language's name in itself ("Deutsch"), for the language menu.
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

}  // namespace kv

#endif  // KORVALE_DOCUMENT_LANGUAGE_TEXTS_H_
