#include "views/shown_date.h"

#include <QDateTime>
#include <QLocale>

#include "base/string_ids.h"
#include "document/document_texts.h"

namespace kv {

QString ShownDateText(const StringTable& strings, std::int64_t seconds) {
  const QDate day = QDateTime::fromSecsSinceEpoch(seconds).date();
  return QLocale().toString(day, QString::fromStdString(DocumentText(strings, kDateFormatId)));
}

}  // namespace kv
