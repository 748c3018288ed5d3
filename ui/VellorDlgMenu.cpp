#include "VellorDlg.h"

#include "AcceleratorTable.h"
#include "ResourceIds.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include <array>

// Menu 4 and accelerator table 136. Every command of the window is one
// QAction; a shortcut and a menu click both reach it through RunCommand or
// the action's trigger, after its update rule has set its state.

namespace {

using Handler = void (CVellorDlg::*)();
using UpdateRule = void (CVellorDlg::*)(QAction&);

struct Command {
    int id;
    Handler run;
    UpdateRule update; // nullptr: the item keeps its state
};

const std::array<Command, 28> kCommands{{
    {Ids::kCmdNew, &CVellorDlg::OnFileNew, nullptr},
    {Ids::kCmdOpen, &CVellorDlg::OnFileOpen, nullptr},
    {Ids::kCmdSave, &CVellorDlg::OnFileSave, &CVellorDlg::OnUpdateFileSave},
    {Ids::kCmdSaveAs, &CVellorDlg::OnFileSaveAs, nullptr},
    {Ids::kCmdPrint, &CVellorDlg::OnFilePrint, nullptr},
    {Ids::kCmdExit, &CVellorDlg::OnFileExit, nullptr},
    {Ids::kCmdUndo, &CVellorDlg::OnEditUndo, &CVellorDlg::OnUpdateEditUndo},
    {Ids::kCmdRedo, &CVellorDlg::OnEditRedo, &CVellorDlg::OnUpdateEditRedo},
    {Ids::kCmdCut, &CVellorDlg::OnEditCut, &CVellorDlg::OnUpdateEditCut},
    {Ids::kCmdCopy, &CVellorDlg::OnEditCopy, &CVellorDlg::OnUpdateEditCopy},
    {Ids::kCmdPaste, &CVellorDlg::OnEditPaste, &CVellorDlg::OnUpdateEditPaste},
    {Ids::kCmdSelectAll, &CVellorDlg::OnEditSelectAll, &CVellorDlg::OnUpdateEditSelectAll},
    {Ids::kCmdScroll, &CVellorDlg::OnScroll, nullptr},
    {Ids::kCmdScrollSpeed, &CVellorDlg::OnScrollSpeed, nullptr},
    {Ids::kCmdCpuPerformance, &CVellorDlg::OnCpuPerformance, nullptr},
    {Ids::kCmdBackgroundColor, &CVellorDlg::OnBackgroundColor, nullptr},
    {Ids::kCmdTextFont, &CVellorDlg::OnTextFont, nullptr},
    {Ids::kCmdMon1Fwd, &CVellorDlg::OnMon1Fwd, &CVellorDlg::OnUpdateMon1Fwd},
    {Ids::kCmdMon1Rev, &CVellorDlg::OnMon1Rev, &CVellorDlg::OnUpdateMon1Rev},
    {Ids::kCmdMon2Fwd, &CVellorDlg::OnMon2Fwd, &CVellorDlg::OnUpdateMon2Fwd},
    {Ids::kCmdMon2Rev, &CVellorDlg::OnMon2Rev, &CVellorDlg::OnUpdateMon2Rev},
    {Ids::kCmdMouse, &CVellorDlg::OnMouse, &CVellorDlg::OnUpdateMouse},
    {Ids::kCmdMouseWheel, &CVellorDlg::OnMouseWheel, &CVellorDlg::OnUpdateMouseWheel},
    {Ids::kCmdHelpContents, &CVellorDlg::OnHelpContents, nullptr},
    {Ids::kCmdAbout, &CVellorDlg::OnAbout, nullptr},
    {Ids::kCmdRemoteControl, &CVellorDlg::OnRemoteControl, nullptr},
    {Ids::kCmdReadingCue, &CVellorDlg::OnReadingCue, &CVellorDlg::OnUpdateReadingCue},
    {Ids::kCmdOperatorPreview, &CVellorDlg::OnOperatorPreview, &CVellorDlg::OnUpdateOperatorPreview},
}};

const Command* FindCommand(int id)
{
    for (const Command& command : kCommands) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}

// One row of menu 4 (id 0, no text: a separator). The shortcut shown beside an
// item comes from the accelerator table.
struct MenuItem {
    int id;
    const char* text;
    bool checkable;
};

constexpr MenuItem kSeparator{0, nullptr, false};

const std::array<MenuItem, 9> kFileMenu{{
    {Ids::kCmdNew, "&New", false},
    {Ids::kCmdOpen, "&Open ...", false},
    kSeparator,
    {Ids::kCmdSave, "&Save", false},
    {Ids::kCmdSaveAs, "Save &As ...", false},
    kSeparator,
    {Ids::kCmdPrint, "&Print ...", false},
    kSeparator,
    {Ids::kCmdExit, "E&xit", false},
}};

const std::array<MenuItem, 8> kEditMenu{{
    {Ids::kCmdUndo, "&Undo", false},
    {Ids::kCmdRedo, "&Redo", false},
    kSeparator,
    {Ids::kCmdCut, "Cut", false},
    {Ids::kCmdCopy, "Copy", false},
    {Ids::kCmdPaste, "Paste", false},
    kSeparator,
    {Ids::kCmdSelectAll, "&Select All", false},
}};

const std::array<MenuItem, 18> kPreferencesMenu{{
    {Ids::kCmdScrollSpeed, "&Scroll Speed", false},
    {Ids::kCmdCpuPerformance, "&CPU Performance", false},
    kSeparator,
    {Ids::kCmdBackgroundColor, "&Background Color ...", false},
    kSeparator,
    {Ids::kCmdTextFont, "Text &Font Information ...", false},
    kSeparator,
    {Ids::kCmdMon1Fwd, "Mon #1 Fwd", true},
    {Ids::kCmdMon1Rev, "&Mon #1 Rev", true},
    {Ids::kCmdMon2Fwd, "&Mon #2 Fwd", true},
    {Ids::kCmdMon2Rev, "&Mon #2 Rev", true},
    kSeparator,
    {Ids::kCmdMouse, "&Mouse", true},
    {Ids::kCmdMouseWheel, "Mouse &Wheel", true},
    kSeparator,
    {Ids::kCmdReadingCue, "Reading &Cue", true},
    {Ids::kCmdOperatorPreview, "Operator's &Preview", true},
    {Ids::kCmdRemoteControl, "&Remote Control ...", false},
}};

const std::array<MenuItem, 3> kHelpMenu{{
    {Ids::kCmdHelpContents, "&Contents", false},
    kSeparator,
    {Ids::kCmdAbout, "&About Vellor Teleprompter Software ...", false},
}};

} // namespace

