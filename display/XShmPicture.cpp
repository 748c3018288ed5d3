#include "XShmPicture.h"

#include <QGuiApplication>
#include <QWidget>

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace
{
template <typename Reply> using XReply = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> XReply<Reply> Own(Reply* reply)
{
    return XReply<Reply>(reply, &std::free);
}

// The depth of window when its pixels are 32 bits of 0xRRGGBB in the byte
// order of QImage::Format_RGB32 here; none otherwise.
std::optional<std::uint8_t> Rgb32Depth(xcb_connection_t* connection, xcb_window_t window)
{
    const auto attributes = Own(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr));
    const auto geometry =
        Own(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (!attributes || !geometry || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST ||
        Q_BYTE_ORDER != Q_LITTLE_ENDIAN)
        return std::nullopt;
    bool wide = false;
    for (auto format = xcb_setup_pixmap_formats_iterator(setup); format.rem;
         xcb_format_next(&format))
        if (format.data->depth == geometry->depth)
            wide = format.data->bits_per_pixel == 32;
    bool rgb = false;
    for (auto screen = xcb_setup_roots_iterator(setup); screen.rem; xcb_screen_next(&screen))
        for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem;
             xcb_depth_next(&depth))
            for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem;
                 xcb_visualtype_next(&visual))
                if (visual.data->visual_id == attributes->visual)
                    rgb = visual.data->red_mask == 0xFF0000 && visual.data->green_mask == 0xFF00 &&
                          visual.data->blue_mask == 0xFF;
    return wide && rgb ? std::optional(geometry->depth) : std::nullopt;
}
} // namespace

// One image in a segment shared with the server, attached on both sides
// while it lives.
class XShmPicture::Image
{
  public:
    // An image of size, or null when the segment is refused on either side.
    static std::unique_ptr<Image> Attach(xcb_connection_t* connection, QSize size)
    {
        const int id =
            shmget(IPC_PRIVATE, std::size_t{4} * size.width() * size.height(), IPC_CREAT | 0600);
        if (id < 0)
            return nullptr;
        void* memory = shmat(id, nullptr, 0);
        const xcb_shm_seg_t segment = xcb_generate_id(connection);
        const bool attached =
            memory != reinterpret_cast<void*>(-1) &&
            !Own(xcb_request_check(connection,
                                   xcb_shm_attach_checked(connection, segment, id, false)));
        // Gone as soon as both sides let go of it, even if this process dies.
        shmctl(id, IPC_RMID, nullptr);
        if (!attached) {
            if (memory != reinterpret_cast<void*>(-1))
                shmdt(memory);
            return nullptr;
        }
        return std::unique_ptr<Image>(new Image(connection, segment, memory, size));
    }

    ~Image()
    {
        if (m_copied)
            xcb_discard_reply(m_connection, *m_copied);
        // The server has read all it was asked to by the time it detaches.
        xcb_shm_detach(m_connection, m_segment);
        xcb_flush(m_connection);
        shmdt(m_memory);
    }
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    QImage& Pixels() { return m_pixels; }
    xcb_shm_seg_t Segment() const { return m_segment; }

    // The answer to request sequence will say that the server has copied
    // the image.
    void CopiedWhenAnswered(unsigned sequence)
    {
        if (m_copied)
            xcb_discard_reply(m_connection, *m_copied);
        m_copied = sequence;
    }

    // Waits for that answer, when one is owed.
    void WaitCopied()
    {
        if (m_copied)
            std::free(xcb_get_input_focus_reply(m_connection,
                                                xcb_get_input_focus_cookie_t{*m_copied}, nullptr));
        m_copied.reset();
    }

  private:
    Image(xcb_connection_t* connection, xcb_shm_seg_t segment, void* memory, QSize size)
        : m_connection(connection), m_segment(segment), m_memory(memory),
          m_pixels(static_cast<uchar*>(memory), size.width(), size.height(), 4 * size.width(),
                   QImage::Format_RGB32)
    {
    }

    xcb_connection_t* m_connection;
    xcb_shm_seg_t m_segment;
    void* m_memory;
    QImage m_pixels;
    std::optional<unsigned> m_copied;
};

std::unique_ptr<XShmPicture> XShmPicture::Make(QWidget& window, const QRect& part,
                                               std::size_t images)
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || QGuiApplication::platformName() != QLatin1String("xcb") || part.isEmpty() ||
        qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        return nullptr;
    xcb_connection_t* connection = x11->connection();
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection, &xcb_shm_id);
    if (!shm || !shm->present)
        return nullptr;
    const std::optional<std::uint8_t> depth =
        Rgb32Depth(connection, static_cast<xcb_window_t>(window.winId()));
    if (!depth)
        return nullptr;
    std::unique_ptr<XShmPicture> picture(new XShmPicture(window, part, connection, *depth));
    picture->m_images.resize(std::max<std::size_t>(images, 1));
    picture->m_putAt.assign(picture->m_images.size(), 0);
    for (auto& image : picture->m_images)
        if (!(image = Image::Attach(connection, part.size())))
            return nullptr;
    return picture;
}

XShmPicture::XShmPicture(QWidget& window, const QRect& part, xcb_connection_t* connection,
                         std::uint8_t depth)
    : m_window(window), m_part(part), m_connection(connection), m_depth(depth),
      m_gc(xcb_generate_id(connection))
{
    xcb_create_gc(connection, m_gc, static_cast<xcb_window_t>(window.winId()), 0, nullptr);
}

XShmPicture::~XShmPicture()
{
    m_images.clear();
    xcb_free_gc(m_connection, m_gc);
    xcb_flush(m_connection);
}

QImage& XShmPicture::Paint(std::size_t index)
{
    m_images.at(index)->WaitCopied();
    return m_images[index]->Pixels();
}

std::size_t XShmPicture::LeastRecentlyPut() const
{
    return static_cast<std::size_t>(std::min_element(m_putAt.begin(), m_putAt.end()) -
                                    m_putAt.begin());
}

void XShmPicture::PutAgain()
{
    if (m_anyPut)
        Put(m_putLast, m_topLast);
}

void XShmPicture::Put(std::size_t index, int top)
{
    Image& image = *m_images.at(index);
    const int height = m_part.height();
    top = std::clamp(top, 0, height - 1);
    const auto width = static_cast<std::uint16_t>(m_part.width());
    const auto put = [&](int from, int rows, int to) {
        xcb_shm_put_image(m_connection, static_cast<xcb_window_t>(m_window.winId()), m_gc, width,
                          static_cast<std::uint16_t>(height), 0, static_cast<std::uint16_t>(from),
                          width, static_cast<std::uint16_t>(rows),
                          static_cast<std::int16_t>(m_part.x()),
                          static_cast<std::int16_t>(m_part.y() + to), m_depth,
                          XCB_IMAGE_FORMAT_Z_PIXMAP, 0, image.Segment(), 0);
    };
    put(top, height - top, 0);
    if (top > 0)
        put(0, top, height - top);
    // The server answers requests in order: this answer comes once it has
    // copied the image.
    image.CopiedWhenAnswered(xcb_get_input_focus(m_connection).sequence);
    xcb_flush(m_connection);
    m_putAt[index] = ++m_puts;
    m_putLast = index;
    m_topLast = top;
    m_anyPut = true;
}
