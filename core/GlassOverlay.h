#pragma once

#include "GlassPaint.h"
#include "ScanOutOverlay.h"

#include <atomic>
#include <mutex>

// The glass as a presenter's overlay: its look is fixed when it is made,
// its texts change as the run's loop shows them, and the presenter's own
// thread draws pieces made once for each size and each set of texts.
class GlassOverlay : public ScanOutOverlay
{
  public:
    explicit GlassOverlay(GlassLook look) : m_look(std::move(look)) {}

    // Shows texts from the next frame on; the same texts again change nothing.
    void Show(const GlassTexts& texts);
    GlassTexts Texts() const;

    const GlassLook& Look() const { return m_look; }

    std::uint64_t Revision() const override { return m_revision.load(); }
    bool Blank() const override;
    void Draw(QPainter& painter, const QRect& picture, QSize area) const override;
    QRegion DrawTellingWhere(QPainter& painter, const QRect& picture, QSize area) const override;

  private:
    const GlassLook m_look;
    std::atomic<std::uint64_t> m_revision{1};
    mutable std::mutex m_lock; // guards what follows
    GlassTexts m_texts;
    // The pieces last made for each screen's picture (several when further
    // outputs show the run), with the revision they were made for.
    struct MadePieces {
        std::vector<GlassPiece> pieces;
        QRect picture;
        QSize area;
        std::uint64_t revision = 0;
    };
    mutable std::vector<MadePieces> m_made;
};
