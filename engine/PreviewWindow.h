#pragma once

#include "LongestOfLate.h"
#include "ScanOutFrame.h"
#include "VoiceSettings.h"

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

class DisplayDevice;
class QLabel;
class QProgressBar;
class QTimer;
struct PrompterStatus;

// The operator's view of a run on another screen: what the talent sees,
// right-reading, with the reading cue when it is on, and below it, large
// and light on dark to be read across a desk, the time left and the time of
// day, the time moved and the time since the run first moved, the story
// number and the line being read, the pace (PrompterStatus.h: the run's
// real one once measured) and, with an end time set, the back-time. It never takes
// the focus, so the prompter window keeps its activation and the run goes
// on. A timer of its own says when a refresh is due, and the run's loop
// offers it the time before its next step: the refresh, copying only
// frames the presenter already has and painting at once, is done when it
// fits in that time, so that it does not hold up a step.
class PreviewWindow : public QWidget
{
  public:
    // A preview placed on screen and shown, with no picture until Follow.
    explicit PreviewWindow(QScreen* screen);

    // Shows display's frames from now on; display must outlive the window.
    void Follow(const DisplayDevice& display);

    // Refreshes the picture and the figures if a refresh is due and fits
    // in the time before the loop's next step, or it has waited too long.
    void RefreshIfDue(std::chrono::nanoseconds timeBeforeNextStep);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void Refresh();
    void ShowNewestFrame();
    void ShowStatus();
    void ShowBackTime(const PrompterStatus& status);
    void ShowVoice(VoiceState state);

    const DisplayDevice* m_display = nullptr; // the run's display, once it is open
    ScanOutFrame m_frame;                     // the newest frame copied
    std::uint64_t m_frameNumber = 0;          // its number, 0 before the first
    QImage m_picture;                         // m_frame scaled to the picture area, right-reading
    std::vector<int> m_sourceColumns; // per column of m_picture, the frame's column it shows
    bool m_columnsMirrored = false;   // m_sourceColumns read the frame from the right
    QRect m_pictureArea;              // where the picture and the cue's margin go
    QLabel* m_remaining = nullptr;    // child widgets, owned by this window
    QLabel* m_clock = nullptr;
    QLabel* m_elapsed = nullptr;
    QLabel* m_sinceStart = nullptr;
    QLabel* m_story = nullptr;
    QLabel* m_position = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_speed = nullptr;
    QLabel* m_backTime = nullptr; // hidden without an end time
    QLabel* m_needs = nullptr;
    QLabel* m_follow = nullptr; // hidden unless this prompter follows another
    QLabel* m_voice = nullptr;  // hidden unless the run follows the voice
    QTimer* m_refresh = nullptr;
    QElapsedTimer m_dueFor;      // valid while a refresh is due
    LongestOfLate m_refreshTime; // what a refresh takes, painting included
};

// The preview for a run on prompterScreen, on the control window's screen
// (g_runParams.operatorScreen); null when there is no such screen or the
// run is on it, where the operator sees the glass itself. Opened before the
// prompter window is made, so that the prompter is the window
// left active on a platform that activates every window it shows.
std::unique_ptr<PreviewWindow> OpenPreviewWindow(const QScreen* prompterScreen);
