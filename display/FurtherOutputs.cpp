#include "FurtherOutputs.h"

#include "FrameMailbox.h"
#include "FurtherOutputWindow.h"
#include "ScanOutOverlay.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <utility>

namespace
{
// Pixels scaled or copied for a further screen in one loop pass: as many
// as the main output's raster presenter does, the most a step is held up;
// rows a picture holds already are passed over and not counted.
constexpr int kFurtherBandPixels = 24 * 1440;
// What a band of those pixels takes when they are copies; rows made anew
// take many times longer, and come that much fewer to a band.
constexpr std::chrono::microseconds kFurtherBandTime{25};
// A band waits for the next step, or for the main output's bands, at most
// this long after its frame was taken, so that a run stepping at every
// pass, whose main output is never done, still shows its frames.
constexpr std::chrono::milliseconds kFurtherMostWait{8};
} // namespace

struct FurtherOutputs::Scaling {
    ScanOutScaler scaler;
};

struct FurtherOutputs::Output {
    std::unique_ptr<FurtherOutputWindow> window;
    bool flipped = false;
    Scaling* scaling = nullptr;
};

std::vector<FurtherScreen> ChooseFurtherScreens(const OutputChoices& choices,
                                                const QScreen* mainScreen, bool mainMirrored)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    QStringList names;
    for (const QScreen* screen : screens)
        names.append(screen->name());
    std::vector<FurtherScreen> chosen;
    const OutputPlan plan =
        PlanOutputs(choices, names, mainScreen ? mainScreen->name() : QString(), mainMirrored);
    for (const FurtherOutput& output : plan.outputs)
        for (QScreen* screen : screens)
            if (screen->name() == output.screen && screen != mainScreen)
                chosen.push_back({screen, output.flipped});
    return chosen;
}

FurtherOutputs::FurtherOutputs(const std::vector<FurtherScreen>& screens, FrameMailbox& mailbox,
                               const ScanOutLook& look)
    : m_mailbox(mailbox), m_look(look), m_colours(ScanOutColoursOf(look.palette))
{
    for (const FurtherScreen& screen : screens)
        m_outputs.push_back(
            {std::make_unique<FurtherOutputWindow>(screen.screen, look), screen.flipped, nullptr});
    if (look.overlay)
        m_overlayRevision = look.overlay->Revision();
    Regroup();
}

FurtherOutputs::~FurtherOutputs() = default;

QList<QWidget*> FurtherOutputs::Windows() const
{
    QList<QWidget*> windows;
    for (const Output& output : m_outputs)
        windows.append(output.window.get());
    return windows;
}

void FurtherOutputs::Regroup()
{
    std::vector<std::unique_ptr<Scaling>> before = std::move(m_scalings);
    m_scalings.clear();
    const auto same = [](const Scaling& scaling, QSize size, bool flipped) {
        return scaling.scaler.Target() == size && scaling.scaler.Flipped() == flipped;
    };
    for (Output& output : m_outputs) {
        const QSize size = output.window->Picture().size();
        auto found = std::find_if(m_scalings.begin(), m_scalings.end(), [&](const auto& scaling) {
            return same(*scaling, size, output.flipped);
        });
        if (found == m_scalings.end()) {
            const auto kept = std::find_if(before.begin(), before.end(), [&](const auto& scaling) {
                return scaling && same(*scaling, size, output.flipped);
            });
            if (kept != before.end()) {
                m_scalings.push_back(std::move(*kept));
            } else {
                m_scalings.push_back(std::make_unique<Scaling>(
                    Scaling{ScanOutScaler(size, m_colours, output.flipped)}));
                m_scalings.back()->scaler.Begin(m_frame.indices, m_frame.rowStamps);
            }
            found = m_scalings.end() - 1;
        }
        output.scaling = found->get();
        output.window->Use(&output.scaling->scaler);
    }
    // Whatever was on its way starts again at the new sizes.
    m_nextOutput = -1;
    m_bandEnd = -1;
    m_again = m_number != 0;
}

bool FurtherOutputs::TakeFrame()
{
    if (m_mailbox.Posted() != m_number)
        m_number = m_mailbox.CopyNewest(m_frame, m_number);
    else if (!m_again)
        return false;
    m_again = false;
    if (m_frame.indices.empty())
        return false;
    for (const auto& scaling : m_scalings)
        scaling->scaler.Begin(m_frame.indices, m_frame.rowStamps);
    m_nextOutput = 0;
    m_nextRow = -1;
    m_bandEnd = -1;
    m_drawing.start();
    return true;
}

