// Resource ids of the window's commands. They are the interface between the
// shell and the code that handles each command, and tests find the actions
// by them.
#pragma once

namespace orb::cmd {

// File
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePageSetup = 57606;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintDirect = 57608;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kFileMru1 = 57616;
inline constexpr int kFileMruLast = 57619;
inline constexpr int kAppExit = 57665;
inline constexpr int kExportText = 32800;
inline constexpr int kExportExcel = 32845;

// Edit (cut and paste have no handlers: always disabled)
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;

// Devices
inline constexpr int kPortSelect = 32791;
inline constexpr int kProbeTest = 32781;
inline constexpr int kProbeInfo = 32782;
inline constexpr int kProbeClock = 32819;
inline constexpr int kProbeRealTime = 32783;
inline constexpr int kProbeDownload = 32784;
inline constexpr int kProbeWorkMode = 32786;
inline constexpr int kSyncTest = 32820;
inline constexpr int kSyncClock = 32821;
inline constexpr int kSyncDownload = 32822;
inline constexpr int kSyncClear = 32823;

// Data
inline constexpr int kWellInfo = 32811;
inline constexpr int kDepthCalc = 32813;
inline constexpr int kDataModify = 32802;
inline constexpr int kSelectAll = 32788;
inline constexpr int kSelectNone = 32789;
inline constexpr int kSelectInvert = 32790;
inline constexpr int kShowAll = 32797;
inline constexpr int kShowSelected = 32798;
inline constexpr int kShowAutoSelected = 32825;
inline constexpr int kReverse = 32793;

// View
inline constexpr int kToolbarsPlaceholder = 59392;
inline constexpr int kStatusBar = 59393;
inline constexpr int kCustomize = 126;
inline constexpr int kLookFirst = 205;
inline constexpr int kLookWin2000 = 205;
inline constexpr int kLookOfficeXP = 206;
inline constexpr int kLookWinXP = 207;
inline constexpr int kLookOffice2003 = 208;
inline constexpr int kLookVS2005 = 209;
inline constexpr int kLookVS2008 = 210;
inline constexpr int kLookOffice2007Blue = 215;
inline constexpr int kLookOffice2007Black = 216;
inline constexpr int kLookOffice2007Silver = 217;
inline constexpr int kLookOffice2007Aqua = 218;
inline constexpr int kLookWindows7 = 219;
inline constexpr int kLookLast = 219;

// Help
inline constexpr int kHelpFinder = 57667;
inline constexpr int kAbout = 57664;
inline constexpr int kHelp = 57670;
inline constexpr int kContextHelp = 57669;
inline constexpr int kDefaultHelp = 57671;

// Controls
inline constexpr int kDepthEditorId = 7778;
inline constexpr int kProgressControlId = 1234;

}  // namespace orb::cmd
