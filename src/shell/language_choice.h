#ifndef KORVALE_SHELL_LANGUAGE_CHOICE_H_
#define KORVALE_SHELL_LANGUAGE_CHOICE_H_

// Which language file the user's language setting selects.

#include <optional>
#include <string>
#include <string_view>

namespace kv {

inline constexpr int kEnglishLanguage = 9;

struct LanguageChoice {
  // The language in effect: the one asked for, or 9 when it has no file.
  int language = kEnglishLanguage;
  std::string code;  // "EN", "DE", ...
  // The locale whose month names, number formats and Qt translations go
  // with the texts ("de", "en_GB"); a name QLocale understands.
  std::string locale = "en_GB";
};

// Windows primary language and sub-language numbers to the two-letter code
// of the file; unknown languages, and Chinese other than 1 (traditional) and
// 2 (simplified), fall back to English.
LanguageChoice ChooseLanguage(int language, int sub_language);

// The settings' "Language" and "LanguageSub" texts as numbers: a missing
// "Language" or one that reads as 0 means English; "LanguageSub" counts only
// with a "Language" and defaults to 0. Texts read as C's atol would, from
// at most 29 characters.
struct LanguageSetting {
  int language = kEnglishLanguage;
  int sub_language = 0;
};
LanguageSetting ReadLanguageSetting(const std::optional<std::string>& language,
                                    const std::optional<std::string>& sub_language);

// The setting that selects the file of `code` ("DE": language 7), or none
// for a code no language has.
std::optional<LanguageSetting> LanguageSettingForCode(std::string_view code);

}  // namespace kv

#endif  // KORVALE_SHELL_LANGUAGE_CHOICE_H_
