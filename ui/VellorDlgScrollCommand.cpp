#include "VellorDlg.h"

#include "MySliderControl.h"
#include "ResourceIds.h"
#include "ScriptCapture.h"
#include "ScriptEditor.h"
#include "ScrollRun.h"
#include "ScrollRunState.h"
#include "TextRaster.h"
#include "XButton.h"

#include <QApplication>
#include <QGuiApplication>

// SCROLL: the script goes from the editor to the prompter, and the speed the
// operator ended at comes back to the slider.

namespace {

constexpr int kSliderMax = 32000;
constexpr int kPrompterWeight = 400;

// The busy cursor while it lives: reading the displayed lines of a script of
// many megabytes takes seconds. It must be gone before the prompter opens,
// whose own blank cursor it would cover.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

void CVellorDlg::OnScroll()
{
    const CharRange selection = Editor().Selection();

    CapturedScript script;
    {
        const BusyCursor busy;
        script = CaptureScript(Editor());
    }
    g_runParams.scriptText = std::move(script.text);
    g_runParams.lineCount = script.lineCount;
    // The prompter doubles the editor's whole-point size.
    g_runParams.fontFace = m_strFontName;
    g_runParams.fontPoints = (m_nFontSize / 10) * 2;
    g_runParams.fontWeight = kPrompterWeight;
    CreatePrompterFont(g_runParams.fontFace, g_runParams.fontPoints, g_runParams.fontWeight);
    g_runParams.textColor = m_crText;
    g_runParams.backColor = m_crBack;
    g_runParams.speedValue = kSliderMax - m_slider->value();
    const bool mouse = Button(Ids::kMouseCheck)->IsChecked();
    const bool wheel = Button(Ids::kMouseWheelCheck)->IsChecked();
    g_runParams.controlMode =
        mouse && !wheel ? SpeedControlMode::MousePosition : SpeedControlMode::MouseWheel;
    const int forwardBox = m_bMonitor2 ? Ids::kMon2FwdCheck : Ids::kMon1FwdCheck;
    g_runParams.mirror = !Button(forwardBox)->IsChecked();
    g_runParams.useMonitor2 = m_bMonitor2;
    g_runParams.readingCue = m_readingCue;
    g_runParams.operatorScreen = screen();
    // A run that cannot start leaves this as it is, so the slider gets the
    // unchanged speed back.
    g_runState.speedValue = g_runParams.speedValue;

    StartScrollRun(m_bMonitor2);

    Editor().SetSelection(selection.cpMin, selection.cpMax);
    m_slider->setValue(kSliderMax - g_runState.speedValue);
}

bool CVellorDlg::QueueScroll()
{
    // This window's own modal loop does not count; any other modal dialog does.
    const QWidget* modal = QApplication::activeModalWidget();
    if (g_runState.running || (modal && modal != this))
        return false;
    QMetaObject::invokeMethod(this, &CVellorDlg::OnScroll, Qt::QueuedConnection);
    return true;
}
