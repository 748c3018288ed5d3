#include "TransparentStatic.h"

#include <QFontMetrics>
#include <QPainter>
#include <gtest/gtest.h>

namespace
{

const QColor kParentGround(30, 40, 60);

QFont TestFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    font.setBold(true);
    return font;
}

// A label of `width` x 20 at (5, 5) on a plain parent.
struct LabelOnParent {
    explicit LabelOnParent(int width)
    {
        parent.setAutoFillBackground(true);
        QPalette ground = parent.palette();
        ground.setColor(QPalette::Window, kParentGround);
        parent.setPalette(ground);
        parent.setFont(TestFont());
        parent.resize(width + 10, 30);
        label = new CTransparentStatic(&parent);
        label->setGeometry(5, 5, width, 20);
    }

    QImage Shot() { return parent.grab().toImage().copy(label->geometry()); }

    // What the label should show: each line of `text` drawn from the left, one row below
    // the other, on the parent's colour.
    QImage Expected(const QString& text, const QColor& ink) const
    {
        QImage image(label->size(), QImage::Format_RGB32);
        image.fill(kParentGround);
        QPainter painter(&image);
        painter.setFont(TestFont());
        painter.setPen(ink);
        const QFontMetrics metrics(TestFont());
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        for (int row = 0; row < lines.size(); ++row)
            painter.drawText(0, metrics.ascent() + row * metrics.lineSpacing(), lines[row]);
        return image;
    }

    QWidget parent;
    CTransparentStatic* label;
};

} // namespace

TEST(PathEllipsis, KeepsTheBeginningAndTheFileNameOrElseTheEndOfTheFileName)
{
    const QFontMetrics metrics(TestFont());
    const auto wide = [&metrics](const char* text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text));
    };
    struct Case {
        QString line;
        int width;
        QString beginning, end;
    };
    const Case cases[] = {{"C:\\Scripts\\Evening News\\Monday\\opening-remarks.txt",
                           wide("C:\\Scr...\\opening-remarks.txt") + 2, "C:\\Scr",
                           "...\\opening-remarks.txt"},
                          // Forward slashes separate the file name too.
                          {"/home/anna/scripts/evening/monday/opening.txt",
                           wide("/home/an.../opening.txt"), "/home", ".../opening.txt"},
                          // Without separators the beginning stays.
                          {"File: a rather long script name.txt", 120, "File: ", "..."},
                          // A file name wider than the label keeps its end.
                          {"C:\\a-very-long-file-name-for-a-script.txt", 90, "...", ".txt"},
                          // What fits is left alone.
                          {"C:\\news\\a.txt", 1000, "C:\\news\\a.txt", "C:\\news\\a.txt"},
                          {"", 0, "", ""}};
    for (const Case& c : cases) {
        const QString shown = CTransparentStatic::PathEllipsis(c.line, metrics, c.width);
        SCOPED_TRACE(shown.toStdString());
        EXPECT_TRUE(shown.startsWith(c.beginning));
        EXPECT_TRUE(shown.endsWith(c.end));
        EXPECT_LE(metrics.horizontalAdvance(shown), c.width);
        EXPECT_LE(shown.size(), c.line.size());
    }
}

TEST(TransparentLabel, ALongPathIsDrawnShortenedOnTheParentsBackgroundInTheTextColour)
{
    LabelOnParent on(160);
    const QString path = QStringLiteral("C:\\Scripts\\Evening News\\Monday\\opening.txt");
    on.label->setText(path);
    on.label->SetTextColor(0x00FFFFFF);
    const QString shown = CTransparentStatic::PathEllipsis(path, QFontMetrics(TestFont()), 160);
    ASSERT_NE(shown, path);
    EXPECT_EQ(on.Shot(), on.Expected(shown, Qt::white));
    EXPECT_EQ(on.label->text(), path);  // the text itself is not changed
    on.label->SetTextColor(0x00FF0000); // repaints in the new colour
    EXPECT_EQ(on.Shot(), on.Expected(shown, QColor(0, 0, 255)));
}

TEST(TransparentLabel, AnAmpersandInAFileNameIsShownAsItself)
{
    LabelOnParent on(160);
    on.label->setText(QStringLiteral("File: R&D.txt"));
    on.label->SetTextColor(0x00FFFFFF);
    EXPECT_EQ(on.Shot(), on.Expected(QStringLiteral("File: R&D.txt"), Qt::white));
}

TEST(TransparentLabel, EachLineOfTheTextStandsOnItsOwnRow)
{
    LabelOnParent on(160);
    on.parent.resize(170, 50);
    on.label->resize(160, 40);
    on.label->setText(QStringLiteral("one\r\ntwo"));
    on.label->SetTextColor(0x00FFFFFF);
    EXPECT_EQ(on.Shot(), on.Expected(QStringLiteral("one\r\ntwo"), Qt::white));
}
