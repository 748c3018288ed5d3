#include "TextRaster.h"

#include "FaceName.h"
#include "FaceStandIn.h"
#include "ScriptEncoding.h"
#include "ScrollRunState.h"
#include "Surface.h"
#include "SurfaceDc.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdint>

namespace
{
constexpr int kPrompterDpi = 96; // the 640 x 480 mode
constexpr int kPointsPerInch = 72;
constexpr int kMaxFontPixels = 8192; // beyond this a font is not worth making
constexpr int kInitialLines = 3;

// Points to pixels at the prompter's dpi, rounded to the nearest pixel.
std::int64_t PixelsForPoints(int points)
{
    const std::int64_t scaled = std::int64_t{points} * kPrompterDpi;
    return (scaled + kPointsPerInch / 2) / kPointsPerInch;
}

QRect FullSurface()
{
    return QRect(0, 0, Surface::kWidth, Surface::kHeight);
}

// Draws the line in rect's rows, within the columns the glass leaves the text.
void DrawLineBuffer(SurfaceDc& dc, QRect rect)
{
    const TextColumns columns = TextColumnsFor(g_runParams.glass, g_runParams.readingCue);
    rect.setLeft(columns.left);
    rect.setRight(columns.right - 1);
    const std::string& line = g_runState.lineBuffer;
    const QByteArray bytes =
        QByteArray::fromRawData(line.data(), static_cast<qsizetype>(line.size()));
    dc.DrawTextLine(rect, DecodeScriptText(bytes).text);
}
} // namespace

void CreatePrompterFont(const QString& face, int points, int weight)
{
    g_runState.prompterFont.reset();
    const std::int64_t pixels = PixelsForPoints(points);
    if (pixels < 1 || pixels > kMaxFontPixels) {
        g_runState.prompterFont = QGuiApplication::font();
        return;
    }
    QFont font;
    font.setFamily(face.left(kMaxFaceNameChars));
    font.setStyleHint(QFont::SansSerif, QFont::PreferAntialias);
    font.setPixelSize(static_cast<int>(pixels));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight <= 0 ? 400 : weight, 1, 1000)));
    g_runState.prompterFont = WithStandInFaces(font);
}

QFont PrompterFont()
{
    return g_runState.prompterFont.value_or(QGuiApplication::font());
}

int MeasureLineHeight(Surface& surface)
{
    SurfaceDc dc(surface);
    dc.SelectFont(PrompterFont());
    return std::max(1, dc.LineHeight());
}

int ReadScriptLine(int offset)
{
    const std::string_view text = g_runParams.scriptText.View();
    std::string& line = g_runState.lineBuffer;
    line.clear();
    const std::size_t from =
        static_cast<std::size_t>(std::clamp<std::int64_t>(offset, 0, text.size()));
    const std::size_t lf = std::min(text.find('\n', from), text.size());
    line.assign(text, from, lf - from);
    return static_cast<int>(lf);
}

int OffsetAfterLine(int lineEnd)
{
    return std::min(lineEnd + 1, static_cast<int>(g_runParams.scriptText.size()));
}

void DrawInitialImage()
{
    ScrollRunState& st = g_runState;
    if (!st.primarySurface || !st.offscreenSurface)
        return;
    const int h = st.lineHeight;
    const bool mirrored = g_runParams.mirror;
    // Mirrored runs draw right-reading on the work surface first; without
    // one the off-screen surface is mirrored onto itself, with the same result.
    Surface& target = mirrored && st.mirrorSurface ? *st.mirrorSurface : *st.offscreenSurface;
    // Every line takes at least its LF, so a count beyond the text's size is
    // not believed when making room.
    const auto room = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(g_runParams.lineCount, kInitialLines)),
        g_runParams.scriptText.size() + kInitialLines);
    st.LineStartTable.reserve(room + 1);
    {
        SurfaceDc dc(target);
        dc.SelectFont(PrompterFont());
        dc.FillRect(FullSurface(), SurfaceDc::kBackgroundIndex);
        st.textPos = 0;
        for (int r = 0; r < kInitialLines; ++r) {
            SetLineStart(r, st.textPos);
            // Only the lines the script has are read; the rest stay background.
            if (r >= g_runParams.lineCount)
                continue;
            st.textPos = OffsetAfterLine(ReadScriptLine(st.textPos));
            const int bottom = Surface::kHeight - 1 - (kInitialLines - 1 - r) * h;
            DrawLineBuffer(dc, QRect(0, bottom - h, Surface::kWidth, h));
        }
        SetLineStart(kInitialLines, st.textPos);
        st.lineIndex = kInitialLines;
        if (mirrored)
            dc.MirrorRectInto(FullSurface(), *st.offscreenSurface);
    }
    st.stripRow = h + 1;
    st.primarySurface->CopyFrom(*st.offscreenSurface);
}

void DrawStripLine(SurfaceDc& dc)
{
    const QRect strip(0, 0, Surface::kWidth, g_runState.lineHeight);
    dc.FillRect(strip, SurfaceDc::kBackgroundIndex);
    DrawLineBuffer(dc, strip);
    if (g_runParams.mirror)
        dc.MirrorRectInto(strip, dc.surface());
}
