#pragma once

#include "LongestOfLate.h"
#include "ScanOut.h"
#include "ScanOutFrame.h"
#include "ScanOutView.h"
#include "ScreenOutputs.h"

#include <QElapsedTimer>
#include <QList>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

class FrameMailbox;
class FurtherOutputWindow;
class QScreen;
class QWidget;

// A screen that shows the run beside the main output.
struct FurtherScreen {
    QScreen* screen = nullptr;
    bool flipped = false; // left-right reversed against the main output's picture
};

// The screens connected now that the choices put beside a main output on
// mainScreen, mirror-reversed when mainMirrored (PlanOutputs).
std::vector<FurtherScreen> ChooseFurtherScreens(const OutputChoices& choices,
                                                const QScreen* mainScreen, bool mainMirrored);

// The further outputs of a run, on the loop's thread: a window on each
// further screen (FurtherOutputWindow.h) showing the frames the main
// output's mailbox hands out. Each frame is taken once, when the one
// before is on every further screen, and scaled once for each distinct
// picture size and direction: outputs that share both share one scaler,
// and the second of them copies rows the first has made. The scaler keeps
// the rows that only moved, and on X the window keeps earlier pictures
// whose rows only moved (PictureReuse.h), so a further output costs a
// fraction of one copy of its picture per frame, made a band at a time
// between the loop's steps, straight into the image the window is shown
// from. Each picture is begun
// once (through the window's buffer, a wait for the window system to have
// read it), all are begun before any is shown, and all are shown at once:
// begun after one was shown, a picture would wait for the window system
// to copy that one first.
class FurtherOutputs
{
  public:
    // Windows on screens, shown at once, showing the frames posted to
    // mailbox as look says; the mailbox must outlive them.
    FurtherOutputs(const std::vector<FurtherScreen>& screens, FrameMailbox& mailbox,
                   const ScanOutLook& look);
    ~FurtherOutputs();
    FurtherOutputs(const FurtherOutputs&) = delete;
    FurtherOutputs& operator=(const FurtherOutputs&) = delete;

    // Called by the loop after the main output's pass, with the time left
    // before its next step; the main output's own bands (mainBusy) go
    // first. Takes a new frame, begins a picture, scales a band of it or
    // shows the finished pictures. Answers zero while work waits, the time
    // to the next step while a piece waits for it, else nanoseconds::max().
    std::chrono::nanoseconds OnLoopPass(std::chrono::nanoseconds nextStepIn, bool mainBusy);

    // How many scalings the outputs take: one per distinct size and direction.
    std::size_t Scalings() const { return m_scalings.size(); }
    // Frames put on every further screen so far.
    std::uint64_t FramesShown() const { return m_framesShown; }
    // The windows, in the order of the screens.
    QList<QWidget*> Windows() const;

  private:
    struct Scaling;
    struct Output;
    void Regroup();
    bool TakeFrame();
    enum class Piece { Begin, Band, Show };
    Piece NextPiece() const;
    bool Fits(Piece piece, std::chrono::nanoseconds nextStepIn) const;
    void PlanBand();
    void DoPiece();

    FrameMailbox& m_mailbox;
    ScanOutLook m_look;
    ScanOutColours m_colours;
    std::vector<std::unique_ptr<Scaling>> m_scalings; // one per distinct size and direction
    std::vector<Output> m_outputs;
    ScanOutFrame m_frame;                // the frame being shown
    std::uint64_t m_number = 0;          // its mailbox number; 0 before the first
    std::uint64_t m_overlayRevision = 0; // the overlay's revision on the screens
    bool m_again = false;                // the frame at hand is to be shown again
    // The output being drawn; the number of outputs while the pictures wait
    // to be shown; -1 when no frame is on its way.
    int m_nextOutput = -1;
    int m_nextRow = -1; // its next row; -1 while its picture is not begun
    std::uint64_t m_framesShown = 0;
    // Beginning a picture waits for the window system, and showing them
    // wakes it, which may take this core: each is timed by its longest of
    // late, so that it goes right after a step. A band by the average a row
    // it paints takes, rows a picture holds already costing nothing.
    LongestOfLate m_beginTime;
    std::chrono::nanoseconds m_rowTime{};
    int m_bandEnd = -1;    // the row past the next band's last; -1 while not planned
    int m_bandPainted = 0; // the rows it paints
    LongestOfLate m_showTime;
    QElapsedTimer m_drawing; // since the frame on its way was taken
};
