#ifndef KORVALE_SHELL_QT_LANGUAGE_H_
#define KORVALE_SHELL_QT_LANGUAGE_H_

// Qt's own texts (the standard buttons, the file dialog) and the locale of
// dates and numbers follow the program's language, not the system's.

#include <string>

namespace kv {

// Makes `locale_name` ("de", "en_GB") the default locale and installs Qt's
// translation for it from Qt's translations folder, in place of one an
// earlier call installed. False when Qt has no translation for it; Qt's
// texts then stay English. REQUIRES: a QCoreApplication exists.
bool UseQtLanguage(const std::string& locale_name);

}  // namespace kv

#endif  // KORVALE_SHELL_QT_LANGUAGE_H_
