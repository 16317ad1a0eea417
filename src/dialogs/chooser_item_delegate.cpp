#include "dialogs/chooser_item_delegate.h"

#include <QFileSystemModel>
#include <QLocale>

namespace kv {

namespace {

// QFileSystemModel's columns.
enum ChooserColumn { kNameColumn = 0, kSizeColumn = 1, kTypeColumn = 2, kDateColumn = 3 };

}  // namespace

ChooserItemDelegate::ChooserItemDelegate(const QString& date_format, QObject* parent)
    : QStyledItemDelegate(parent), date_format_(date_format) {}

QString ChooserItemDelegate::ShownText(const QModelIndex& index) const {
  const auto* model = qobject_cast<const QFileSystemModel*>(index.model());
  if (model == nullptr) return index.data().toString();
  // The default locale is the program's language (set at start-up).
  const QLocale locale;
  switch (index.column()) {
    case kSizeColumn:
      return model->isDir(index) ? QString() : locale.formattedDataSize(model->size(index));
    case kDateColumn: {
      const QDateTime modified = model->lastModified(index);
      return date_format_.isEmpty() ? locale.toString(modified, QLocale::ShortFormat)
                                    : locale.toString(modified, date_format_);
    }
    default:
      return index.data().toString();
  }
}

void ChooserItemDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (index.column() == kSizeColumn || index.column() == kDateColumn) {
    option->text = ShownText(index);
  }
}

}  // namespace kv
