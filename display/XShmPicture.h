#pragma once

#include <QImage>
#include <QRect>

#include <cstdint>
#include <memory>
#include <vector>

struct xcb_connection_t;
class QWidget;

// A window's picture put on the X server through shared memory (MIT-SHM)
// of its own, past Qt's window buffer, whose every paint waits for an
// answer from the server. Several images, painted in any order, each put
// from any row on (read as a ring), so that a picture that only moved is
// put from where it now begins. Whether the server is done with an image
// is asked right after it is put, so the answer is in by the time the
// image is painted again.
class XShmPicture
{
  public:
    // images pictures for part of window (its device pixels), or null where
    // the window system is not X, the window's pixels are not 32-bit RGB,
    // the server has no MIT-SHM or cannot share the memory (a remote
    // display), or QT_XCB_NO_MITSHM is set (as it keeps Qt's own buffers
    // off it).
    static std::unique_ptr<XShmPicture> Make(QWidget& window, const QRect& part,
                                             std::size_t images);
    ~XShmPicture();
    XShmPicture(const XShmPicture&) = delete;
    XShmPicture& operator=(const XShmPicture&) = delete;

    // Where the pictures go in the window.
    QRect Part() const { return m_part; }
    // How many images there are.
    std::size_t Images() const { return m_images.size(); }
    // The image of that index to paint (opaque 32-bit pixels, as
    // QImage::Format_RGB32), once the server is done with it.
    QImage& Paint(std::size_t index);
    // Puts the image of that index on the window, its row top at the
    // picture's top and the rows above it after its last.
    void Put(std::size_t index, int top);
    // The index of the image put longest ago, or never.
    std::size_t LeastRecentlyPut() const;
    // Puts the picture put last again, over what Qt has drawn there since.
    void PutAgain();

  private:
    class Image;
    XShmPicture(QWidget& window, const QRect& part, xcb_connection_t* connection,
                std::uint8_t depth);

    QWidget& m_window;
    QRect m_part;
    xcb_connection_t* m_connection;
    std::uint8_t m_depth;
    std::uint32_t m_gc = 0;
    std::vector<std::unique_ptr<Image>> m_images;
    std::vector<std::uint64_t> m_putAt; // per image, the count of puts when it was last put
    std::uint64_t m_puts = 0;
    std::size_t m_putLast = 0;
    int m_topLast = 0;
    bool m_anyPut = false;
};
