#include "shell/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>

#include "base/message_tables.h"
#include "base/string_ids.h"
#include "dialogs/device_root_dialog.h"
#include "dialogs/image_properties_dialog.h"
#include "document/command_ids.h"
#include "document/document_texts.h"
#include "document/language_format.h"
#include "shell/command_routing.h"
#include "shell/device_root_setting.h"
#include "shell/language_menu.h"
#include "shell/prefs_binding.h"
#include "shell/resource_catalogue.h"
#include "shell/window_placement.h"
#include "views/image_list_pane.h"
#include "views/image_view_pane.h"
#include "views/previewer_pane.h"

namespace kv {

namespace {

std::string HelpFailureText(const StringTable& strings, const std::string& guide_path) {
  if (guide_path.empty()) return DocumentText(strings, kHelpFailureNoPathId);
  return FormatLanguageText(DocumentText(strings, kHelpFailureId), {guide_path});
}

std::string FirstLocalFile(const QMimeData* data) {
  if (data == nullptr) return {};
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return url.toLocalFile().toStdString();
  }
  return {};
}

bool HasImages(const CDocument* document) {
  return document != nullptr && document->image_list().count() > 0;
}

}  // namespace

// What making a document changes in the process-wide state. A failed Open
// or drop puts it back, so that the map still open keeps its calibration,
// scale and folders.
struct MainWindow::DocumentState {
  CalibrationRecord calibration;
  ConversionSettings settings;
  std::string last_image_folder;
  CalibrationImportState import_state;

  explicit DocumentState(const ApplicationState& app)
      : calibration(app.calibration),
        settings(app.settings),
        last_image_folder(app.last_image_folder),
        import_state(app.import_state) {}
  void RestoreTo(ApplicationState* app) const {
    app->calibration = calibration;
    app->settings = settings;
    app->last_image_folder = last_image_folder;
    app->import_state = import_state;
  }
};

MainWindow::MainWindow(ShellState& state, UserPrompts& prompts)
    : state_(state), prompts_(prompts), files_(this, state, prompts), install_(state.install) {
  setObjectName("mainWindow");
  setWindowTitle(QString::fromStdString(state_.app.caption));
  setAcceptDrops(true);
  CreatePanes();
  ui_ = std::make_unique<QtDocumentUi>(this, state_, prompts_, panes_);
  CreateInstaller();
  ui_->SetDocumentSource([this] { return document_.get(); });
  CreateMenus();
  if (!CreateEmptyDocument(true)) QTimer::singleShot(0, this, &QWidget::close);
}

MainWindow::~MainWindow() {
  // The document tells the panes and the interface about its end.
  document_.reset();
  panes_.list->ShowList(nullptr);
  panes_.previewer->ShowList(nullptr);
}

void MainWindow::CreatePanes() {
  const StringTable& strings = state_.language.strings;
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  panes_.previewer = new PreviewerPane(strings, state_.app.settings, central);
  auto* below = new QSplitter(Qt::Horizontal, central);
  panes_.list = new ImageListPane(strings, below);
  panes_.view = new ImageViewPane(below);
  below->setStretchFactor(0, 0);
  below->setStretchFactor(1, 1);
  layout->addWidget(panes_.previewer, 0);
  layout->addWidget(below, 1);
  setCentralWidget(central);
  setFocusProxy(panes_.view);
  ConnectPanes();
}

void MainWindow::ConnectPanes() {
  panes_.previewer->SetCommandHandler([this](int command) { RunCommand(command); });
  panes_.previewer->SetRenameHandler([this](CImage& image) {
    if (document_) document_->image_list().Refresh(image);
    ui_->ShowModified();
  });
  panes_.list->SetRowHandler([this](int row) {
    if (document_) document_->image_list().Select(row);
  });
}

void MainWindow::CreateInstaller() {
  install_.memory.last_device_folder = state_.prefs.pocket_pc_folder;
  install_ui_ = std::make_unique<QtInstallUi>(this, state_.language, ui_->reporter(),
                                              [this]() { return ConfirmStopCopy(); });
  installer_ = std::make_unique<InstallContext>(InstallContext{
      install_.users, install_.device, *install_ui_, state_.language.strings, install_.memory});
}

