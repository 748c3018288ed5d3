#include "GlassOverlay.h"

void GlassOverlay::Show(const GlassTexts& texts)
{
    const std::lock_guard hold(m_lock);
    if (texts == m_texts)
        return;
    m_texts = texts;
    ++m_revision;
}

GlassTexts GlassOverlay::Texts() const
{
    const std::lock_guard hold(m_lock);
    return m_texts;
}

bool GlassOverlay::Blank() const
{
    const std::lock_guard hold(m_lock);
    return !m_look.cue.shown && m_texts == GlassTexts{};
}

void GlassOverlay::Draw(QPainter& painter, const QRect& picture, QSize area) const
{
    const std::lock_guard hold(m_lock);
    const std::uint64_t revision = m_revision.load();
    if (revision != m_piecesRevision || picture != m_piecesPicture || area != m_piecesArea) {
        m_pieces = GlassPieces(QRect(QPoint(), area), picture, m_look, m_texts);
        m_piecesRevision = revision;
        m_piecesPicture = picture;
        m_piecesArea = area;
    }
    DrawGlassPieces(painter, picture, m_look.mirrored, m_pieces);
}
