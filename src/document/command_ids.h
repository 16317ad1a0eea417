#ifndef KORVALE_DOCUMENT_COMMAND_IDS_H_
#define KORVALE_DOCUMENT_COMMAND_IDS_H_

// Every menu command by its menu identifier in the language files: those
// the document handles or keeps enabled, and those the main window handles
// itself (see shell/command_routing.h).

namespace kv {

// The main window's own: File menu, help and languages.
inline constexpr int kCmdCloseDocument = 30001;
inline constexpr int kCmdOpen = 40001;
inline constexpr int kCmdAbout = 40005;
inline constexpr int kCmdHelp = 40042;
inline constexpr int kCmdNew = 40051;
inline constexpr int kCmdOpenWithSameCalibration = 40054;
// The language menu's item that the languages found replace.
inline constexpr int kCmdLanguageMenu = 40069;
// Shipped language i (in the order found) has kCmdFirstLanguage + i.
inline constexpr int kCmdFirstLanguage = 40070;
inline constexpr int kMaxLanguageCommands = 9;
// File menu: the folder of the handheld's storage.
inline constexpr int kCmdDeviceRoot = 40080;
// Edit menu: undo and redo in the open calibration panel.
inline constexpr int kCmdUndo = 40090;
inline constexpr int kCmdRedo = 40091;

// The document's.
inline constexpr int kCmdSave = 40002;
inline constexpr int kCmdSaveAs = 40003;
inline constexpr int kCmdExit = 40004;
inline constexpr int kCmdImportImage = 40039;
// Only enabled and grayed by the document; nothing handles it.
inline constexpr int kCmdSelectedEntry = 40040;
inline constexpr int kCmdDepth16 = 40047;
inline constexpr int kCmdDepth8 = 40048;
inline constexpr int kCmdDepth4 = 40049;
inline constexpr int kCmdDepth2 = 40052;
inline constexpr int kCmdDepth1 = 40053;
inline constexpr int kCmdOpenCalibration = 40055;
inline constexpr int kCmdCloseCalibration = 40056;
inline constexpr int kCmdToggleCompression = 40057;
inline constexpr int kCmdCopyToPocketPc = 40058;
inline constexpr int kCmdExportCalibration = 40059;
inline constexpr int kCmdZoom200 = 40060;
inline constexpr int kCmdZoom50 = 40061;
inline constexpr int kCmdZoom100 = 40062;
inline constexpr int kCmdZoomFit = 40063;
inline constexpr int kCmdImportWorldFile = 40064;
inline constexpr int kCmdImportCalibrationFile = 40065;
// Handheld user i of the install menu has the command kCmdFirstInstallUser + i;
// the document installs to that user.
inline constexpr int kCmdFirstInstallUser = 40100;

struct DepthCommand {
  int command;
  int depth;
};

inline constexpr DepthCommand kDepthCommands[] = {
    {kCmdDepth16, 16}, {kCmdDepth8, 8}, {kCmdDepth4, 4}, {kCmdDepth2, 2}, {kCmdDepth1, 1}};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_COMMAND_IDS_H_
