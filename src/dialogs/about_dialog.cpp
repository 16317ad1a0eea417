#include "dialogs/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/error_reporter.h"
#include "dialogs/dialog_buttons.h"
#include "dialogs/dialog_ids.h"

namespace kv {

namespace {

QString Text(const DialogTexts& texts, int control) {
  return QString::fromStdString(texts.Text(control));
}

}  // namespace

AboutDialog::AboutDialog(const DialogTexts& texts, const QString& version, QWidget* parent)
    : QDialog(parent) {
  setObjectName("aboutDialog");
  setWindowTitle(QString::fromStdString(texts.caption));
  auto* icon = new QLabel(this);
  icon->setPixmap(QIcon(":/korvale/icon-90.png").pixmap(64, 64));
  const std::string name_line =
      FormatMessageText(texts.Text(kAboutNameLine), version.toStdString());
  auto* name = new QLabel(QString("<b>%1</b>").arg(QString::fromStdString(name_line)));
  auto* description = new QLabel(Text(texts, kAboutDescription));
  description->setWordWrap(true);
  auto* copyright = new QLabel(Text(texts, kAboutCopyright));
  auto* buttons = MakeDialogButtons(texts, QDialogButtonBox::Ok, this);

  auto* column = new QVBoxLayout;
  column->addWidget(name);
  column->addWidget(description);
  column->addWidget(copyright);
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addLayout(column, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  setMinimumWidth(380);
}

}  // namespace kv
