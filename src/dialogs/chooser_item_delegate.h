#ifndef KORVALE_DIALOGS_CHOOSER_ITEM_DELEGATE_H_
#define KORVALE_DIALOGS_CHOOSER_ITEM_DELEGATE_H_

// Draws the file chooser's size and date columns in the program's
// language. Qt's file model words them in the system's locale, so a German
// program on an English system would show "8 Dec 2026".

#include <QString>
#include <QStyledItemDelegate>

namespace kv {

class ChooserItemDelegate : public QStyledItemDelegate {
 public:
  // `date_format`: a QDateTime format for the date column; empty for the
  // default locale's short format.
  ChooserItemDelegate(const QString& date_format, QObject* parent);

  // The text the chooser shows at `index` of a QFileSystemModel.
  QString ShownText(const QModelIndex& index) const;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  QString date_format_;
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_CHOOSER_ITEM_DELEGATE_H_
