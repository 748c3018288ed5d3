// Paints every picture of the program's artwork and writes the PNGs into the
// folder given as the only argument (normally res/). Run it through
// scripts/make-artwork.sh after changing a picture, and commit the PNGs.
//
// The skin is laid out around the control window's controls. Their places, in
// pixels of the 640 x 480 client area, are the Region constants below; the
// rule the skin keeps is that white text stands on dark ground, blue text
// (pure blue) on pale ground, black tick marks on the pale slider plate, and
// the editor on a plain, quiet panel.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace
{

// The palette of the skin.
const QColor kNight(17, 24, 39);       // deepest ground
const QColor kSlate(28, 38, 58);       // panels under white text
const QColor kSlateEdge(58, 74, 104);  // panel outlines
const QColor kPale(236, 240, 247);     // ground under blue text and the slider
const QColor kPaleEdge(170, 182, 204); // its outline
const QColor kAmber(255, 178, 36);     // the main action
const QColor kAmberDeep(232, 112, 20);
const QColor kSteel(70, 88, 120); // faces of the secondary image buttons
const QColor kSteelDeep(44, 58, 84);

// Where the control window puts its controls (client pixels).
const QRect kFilePanel(11, 190, 300, 44);
const QRect kEditor(11, 236, 300, 200);
const QRect kSlider(380, 211, 218, 24);
const QRect kBackColorButton(353, 289, 74, 24);
const QRect kFontButton(444, 288, 74, 24);
const QRect kScrollButton(537, 288, 74, 24);
const QRect kDisplayFormatLabel(320, 340, 74, 15);
const QRect kSpeedControlLabel(318, 406, 108, 15);

QFont Font(int pixelSize, QFont::Weight weight = QFont::Bold, qreal spacing = 0)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    if (spacing != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return font;
}

QImage NewImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void RoundedPanel(QPainter& p, const QRectF& r, const QColor& fill, const QColor& edge,
                  qreal radius = 6)
{
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

// A few faint rows of "text" that fade upward: the picture of a scrolling script.
void ScriptLines(QPainter& p, const QRectF& area, const QColor& ink, int rows)
{
    const qreal step = area.height() / rows;
    for (int i = 0; i < rows; ++i) {
        QColor c = ink;
        c.setAlphaF(ink.alphaF() * (i + 1) / rows);
        const qreal y = area.top() + i * step + step / 2;
        const qreal widths[] = {0.92, 0.74, 0.86, 0.6, 0.8, 0.68};
        const qreal w = area.width() * widths[i % 6];
        p.setPen(QPen(c, std::max<qreal>(1.5, step * 0.35), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(area.center().x() - w / 2, y), QPointF(area.center().x() + w / 2, y));
    }
}

// The program's mark: a tilted pane of prompter glass with script rows on it.
void Mark(QPainter& p, const QRectF& box)
{
    const qreal u = box.width() / 32.0;
    QPainterPath glass;
    glass.moveTo(box.left() + 7 * u, box.top() + 6 * u);
    glass.lineTo(box.left() + 27 * u, box.top() + 4 * u);
    glass.lineTo(box.left() + 25 * u, box.top() + 26 * u);
    glass.lineTo(box.left() + 5 * u, box.top() + 27 * u);
    glass.closeSubpath();
    QLinearGradient sheen(box.topLeft(), box.bottomRight());
    sheen.setColorAt(0, QColor(120, 190, 255, 230));
    sheen.setColorAt(1, QColor(40, 90, 200, 230));
    p.setPen(QPen(QColor(220, 236, 255), std::max<qreal>(1, u)));
    p.setBrush(sheen);
    p.drawPath(glass);
    p.save();
    p.setClipPath(glass);
    ScriptLines(p, QRectF(box.left() + 9 * u, box.top() + 8 * u, 15 * u, 16 * u), Qt::white, 4);
    p.restore();
    // The scroll arrow.
    QPainterPath arrow;
    arrow.moveTo(box.left() + 27 * u, box.top() + 30 * u);
    arrow.lineTo(box.left() + 31 * u, box.top() + 24 * u);
    arrow.lineTo(box.left() + 23 * u, box.top() + 24 * u);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kAmber);
    p.drawPath(arrow);
}

QImage ProgramIcon(int size)
{
    QImage image = NewImage(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(0, 0, size, size);
    QLinearGradient ground(box.topLeft(), box.bottomLeft());
    ground.setColorAt(0, kSlate.lighter(130));
    ground.setColorAt(1, kNight);
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), size * 0.2, size * 0.2);
    Mark(p, box.adjusted(size * 0.04, size * 0.04, -size * 0.04, -size * 0.04));
    return image;
}

QImage Skin()
{
    QImage image(640, 480, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Ground: a quiet vertical fall from slate to night.
    QLinearGradient ground(0, 0, 0, 480);
    ground.setColorAt(0, QColor(34, 48, 76));
    ground.setColorAt(0.38, kNight);
    ground.setColorAt(1, QColor(12, 17, 28));
    p.fillRect(image.rect(), ground);

    // Title band: the mark, the name and a glow of scrolling rows at the right.
    QRadialGradient glow(QPointF(520, 70), 220);
    glow.setColorAt(0, QColor(70, 130, 220, 70));
    glow.setColorAt(1, QColor(70, 130, 220, 0));
    p.fillRect(image.rect(), glow);
    ScriptLines(p, QRectF(400, 30, 200, 120), QColor(160, 200, 255, 60), 8);
    Mark(p, QRectF(28, 40, 96, 96));
    p.setPen(Qt::white);
    p.setFont(Font(54, QFont::Bold, 6));
    p.drawText(QRectF(140, 40, 380, 66), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("VELLOR"));
    p.setPen(QColor(150, 190, 240));
    p.setFont(Font(17, QFont::DemiBold, 7.5));
    p.drawText(QRectF(144, 106, 400, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("TELEPROMPTER"));
    p.setPen(QPen(QColor(255, 178, 36, 200), 2));
    p.drawLine(QPointF(144, 142), QPointF(300, 142));

    // Left column: one plain panel round the file bar and the editor.
    RoundedPanel(p, QRectF(4, 182, 311, 262), kSlate, kSlateEdge, 8);
    p.fillRect(kFilePanel, QColor(22, 30, 47));

    // Right column cards.
    RoundedPanel(p, QRectF(326, 186, 306, 60), kSlate, kSlateEdge);  // speed
    RoundedPanel(p, QRectF(340, 276, 286, 50), kSlate, kSlateEdge);  // image buttons
    RoundedPanel(p, QRectF(316, 332, 316, 102), kSlate, kSlateEdge); // display and control

    // The slider's plate: pale, so that its black tick marks and sunken
    // channel read; the white "Slow", "Fast" and "Scroll Speed" stay on slate.
    RoundedPanel(p, QRectF(kSlider.adjusted(-2, -2, 1, 2)), kPale, kPaleEdge, 4);

    // Pale tabs under the two blue labels at the card's left edge, stopping
    // short of the check boxes beside them.
    const int tabLeft = 316;
    RoundedPanel(p,
                 QRectF(QPoint(tabLeft, kDisplayFormatLabel.top() - 6),
                        QPoint(kDisplayFormatLabel.right() + 7, kDisplayFormatLabel.bottom() + 6)),
                 kPale, kPaleEdge, 4);
    RoundedPanel(p,
                 QRectF(QPoint(tabLeft, kSpeedControlLabel.top() - 6),
                        QPoint(kSpeedControlLabel.right() + 4, kSpeedControlLabel.bottom() + 6)),
                 kPale, kPaleEdge, 4);

    // SCROLL is the main action: an amber halo marks its place.
    const QRectF halo = QRectF(kScrollButton).adjusted(-5, -5, 5, 5);
    p.setPen(QPen(kAmber, 2));
    p.setBrush(QColor(255, 178, 36, 40));
    p.drawRoundedRect(halo, 6, 6);
    return image;
}

// A 75 x 25 image button face; only the top-left 74 x 24 is shown.
QImage ImageButton(const QColor& top, const QColor& bottom, const QColor& ink, const QString& text,
                   void (*glyph)(QPainter&, const QRectF&))
{
    QImage image = NewImage(75, 25);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF face(0, 0, 74, 24);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.fillRect(image.rect(), bottom);
    p.fillRect(face, fill);
    p.setPen(QPen(top.lighter(135), 1));
    p.drawLine(QPointF(1, 0.5), QPointF(72, 0.5));
    glyph(p, QRectF(4, 3, 18, 18));
    p.setPen(ink);
    p.setFont(Font(11, QFont::Bold, 0.5));
    p.drawText(QRectF(22, 0, 50, 24), Qt::AlignCenter, text);
    return image;
}

void SwatchGlyph(QPainter& p, const QRectF& r)
{
    const QColor colors[] = {QColor(230, 60, 60), QColor(60, 190, 90), QColor(70, 120, 240),
                             QColor(250, 210, 60)};
    const qreal half = r.width() / 2;
    for (int i = 0; i < 4; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(colors[i]);
        p.drawRect(QRectF(r.left() + (i % 2) * half, r.top() + (i / 2) * half, half - 1, half - 1));
    }
}

void FontGlyph(QPainter& p, const QRectF& r)
{
    p.setPen(QColor(255, 225, 140));
    p.setFont(QFont(QStringLiteral("DejaVu Serif"), -1, QFont::Bold));
    QFont font = p.font();
    font.setPixelSize(15);
    p.setFont(font);
    p.drawText(r, Qt::AlignCenter, QStringLiteral("Aa"));
}

void PlayGlyph(QPainter& p, const QRectF& r)
{
    QPainterPath play;
    play.moveTo(r.left() + 3, r.top() + 3);
    play.lineTo(r.right() - 4, r.center().y());
    play.lineTo(r.left() + 3, r.bottom() - 3);
    play.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(play);
}

// 16 x 16 check box pictures: a pale box on the dark cards; checked, it turns
// green with a black tick (black stays black in the grey copy).
QImage CheckIcon(bool checked)
{
    QImage image = NewImage(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(1.5, 1.5, 13, 13);
    p.setPen(QPen(checked ? QColor(30, 120, 60) : QColor(150, 165, 190), 1));
    p.setBrush(checked ? QColor(90, 210, 120) : QColor(236, 240, 247));
    p.drawRoundedRect(box, 2.5, 2.5);
    if (checked) {
        QPainterPath tick;
        tick.moveTo(4.5, 8.5);
        tick.lineTo(7, 11);
        tick.lineTo(11.8, 4.8);
        p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
    }
    return image;
}

QImage AboutPicture()
{
    QImage image(300, 164, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient ground(0, 0, 0, 164);
    ground.setColorAt(0, QColor(34, 48, 76));
    ground.setColorAt(1, kNight);
    p.fillRect(image.rect(), ground);
    ScriptLines(p, QRectF(150, 16, 130, 90), QColor(160, 200, 255, 70), 7);
    Mark(p, QRectF(18, 22, 88, 88));
    p.setPen(Qt::white);
    p.setFont(Font(34, QFont::Bold, 3));
    p.drawText(QRectF(112, 34, 188, 44), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("VELLOR"));
    p.setPen(QColor(150, 190, 240));
    p.setFont(Font(11, QFont::DemiBold, 3.2));
    p.drawText(QRectF(114, 78, 186, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("TELEPROMPTER"));
    p.setPen(QPen(kAmber, 2));
    p.drawLine(QPointF(18, 130), QPointF(282, 130));
    p.setPen(QColor(190, 205, 230));
    p.setFont(Font(11, QFont::Normal));
    p.drawText(QRectF(18, 136, 264, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Type it. Load it. Roll it."));
    return image;
}

bool Save(const QImage& image, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name);
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <res folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("icon")))
        return 1;
    bool ok = Save(Skin(), folder, QStringLiteral("130.png"));
    ok &= Save(CheckIcon(false), folder, QStringLiteral("132.png"));
    ok &= Save(CheckIcon(true), folder, QStringLiteral("133.png"));
    ok &= Save(ImageButton(kSteel, kSteelDeep, Qt::white, QStringLiteral("BkGnd"), SwatchGlyph),
               folder, QStringLiteral("143.png"));
    ok &= Save(ImageButton(kSteel, kSteelDeep, Qt::white, QStringLiteral("Font"), FontGlyph),
               folder, QStringLiteral("144.png"));
    ok &= Save(ImageButton(kAmber, kAmberDeep, Qt::black, QStringLiteral("SCROLL"), PlayGlyph),
               folder, QStringLiteral("145.png"));
    ok &= Save(ProgramIcon(32), folder, QStringLiteral("128.png"));
    for (int size : {48, 64, 128, 256})
        ok &= Save(ProgramIcon(size), folder, QStringLiteral("icon/vellor-%1.png").arg(size));
    ok &= Save(AboutPicture(), folder, QStringLiteral("134.png"));
    return ok ? 0 : 1;
}
