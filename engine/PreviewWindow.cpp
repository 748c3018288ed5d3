#include "PreviewWindow.h"

#include "BackTime.h"
#include "DisplayDevice.h"
#include "PresenterMessageButtons.h"
#include "PrompterStatus.h"
#include "RunGlass.h"
#include "ScanOut.h"
#include "ScrollRunState.h"
#include "SpeedValue.h"
#include "Surface.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QTime>
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
// Half the picture's height; the width leaves a margin on either side,
// where the cue goes, and room for the figures below.
constexpr QSize kAreaSize(480, 240);
// Over or under by less than this is on time.
constexpr double kOnTime = 0.5;

// Gives a figure the look its style sheet has for the property's value
// (none: the plain look).
void SetLook(QWidget* figure, const char* property, const QVariant& value)
{
    if (figure->property(property) == value)
        return;
    figure->setProperty(property, value);
    figure->style()->polish(figure);
}

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
    // The picture is painted above the figures, in the space kept for it.
    const QMargins margins = layout->contentsMargins();
    m_pictureArea.moveTopLeft(QPoint(margins.left(), margins.top()));
    layout->addSpacing(kAreaSize.height());

    // The figures, light on dark, the ones most looked at largest.
    auto* figures = new QFrame(this);
    figures->setObjectName(QStringLiteral("figures"));
    figures->setStyleSheet(
        QStringLiteral("#figures { background: #000000; border-radius: 6px; }"
                       "QLabel { color: #ffffff; font-size: 22px; font-weight: 600; }"
                       "QLabel[prominent=\"true\"] { font-size: 34px; font-weight: 800; }"
                       "QLabel#remaining { color: #ffd84d; }"
                       "QLabel[late=\"true\"] { color: #ff7b72; }"
                       "QLabel[late=\"false\"] { color: #7ee787; }"
                       "QLabel[typing=\"true\"] { color: #79c0ff; }"
                       "QProgressBar { background: #303030; border: 0; max-height: 10px; }"
                       "QProgressBar::chunk { background: #ffd84d; }"));
    auto* grid = new QGridLayout(figures);
    grid->setContentsMargins(14, 10, 14, 12);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(4);
    const auto figure = [figures](const char* name, bool large = false) {
        auto* label = new QLabel(figures);
        label->setObjectName(QLatin1String(name));
        if (large)
            label->setProperty("prominent", true);
        return label;
    };
    const auto pair = [grid](int row, QLabel* left, QLabel* right) {
        grid->addWidget(left, row, 0);
        grid->addWidget(right, row, 1, Qt::AlignRight);
    };
    m_remaining = figure("remaining", true);
    m_clock = figure("clock", true);
    m_elapsed = figure("elapsed");
    m_sinceStart = figure("sinceStart");
    m_story = figure("story");
    m_position = figure("position");
    m_progress = new QProgressBar(figures);
    m_progress->setTextVisible(false);
    m_speed = figure("speed");
    m_backTime = figure("backTime");
    m_needs = figure("needs");
    m_follow = figure("follow", true);
    m_voice = figure("voice");
    pair(0, m_remaining, m_clock);
    pair(1, m_elapsed, m_sinceStart);
    pair(2, m_story, m_position);
    grid->addWidget(m_progress, 3, 0, 1, 2);
    int row = 4;
    for (QLabel* wide : {m_speed, m_backTime, m_needs, m_follow, m_voice}) {
        wide->setWordWrap(true);
        grid->addWidget(wide, row++, 0, 1, 2);
    }
    const bool backTime = g_runParams.endAtSecond.has_value();
    m_backTime->setVisible(backTime);
    m_needs->setVisible(backTime);
    m_follow->setVisible(g_runParams.followsLeader);
    m_voice->setVisible(g_runParams.voice.enabled);
    layout->addWidget(figures);
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
    m_remaining->setText(status.remainingSeconds
                             ? tr("Left %1").arg(MinutesAndSeconds(*status.remainingSeconds))
                             : tr("Left: unknown"));
    m_clock->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    m_elapsed->setText(tr("Elapsed %1").arg(MinutesAndSeconds(status.elapsedSeconds)));
    m_sinceStart->setText(tr("Run %1").arg(MinutesAndSeconds(status.sinceFirstMoved)));
    // A story number being typed stands in place of the story being read.
    m_story->setText(status.typedStory
                         ? tr("Go to story %1").arg(*status.typedStory)
                         : tr("Story %1 of %2").arg(status.paragraph).arg(status.paragraphCount));
    SetLook(m_story, "typing", status.typedStory.has_value());
    m_position->setText(tr("Line %1 of %2").arg(line).arg(status.lineCount));
    m_progress->setRange(0, status.lineCount);
    m_progress->setValue(line);
    if (status.rowsPerSecond && status.linesPerMinute)
        m_speed->setText(tr("%1 lines/min, %2 rows/s")
                             .arg(*status.linesPerMinute, 0, 'f', 0)
                             .arg(*status.rowsPerSecond, 0, 'f', 1));
    else
        m_speed->setText(tr("Speed: as fast as it goes"));
    ShowBackTime(status);
    m_follow->setText(status.follow == FollowState::Lost
                          ? tr("Leader lost: going on at its last speed, trying again")
                          : tr("Following the leader, in step"));
    ShowVoice(status.voice);
    // A figure that wraps onto a second line makes the window taller, so the
    // picture above the figures keeps its whole height.
    if (const int needed = layout()->totalHeightForWidth(width()); needed > height())
        resize(width(), needed);
}

