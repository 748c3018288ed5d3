#include "GlassOverlay.h"

#include <algorithm>

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
    DrawTellingWhere(painter, picture, area);
}

QRegion GlassOverlay::DrawTellingWhere(QPainter& painter, const QRect& picture, QSize area) const
{
    // More screens than a run can have never come: a new size replaces the oldest.
    constexpr std::size_t kScreensKept = 8;
    const std::lock_guard hold(m_lock);
    const std::uint64_t revision = m_revision.load();
    auto made = std::find_if(m_made.begin(), m_made.end(), [&](const MadePieces& kept) {
        return kept.picture == picture && kept.area == area;
    });
    if (made == m_made.end()) {
        if (m_made.size() >= kScreensKept)
            m_made.erase(m_made.begin());
        m_made.push_back({{}, picture, area, 0});
        made = m_made.end() - 1;
    }
    if (made->revision != revision) {
        made->pieces = GlassPieces(QRect(QPoint(), area), picture, m_look, m_texts);
        made->revision = revision;
    }
    DrawGlassPieces(painter, picture, m_look.mirrored, made->pieces);
    // Mirroring moves a piece across, never up or down.
    QRegion drawn;
    for (const GlassPiece& piece : made->pieces)
        drawn += QRect(0, piece.bounds.top(), area.width(), piece.bounds.height());
    return drawn;
}
