#include "GlScanOutRenderer.h"

#include "Surface.h"

#include <QByteArray>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>

#include <array>
#include <cstring>

namespace
{
constexpr std::size_t kFrameBytes = std::size_t{Surface::kWidth} * Surface::kHeight;

// One triangle larger than the viewport covers every pixel of it.
constexpr char kVertexShader[] = R"(
void main()
{
    gl_Position = vec4(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0, 0.0, 1.0);
}
)";

// Each pixel of the viewport shows its own texel; the texture's first row
// is the top one, OpenGL's first row the bottom one.
constexpr char kFragmentShader[] = R"(
uniform sampler2D image;
uniform ivec2 origin;
uniform int targetHeight;
out vec4 colour;

void main()
{
    ivec2 at = ivec2(gl_FragCoord.xy) - origin;
    colour = texelFetch(image, ivec2(at.x, targetHeight - 1 - at.y), 0);
}
)";

QOpenGLExtraFunctions& Gl()
{
    return *QOpenGLContext::currentContext()->extraFunctions();
}

// The colour as four bytes in memory, red first, as an RGBA texture reads it.
std::uint32_t TexelOf(QRgb colour)
{
    const std::array<std::uint8_t, 4> bytes{static_cast<std::uint8_t>(qRed(colour)),
                                            static_cast<std::uint8_t>(qGreen(colour)),
                                            static_cast<std::uint8_t>(qBlue(colour)), 255};
    std::uint32_t texel = 0;
    std::memcpy(&texel, bytes.data(), sizeof texel);
    return texel;
}
} // namespace

std::unique_ptr<GlScanOutRenderer> GlScanOutRenderer::Create(const QList<QRgb>& palette)
{
    const QOpenGLContext* context = QOpenGLContext::currentContext();
    if (!context || context->format().version() < qMakePair(3, 0))
        return nullptr;
    std::unique_ptr<GlScanOutRenderer> renderer(new GlScanOutRenderer(palette));
    if (!renderer->Build())
        return nullptr;
    return renderer;
}

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

GlScanOutRenderer::GlScanOutRenderer(const QList<QRgb>& palette)
    : m_background(palette.isEmpty() ? qRgb(0, 0, 0) : palette.first()),
      m_drawsFrames(palette.size() >= 256)
{
    for (std::size_t i = 0; m_drawsFrames && i < m_colours.size(); ++i)
        m_colours[i] = TexelOf(palette[static_cast<qsizetype>(i)]);
}

GlScanOutRenderer::~GlScanOutRenderer()
{
    if (m_texture)
        Gl().glDeleteTextures(1, &m_texture);
}

bool GlScanOutRenderer::Build()
{
    // OpenGL ES needs the texel arithmetic asked for at full precision.
    const QByteArray version = QOpenGLContext::currentContext()->isOpenGLES()
                                   ? QByteArrayLiteral("#version 300 es\n"
                                                       "precision highp float;\n"
                                                       "precision highp int;\n")
                                   : QByteArrayLiteral("#version 130\n");
    if (!m_program.addShaderFromSourceCode(QOpenGLShader::Vertex, version + kVertexShader) ||
        !m_program.addShaderFromSourceCode(QOpenGLShader::Fragment, version + kFragmentShader) ||
        !m_program.link() || !m_vertices.create())
        return false;
    m_program.bind();
    m_program.setUniformValue("image", 0);
    m_program.release();

    QOpenGLExtraFunctions& gl = Gl();
    gl.glGenTextures(1, &m_texture);
    gl.glBindTexture(GL_TEXTURE_2D, m_texture);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return gl.glGetError() == GL_NO_ERROR;
}

void GlScanOutRenderer::Draw(const std::vector<std::uint8_t>& frame, QSize area)
{
    QOpenGLExtraFunctions& gl = Gl();
    // Dithering or blending would change colours that must match exactly.
    gl.glDisable(GL_DITHER);
    gl.glDisable(GL_BLEND);
    gl.glDisable(GL_SCISSOR_TEST);
    gl.glDisable(GL_DEPTH_TEST);
    gl.glViewport(0, 0, area.width(), area.height());
    gl.glClearColor(static_cast<float>(qRed(m_background)) / 255.0f,
                    static_cast<float>(qGreen(m_background)) / 255.0f,
                    static_cast<float>(qBlue(m_background)) / 255.0f, 1.0f);
    gl.glClear(GL_COLOR_BUFFER_BIT);

    const QRect target = ScanOutRect(area);
    if (frame.size() < kFrameBytes || !m_drawsFrames || target.isEmpty())
        return;
    m_scaled.resize(static_cast<std::size_t>(target.width()) *
                    static_cast<std::size_t>(target.height()));
    ScanOutScale(frame, m_colours, target.size(), reinterpret_cast<std::uint8_t*>(m_scaled.data()),
                 qsizetype{4} * target.width());

    gl.glActiveTexture(GL_TEXTURE0);
    gl.glBindTexture(GL_TEXTURE_2D, m_texture);
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (m_textureSize != target.size()) {
        gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, target.width(), target.height(), 0, GL_RGBA,
                        GL_UNSIGNED_BYTE, m_scaled.data());
        m_textureSize = target.size();
    } else {
        gl.glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, target.width(), target.height(), GL_RGBA,
                           GL_UNSIGNED_BYTE, m_scaled.data());
    }

    // OpenGL counts rows from the bottom; the target's top row is the
    // area's row target.top().
    const int bottom = area.height() - target.top() - target.height();
    gl.glViewport(target.left(), bottom, target.width(), target.height());
    m_program.bind();
    gl.glUniform2i(m_program.uniformLocation("origin"), target.left(), bottom);
    m_program.setUniformValue("targetHeight", target.height());
    const QOpenGLVertexArrayObject::Binder bound(&m_vertices);
    gl.glDrawArrays(GL_TRIANGLES, 0, 3);
    m_program.release();
}
