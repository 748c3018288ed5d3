#include "GlScanOut.h"

#include "FrameMailbox.h"
#include "GlScanOutRenderer.h"
#include "GlScanOutSurface.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QThread>

#include <cmath>
#include <thread>
#include <vector>

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

GlScanOut* GlScanOut::Create(QWidget* window, FrameMailbox& mailbox, const QList<QRgb>& palette,
                             double refreshRate, bool evenInSoftware)
{
    auto* view = new GlScanOut(window, mailbox, refreshRate);
    if (!view->Start(palette, evenInSoftware)) {
        delete view;
        return nullptr;
    }
    view->show();
    return view;
}

GlScanOut::GlScanOut(QWidget* window, FrameMailbox& mailbox, double refreshRate)
    : ScanOutView(window, mailbox),
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
    m_stopping.store(true, std::memory_order_release);
    if (m_presenter)
        m_presenter->wait();
}

void GlScanOut::resizeEvent(QResizeEvent* event)
{
    m_container->setGeometry(rect());
    ScanOutView::resizeEvent(event);
}

bool GlScanOut::Start(const QList<QRgb>& palette, bool evenInSoftware)
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
        [this, palette, evenInSoftware](std::promise<bool> promise) {
            Present(palette, evenInSoftware, std::move(promise));
        },
        std::move(ready)));
    m_presenter->start();
    return started.get();
}

void GlScanOut::Present(const QList<QRgb>& palette, bool evenInSoftware, std::promise<bool> ready)
{
    QOpenGLContext context;
    context.setFormat(m_spare->requestedFormat());
    std::unique_ptr<GlScanOutRenderer> renderer;
    if (context.create() && context.makeCurrent(m_spare.get()) &&
        (evenInSoftware || !DrawnBySoftware(context)))
        renderer = GlScanOutRenderer::Create(palette);
    ready.set_value(renderer != nullptr);
    if (!renderer)
        return;

    std::vector<std::uint8_t> frame; // the newest frame taken
    std::vector<std::uint8_t> shown; // the frame on the screen
    std::uint64_t shownNumber = 0;   // its number in the mailbox
    QSize drawn;                     // the size it was drawn at
    Clock::time_point next = Clock::now();
    while (!m_stopping.load(std::memory_order_acquire)) {
        // A paused run keeps offering the same picture; it is drawn once.
        const std::uint64_t taken = Mailbox().Take(frame);
        const bool changed = taken != 0 && frame != shown;
        Mailbox().Want(); // for the next refresh
        const QSize area = m_surface->PixelSize();
        bool screenWaited = false;
        if (m_surface->Exposed() && !area.isEmpty() && (changed || area != drawn) &&
            context.makeCurrent(m_surface)) {
            if (changed) {
                std::swap(frame, shown);
                shownNumber = taken;
            }
            renderer->Draw(shown, area);
            const Clock::time_point swapping = Clock::now();
            context.swapBuffers(m_surface);
            screenWaited = Clock::now() - swapping > m_period / 4;
            drawn = area;
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
Clock::time_point GlScanOut::Pace(Clock::time_point next, bool screenWaited) const
{
    const Clock::time_point now = Clock::now();
    if (screenWaited)
        return now + m_period;
    next += m_period;
    if (next < now)
        return now;
    std::this_thread::sleep_until(next);
    return next;
}