bool MainWindow::ConfirmStopCopy() {
  Question question;
  question.text = state_.language.strings.Get(kStopCopyQuestionId);
  question.caption = state_.language.strings.Get(kContextPocketPcCopy);
  question.icon = MessageIcon::kWarning;
  question.answers = AnswerSet::kYesNo;
  question.no_is_default = true;
  QWidget* owner = QApplication::activeModalWidget();
  return prompts_.Ask(owner != nullptr ? owner : this, question) == Answer::kYes;
}

void MainWindow::CreateMenus() {
  const CommandHandler handler = [this](int command) { RunCommand(command); };
  auto menu = state_.language.menus.find(kMainMenuId);
  if (menu != state_.language.menus.end()) {
    menu_ = BuildMenuBar(menuBar(), menu->second, handler);
  }
  auto table = state_.language.accelerators.find(kAcceleratorTableId);
  if (table != state_.language.accelerators.end()) {
    ApplyAccelerators(this, table->second, &menu_, handler);
  }
  handheld_menu_ = SubmenuAt(menu_, kHandheldMenuPosition);
  FillUserMenu(handheld_menu_, state_.handheld_users, kCmdFirstInstallUser, &menu_, handler);
  FillLanguageMenu(state_, &menu_, handler);
  for (QMenu* popup : menu_.popups) {
    connect(popup, &QMenu::aboutToShow, this, [this]() { UpdateMenu(); });
  }
  edit_menu_ = EditMenu(action(kCmdUndo), action(kCmdRedo), state_.language.strings);
  ui_->SetCalibrationUndoHandler([this] { UpdateEditMenu(); });
  UpdateEditMenu();
}

void MainWindow::UpdateEditMenu() { edit_menu_.Update(ui_->calibration_dialog()); }

QAction* MainWindow::action(int command) const {
  auto it = menu_.actions.find(command);
  return it == menu_.actions.end() ? nullptr : it->second;
}

int MainWindow::RunCommand(int command) {
  if (command == kCmdDeviceRoot) return ChooseDeviceRoot();
  if (command == kCmdSelectedEntry) return ShowImageProperties();
  switch (WindowCommandFor(command)) {
    case WindowCommand::kCloseDocument:
      return CloseDocument();
    case WindowCommand::kOpen:
      return Open();
    case WindowCommand::kAbout:
      return About();
    case WindowCommand::kHelp:
      return Help();
    case WindowCommand::kNew:
      return New();
    case WindowCommand::kOpenWithSameCalibration:
      return OpenWithSameCalibration();
    case WindowCommand::kChooseLanguage:
      return ChooseLanguage(command, state_, prompts_, this, menu_);
    case WindowCommand::kNone:
      break;
  }
  if (!document_) return 0;
  if (const std::optional<int> result = files_.Run(*document_, command)) {
    ui_->ShowModified();
    return *result;
  }
  bool handled = false;
  const int result = document_->HandleCommand(command, &handled);
  ui_->ShowModified();
  return handled ? result : 0;
}

int MainWindow::CloseDocument() {
  if (document_ && !files_.QueryClose(*document_)) return -1;
  document_.reset();
  DocumentChanged();
  return 0;
}

bool MainWindow::CreateEmptyDocument(bool reset_calibration) {
  DocumentFailure failure;
  const bool ok = CaptureFailure(
      [&]() { document_ = std::make_unique<CDocument>(state_.app, *ui_, reset_calibration); },
      std::string(), &failure);
  if (!ok) {
    ui_->ReportFailure(kContextOpen, failure);
    CloseDocument();
    QTimer::singleShot(0, this, &QWidget::close);
  }
  DocumentChanged();
  return ok;
}

bool MainWindow::OpenFile(const std::string& path) {
  if (!ui_->CloseCalibrationDialog(true)) return false;
  const DocumentState before(state_.app);
  std::unique_ptr<CDocument> opened;
  DocumentFailure failure;
  const bool ok = CaptureFailure(
      [&]() { opened = CDocument::FromFile(state_.app, *ui_, path, true); }, path, &failure);
  // An import that failed has reported why and leaves its document empty.
  if (!ok) ui_->ReportFailure(kContextOpen, failure);
  return ReplaceDocument(std::move(opened), before);
}