std::chrono::nanoseconds FurtherOutputs::OnLoopPass(std::chrono::nanoseconds nextStepIn,
                                                    bool mainBusy)
{
    if (m_outputs.empty())
        return std::chrono::nanoseconds::max();
    if (std::any_of(m_outputs.begin(), m_outputs.end(), [](const Output& output) {
            return output.window->Picture().size() != output.scaling->scaler.Target();
        }))
        Regroup();
    // A changed overlay is drawn over the frame at hand, drawn again.
    if (m_look.overlay && m_look.overlay->Revision() != m_overlayRevision) {
        m_overlayRevision = m_look.overlay->Revision();
        m_again = m_number != 0;
    }
    if (m_nextOutput < 0 && !TakeFrame())
        return std::chrono::nanoseconds::max();
    // The main output's bands go first. Beginning a picture goes beside
    // them, before the main output's flush: after it, the window system
    // would copy the main picture before it answers. A piece that would
    // still run when the next step is due waits for the step.
    const Piece piece = NextPiece();
    if (piece == Piece::Band && m_bandEnd < 0)
        PlanBand();
    const bool overdue = std::chrono::nanoseconds(m_drawing.nsecsElapsed()) >= kFurtherMostWait;
    if (mainBusy && piece != Piece::Begin && !overdue)
        return std::chrono::nanoseconds::zero();
    if (nextStepIn > std::chrono::nanoseconds::zero() && !Fits(piece, nextStepIn) && !overdue)
        return nextStepIn;
    QElapsedTimer timer;
    timer.start();
    const int painted = m_bandPainted;
    DoPiece();
    const auto took = std::chrono::nanoseconds(timer.nsecsElapsed());
    if (piece == Piece::Begin)
        m_beginTime.Note(took);
    else if (piece == Piece::Show)
        m_showTime.Note(took);
    else if (painted > 0)
        m_rowTime += (took / painted - m_rowTime) / 4;
    return std::chrono::nanoseconds::zero();
}

FurtherOutputs::Piece FurtherOutputs::NextPiece() const
{
    if (m_nextOutput == static_cast<int>(m_outputs.size()))
        return Piece::Show;
    return m_nextRow < 0 ? Piece::Begin : Piece::Band;
}

bool FurtherOutputs::Fits(Piece piece, std::chrono::nanoseconds nextStepIn) const
{
    switch (piece) {
    case Piece::Begin:
        return m_beginTime.FitsIn(nextStepIn);
    case Piece::Show:
        return m_showTime.FitsIn(nextStepIn);
    case Piece::Band:
        break;
    }
    return nextStepIn > m_rowTime * m_bandPainted * 5 / 4;
}

void FurtherOutputs::PlanBand()
{
    const FurtherOutputWindow& window = *m_outputs[static_cast<std::size_t>(m_nextOutput)].window;
    const int mostRows = std::max(1, kFurtherBandPixels / std::max(window.Picture().width(), 1));
    const int paint =
        m_rowTime > std::chrono::nanoseconds::zero()
            ? static_cast<int>(std::clamp<std::int64_t>(kFurtherBandTime / m_rowTime, 1, mostRows))
            : mostRows;
    const FurtherOutputWindow::Band band = window.PlanBand(m_nextRow, paint);
    m_bandEnd = band.end;
    m_bandPainted = band.painted;
}

void FurtherOutputs::DoPiece()
{
    const int bandEnd = std::exchange(m_bandEnd, -1);
    if (m_nextOutput == static_cast<int>(m_outputs.size())) {
        for (Output& output : m_outputs)
            output.window->ShowPicture();
        m_nextOutput = -1;
        ++m_framesShown;
        return;
    }
    Output& output = m_outputs[static_cast<std::size_t>(m_nextOutput)];
    const QRect picture = output.window->Picture();
    // A window whose buffer cannot take the rows paints the frame whole.
    if (m_nextRow < 0) {
        m_nextRow = 0;
        if (!picture.isEmpty() && output.window->BeginPicture())
            return;
        m_nextRow = picture.height();
    } else if (output.window->ScaleBand(m_nextRow, bandEnd - m_nextRow)) {
        m_nextRow = std::max(bandEnd, m_nextRow + 1);
    } else {
        m_nextRow = picture.height();
    }
    if (m_nextRow < picture.height())
        return;
    m_nextRow = -1;
    ++m_nextOutput;
}
