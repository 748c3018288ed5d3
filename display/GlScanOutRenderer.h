#pragma once

#include "ScanOut.h"

#include <QList>
#include <QRgb>
#include <QSize>
#include <QSurfaceFormat>
#include <qopengl.h>

#include <cstdint>
#include <memory>
#include <vector>

// Draws 640 x 480 paletted frames into the current OpenGL framebuffer by
// the ScanOutImage rule, to the same pixel. The scaling is done by
// ScanOutScale on the calling thread (cheap integer arithmetic, and the same
// as the software rule's); the result goes up as one texture, bottom row
// first, and is blitted one texel to one pixel into the centred 4:3
// rectangle, the margins cleared to the background. A software OpenGL would
// spend far longer scaling in a shader, so OpenGL is only asked to copy.
// Needs OpenGL 3.0 or OpenGL ES 3.0. Every call, the destructor included,
// needs the context it was created in to be current.
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

    // Fills the bound draw framebuffer, of size area in pixels, with frame
    // (480 rows of 640 indices, top row first) as ScanOutImage would; a frame
    // of the wrong size, or a palette short of 256 colours, leaves the
    // background alone.
    void Draw(const std::vector<std::uint8_t>& frame, QSize area);

  private:
    GlScanOutRenderer(const QList<QRgb>& palette, GLenum layout);
    bool Build();
    void Upload(QSize size);

    QRgb m_background;                   // palette entry 0, the margins' colour
    bool m_drawsFrames;                  // the palette has all 256 colours
    GLenum m_layout;                     // byte order of m_scaled's pixels
    ScanOutColours m_colours{};          // the palette in that byte order
    std::vector<std::uint32_t> m_scaled; // the frame as the target shows it, bottom row first
    GLuint m_texture = 0;                // m_scaled on the GPU
    QSize m_textureSize;                 // the size m_texture was made with
    GLuint m_source = 0;                 // a framebuffer that reads m_texture
};
