#pragma once

#include "BgDialog.h"
#include "ColorRef.h"
#include "DialogService.h"
#include "RecoveryCopy.h"
#include "Settings.h"

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QIcon>
#include <QString>
#include <functional>
#include <optional>

class CMySliderControl;
class CTransparentStatic;
class CXButton;
class QAction;
class QKeyEvent;
class QMenu;
class RecoveryKeeper;
class RunScriptLink;
class ScriptEditor;
struct EncodedScript;
struct FollowTarget;

// The operator's control window: the script editor, the skinned buttons and
// check boxes, the speed slider, menu 4 and the shortcuts of table 136. The
// application hands it the settings, runs DoModal and reads them back. The
// class is split by command group: this file and VellorDlg.cpp hold
// the layout and initialisation, ControlCommands.cpp a row for each command,
// VellorDlgMenu.cpp the menu and shortcuts made from the rows, and
// VellorDlg*Commands.cpp / VellorDlgScrollCommand.cpp the commands.
class CVellorDlg : public CBgDialog
{
    Q_OBJECT

  public:
    /// Builds the window and its controls; nothing is shown until DoModal.
    explicit CVellorDlg(DialogService& dialogs, QWidget* parent = nullptr);
    ~CVellorDlg() override;

    /// Initialises the window from the value members and runs it until it closes.
    int DoModal();

    /// The fourteen start steps: skin, controls, editor font, last script, check states, show.
    void OnInitDialog();

    /// The settings the window works on: handed over by the application
    /// before DoModal and read back after it. m_strMRF is the current script
    /// file (empty after New); monitor 1 reads mirror-reversed unless
    /// m_bRightReading; the slider shows 32000 minus the starting speed.
    Settings m_settings;

    // The window's own state.
    QString m_strFileName; ///< file-name part of the script file's path, shown in the file label
    bool m_bMon2Reverse = false; ///< monitor 2 reads mirror-reversed (menu check marks only)
    bool m_bMonitor2 = false;    ///< monitor 2 is chosen for the next scroll run
    QByteArray m_strSavedText;   ///< the script as last loaded or saved; differs when unsaved

    /// Unsaved changes to restore once the start-up load is done, handed over before DoModal.
    std::optional<RecoveryCopy> m_recovered;

    /// Makes the editor font from the face, size and text colour members with `weight` (0 =
    /// normal).
    void ApplyEditorFont(int weight);

    /// Sets the file label to "File: " + m_strFileName and repaints it at once.
    void ShowFileLabel();

    /// The menu item of command `id` of menu 4, or nullptr.
    QAction* CommandAction(int id) const;

    /// Recomputes the state of command `id` by its update rule, then runs it if it is enabled.
    /// This is what a shortcut of table 136 does. Returns whether the command ran.
    bool RunCommand(int id);

    /// The script editor (control 1037).
    ScriptEditor& Editor() const { return *m_editor; }
    /// The speed slider (control 1001).
    CMySliderControl& SpeedSlider() const { return *m_slider; }
    /// The file label (control 1015).
    CTransparentStatic& FileLabel() const { return *m_fileLabel; }
    /// The button or check box with control id `id` (1004..1031, 2024, 2025), or nullptr.
    CXButton* Button(int id) const;

