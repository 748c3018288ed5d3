#pragma once

// The prompter's display, from the scroll loop to the glass:
//
//   Surface (640 x 480 x 8-bit palette indices; the loop writes its rows,
//   and the surface counts its writes and stamps its rows)
//     -> FrameMailbox (a copy of the picture when the screen wants a frame
//        and the picture changed, swapped in under a short lock)
//     -> a presenter (ScanOutWidget.h), which scales the picture in the
//        run's palette sharp-bilinear to the largest 4:3 rectangle of the
//        screen's device pixels, centred, margins in the background colour
//        (the rule of ScanOut.h), and then draws the overlay (ScanOutOverlay.h):
//          - with a graphics card: a presenter thread keeps the picture and
//            the palette as two small textures and a fragment shader
//            scales (GlScanOut.h, GlScanOutRenderer.h);
//          - without: the loop's own thread scales in short bands between
//            steps, reusing the rows that only moved (RasterScanOut.h)
//     -> the prompter window, frameless, full screen and on top of all
//        others on the chosen QScreen
//     -> the screen, at its refresh rate;
//     -> and the same frames to the further screens chosen for the run,
//        scaled on the loop's thread (FurtherOutputs.h).
//
// This header is all the scroll run needs of it. The desktop's own mode is
// never changed: "640 x 480 at 8 bits" is the picture the engine draws, and
// the window scales it to the screen.

#include "ColorRef.h"
#include "FurtherOutputs.h"

#include <QList>
#include <QRgb>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

class QScreen;
class QWidget;
class ScanOutOverlay;
class Surface;
struct DisplayProbe;
struct ScanOutFrame;

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

    // The run's palette: a ramp from background (index 0) to text (index
    // 255), used by scan-out from the primary surface's creation on.
    void SetPalette(ColorRef background, ColorRef text);

    // What the presenter draws over every frame from the primary surface's
    // creation on; null for nothing. It must outlive the device.
    void SetOverlay(const ScanOutOverlay* overlay);

    // The screens that show the primary surface's frames beside this one
    // from its creation on, each in a window that takes no focus.
    void SetFurtherScreens(std::vector<FurtherScreen> screens);

    // A new 640 x 480 surface owned by the device, or null when the probe
    // makes this creation fail. The primary surface is the one scanned out;
    // scan-out starts with it.
    Surface* CreateSurface(SurfaceRole role);

    // Releases a surface that this device created; null does nothing.
    void ReleaseSurface(Surface* surface);

    // Ends scan-out and gives the window back its ordinary state.
    void RestoreDisplayMode();

    // Stops a presenter thread, so that the window can be hidden or
    // destroyed while the device still lives; frames stop reaching the
    // screen.
    void StopScanOut();

    // Called by the scroll loop after every pass, with the time left before
    // its next step is due: hands a copy of the primary surface over when
    // the screen wants a frame and the picture changed, and lets the
    // presenter do its share of the frame's work. Answers how soon the
    // screen wants the loop's next pass: zero while work waits, the time to
    // the screen's next frame while a changed picture waits for it,
    // nanoseconds::max() while nothing on the screen can change before the
    // picture does.
    std::chrono::nanoseconds OfferFrame(std::chrono::nanoseconds nextStepIn);

    // The screen this device drives.
    QScreen* screen() const;

    // The run's palette, index to colour (empty before SetPalette).
    const QList<QRgb>& Palette() const;

    // Copies the newest frame posted to the presenter into frame unless its
    // number is since, and answers that number (0 before the first): what
    // the screen shows or is about to, for a view beside it such as an
    // operator's preview. From the loop's thread it never waits for the
    // loop, and it posts nothing itself.
    std::uint64_t CopyNewestFrame(ScanOutFrame& frame, std::uint64_t since) const;

  private:
    struct State;
    explicit DisplayDevice(std::unique_ptr<State> state);
    void Note(const char* what) const;

    std::unique_ptr<State> m_state; // the window, surfaces, palette and scan-out
};