bool MainWindow::ReplaceDocument(std::unique_ptr<CDocument> replacement,
                                 const DocumentState& before) {
  if (!HasImages(replacement.get())) {
    KeepDocument(std::move(replacement), before);
    return false;
  }
  if (document_) {
    // The open map asks about its changes, and saves them, with the
    // calibration and settings that are its own.
    const DocumentState after(state_.app);
    before.RestoreTo(&state_.app);
    if (CloseDocument() != 0) {
      KeepDocument(std::move(replacement), before);
      return false;
    }
    after.RestoreTo(&state_.app);
  }
  document_ = std::move(replacement);
  DocumentChanged();
  return true;
}

void MainWindow::KeepDocument(std::unique_ptr<CDocument> discarded, const DocumentState& before) {
  discarded.reset();
  if (!document_) {
    CreateEmptyDocument(true);
    return;
  }
  before.RestoreTo(&state_.app);
  DocumentChanged();
}

int MainWindow::Open() {
  // The panel's changes go to the open map first. Whether to save that
  // map is asked once the chosen one has opened: a map that fails to open
  // leaves it as it was, unsaved changes and all.
  if (!ui_->CloseCalibrationDialog(true)) return 0;
  const std::optional<std::string> path = files_.ChooseMapToOpen();
  if (!path) {
    if (!document_) CreateEmptyDocument(true);
    return 0;
  }
  OpenFile(*path);
  return 0;
}

int MainWindow::New() {
  if (CloseDocument() != 0) return -1;
  if (!CreateEmptyDocument(true)) return -1;
  return files_.ImportImage(*document_, true);
}

int MainWindow::OpenWithSameCalibration() {
  const BoundTexts bounds = document_ ? document_->RememberBounds() : BoundTexts{};
  if (CloseDocument() != 0) return -1;
  if (!CreateEmptyDocument(false)) return -1;
  const int result = files_.ImportImage(*document_, false);
  if (result != 0) return result;
  document_->RestoreBounds(bounds);
  return result;
}

int MainWindow::About() {
  prompts_.ShowAbout(this);
  return 0;
}

int MainWindow::Help() {
  const std::string& guide = state_.guide_path;
  if (!guide.empty() && std::filesystem::exists(guide) && prompts_.OpenGuide(guide)) return 0;
  const StringTable& strings = state_.language.strings;
  prompts_.Inform(nullptr, HelpFailureText(strings, guide), DocumentText(strings, kHelpCaptionId),
                  MessageIcon::kWarning);
  return -1;
}

int MainWindow::ChooseDeviceRoot() {
  auto texts = state_.language.dialogs.find(kDeviceRootDialogId);
  const DialogTexts none;
  DeviceRootDialog dialog(texts == state_.language.dialogs.end() ? none : texts->second,
                          install_.device_root, this);
  if (dialog.exec() != QDialog::Accepted) return -1;
  const std::optional<std::string> folder = dialog.folder();
  install_.device_root.set_chosen(folder);
  state_.install.chosen_device_root = folder;
  if (!state_.settings_file.empty()) {
    QSettings settings(QString::fromStdString(state_.settings_file), QSettings::IniFormat);
    WriteDeviceRootSetting(settings, folder);
  }
  return 0;
}

int MainWindow::ShowImageProperties() {
  if (!document_) return 0;
  const ImageListModel& list = document_->image_list();
  const CImage* image = list.selected_image();
  if (image == nullptr) return 0;
  auto texts = state_.language.dialogs.find(kImagePropertiesDialogId);
  const DialogTexts none;
  const DialogTexts& dialog_texts = texts == state_.language.dialogs.end() ? none : texts->second;
  // The map's calibration lives with its first image.
  const CalibrationRecord* calibration =
      image == list.current() ? &state_.app.calibration : nullptr;
  ImagePropertiesDialog dialog(
      dialog_texts, ImagePropertyRows(dialog_texts, state_.language.strings, *image, calibration),
      this);
  dialog.exec();
  return 0;
}

