#include "VellorDlg.h"

#include "ControlCommands.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include <iterator>

// Menu 4 and accelerator table 136, made from the rows of ControlCommands.
// Every command of the window is one QAction carrying its shortcut; a
// shortcut and a menu click both reach it through RunCommand or the action's
// trigger, after its update rule has set its state.

namespace
{

// The item of one command. Its shortcut acts wherever the focus is in the
// window, through RunCommand. While the item is disabled Qt leaves the key to
// the focus widget, which passes it on to the window's keyPressEvent.
class CommandItem : public QAction
{
  public:
    CommandItem(const ControlCommand& command, CVellorDlg& window)
        : QAction(QString::fromLatin1(command.text), &window), m_window(window), m_id(command.id)
    {
        setData(command.id);
        setCheckable(command.checkable);
        if (command.shortcut)
            setShortcut(QKeySequence(*command.shortcut));
        // Shown beside the item only: a widget shortcut of the menu, which
        // keeps Esc for itself while it has the focus.
        if (command.cancelKey)
            setShortcutContext(Qt::WidgetShortcut);
    }

  protected:
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::Shortcut)
            return QAction::event(event);
        m_window.RunCommand(m_id);
        return true;
    }

  private:
    CVellorDlg& m_window;
    int m_id;
};

} // namespace

void CVellorDlg::CreateMenu()
{
    auto* bar = new QMenuBar(this);
    const char* const titles[] = {"&File", "&Edit", nullptr, "&Preferences", "&Help", nullptr};
    QMenu* menus[std::size(titles)] = {};
    // The bar's menus come in the order of their first rows.
    for (const ControlCommand& command : ControlCommands()) {
        auto* item = new CommandItem(command, *this);
        connect(item, &QAction::triggered, this, command.run);
        m_actions.insert(command.id, item);
        if (command.menu == CommandMenu::Bar) {
            bar->addAction(item);
            continue;
        }
        if (command.menu == CommandMenu::Window) {
            addAction(item);
            continue;
        }
        QMenu*& menu = menus[static_cast<int>(command.menu)];
        if (!menu) {
            menu = bar->addMenu(QString::fromLatin1(titles[static_cast<int>(command.menu)]));
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(*menu); });
        }
        if (command.separatorBefore)
            menu->addSeparator();
        menu->addAction(item);
    }
    SetMenuBar(bar);
}

QAction* CVellorDlg::CommandAction(int id) const
{
    return m_actions.value(id, nullptr);
}

void CVellorDlg::UpdateCommand(int id)
{
    const ControlCommand* command = FindControlCommand(id);
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

void CVellorDlg::keyPressEvent(QKeyEvent* event)
{
    // The keypad flag says where a key sits, not which key it is.
    const QKeyCombination typed(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key()));
    for (const ControlCommand& command : ControlCommands()) {
        if (command.shortcut == typed && !command.cancelKey) {
            // The menu may have shown the item disabled a while ago; its rule decides now.
            RunCommand(command.id);
            return;
        }
    }
    CBgDialog::keyPressEvent(event);
}
