#include "GlScanOut.h"

#include "FrameMailbox.h"
#include "GlScanOutRenderer.h"
#include "GlScanOutSurface.h"
#include "ScanOut.h"
#include "ScanOutOverlay.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLPaintDevice>
#include <QPainter>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <thread>

using Clock = std::chrono::steady_clock;

namespace
{
// True when the current context's OpenGL is a rasteriser running on the
// processor rather than a graphics processor.
bool DrawnBySoftware(QOpenGLContext& context)
{
    const auto* name = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    const QByteArray renderer = QByteArray(name ? name : "").toLower();
    return renderer.contains("llvmpipe") || renderer.contains("softpipe") ||
           renderer.contains("software");
}
} // namespace

GlScanOut* GlScanOut::Create(QWidget* window, FrameMailbox& mailbox, const ScanOutLook& look,
                             double refreshRate, bool evenInSoftware)
{
    auto* view = new GlScanOut(window, mailbox, look, refreshRate);
    if (!view->Start(evenInSoftware)) {
        delete view;
        return nullptr;
    }
    view->show();
    return view;
}

GlScanOut::GlScanOut(QWidget* window, FrameMailbox& mailbox, const ScanOutLook& look,
                     double refreshRate)
    : ScanOutView(window, mailbox, look),
      m_period(static_cast<std::int64_t>(std::llround(1e9 / (refreshRate > 1 ? refreshRate : 60))))
{
    auto surface = std::make_unique<GlScanOutSurface>();
    m_surface = surface.get();
    m_container = QWidget::createWindowContainer(surface.release(), this);
    m_container->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_container->setFocusPolicy(Qt::NoFocus);
    m_container->setGeometry(rect());
}

GlScanOut::~GlScanOut()
{
    Stop();
}

void GlScanOut::Stop()
{
    m_stopping.store(true, std::memory_order_release);
    if (m_presenter)
        m_presenter->wait();
}

bool GlScanOut::Presenting() const
{
    return m_presenter && m_presenter->isRunning();
}

void GlScanOut::resizeEvent(QResizeEvent* event)
{
    m_container->setGeometry(rect());
    ScanOutView::resizeEvent(event);
}

bool GlScanOut::Start(bool evenInSoftware)
{
    // The spare surface is made here because only this thread may make it;
    // the presenter sets up its context on it before the window is shown.
    m_spare = std::make_unique<QOffscreenSurface>(m_surface->screen());
    m_spare->setFormat(m_surface->requestedFormat());
    m_spare->create();
    if (!m_spare->isValid())
        return false;
    std::promise<bool> ready;
    std::future<bool> started = ready.get_future();
    m_presenter.reset(QThread::create(
        [this, evenInSoftware](std::promise<bool> promise) {
            Present(evenInSoftware, std::move(promise));
        },
        std::move(ready)));
    m_presenter->start();
    return started.get();
}

std::chrono::nanoseconds GlScanOut::OnLoopPass(std::chrono::nanoseconds nextStepIn,
                                               bool pictureWaits)
{
    Q_UNUSED(nextStepIn);
    if (!pictureWaits)
        return std::chrono::nanoseconds::max();
    // Told first, asked after: either the presenter sees that the loop
    // waits, or the loop sees the mailbox wanting.
    m_loopWaits.store(true);
    if (Mailbox().Wanted())
        return std::chrono::nanoseconds::zero();
    const std::chrono::nanoseconds left(m_nextTake.load() -
                                        Clock::now().time_since_epoch().count());
    return left > std::chrono::nanoseconds::zero() ? left : std::chrono::nanoseconds::max();
}

void GlScanOut::WantNextFrame()
{
    Mailbox().Want();
    // The event only wakes the loop; its next pass posts.
    if (m_loopWaits.exchange(false))
        QMetaObject::invokeMethod(
            this, [] {}, Qt::QueuedConnection);
}

void GlScanOut::Present(bool evenInSoftware, std::promise<bool> ready)
{
    QOpenGLContext context;
    context.setFormat(m_spare->requestedFormat());
    std::unique_ptr<GlScanOutRenderer> renderer;
    if (context.create() && context.makeCurrent(m_spare.get()) &&
        (evenInSoftware || !DrawnBySoftware(context)))
        renderer = GlScanOutRenderer::Create(Look().palette);
    ready.set_value(renderer != nullptr);
    if (!renderer)
        return;

    const ScanOutOverlay* overlay = Look().overlay;
    std::uint64_t shownNumber = 0;   // the mailbox number of the frame on the screen
    bool uploaded = true;            // the taken frame is on the card
    std::uint64_t drawnRevision = 0; // the overlay's revision on the screen
    QSize drawn;                     // the size the screen was drawn at
    Clock::time_point next = Clock::now();
    while (!m_stopping.load(std::memory_order_acquire)) {
        if (const std::uint64_t taken = Mailbox().Take()) {
            shownNumber = taken;
            uploaded = false;
        }
        WantNextFrame(); // for the next refresh
        const std::uint64_t revision = overlay ? overlay->Revision() : 0;
        const QSize area = m_surface->PixelSize();
        bool screenWaited = false;
        if (m_surface->Exposed() && !area.isEmpty() &&
            (!uploaded || area != drawn || revision != drawnRevision) &&
            context.makeCurrent(m_surface)) {
            if (!uploaded)
                renderer->SetFrame(Mailbox().Taken().indices);
            uploaded = true;
            renderer->Draw(area);
            if (overlay && !overlay->Blank()) {
                QOpenGLPaintDevice device(area);
                QPainter painter(&device);
                overlay->Draw(painter, ScanOutRect(area), area);
            }
            const Clock::time_point swapping = Clock::now();
            context.swapBuffers(m_surface);
            screenWaited = Clock::now() - swapping > m_period / 4;
            drawn = area;
            drawnRevision = revision;
            CountFrameShown(shownNumber);
        }
        next = Pace(next, screenWaited);
    }

    // The renderer's objects go with the context they were made in.
    context.makeCurrent(m_spare.get());
    renderer.reset();
    context.doneCurrent();
}

// Where the swap waited for the screen, the screen sets the pace and the
// next frame is due one refresh from now. Where it returned at once, the
// thread sleeps until the next refresh is due, keeping an even beat and
// starting afresh after falling behind.
Clock::time_point GlScanOut::Pace(Clock::time_point next, bool screenWaited)
{
    const Clock::time_point now = Clock::now();
    const Clock::time_point wake = screenWaited ? now : std::max(next + m_period, now);
    m_nextTake.store(wake.time_since_epoch().count());
    std::this_thread::sleep_until(wake);
    return screenWaited ? now + m_period : wake;
}
