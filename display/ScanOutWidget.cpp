#include "ScanOutWidget.h"

#include "GlScanOut.h"
#include "RasterScanOut.h"

#include <QGuiApplication>
#include <QOpenGLContext>

namespace
{
// The offscreen and minimal platforms keep their windows in memory, where a
// grab reads what the widgets painted; there is no screen for a presenter
// thread's window to reach, so they always paint on this thread.
bool PresentsFromAThread()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal") &&
           QOpenGLContext::supportsThreadedOpenGL();
}
} // namespace

ScanOutView* CreateScanOutWidget(QWidget* window, FrameMailbox& mailbox, const ScanOutLook& look,
                                 double refreshRate)
{
    // A software OpenGL spends the processor's time on every frame, on the
    // cores the scroll loop needs, and measures worse than painting; it is
    // used only when VELLOR_SCAN_OUT=opengl asks for it. VELLOR_SCAN_OUT=raster
    // keeps OpenGL out altogether (a broken driver).
    const QString asked = qEnvironmentVariable("VELLOR_SCAN_OUT");
    if (asked != QLatin1String("raster") && PresentsFromAThread())
        if (GlScanOut* view = GlScanOut::Create(window, mailbox, look, refreshRate,
                                                asked == QLatin1String("opengl")))
            return view;
    return new RasterScanOut(window, mailbox, look, refreshRate);
}
