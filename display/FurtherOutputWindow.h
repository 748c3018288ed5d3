#pragma once

#include "ScanOutView.h"
#include "WindowBufferPaint.h"
#include "XShmPicture.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class QScreen;
class ScanOutScaler;

// The window of one further output: frameless, full screen and on top on
// its screen, it never takes the focus and shows no cursor, so the main
// output keeps the keys. It shows the frame its scaler was last begun on,
// scaled to the 4:3 part of its device pixels by the rule of ScanOut.h,
// in the scaler's direction, with the run's overlay mirrored along. On X
// the picture goes through shared memory of its own (XShmPicture.h), so
// that no paint waits for the server; elsewhere, or where X refuses it,
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
        std::vector<int>* held = nullptr;
    };
    bool BeginShared(const QRect& picture);
    void DrawOverlay(QPainter& painter) const;
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
    // Per picture row of the buffer and of each shared image, the colour
    // index it holds throughout (ScanOutScaler::Scale), so that a blank row
    // stays as it is.
    std::vector<int> m_held;
    std::array<std::vector<int>, 2> m_sharedHeld;
};
