#include "PrompterWindow.h"

#include "ColorRef.h"
#include "PrompterCommands.h"
#include "ScrollRunState.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWindow>

#include <cstdint>

namespace
{
// Keys act by key code, so Shift makes no difference and auto-repeat repeats.
void OnKey(const QKeyEvent& key)
{
    struct Binding {
        int key;
        PrompterCommand command;
    };
    static constexpr Binding kKeys[] = {
        {Qt::Key_Escape, PrompterCommand::Stop},
        {Qt::Key_Space, PrompterCommand::TogglePause},
        {Qt::Key_D, PrompterCommand::ReverseFromForward},
        {Qt::Key_U, PrompterCommand::ReverseFromBackward},
        {Qt::Key_F, PrompterCommand::Faster},
        {Qt::Key_S, PrompterCommand::Slower},
        // What presenter clickers and page-turner pedals send.
        {Qt::Key_PageDown, PrompterCommand::NextParagraph},
        {Qt::Key_PageUp, PrompterCommand::PreviousParagraph},
        {Qt::Key_Home, PrompterCommand::JumpToStart},
        {Qt::Key_Down, PrompterCommand::Faster},
        {Qt::Key_Up, PrompterCommand::Slower},
        {Qt::Key_B, PrompterCommand::TogglePause},
        {Qt::Key_Period, PrompterCommand::TogglePause},
    };
    for (const Binding& binding : kKeys) {
        if (binding.key == key.key()) {
            RunPrompterCommand(binding.command);
            return;
        }
    }
}

void OnButton(const QMouseEvent& mouse)
{
    if (mouse.button() == Qt::LeftButton)
        RunPrompterCommand(PrompterCommand::TogglePause);
    else if (mouse.button() == Qt::RightButton)
        RunPrompterCommand(PrompterCommand::Reverse);
}

void OnMove(const QMouseEvent& mouse)
{
    if (g_runParams.controlMode == SpeedControlMode::MousePosition) {
        // The height is taken as an unsigned 16-bit value, so a position
        // above the window counts as far below it. Level movement speeds up.
        const int y = static_cast<std::uint16_t>(mouse.position().toPoint().y());
        g_runState.speedValue += y > g_runState.lastMouseY ? kPrompterSpeedStep : -kPrompterSpeedStep;
        g_runState.lastMouseY = y;
    }
    ClampSpeed();
}

// One step of 500 per wheel event, whatever the number of notches in it.
bool OnWheel(const QWheelEvent& wheel)
{
    const int delta = wheel.angleDelta().y();
    if (delta == 0)
        return false; // a sideways wheel is not this control
    if (g_runParams.controlMode == SpeedControlMode::MouseWheel)
        SetPrompterSpeed(g_runState.speedValue + (delta > 0 ? -kPrompterSpeedStep : kPrompterSpeedStep));
    return true;
}
} // namespace

bool PrompterWndProc(QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowDeactivate: {
        // A window that is being minimised keeps running, as it would if it
        // were merely hidden behind another.
        const auto* window = g_runState.prompterWindow;
        if (!window || !window->isMinimized())
            RunPrompterCommand(PrompterCommand::Stop);
        return true;
    }
    case QEvent::WindowActivate:
        return true;
    case QEvent::Close:
        // Only the operator ends a run; a request to quit the application
        // is refused while the prompter is up.
        event->ignore();
        return true;
    case QEvent::KeyPress:
        OnKey(static_cast<const QKeyEvent&>(*event));
        return true;
    case QEvent::MouseButtonPress:
        OnButton(static_cast<const QMouseEvent&>(*event));
        return true;
    case QEvent::MouseMove:
        OnMove(static_cast<const QMouseEvent&>(*event));
        return true;
    case QEvent::Wheel:
        return OnWheel(static_cast<const QWheelEvent&>(*event));
    default:
        return false;
    }
}

CPrompterWindow::CPrompterWindow()
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setGeometry(0, 0, 640, 480);
    setCursor(Qt::BlankCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(g_runParams.backColor));
    setPalette(colours);
    setAutoFillBackground(true);
}

CPrompterWindow::~CPrompterWindow()
{
    if (g_runState.prompterWindow == this)
        g_runState.prompterWindow = nullptr;
}

bool CPrompterWindow::event(QEvent* event)
{
    return PrompterWndProc(event) || QWidget::event(event);
}

std::unique_ptr<CPrompterWindow> CreatePrompterWindow()
{
    auto window = std::make_unique<CPrompterWindow>();
    // A run starts from within a modal window (the control window's loop).
    // Made that window's transient, the prompter is not blocked by it, so the
    // operator's input reaches the prompter whether or not a modal window is up.
    if (const QWidget* modal = QApplication::activeModalWidget()) {
        window->winId();
        window->windowHandle()->setTransientParent(modal->windowHandle());
    }
    window->show();
    window->activateWindow();
    g_runState.prompterWindow = window.get();
    return window;
}
