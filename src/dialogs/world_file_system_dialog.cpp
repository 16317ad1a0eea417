#include "dialogs/world_file_system_dialog.h"

#include <QFormLayout>
#include <QMessageBox>
#include <QVBoxLayout>

#include "dialogs/dialog_buttons.h"
#include "dialogs/dialog_ids.h"
#include "document/world_file_system_model.h"

namespace kv {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// Zone texts are short: "32U", "QU10".
constexpr int kZoneLimit = 15;

}  // namespace

WorldFileSystemDialog::WorldFileSystemDialog(const DialogTexts& texts,
                                             const WorldFileSystem& stored, QWidget* parent)
    : QDialog(parent),
      texts_(texts),
      systems_(new QComboBox(this)),
      zone_label_(new QLabel(Text(texts.Text(kWorldFileZoneLabel)), this)),
      zone_(new QLineEdit(this)),
      datum_label_(new QLabel(Text(texts.Text(kWorldFileDatumLabel)), this)),
      datums_(new QComboBox(this)) {
  setObjectName("worldFileSystem");
  setWindowTitle(Text(texts.caption));
  systems_->setObjectName("coordinateSystem");
  for (std::string_view name : WorldFileSystemEntries()) {
    systems_->addItem(Text(std::string(name)));
  }
  systems_->setCurrentIndex(WorldFileEntryOf(stored.system));
  zone_->setObjectName("zone");
  zone_->setMaxLength(kZoneLimit);
  if (WorldFileSystemNeedsZone(stored.system)) zone_->setText(Text(stored.zone));
  zone_label_->setBuddy(zone_);
  datums_->setObjectName("datum");
  for (std::string_view name : WorldFileDatumEntries()) datums_->addItem(Text(std::string(name)));
  datums_->setCurrentIndex(WorldFileDatumEntryOf(stored.datum));
  datum_label_->setBuddy(datums_);
  EnableZoneForEntry(systems_->currentIndex());
  connect(systems_, &QComboBox::currentIndexChanged, this,
          [this](int entry) { EnableZoneForEntry(entry); });

  auto* system_label = new QLabel(Text(texts.Text(kWorldFileSystemLabel)), this);
  system_label->setBuddy(systems_);
  auto* zone_row = new QFormLayout;
  // A long caption goes above its field rather than being cut off.
  zone_row->setRowWrapPolicy(QFormLayout::WrapLongRows);
  zone_row->addRow(zone_label_, zone_);
  zone_row->addRow(datum_label_, datums_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(system_label);
  layout->addWidget(systems_);
  layout->addLayout(zone_row);
  layout->addWidget(
      MakeDialogButtons(texts, QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this));
  setMinimumWidth(300);
}

int WorldFileSystemDialog::entry() const { return systems_->currentIndex(); }

std::string WorldFileSystemDialog::zone() const { return zone_->text().trimmed().toStdString(); }

int WorldFileSystemDialog::datum() const { return datums_->currentIndex(); }

void WorldFileSystemDialog::accept() {
  // An empty zone keeps the stored system, as before; a zone typed that
  // cannot be read is the user's to correct here.
  const int chosen = entry();
  if (chosen != kNoWorldFileEntry && !zone().empty()) {
    const WorldFileSystem system{chosen + kFirstWorldFileSystem,
                                 QString::fromStdString(zone()).toUpper().toStdString(),
                                 std::string()};
    const WorldFileSetupProblem problem = CheckWorldFileSetup(system);
    if (problem == WorldFileSetupProblem::kZoneWithoutBand ||
        problem == WorldFileSetupProblem::kZoneUnknown) {
      const int message = problem == WorldFileSetupProblem::kZoneWithoutBand
                              ? kWorldFileZoneWithoutBand
                              : kWorldFileZoneUnknown;
      QMessageBox::warning(this, windowTitle(),
                           Text(texts_.Text(message)).replace("%s", Text(zone())));
      zone_->setFocus();
      zone_->selectAll();
      return;
    }
  }
  QDialog::accept();
}

void WorldFileSystemDialog::EnableZoneForEntry(int entry) {
  const bool needs_zone =
      entry != kNoWorldFileEntry && WorldFileSystemNeedsZone(entry + kFirstWorldFileSystem);
  zone_label_->setEnabled(needs_zone);
  zone_->setEnabled(needs_zone);
  const bool takes_datum =
      entry != kNoWorldFileEntry && WorldFileSystemTakesDatum(entry + kFirstWorldFileSystem);
  datum_label_->setEnabled(takes_datum);
  datums_->setEnabled(takes_datum);
}

}  // namespace kv