void MainWindow::Drop(const std::string& path) {
  // The dropped file goes into a new document first; the open map makes
  // way only for one that took it.
  if (!ui_->CloseCalibrationDialog(true)) return;
  const DocumentState before(state_.app);
  std::unique_ptr<CDocument> dropped;
  DocumentFailure failure;
  const bool made =
      CaptureFailure([&]() { dropped = std::make_unique<CDocument>(state_.app, *ui_, false); },
                     std::string(), &failure);
  if (!made) ui_->ReportFailure(kContextOpen, failure);
  if (made && dropped->Drop(path) != 0) dropped.reset();
  // As after an import, the overview is the entry shown first.
  if (dropped) dropped->image_list().Select(0);
  ReplaceDocument(std::move(dropped), before);
}

void MainWindow::DocumentChanged() {
  if (!document_) {
    // The panes let go of the list that went with the document.
    panes_.list->ShowList(nullptr);
    panes_.previewer->ShowList(nullptr);
    setWindowTitle(QString::fromStdString(state_.app.caption));
    setWindowModified(false);
    setMinimumSize(0, 0);
    return;
  }
  document_->SetInstaller(installer_.get(), state_.handheld_users);
  ImageListModel& list = document_->image_list();
  ui_->ImageListChanged(list);
  ui_->ShowImage(list.current());
  ui_->PreviewImage(list.selected_image());
  document_->UpdateTitle();
  WindowMetrics metrics;
  metrics.scroll_bar_extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  metrics.frame_width = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  metrics.caption_height = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  metrics.menu_height = menuBar()->sizeHint().height();
  setMinimumSize(DocumentMinimumSize(panes_.previewer->sizeHint(), metrics));
}

void MainWindow::UpdateMenu() {
  if (!document_) return;
  for (const MenuItemState& item : document_->MenuState()) {
    if (QAction* found = action(item.command)) {
      found->setEnabled(item.enabled);
      found->setChecked(item.checked);
    }
  }
}

void MainWindow::ShowAtStartPlacement() {
  if (state_.prefs_loaded && state_.prefs.placement.length != 0) {
    const QtPlacement placement = PlacementToQt(state_.prefs.placement);
    setGeometry(placement.normal_geometry);
    if (placement.state & Qt::WindowMaximized) {
      showMaximized();
    } else {
      show();
    }
    return;
  }
  const QScreen* screen = QApplication::primaryScreen();
  const InitialPlacement placement =
      FirstRunPlacement(screen != nullptr ? screen->size() : QSize());
  const QSize size = sizeHint();
  resize(placement.width.value_or(size.width()), placement.height.value_or(size.height()));
  if (placement.x || placement.y) move(placement.x.value_or(x()), placement.y.value_or(y()));
  show();
}

void MainWindow::StoreSettings() {
  StoreSettingsInPrefs(state_.app, &state_.prefs);
  state_.prefs.pocket_pc_folder = install_.memory.last_device_folder;
  state_.prefs.placement =
      PlacementFromQt(normalGeometry(), windowState(), maximized_before_minimizing_);
  if (!state_.prefs_path.empty()) WritePrefsFile(state_.prefs_path, state_.prefs);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (RunCommand(kCmdCloseDocument) != 0) {
    event->ignore();
    return;
  }
  // Written once, however often the close is asked for afterwards.
  if (!settings_stored_) {
    StoreSettings();
    settings_stored_ = true;
  }
  event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (windowState() & Qt::WindowMinimized) {
      maximized_before_minimizing_ = (change->oldState() & Qt::WindowMaximized) != 0;
    }
  }
  QMainWindow::changeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!FirstLocalFile(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const std::string path = FirstLocalFile(event->mimeData());
  if (path.empty()) return;
  event->acceptProposedAction();
  // The import may show a modal dialog; run inside the drag-and-drop loop
  // it would leave the source application waiting on the drop, so it runs
  // once the event has returned.
  QMetaObject::invokeMethod(
      this, [this, path] { Drop(path); }, Qt::QueuedConnection);
}

}  // namespace kv