    // Script files.
    void OnFileNew();                 ///< 32774: empty script, after the unsaved-changes question
    void OnFileOpen();                ///< 32775 and button 1013: load a file chosen by the operator
    void OnFileSave();                ///< 32776 and button 1014: write the script over its file
    void OnFileSaveAs();              ///< 32777: write the script to a file chosen by the operator
    void OnFilePrint();               ///< 32778: print the stored file
    void OnFileExit();                ///< 32779: the closing path, as Esc and the close box
    void OnCancel();                  ///< the closing path: asks about unsaved changes, then ends
    MessageAnswer AskToSaveChanges(); ///< the unsaved-changes question; Yes saves
    /// Reads the script at `path` for editing (read and write access, so that a
    /// file that cannot be saved back is reported now); reports a failure and
    /// answers nothing.
    std::optional<QByteArray> ReadScriptForEditing(const QString& path);
    void OnUpdateFileSave(QAction& item); ///< update rule of 32776
    /// Whether the editor's text differs from the script as last loaded or saved.
    bool HasUnsavedChanges() const;
    /// Starts keeping the recovery copy of this window's script with `keeper`.
    void KeepRecoveryCopy(RecoveryKeeper& keeper);
    /// The session is ending: asks about unsaved changes when `mayAsk` allows
    /// it (asked only when there are any), otherwise keeps them in the
    /// recovery copy. False when the operator cancelled.
    bool OnSessionEnd(const std::function<bool()>& mayAsk);
    /// Takes the starting speed and the mouse flag from the controls into their members.
    void TakeValuesFromControls();

    // Editing.
    void OnEditUndo();                         ///< 32799
    void OnEditRedo();                         ///< 57644
    void OnEditCut();                          ///< 32782
    void OnEditCopy();                         ///< 32783
    void OnEditPaste();                        ///< 32784
    void OnEditSelectAll();                    ///< 32781
    void OnUpdateEditUndo(QAction& item);      ///< enabled when the editor can undo
    void OnUpdateEditRedo(QAction& item);      ///< enabled when the editor can redo
    void OnUpdateEditCut(QAction& item);       ///< enabled when text is selected
    void OnUpdateEditCopy(QAction& item);      ///< enabled when text is selected
    void OnUpdateEditPaste(QAction& item);     ///< enabled when the clipboard holds text
    void OnUpdateEditSelectAll(QAction& item); ///< enabled when the editor holds text

    // Preferences.
    void OnMon1FwdClicked();          ///< check box 1024
    void OnMon1RevClicked();          ///< check box 1025
    void OnMon2FwdClicked();          ///< check box 2024
    void OnMon2RevClicked();          ///< check box 2025
    void OnMouseClicked();            ///< check box 1026
    void OnMouseWheelClicked();       ///< check box 1027
    void OnEnableSecondaryClicked();  ///< hidden check box 1030
    void OnDisableSecondaryClicked(); ///< hidden check box 1031
    void OnMon1Fwd();                 ///< menu 32792
    void OnMon1Rev();                 ///< menu 32793
    void OnMon2Fwd();                 ///< menu 32822
    void OnMon2Rev();                 ///< menu 32823
    void OnMouse();                   ///< menu 32795
    void OnMouseWheel();              ///< menu 32796
    void OnBackgroundColor();         ///< button 1005 and menu 32789
    void OnTextFont();                ///< button 1004 and menu 32790
    void OnScrollSpeed();             ///< menu 32807
    void OnCpuPerformance();          ///< menu 32817
    void OnReadingCue();              ///< Reading Cue: shows or hides the prompter's reading cue
    void OnOperatorPreview(); ///< Operator's Preview: turns the preview of a run on another screen
                              ///< on or off
    void OnUpdateMon1Fwd(QAction& item);         ///< checked when monitor 1 reads forward
    void OnUpdateMon1Rev(QAction& item);         ///< checked when monitor 1 reads reversed
    void OnUpdateMon2Fwd(QAction& item);         ///< checked when monitor 2 reads forward
    void OnUpdateMon2Rev(QAction& item);         ///< checked when monitor 2 reads reversed
    void OnUpdateMouse(QAction& item);           ///< checked when the mouse flag is set
    void OnUpdateMouseWheel(QAction& item);      ///< checked when the mouse flag is clear
    void OnUpdateReadingCue(QAction& item);      ///< checked when the reading cue shows
    void OnUpdateOperatorPreview(QAction& item); ///< checked when the preview is on
    void OnLiveEdit();                    ///< Edit While Prompting: turns live runs on or off
    void OnUpdateLiveEdit(QAction& item); ///< checked when runs stay live

