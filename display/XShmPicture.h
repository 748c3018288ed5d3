#pragma once

#include <QImage>
#include <QRect>

#include <array>
#include <cstdint>
#include <memory>

struct xcb_connection_t;
class QWidget;

// A window's picture put on the X server through shared memory (MIT-SHM)
// of its own, past Qt's window buffer, whose every paint waits for an
// answer from the server. Two images, painted in turn: the one painted is
// never the one the server may still be copying. Whether the server is
// done with an image is asked right after it is put, so the answer is in
// by the time the image comes round again.
class XShmPicture
{
  public:
    // Pictures for part of window (its device pixels), or null where the
    // window system is not X, the window's pixels are not 32-bit RGB, the
    // server has no MIT-SHM or cannot share the memory (a remote display),
    // or QT_XCB_NO_MITSHM is set (as it keeps Qt's own buffers off it).
    static std::unique_ptr<XShmPicture> Make(QWidget& window, const QRect& part);
    ~XShmPicture();
    XShmPicture(const XShmPicture&) = delete;
    XShmPicture& operator=(const XShmPicture&) = delete;

    // Where the pictures go in the window.
    QRect Part() const { return m_part; }
    // The image to paint the next picture into (opaque 32-bit pixels, as
    // QImage::Format_RGB32); waits only for a server behind by two pictures.
    QImage& Next();
    // Which of the two images Next() is: 0 or 1.
    std::size_t NextIndex() const { return m_next; }
    // Puts Next() on the window; the other image is the next from now on.
    void PutNext();
    // Puts the picture put last again, over what Qt has drawn there since.
    void PutAgain();

  private:
    class Image;
    XShmPicture(QWidget& window, const QRect& part, xcb_connection_t* connection,
                std::uint8_t depth);
    void Put(Image& image);

    QWidget& m_window;
    QRect m_part;
    xcb_connection_t* m_connection;
    std::uint8_t m_depth;
    std::uint32_t m_gc = 0;
    std::array<std::unique_ptr<Image>, 2> m_images;
    std::size_t m_next = 0;
    bool m_anyPut = false;
};
