#include "GlScanOutRenderer.h"

#include "Surface.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>

#include <array>
#include <cstring>

namespace
{
constexpr std::size_t kFrameBytes = std::size_t{Surface::kWidth} * Surface::kHeight;

// Blue, green, red, alpha in memory: the order of a QRgb on a little-endian
// machine and of most window buffers, so the blit is a plain copy. Desktop
// OpenGL takes it; the name is missing from the OpenGL ES headers.
constexpr GLenum kBgra = 0x80E1;

QOpenGLExtraFunctions& Gl()
{
    return *QOpenGLContext::currentContext()->extraFunctions();
}

// The colour as the four bytes of a texel in layout, alpha opaque.
std::uint32_t TexelOf(QRgb colour, GLenum layout)
{
    const auto red = static_cast<std::uint8_t>(qRed(colour));
    const auto blue = static_cast<std::uint8_t>(qBlue(colour));
    const std::array<std::uint8_t, 4> bytes{layout == kBgra ? blue : red,
                                            static_cast<std::uint8_t>(qGreen(colour)),
                                            layout == kBgra ? red : blue, 255};
    std::uint32_t texel = 0;
    std::memcpy(&texel, bytes.data(), sizeof texel);
    return texel;
}
} // namespace

QSurfaceFormat GlScanOutRenderer::SurfaceFormat()
{
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setVersion(3, 0);
    format.setSwapInterval(1);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setDepthBufferSize(0);
    format.setStencilBufferSize(0);
    return format;
}

std::unique_ptr<GlScanOutRenderer> GlScanOutRenderer::Create(const QList<QRgb>& palette)
{
    const QOpenGLContext* context = QOpenGLContext::currentContext();
    if (!context || context->format().version() < qMakePair(3, 0))
        return nullptr;
    std::unique_ptr<GlScanOutRenderer> renderer(
        new GlScanOutRenderer(palette, context->isOpenGLES() ? GL_RGBA : kBgra));
    if (!renderer->Build())
        return nullptr;
    return renderer;
}

GlScanOutRenderer::GlScanOutRenderer(const QList<QRgb>& palette, GLenum layout)
    : m_background(palette.isEmpty() ? qRgb(0, 0, 0) : palette.first()),
      m_drawsFrames(palette.size() >= 256), m_layout(layout)
{
    for (std::size_t i = 0; m_drawsFrames && i < m_colours.size(); ++i)
        m_colours[i] = TexelOf(palette[static_cast<qsizetype>(i)], layout);
}

GlScanOutRenderer::~GlScanOutRenderer()
{
    QOpenGLExtraFunctions& gl = Gl();
    if (m_source)
        gl.glDeleteFramebuffers(1, &m_source);
    if (m_texture)
        gl.glDeleteTextures(1, &m_texture);
}

bool GlScanOutRenderer::Build()
{
    QOpenGLExtraFunctions& gl = Gl();
    gl.glGenTextures(1, &m_texture);
    gl.glBindTexture(GL_TEXTURE_2D, m_texture);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.glGenFramebuffers(1, &m_source);
    return gl.glGetError() == GL_NO_ERROR;
}

void GlScanOutRenderer::Upload(QSize size)
{
    QOpenGLExtraFunctions& gl = Gl();
    gl.glBindTexture(GL_TEXTURE_2D, m_texture);
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (m_textureSize != size) {
        gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size.width(), size.height(), 0, m_layout,
                        GL_UNSIGNED_BYTE, m_scaled.data());
        m_textureSize = size;
    } else {
        gl.glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, size.width(), size.height(), m_layout,
                           GL_UNSIGNED_BYTE, m_scaled.data());
    }
}

void GlScanOutRenderer::Draw(const std::vector<std::uint8_t>& frame, QSize area)
{
    QOpenGLExtraFunctions& gl = Gl();
    // Dithering would change colours that must match exactly.
    gl.glDisable(GL_DITHER);
    gl.glDisable(GL_SCISSOR_TEST);
    gl.glViewport(0, 0, area.width(), area.height());
    gl.glClearColor(static_cast<float>(qRed(m_background)) / 255.0f,
                    static_cast<float>(qGreen(m_background)) / 255.0f,
                    static_cast<float>(qBlue(m_background)) / 255.0f, 1.0f);
    gl.glClear(GL_COLOR_BUFFER_BIT);

    const QRect target = ScanOutRect(area);
    if (frame.size() < kFrameBytes || !m_drawsFrames || target.isEmpty())
        return;
    // OpenGL counts rows from the bottom, so the rows are scaled bottom first
    // and the blit needs no flip.
    const qsizetype rowBytes = qsizetype{4} * target.width();
    m_scaled.resize(static_cast<std::size_t>(target.width()) *
                    static_cast<std::size_t>(target.height()));
    ScanOutScale(frame, m_colours, target.size(),
                 reinterpret_cast<std::uint8_t*>(m_scaled.data()) +
                     rowBytes * (target.height() - 1),
                 -rowBytes);
    Upload(target.size());

    GLint reading = 0;
    gl.glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &reading);
    gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, m_source);
    gl.glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_texture,
                              0);
    const int bottom = area.height() - target.top() - target.height();
    gl.glBlitFramebuffer(0, 0, target.width(), target.height(), target.left(), bottom,
                         target.left() + target.width(), bottom + target.height(),
                         GL_COLOR_BUFFER_BIT, GL_NEAREST);
    gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(reading));
}
