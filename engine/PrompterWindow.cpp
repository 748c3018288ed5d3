#include "PrompterWindow.h"

#include "ColorRef.h"
#include "PrompterBindings.h"
#include "PrompterCommands.h"
#include "ScrollRunState.h"
#include "Surface.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWindow>

#include <cstdint>

namespace
{
// Gives the command bound to the input in the run's speed control mode.
void Give(PrompterInput input, int code = 0)
{
    const PrompterBinding* binding = FindPrompterBinding(input, code, g_runParams.controlMode);
    // A prompter that follows another moves with it: its own keys only end the run.
    if (binding && (!g_runParams.followsLeader || binding->command == PrompterCommand::Stop))
        RunPrompterBinding(*binding);
}

void OnMove(const QMouseEvent& mouse)
{
    const int y = static_cast<std::uint16_t>(mouse.position().toPoint().y());
    const PrompterInput input =
        y > g_runState.lastMouseY ? PrompterInput::MouseDown : PrompterInput::MouseUp;
    if (g_runParams.controlMode == SpeedControlMode::MousePosition)
        g_runState.lastMouseY = y;
    Give(input);
}

bool OnWheel(const QWheelEvent& wheel)
{
    const int delta = wheel.angleDelta().y();
    if (delta == 0)
        return false; // a sideways wheel is not this control
    Give(delta > 0 ? PrompterInput::WheelAway : PrompterInput::WheelTowards);
    return true;
}
} // namespace

bool PrompterWndProc(QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowDeactivate: {
        // A window that is being minimised keeps running, as it would if it
        // were merely hidden behind another. Qt names the window taking the
        // activation before it tells this one.
        const auto* window = g_runState.prompterWindow;
        const bool staysInProgram = g_runParams.liveEdit && QApplication::activeWindow();
        if ((!window || !window->isMinimized()) && !staysInProgram)
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
        Give(PrompterInput::Key, static_cast<const QKeyEvent&>(*event).key());
        return true;
    case QEvent::MouseButtonPress:
        Give(PrompterInput::Button, static_cast<const QMouseEvent&>(*event).button());
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
    setGeometry(0, 0, Surface::kWidth, Surface::kHeight);
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