void CVellorDlg::CreateMenu()
{
    auto* bar = new QMenuBar(this);
    const auto addItems = [this](QMenu& menu, const auto& items) {
        for (const MenuItem& item : items) {
            if (item.id == 0) {
                menu.addSeparator();
                continue;
            }
            QString text = QString::fromLatin1(item.text);
            if (const QString keys = ShortcutText(item.id); !keys.isEmpty())
                text += u'\t' + keys;
            QAction* action = menu.addAction(text);
            action->setData(item.id);
            action->setCheckable(item.checkable);
            const Command* command = FindCommand(item.id);
            connect(action, &QAction::triggered, this,
                    [this, command] { (this->*command->run)(); });
            m_actions.insert(item.id, action);
        }
        connect(&menu, &QMenu::aboutToShow, this, [this, &menu] { UpdateMenu(menu); });
    };
    addItems(*bar->addMenu(QStringLiteral("&File")), kFileMenu);
    addItems(*bar->addMenu(QStringLiteral("&Edit")), kEditMenu);

    QAction* scroll = bar->addAction(QStringLiteral("&Scroll"));
    scroll->setData(Ids::kCmdScroll);
    connect(scroll, &QAction::triggered, this, &CVellorDlg::OnScroll);
    m_actions.insert(Ids::kCmdScroll, scroll);

    addItems(*bar->addMenu(QStringLiteral("&Preferences")), kPreferencesMenu);
    addItems(*bar->addMenu(QStringLiteral("&Help")), kHelpMenu);
    SetMenuBar(bar);
}

QAction* CVellorDlg::CommandAction(int id) const { return m_actions.value(id, nullptr); }

void CVellorDlg::UpdateCommand(int id)
{
    const Command* command = FindCommand(id);
    QAction* action = CommandAction(id);
    if (command && command->update && action)
        (this->*command->update)(*action);
}

void CVellorDlg::UpdateMenu(QMenu& menu)
{
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator())
            UpdateCommand(action->data().toInt());
    }
}

bool CVellorDlg::RunCommand(int id)
{
    QAction* action = CommandAction(id);
    if (!action)
        return false;
    UpdateCommand(id);
    if (!action->isEnabled())
        return false;
    // The same road as a click on the menu item.
    action->trigger();
    return true;
}

void CVellorDlg::InstallShortcuts()
{
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool CVellorDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return CBgDialog::eventFilter(watched, event);
    // Only keys typed in this window count; a drop-down or a dialog of its own
    // handles its keys itself.
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return CBgDialog::eventFilter(watched, event);
    const int command = AcceleratorCommand(static_cast<QKeyEvent*>(event)->keyCombination());
    if (command == 0)
        return CBgDialog::eventFilter(watched, event);
    // A shortcut is consumed even when its command is disabled, so that it
    // never reaches the editor as text.
    RunCommand(command);
    return true;
}
