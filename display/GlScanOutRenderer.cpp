#include "GlScanOutRenderer.h"

#include "ScanOut.h"
#include "Surface.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLVertexArrayObject>

#include <array>

namespace
{
constexpr std::size_t kFrameBytes = std::size_t{Surface::kWidth} * Surface::kHeight;

QOpenGLExtraFunctions& Gl()
{
    return *QOpenGLContext::currentContext()->extraFunctions();
}

// One triangle that covers the viewport, made from the vertex number alone.
constexpr const char* kVertexShader = R"(
void main()
{
    vec2 corner = vec2(float((gl_VertexID << 1) & 2), float(gl_VertexID & 2));
    gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

// ScanOutScaler's arithmetic at one pixel: the taps say which source pixels
// and what share of the second (out of 256), blended across, then down,
// rounded and looked up, all in integers, so that every pixel matches.
constexpr const char* kFragmentShader = R"(
uniform usampler2D picture; // 640 x 480 indices, row 0 at the top
uniform sampler2D colours;  // 256 x 1, index -> colour
uniform isampler2D columns; // per target column: first, second, weight
uniform isampler2D rows;    // per target row, from the top
uniform ivec2 origin;       // the target's lower-left corner in window pixels
uniform int height;         // the target's height
out vec4 colour;

int IndexAt(int x, int y)
{
    return int(texelFetch(picture, ivec2(x, y), 0).r);
}

void main()
{
    ivec2 at = ivec2(gl_FragCoord.xy) - origin;
    ivec3 column = texelFetch(columns, ivec2(at.x, 0), 0).xyz;
    ivec3 row = texelFetch(rows, ivec2(height - 1 - at.y, 0), 0).xyz;
    int upper = IndexAt(column.x, row.x) * (256 - column.z) + IndexAt(column.y, row.x) * column.z;
    int lower = IndexAt(column.x, row.y) * (256 - column.z) + IndexAt(column.y, row.y) * column.z;
    int index = (upper * (256 - row.z) + lower * row.z + 32768) >> 16;
    colour = texelFetch(colours, ivec2(index, 0), 0);
}
)";

// A texture read texel by texel, never filtered.
GLuint MakeTexture()
{
    QOpenGLExtraFunctions& gl = Gl();
    GLuint texture = 0;
    gl.glGenTextures(1, &texture);
    gl.glBindTexture(GL_TEXTURE_2D, texture);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return texture;
}

// Taps as a one-row integer texture of (first, second, weight, 0) texels.
void UploadTapTexture(GLuint texture, const std::vector<ScanOutTap>& taps)
{
    std::vector<GLint> texels;
    texels.reserve(taps.size() * 4);
    for (const ScanOutTap& tap : taps)
        texels.insert(texels.end(), {tap.first, tap.second, tap.weight, 0});
    QOpenGLExtraFunctions& gl = Gl();
    gl.glBindTexture(GL_TEXTURE_2D, texture);
    gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32I, static_cast<GLsizei>(taps.size()), 1, 0,
                    GL_RGBA_INTEGER, GL_INT, texels.data());
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
    std::unique_ptr<GlScanOutRenderer> renderer(new GlScanOutRenderer(palette));
    if (!renderer->Build(context->isOpenGLES()))
        return nullptr;
    return renderer;
}

GlScanOutRenderer::GlScanOutRenderer(const QList<QRgb>& palette)
    : m_background(palette.isEmpty() ? qRgb(0, 0, 0) : palette.first()), m_palette(palette)
{
}

GlScanOutRenderer::~GlScanOutRenderer()
{
    QOpenGLExtraFunctions& gl = Gl();
    for (const GLuint texture : {m_picture, m_colours, m_columns, m_rows})
        if (texture)
            gl.glDeleteTextures(1, &texture);
}