    void OnFollowVoice();                    ///< Follow the Voice: runs follow the speaker, or not
    void OnUpdateFollowVoice(QAction& item); ///< checked when runs follow the speaker

    // The operator's keys during a live run (VellorDlgLiveCommands.cpp).
    void OnRunPause();             ///< pauses or resumes
    void OnRunStop();              ///< ends the run
    void OnRunSlower();            ///< slower, while moving
    void OnRunFaster();            ///< faster, while moving
    void OnRunReverse();           ///< asks for a reversal, while moving
    void OnRunToCursor();          ///< the line the editor's cursor is on where the talent reads
    void OnRunPreviousParagraph(); ///< the paragraph before the line read
    void OnRunNextParagraph();     ///< the next paragraph
    void OnUpdateRunKey(QAction& item); ///< enabled while a live run is on
    /// Ends a live run and has command `id` carried out once it has ended;
    /// false, and nothing done, when no live run is on.
    bool EndRunBefore(int id);
    /// Replaces the script text with `text` as one edit that undo takes
    /// back, as the remote control asks; the refusal when it cannot now.
    std::optional<QString> ReplaceScriptText(const QString& text);

    // Help.
    void OnHelpContents(); ///< 32771 and F1: the help contents
    void OnAbout();        ///< 32772: the about box

    // Scroll.
    void OnScroll(); ///< button 1007 and 32798: runs the script on the prompter
    /// SCROLL as the button does it, queued to run once the caller has returned;
    /// false, and nothing queued, while a run or another dialog is open.
    bool QueueScroll();

    void OnGlass();   ///< Preferences > Glass: the margin, countdown and clock of the next run
    void OnOutputs(); ///< Preferences > Outputs: the further screens of the next runs

    // Following another prompter.
    void OnFollow(); ///< Follow a Prompter: asks where the leader is and follows it until Esc
    /// Follows the leader at `address` (the phone page's, with its token)
    /// once the caller has returned; tells the operator when it cannot.
    void QueueFollow(const QString& address);

    // Remote control.
    void OnRemoteControl(); ///< Preferences > Remote Control: opens what was given below
    /// What Preferences > Remote Control opens; without it the item does nothing.
    void SetRemoteControlDialog(std::function<void()> open);

  public slots:
    /// Enter never closes the control window.
    void accept() override;
    /// Esc and the close box take the closing path.
    void reject() override;
    /// Ends the dialog after refreshing the starting speed and mouse flag from the controls.
    void done(int result) override;

  protected:
    /// Runs the command of a shortcut key that reaches the window because its
    /// item is disabled, by its update rule; such a key does nothing else.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void CreateControls();
    void InitImageButtons();
    void InitTextButtons();
    void InitCheckBoxes();
    void InitSlider();
    void InitLabels();
    void SetInitialCheckStates();
    void LoadLastScript();
    void ConnectCommands();
    void CreateMenu();
    void UpdateCommand(int id);
    void UpdateMenu(QMenu& menu);
    void RestoreRecoveredScript();
    void ScriptSaved(const EncodedScript& text);
    void ScriptReplaced();
    void Follow(const FollowTarget& target);

    DialogService& m_dialogs;
    QFont m_font;  // the editor's font
    QIcon m_hIcon; // icon 128

    ScriptEditor* m_editor = nullptr;
    CMySliderControl* m_slider = nullptr;
    CTransparentStatic* m_fileLabel = nullptr;
    QHash<int, CXButton*> m_buttons;
    QHash<int, CTransparentStatic*> m_labels;
    QHash<int, QAction*> m_actions;
    RecoveryKeeper* m_recovery = nullptr; // keeps the recovery copy; none: no copy is kept
    // Whether the operator was told that the script is now saved as UTF-8.
    bool m_bToldOfUtf8 = false;
    std::function<void()> m_openRemoteControl;
    RunScriptLink* m_liveRun = nullptr; // the live run's link to the editor, while it goes
    int m_afterRun = 0;                 // the command to carry out once the run has ended
};
