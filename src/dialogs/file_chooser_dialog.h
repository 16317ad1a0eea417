#ifndef KORVALE_DIALOGS_FILE_CHOOSER_DIALOG_H_
#define KORVALE_DIALOGS_FILE_CHOOSER_DIALOG_H_

// A file chooser that opens or saves. Saving asks before it replaces a
// file, and asks about the name that will really be written: the typed name
// with the extension the file needs, which the platform's own dialog would
// not know about. So the program always uses Qt's own dialog.

#include <QFileDialog>
#include <QLineEdit>
#include <functional>

namespace kv {

struct FileDialogSetup {
  QString title;
  QString filters;  // "Maps (*.prc);;All files (*)", the first preselected
  bool save = false;
  QString folder;         // where it starts; empty for the current folder
  QString proposed_name;  // the name a save chooser shows
  int name_limit = 259;   // characters the name field takes
  // The path that will be written for a chosen one.
  std::function<QString(const QString&)> complete = [](const QString& path) { return path; };
  // The question before replacing a file; "%s" stands for its path.
  QString overwrite_question;
  // The date column's QDateTime format; empty for the locale's short one.
  QString date_format;
};

class FileChooserDialog : public QFileDialog {
 public:
  explicit FileChooserDialog(const FileDialogSetup& setup, QWidget* parent = nullptr);

  // The completed path after OK; empty otherwise.
  QString chosen_path() const;
  QLineEdit* name_field() const;

 protected:
  void accept() override;

 private:
  bool MayReplace(const QString& path);
  // Sizes, dates and column titles in the program's language, each column
  // wide enough for its title and a date.
  void ShowDetailsInLanguage();

  FileDialogSetup setup_;
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_FILE_CHOOSER_DIALOG_H_
