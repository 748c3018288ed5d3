#pragma once

#include <QList>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QSurfaceFormat>
#include <qopengl.h>

#include <cstdint>
#include <memory>
#include <vector>

class QOpenGLShaderProgram;
class QOpenGLVertexArrayObject;

// Draws 640 x 480 paletted frames into the current OpenGL framebuffer by
// the ScanOutImage rule, to the same pixel, with the graphics card doing
// the scaling. The picture lives on the card as an 8-bit texture, uploaded
// only when it changes, and the palette as a second, 256-texel one; the
// tap tables of ScanOutTaps go up once per size, so that a fragment shader
// at each device pixel of the centred 4:3 rectangle fetches the four
// indices and blends them in the same integer steps as the processor would.
// The margins are cleared to the background. Needs OpenGL 3.0 or OpenGL ES
// 3.0. Every call, the destructor included, needs the context it was
// created in to be current.
class GlScanOutRenderer
{
  public:
    // A renderer for the current context showing frames in palette's colours,
    // or null when the context lacks what it needs.
    static std::unique_ptr<GlScanOutRenderer> Create(const QList<QRgb>& palette);
    ~GlScanOutRenderer();
    GlScanOutRenderer(const GlScanOutRenderer&) = delete;
    GlScanOutRenderer& operator=(const GlScanOutRenderer&) = delete;

    // What a context and its window ask for: OpenGL (ES) 3.0, double
    // buffered, one screen refresh per swap, no depth or stencil.
    static QSurfaceFormat SurfaceFormat();

    // Makes frame (480 rows of 640 indices, top row first) the picture to
    // draw, uploading it; a frame of the wrong size draws as background.
    void SetFrame(const std::vector<std::uint8_t>& frame);

    // Fills the bound draw framebuffer, of size area in pixels, with the
    // picture as ScanOutImage would; a palette short of 256 colours, or no
    // picture, leaves the background alone.
    void Draw(QSize area);

  private:
    explicit GlScanOutRenderer(const QList<QRgb>& palette);
    bool Build(bool openGlEs);
    void UploadTaps(QSize target);

    QRgb m_background;                                    // palette entry 0, the margins' colour
    QList<QRgb> m_palette;                                // index -> colour
    bool m_hasPicture = false;                            // the picture texture holds a frame
    std::unique_ptr<QOpenGLShaderProgram> m_program;      // the sharp-bilinear rule
    std::unique_ptr<QOpenGLVertexArrayObject> m_vertices; // none: the shader makes its triangle
    GLuint m_picture = 0;                                 // 640 x 480 indices
    GLuint m_colours = 0;                                 // 256 x 1 palette
    GLuint m_columns = 0;                                 // one tap per target column
    GLuint m_rows = 0;                                    // one tap per target row
    QSize m_tapsFor;                                      // the target size the taps are for
};
