#pragma once

// The numbers by which the design names its resources, controls and commands.
// They stay here, in one place, so that a number seen in the design can be
// found in the code.
namespace Ids
{

// Dialog templates, menu, accelerators, strings.
constexpr int kAboutDialog = 100;
constexpr int kAboutMenuString = 101;
constexpr int kControlWindowDialog = 102;
constexpr int kScrollSpeedDialog = 138;
constexpr int kMainMenu = 4;
constexpr int kAcceleratorTable = 136;

// Artwork.
constexpr int kProgramIcon = 128;
constexpr int kSkinBitmap = 130;
constexpr int kCheckBoxUncheckedIcon = 132;
constexpr int kCheckBoxCheckedIcon = 133;
constexpr int kAboutPicture = 134;
constexpr int kBackgroundColorIcon = 143;
constexpr int kFontIcon = 144;
constexpr int kScrollIcon = 145;

// Standard dialog buttons.
constexpr int kOk = 1;
constexpr int kCancel = 2;

// Controls of the control window (template 102).
constexpr int kSpeedSlider = 1001;
constexpr int kFontButton = 1004;
constexpr int kBackColorButton = 1005;
constexpr int kScrollButton = 1007;
constexpr int kLoadFileButton = 1013;
constexpr int kSaveFileButton = 1014;
constexpr int kFileLabel = 1015;
constexpr int kScrollSpeedControlLabel = 1016;
constexpr int kScrollSpeedLabel = 1017;
constexpr int kSlowLabel = 1020;
constexpr int kFastLabel = 1022;
constexpr int kDisplayFormatLabel = 1023;
constexpr int kMon1FwdCheck = 1024;
constexpr int kMon1RevCheck = 1025;
constexpr int kMon2FwdCheck = 2024;
constexpr int kMon2RevCheck = 2025;
constexpr int kMouseCheck = 1026;
constexpr int kMouseWheelCheck = 1027;
constexpr int kMonitorsLabel = 1028;
constexpr int kEditWindowLabel = 1029;
constexpr int kEnableSecondaryCheck = 1030;
constexpr int kDisableSecondaryCheck = 1031;
constexpr int kScriptEditor = 1037;

// Controls of the scroll speed dialog (template 138).
constexpr int kSpeedEdit = 1000;

// Controls of the about box (template 100).
constexpr int kAboutLink = 1027;
constexpr int kAboutReleaseDate = 1031;
constexpr int kAboutVersion = 1032;

// Commands of menu 4.
constexpr int kCmdHelpContents = 32771;
constexpr int kCmdAbout = 32772;
constexpr int kCmdNew = 32774;
constexpr int kCmdOpen = 32775;
constexpr int kCmdSave = 32776;
constexpr int kCmdSaveAs = 32777;
constexpr int kCmdPrint = 32778;
constexpr int kCmdExit = 32779;
constexpr int kCmdSelectAll = 32781;
constexpr int kCmdCut = 32782;
constexpr int kCmdCopy = 32783;
constexpr int kCmdPaste = 32784;
constexpr int kCmdBackgroundColor = 32789;
constexpr int kCmdTextFont = 32790;
constexpr int kCmdMon1Fwd = 32792;
constexpr int kCmdMon1Rev = 32793;
constexpr int kCmdMouse = 32795;
constexpr int kCmdMouseWheel = 32796;
constexpr int kCmdScroll = 32798;
constexpr int kCmdUndo = 32799;
constexpr int kCmdScrollSpeed = 32807;
constexpr int kCmdCpuPerformance = 32817;
constexpr int kCmdMon2Fwd = 32822;
constexpr int kCmdMon2Rev = 32823;
constexpr int kCmdRemoteControl = 32830; // beyond the design: Preferences > Remote Control
constexpr int kCmdRedo = 57644;
// Preferences > Reading Cue, beyond the design's menu.
constexpr int kCmdReadingCue = 32840;
// Preferences > Operator's Preview, beyond the design's menu.
constexpr int kCmdOperatorPreview = 32841;
// Preferences > Glass, beyond the design's menu.
constexpr int kCmdGlass = 32842;
// Preferences > Edit While Prompting, and the keys that drive a run from
// the control window meanwhile; beyond the design.
constexpr int kCmdLiveEdit = 32860;
constexpr int kCmdRunPause = 32861;
constexpr int kCmdRunStop = 32862;
constexpr int kCmdRunSlower = 32863;
constexpr int kCmdRunFaster = 32864;
constexpr int kCmdRunReverse = 32865;
constexpr int kCmdRunToCursor = 32866;
constexpr int kCmdRunPreviousParagraph = 32867;
constexpr int kCmdRunNextParagraph = 32868;
// Preferences > Follow the Voice, beyond the design.
constexpr int kCmdFollowVoice = 32870;
// Preferences > Outputs: the further screens a run shows on; beyond the design.
constexpr int kCmdOutputs = 32875;
// Follow a Prompter, beside Scroll on the menu bar; beyond the design.
constexpr int kCmdFollow = 32880;

// The system-menu item that opens the about box.
constexpr int kSysCmdAbout = 0x0010;

} // namespace Ids

#include <QString>

/// The Qt resource path of the artwork with the given number: ":/res/130.png".
inline QString ImageResourcePath(int id)
{
    return QStringLiteral(":/res/%1.png").arg(id);
}
