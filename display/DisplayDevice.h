#pragma once

// The prompter's display, from the scroll loop to the glass:
//
//   Surface (640 x 480 x 8-bit palette indices; the loop writes its rows)
//     -> FrameMailbox (one copy per screen refresh, swapped under a short lock)
//     -> 32-bit frame (the run's palette ramp, scaled sharp-bilinear to the
//        largest 4:3 rectangle of the screen, centred, margins in the
//        background colour; see ScanOut.h)
//     -> the prompter window, frameless, full screen and on top of all
//        others on the chosen QScreen
//     -> the screen, at its refresh rate (ScanOutWidget.h).
//
// The desktop's own mode is never changed: "640 x 480 at 8 bits" is the
// picture the engine draws, and the window scales it to the screen.

#include "DisplayProbe.h"
#include "FrameMailbox.h"
#include "ScanOutView.h"

#include <QList>
#include <QPointer>
#include <QRgb>
#include <QWidget>

#include <chrono>
#include <memory>

class QScreen;
class Surface;

// Monitor 1 is the primary screen; monitor 2 is the last screen that is not
// the primary, looked up afresh at every call. Null when there is none.
QScreen* ChooseDisplayScreen(bool monitor2);

// What a surface is for; it decides which creation step a probe can fail.
enum class SurfaceRole {
    Primary,   // the visible image
    Offscreen, // initial image, then the line strip
    Mirror,    // mirror work surface
};

// The display object of one scroll run: one screen taken over in the
// exclusive full-screen mode, owning the run's surfaces. Releasing it (its
// destructor) ends the mode and releases every surface still held.
class DisplayDevice
{
  public:
    // The display object for screen; null when screen is null or the probe
    // makes this step fail. probe, when given, must outlive the device.
    static std::unique_ptr<DisplayDevice> Create(QScreen* screen, DisplayProbe* probe = nullptr);
    ~DisplayDevice();
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;

    // Makes window the exclusive full-screen window of this display: moved
    // to the screen, frameless, covering it, on top and active.
    void SetCooperativeLevel(QWidget* window);

    // Selects the picture format; only 640 x 480 at 8 bits is offered.
    bool SetDisplayMode(int width, int height, int bitsPerPixel);

    // The colours of the 256 indices, used from the next scan-out on.
    void SetPalette(const QList<QRgb>& palette);

    // A new 640 x 480 surface owned by the device, or null when the probe
    // makes this creation fail. The primary surface is the one scanned out;
    // scan-out starts with it.
    Surface* CreateSurface(SurfaceRole role);

    // Releases a surface that this device created; null does nothing.
    void ReleaseSurface(Surface* surface);

    // Ends scan-out and gives the window back its ordinary state.
    void RestoreDisplayMode();

    // Called by the scroll loop after every pass: hands a copy of the
    // primary surface over when the screen wants its next frame, and lets the
    // scan-out do its share of the frame's work; nextStepIn is the time left
    // before the loop's next step is due. Answers how soon the screen wants
    // the loop's next pass.
    std::chrono::nanoseconds OfferFrame(std::chrono::nanoseconds nextStepIn)
    {
        if (m_primary && m_mailbox.Wanted())
            m_mailbox.Post(*m_primary);
        return m_scanOut ? m_scanOut->OnLoopPass(nextStepIn) : std::chrono::nanoseconds::max();
    }

    // The screen this device drives.
    QScreen* screen() const { return m_screen; }

    // The widget that shows the frames, while scan-out runs (tests grab it).
    ScanOutView* scanOutWidget() const { return m_scanOut; }

  private:
    DisplayDevice(QScreen* screen, DisplayProbe* probe);
    void Note(const char* what) const;

    struct OwnedSurface;
    QScreen* m_screen;
    DisplayProbe* m_probe;
    QPointer<QWidget> m_window;                            // the cooperative window
    QPointer<ScanOutView> m_scanOut;                       // owned by m_window
    QList<QRgb> m_palette;                                 // index -> colour
    FrameMailbox m_mailbox;                                // frames on their way to m_scanOut
    std::vector<std::unique_ptr<OwnedSurface>> m_surfaces; // every surface not yet released
    Surface* m_primary = nullptr;                          // the scanned-out surface, if any
};
