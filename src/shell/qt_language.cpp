#include "shell/qt_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

namespace kv {

namespace {

// Names the translator this file installs, so that a second call finds it.
constexpr const char* kQtTranslatorName = "kvQtTranslator";

void RemoveQtTranslator(QCoreApplication* application) {
  const auto installed =
      application->findChildren<QTranslator*>(kQtTranslatorName, Qt::FindDirectChildrenOnly);
  for (QTranslator* translator : installed) {
    QCoreApplication::removeTranslator(translator);
    delete translator;
  }
}

}  // namespace

bool UseQtLanguage(const std::string& locale_name) {
  QCoreApplication* application = QCoreApplication::instance();
  const QLocale locale(QString::fromStdString(locale_name));
  QLocale::setDefault(locale);
  RemoveQtTranslator(application);
  // English is the language Qt's texts are written in.
  if (locale.language() == QLocale::English) return true;
  auto* translator = new QTranslator(application);
  translator->setObjectName(kQtTranslatorName);
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!translator->load(locale, "qtbase", "_", folder)) {
    delete translator;
    // Not shown to the user: the program works, with Qt's buttons in English.
    std::printf("Could not find: %s/qtbase_%s.qm\n", folder.toLocal8Bit().constData(),
                locale.name().toLocal8Bit().constData());
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

}  // namespace kv