void PreviewWindow::ShowBackTime(const PrompterStatus& status)
{
    if (!g_runParams.endAtSecond)
        return;
    const int endAt = *g_runParams.endAtSecond;
    const BackTime back =
        WorkOutBackTime({QTime::currentTime().msecsSinceStartOfDay() / 1000.0, endAt,
                         status.rowsLeft, status.rowsPerSecond, status.speedValue, LinePitch()});
    QString ends = tr("Ends %1").arg(TimeOfDayText(endAt));
    QVariant late;
    if (back.overBy) {
        const double by = *back.overBy;
        late = by >= kOnTime;
        ends += std::abs(by) < kOnTime ? tr(", on time")
                : by > 0               ? tr(", %1 over").arg(MinutesAndSeconds(by))
                                       : tr(", %1 under").arg(MinutesAndSeconds(-by));
    }
    m_backTime->setText(ends);
    SetLook(m_backTime, "late", late);
    if (!back.neededSpeedValue || !back.neededLinesPerMinute)
        m_needs->setText(back.secondsToEnd <= 0 ? tr("the end time has passed") : QString());
    else if (*back.neededSpeedValue > kSlowestSpeed)
        m_needs->setText(tr("needs slower than speed %1 (%2 lines/min)")
                             .arg(kSlowestSpeed)
                             .arg(*back.neededLinesPerMinute, 0, 'f', 0));
    else
        m_needs->setText(tr("needs speed %1 (%2 lines/min)")
                             .arg(*back.neededSpeedValue)
                             .arg(*back.neededLinesPerMinute, 0, 'f', 0));
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

void PreviewWindow::ShowVoice(VoiceState state)
{
    if (m_voice->isHidden())
        return;
    switch (state) {
    case VoiceState::Off:
        m_voice->setText(g_runState.voiceProblem.isEmpty()
                             ? tr("Voice: off")
                             : tr("Voice: off. %1").arg(g_runState.voiceProblem));
        break;
    case VoiceState::Listening:
        m_voice->setText(tr("Voice: listening"));
        break;
    case VoiceState::Following:
        m_voice->setText(tr("Voice: following"));
        break;
    case VoiceState::Lost:
        m_voice->setText(tr("Voice: Lost, searching the whole script"));
        break;
    }
    SetLook(m_voice, "late", state == VoiceState::Lost);
}
