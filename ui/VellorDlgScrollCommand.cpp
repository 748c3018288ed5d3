#include "VellorDlg.h"

#include "BackTime.h"
#include "LineStarts.h"
#include "MySliderControl.h"
#include "ResourceIds.h"
#include "RunScriptLink.h"
#include "ScriptCapture.h"
#include "ScriptEditor.h"
#include "ScrollRun.h"
#include "ScrollRunState.h"
#include "SpeedValue.h"
#include "TextRaster.h"
#include "XButton.h"

#include <QApplication>

#include <optional>
#include <utility>

// SCROLL: the script goes from the editor to the prompter, and the speed the
// operator ended at comes back to the slider.

namespace
{

constexpr int kPrompterWeight = 400;

// Lines taken before the run starts: many screens of any font, in a few
// milliseconds. The rest comes while the run goes, in the time its loop
// would otherwise wait.
constexpr int kLinesAtOnce = 1000;

} // namespace

void CVellorDlg::OnScroll()
{
    // A run is under way already, and this window is in use during it.
    if (g_runState.running)
        return;
    const CharRange selection = Editor().Selection();

    // Without live edits the editor is not changed while the run lasts: the
    // prompter covers the screen and losing it ends the run.
    ScriptCapture capture(Editor());
    std::optional<RunScriptLink> live;
    ScriptFeed rest;
    if (m_settings.liveEdit) {
        live.emplace(Editor(), kLinesAtOnce);
        rest = live->Rest();
    } else {
        g_runParams.scriptText.clear();
        if (capture.AppendLines(g_runParams.scriptText, kLinesAtOnce))
            rest = [&capture](ScriptCapture::Clock::time_point until) {
                const bool remaining = capture.AppendUntil(g_runParams.scriptText, until);
                g_runParams.lineCount = RecordLineStarts(g_runParams.lineCount);
                return remaining;
            };
        g_runParams.lineCount = capture.LinesTaken();
    }
    g_runParams.liveEdit = live.has_value();
    m_liveRun = live ? &*live : nullptr;
    // The prompter doubles the editor's whole-point size.
    g_runParams.fontFace = m_settings.m_strFontName;
    g_runParams.fontPoints = (m_settings.m_nFontSize / 10) * 2;
    g_runParams.fontWeight = kPrompterWeight;
    CreatePrompterFont(g_runParams.fontFace, g_runParams.fontPoints, g_runParams.fontWeight);
    g_runParams.textColor = m_settings.m_crText;
    g_runParams.backColor = m_settings.m_crBack;
    g_runParams.speedValue = kSlowestSpeed - m_slider->value();
    const bool mouse = Button(Ids::kMouseCheck)->IsChecked();
    const bool wheel = Button(Ids::kMouseWheelCheck)->IsChecked();
    g_runParams.controlMode =
        mouse && !wheel ? SpeedControlMode::MousePosition : SpeedControlMode::MouseWheel;
    const int forwardBox = m_bMonitor2 ? Ids::kMon2FwdCheck : Ids::kMon1FwdCheck;
    g_runParams.mirror = !Button(forwardBox)->IsChecked();
    g_runParams.useMonitor2 = m_bMonitor2;
    g_runParams.readingCue = m_settings.readingCue;
    g_runParams.glass = m_settings.glass;
    g_runParams.operatorScreen = m_settings.showPreview ? screen() : nullptr;
    g_runParams.endAtSecond = ParseTimeOfDay(m_settings.endAt);
    g_runParams.outputs = m_settings.outputs;
    g_runParams.voice = m_settings.voice;
    StartScrollRun(m_bMonitor2, std::move(rest));
    // The run is over: its script follows the editor no longer.
    const bool wasLive = live.has_value();
    m_liveRun = nullptr;
    live.reset();
    g_runParams.liveEdit = false;

    // After a live run the editor stays as the operator left it.
    if (!wasLive)
        Editor().SetSelection(selection.cpMin, selection.cpMax);
    m_slider->setValue(kSlowestSpeed - g_runState.speedValue);
    if (const int command = std::exchange(m_afterRun, 0))
        RunCommand(command);
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
