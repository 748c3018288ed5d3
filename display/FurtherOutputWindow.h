#pragma once

#include "ScanOut.h"
#include "ScanOutView.h"
#include "WindowBufferPaint.h"
#include "XShmPicture.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QScreen;

// The window of one further output: frameless, full screen and on top on
// its screen, it never takes the focus and shows no cursor, so the main
// output keeps the keys. It shows the frame its scaler was last begun on,
// scaled to the 4:3 part of its device pixels by the rule of ScanOut.h,
// in the scaler's direction, with the run's overlay mirrored along. On X
// the picture goes through shared memory of its own (XShmPicture.h), so
// that no paint waits for the server, painted into the image that holds
// most of it already (PictureReuse.h); elsewhere, or where X refuses it,
// through the window's buffer.
class FurtherOutputWindow : public QWidget
{
  public:
    FurtherOutputWindow(QScreen* screen, const ScanOutLook& look);

    // Shows the frames of scaler from now on; null shows the background.
    void Use(ScanOutScaler* scaler);

    // Where the frame lies in the window's device pixels, and their size.
    QRect Picture() const;
    QSize DeviceSize() const;

    // Whether the pictures go to the X server through shared memory of
    // the window's own (known once a picture has been begun).
    bool SharesMemoryWithX() const { return m_shared != nullptr; }

    // Begins the paint of a picture, kept until ShowPicture: into a shared
    // image, or into the window's buffer, which waits for the window system
    // to have read it for the last picture; false, with a repaint asked for
    // instead, while the buffer cannot take the scaler's pixels (Qt has not
    // painted it at this size yet).
    bool BeginPicture();

    // A band of the picture begun from row first on that paints at most
    // paint rows, those its image does not hold already: the row past its
    // last, and how many it paints.
    struct Band {
        int end = 0;
        int painted = 0;
    };
    Band PlanBand(int first, int paint) const;

    // Scales rows first .. first + count - 1 of the picture begun straight
    // into its image or the window's buffer; false when none is begun (a new size ended it).
    bool ScaleBand(int first, int count);

    // Draws the overlay over the picture begun, ends its paint and puts it
    // on the screen; does nothing when none is begun.
    void ShowPicture();

  protected:
    // Draws the margins, the picture whole and the overlay.
    void paintEvent(QPaintEvent* event) override;
    // A new size ends the picture begun and waits for Qt to paint the buffer at it.
    void resizeEvent(QResizeEvent* event) override;
    // Puts the shared picture again after Qt has shown its buffer over it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Where the picture begun is scaled to.
    struct Target {
        std::uint8_t* pixels = nullptr; // its top-left pixel
        qsizetype bytesPerLine = 0;
        std::vector<ScanOutHeldRow>* held = nullptr;
        int top = 0; // the image row its first row goes to
    };
    bool BeginShared(const QRect& picture);
    // Draws the overlay; answers where it drew.
    QRegion DrawOverlay(QPainter& painter) const;
    // Draws the overlay over the shared image begun, its rows read as a ring.
    void DrawOverlayShared(int top);
    // No picture rows are known to hold anything.
    void ForgetHeld();
    void PutSharedAgainSoon();

    ScanOutLook m_look;
    ScanOutScaler* m_scaler = nullptr;
    bool m_bufferReady =
        false;        // Qt has painted the buffer at this size, in pixels the scaler writes
    QImage m_staging; // the picture, where the buffer cannot take it
    // The paint of the picture on its way: one for all its bands, so that
    // the window system is waited for once a picture.
    std::optional<WindowBufferPaint> m_paint;
    std::unique_ptr<XShmPicture> m_shared; // null: the pictures go through the buffer
    bool m_sharingRefused = false;         // X refused shared images to this window
    std::optional<Target> m_target;        // the picture begun
    // Per picture row of the buffer and of each shared image, what it
    // holds (ScanOutScaler::Scale), so that a row that did not change, or
    // only moved within a shared image, stays as it is.
    std::vector<ScanOutHeldRow> m_held;
    std::vector<std::vector<ScanOutHeldRow>> m_sharedHeld;
    std::vector<ScanOutRowKey> m_wanted; // per picture row, what the frame begun shows
    std::size_t m_sharedImage = 0;       // the shared image begun
};