bool GlScanOutRenderer::Build(bool openGlEs)
{
    const QByteArray header = openGlEs ? "#version 300 es\nprecision highp float;\n"
                                         "precision highp int;\nprecision highp usampler2D;\n"
                                         "precision highp isampler2D;\n"
                                       : "#version 130\n";
    m_program = std::make_unique<QOpenGLShaderProgram>();
    if (!m_program->addShaderFromSourceCode(QOpenGLShader::Vertex, header + kVertexShader) ||
        !m_program->addShaderFromSourceCode(QOpenGLShader::Fragment, header + kFragmentShader) ||
        !m_program->link())
        return false;
    m_vertices = std::make_unique<QOpenGLVertexArrayObject>();
    m_vertices->create();

    m_picture = MakeTexture();
    Gl().glTexImage2D(GL_TEXTURE_2D, 0, GL_R8UI, Surface::kWidth, Surface::kHeight, 0,
                      GL_RED_INTEGER, GL_UNSIGNED_BYTE, nullptr);
    m_colours = MakeTexture();
    std::vector<std::uint8_t> colours;
    for (const QRgb colour : m_palette)
        colours.insert(colours.end(), {static_cast<std::uint8_t>(qRed(colour)),
                                       static_cast<std::uint8_t>(qGreen(colour)),
                                       static_cast<std::uint8_t>(qBlue(colour)), 255});
    colours.resize(256 * 4);
    Gl().glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 256, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                      colours.data());
    m_columns = MakeTexture();
    m_rows = MakeTexture();

    m_program->bind();
    m_program->setUniformValue("picture", 0);
    m_program->setUniformValue("colours", 1);
    m_program->setUniformValue("columns", 2);
    m_program->setUniformValue("rows", 3);
    m_program->release();
    return Gl().glGetError() == GL_NO_ERROR;
}

void GlScanOutRenderer::SetFrame(const std::vector<std::uint8_t>& frame)
{
    m_hasPicture = frame.size() >= kFrameBytes;
    if (!m_hasPicture)
        return;
    QOpenGLExtraFunctions& gl = Gl();
    gl.glBindTexture(GL_TEXTURE_2D, m_picture);
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, Surface::kWidth, Surface::kHeight, GL_RED_INTEGER,
                       GL_UNSIGNED_BYTE, frame.data());
}

void GlScanOutRenderer::UploadTaps(QSize target)
{
    if (target == m_tapsFor)
        return;
    UploadTapTexture(m_columns, ScanOutTaps(Surface::kWidth, target.width()));
    UploadTapTexture(m_rows, ScanOutTaps(Surface::kHeight, target.height()));
    m_tapsFor = target;
}

void GlScanOutRenderer::Draw(QSize area)
{
    QOpenGLExtraFunctions& gl = Gl();
    // Dithering or blending would change colours that must match exactly.
    gl.glDisable(GL_DITHER);
    gl.glDisable(GL_BLEND);
    gl.glDisable(GL_SCISSOR_TEST);
    gl.glViewport(0, 0, area.width(), area.height());
    gl.glClearColor(static_cast<float>(qRed(m_background)) / 255.0f,
                    static_cast<float>(qGreen(m_background)) / 255.0f,
                    static_cast<float>(qBlue(m_background)) / 255.0f, 1.0f);
    gl.glClear(GL_COLOR_BUFFER_BIT);

    const QRect target = ScanOutRect(area);
    if (!m_hasPicture || m_palette.size() < 256 || target.isEmpty())
        return;
    UploadTaps(target.size());
    // OpenGL counts rows from the bottom.
    const int bottom = area.height() - target.top() - target.height();
    gl.glViewport(target.left(), bottom, target.width(), target.height());
    const std::array<GLuint, 4> textures{m_picture, m_colours, m_columns, m_rows};
    for (std::size_t unit = 0; unit < textures.size(); ++unit) {
        gl.glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        gl.glBindTexture(GL_TEXTURE_2D, textures[unit]);
    }
    gl.glActiveTexture(GL_TEXTURE0);
    m_program->bind();
    gl.glUniform2i(m_program->uniformLocation("origin"), target.left(), bottom);
    m_program->setUniformValue("height", target.height());
    m_vertices->bind();
    gl.glDrawArrays(GL_TRIANGLES, 0, 3);
    m_vertices->release();
    m_program->release();
}
