#ifndef KORVALE_DIALOGS_CONVERSION_OPTIONS_DIALOG_H_
#define KORVALE_DIALOGS_CONVERSION_OPTIONS_DIALOG_H_

// The conversion options asked before an import (kConversionOptionsDialogId): the map's
// name, the scale, the colour depth and compression. It shows the fields it
// is given and hands back what the user set; the caller stores them. Given
// an estimator, it also shows the map those options would make (tiles,
// images, size), estimated on a worker thread whenever they change, so the
// dialog keeps answering while a big source is sampled.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QThread>
#include <optional>

#include "base/language_file.h"
#include "document/conversion_options_model.h"
#include "document/import_size_estimator.h"

namespace kv {

class ConversionOptionsDialog : public QDialog {
 public:
  // `strings` holds the depth list's texts and the estimate's. The
  // estimator, when given, outlives the dialog.
  ConversionOptionsDialog(const DialogTexts& texts, const StringTable& strings,
                          const ConversionOptionsFields& fields,
                          ImportSizeEstimator* estimator = nullptr, QWidget* parent = nullptr);
  ~ConversionOptionsDialog() override;

  ConversionOptionsFields fields() const;
  // True while an estimate runs or waits to run.
  bool estimating() const { return worker_ != nullptr; }

 private:
  void AddEstimateRows(QFormLayout* layout);
  void Estimate();
  void EstimateFinished();
  void ShowEstimate();

  const StringTable& strings_;
  ImportSizeEstimator* estimator_;
  QLineEdit* name_;
  QComboBox* scale_;
  QComboBox* depth_;
  QCheckBox* compress_;
  QLabel* tiles_ = nullptr;
  QLabel* images_ = nullptr;
  QLabel* size_ = nullptr;
  QThread* worker_ = nullptr;
  bool again_ = false;  // the options changed while the worker ran
  // Written by the worker, read after it has finished.
  std::optional<MapSizeEstimate> estimate_;
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_CONVERSION_OPTIONS_DIALOG_H_
