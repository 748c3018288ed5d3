#include "PreviewWindow.h"

#include "DisplayDevice.h"
#include "PresenterMessageButtons.h"
#include "PrompterStatus.h"
#include "RunGlass.h"
#include "ScanOut.h"
#include "ScrollRunState.h"
#include "Surface.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <optional>

namespace
{

constexpr int kPictureWidth = Surface::kWidth;
constexpr int kPictureHeight = Surface::kHeight;
// A few refreshes a second follow the run closely enough for the eye and
// leave the loop's passes free for its steps.
constexpr std::chrono::milliseconds kRefreshEvery{200};
// A run whose steps never leave room still sees its preview refreshed, a
// little late.
constexpr std::chrono::milliseconds kLongestPutOff{100};
// What a refresh is taken to need before one has been timed: more than
// one takes here (about half a millisecond), so that the first waits for
// room rather than holding up a step.
constexpr std::chrono::microseconds kFirstRefreshGuess{800};
// Half the picture's size; the width leaves a margin at the left for the cue.
constexpr QSize kAreaSize(360, 240);

QString MinutesAndSeconds(double seconds)
{
    const int whole = static_cast<int>(std::lround(seconds));
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

PreviewWindow::PreviewWindow(QScreen* screen)
    : m_pictureArea(QPoint(), kAreaSize), m_refreshTime(kFirstRefreshGuess)
{
    setWindowTitle(QStringLiteral("Vellor Preview"));
    // Taking the focus would deactivate the prompter window, which stops
    // the run.
    setWindowFlags(Qt::Tool | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto* layout = new QVBoxLayout(this);
    // The picture is painted above the rows, in the space kept for it.
    const QMargins margins = layout->contentsMargins();
    m_pictureArea.moveTopLeft(QPoint(margins.left(), margins.top()));
    layout->addSpacing(kAreaSize.height());
    m_elapsed = new QLabel(this);
    m_position = new QLabel(this);
    m_progress = new QProgressBar(this);
    m_progress->setTextVisible(false);
    m_speed = new QLabel(this);
    m_remaining = new QLabel(this);
    for (QWidget* row : {static_cast<QWidget*>(m_elapsed), static_cast<QWidget*>(m_position),
                         static_cast<QWidget*>(m_progress), static_cast<QWidget*>(m_speed),
                         static_cast<QWidget*>(m_remaining)})
        layout->addWidget(row);
    layout->addWidget(new PresenterMessageButtons(this));
    setFixedWidth(kAreaSize.width() + margins.left() + margins.right());

    m_refresh = new QTimer(this);
    m_refresh->setInterval(kRefreshEvery);
    connect(m_refresh, &QTimer::timeout, this, [this] {
        if (!m_dueFor.isValid())
            m_dueFor.start();
    });
    m_refresh->start();
    Refresh();

    setScreen(screen);
    move(screen->availableGeometry().topLeft() + QPoint(40, 40));
    show();
}

void PreviewWindow::Follow(const DisplayDevice& display)
{
    m_display = &display;
    Refresh();
}

void PreviewWindow::RefreshIfDue(std::chrono::nanoseconds timeBeforeNextStep)
{
    if (!m_dueFor.isValid() ||
        (!m_refreshTime.FitsIn(timeBeforeNextStep) && !m_dueFor.hasExpired(kLongestPutOff.count())))
        return;
    m_dueFor.invalidate();
    QElapsedTimer took;
    took.start();
    Refresh();
    m_refreshTime.Note(std::chrono::nanoseconds(took.nsecsElapsed()));
}

void PreviewWindow::Refresh()
{
    ShowNewestFrame();
    ShowStatus();
    // Painted now, within the time the refresh was given, rather than at
    // some later pass of the loop that may be just before a step.
    QCoreApplication::sendPostedEvents(this);
}

void PreviewWindow::ShowNewestFrame()
{
    if (!m_display)
        return;
    const std::uint64_t number = m_display->CopyNewestFrame(m_frame, m_frameNumber);
    if (number == m_frameNumber)
        return;
    m_frameNumber = number;
    const QList<QRgb>& palette = m_display->Palette();
    if (m_frame.indices.size() != std::size_t{kPictureWidth} * kPictureHeight ||
        palette.size() < 256)
        return;
    // Drawn once per new frame straight into the kept image, nearest pixel,
    // so that painting is a plain copy and the loop this runs in is held up
    // for as little as possible. The frame is the glass's picture,
    // mirror-reversed when the run is: read from the right, it reads right.
    const QSize size = ScanOutRect(m_pictureArea.size()).size();
    if (m_picture.size() != size || m_columnsMirrored != g_runParams.mirror) {
        m_picture = QImage(size, QImage::Format_RGB32);
        m_columnsMirrored = g_runParams.mirror;
        m_sourceColumns.resize(static_cast<std::size_t>(size.width()));
        for (int x = 0; x < size.width(); ++x) {
            const int column = x * kPictureWidth / size.width();
            m_sourceColumns[static_cast<std::size_t>(x)] =
                m_columnsMirrored ? kPictureWidth - 1 - column : column;
        }
    }
    std::array<QRgb, 256> colours{};
    std::copy_n(palette.cbegin(), colours.size(), colours.begin());
    const int* const columns = m_sourceColumns.data();
    for (int y = 0; y < size.height(); ++y) {
        const std::uint8_t* source =
            m_frame.indices.data() +
            std::size_t{kPictureWidth} * (y * kPictureHeight / size.height());
        auto* row = reinterpret_cast<QRgb*>(m_picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            row[x] = colours[source[columns[x]]];
    }
    update(m_pictureArea);
}

void PreviewWindow::ShowStatus()
{
    const PrompterStatus status = CurrentPrompterStatus();
    const int line = std::min(status.lineIndex + 1, status.lineCount);
    m_elapsed->setText(tr("Elapsed %1").arg(MinutesAndSeconds(status.elapsedSeconds)));
    m_position->setText(tr("Line %1 of %2").arg(line).arg(status.lineCount));
    m_progress->setRange(0, status.lineCount);
    m_progress->setValue(line);
    if (status.rowsPerSecond && status.linesPerMinute)
        m_speed->setText(tr("%1 rows/s, %2 lines/min")
                             .arg(*status.rowsPerSecond, 0, 'f', 1)
                             .arg(*status.linesPerMinute, 0, 'f', 1));
    else
        m_speed->setText(tr("Speed: as fast as it goes"));
    m_remaining->setText(status.remainingSeconds
                             ? tr("Left %1").arg(MinutesAndSeconds(*status.remainingSeconds))
                             : tr("Left: unknown"));
}

void PreviewWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect picture = ScanOutRect(m_pictureArea.size()).translated(m_pictureArea.topLeft());
    painter.fillRect(m_pictureArea, ToQColor(g_runParams.backColor));
    painter.drawImage(picture.topLeft(), m_picture);
    // Right-reading, so the cue and the texts stand as on an unmirrored glass.
    DrawGlassPieces(painter, picture, false,
                    GlassPieces(m_pictureArea, picture, RunGlassLook(false),
                                RunGlassTextsAt(std::chrono::steady_clock::now())));
}

std::unique_ptr<PreviewWindow> OpenPreviewWindow(const QScreen* prompterScreen)
{
    QScreen* const screen = g_runParams.operatorScreen;
    if (!screen || screen == prompterScreen)
        return nullptr;
    auto preview = std::make_unique<PreviewWindow>(screen);
    // A platform that activates every window it shows does so when its
    // events are handled: handled now, before the prompter window is made,
    // the prompter's activation comes last and stays.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return preview;
}
