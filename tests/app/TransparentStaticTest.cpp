#include "TransparentStatic.h"

#include <QFontMetrics>
#include <QPainter>
#include <gtest/gtest.h>

namespace
{

const QColor kParent(30, 40, 60);

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
        ground.setColor(QPalette::Window, kParent);
        parent.setPalette(ground);
        parent.setFont(TestFont());
        parent.resize(width + 10, 30);
        label = new CTransparentStatic(&parent);
        label->setGeometry(5, 5, width, 20);
    }

    QImage Shot() { return parent.grab().toImage().copy(label->geometry()); }

    // What the label should show: `text` drawn top-left on the parent's colour.
    QImage Expected(const QString& text, const QColor& ink) const
    {
        QImage image(label->size(), QImage::Format_RGB32);
        image.fill(kParent);
        QPainter painter(&image);
        painter.setFont(TestFont());
        painter.setPen(ink);
        painter.drawText(0, QFontMetrics(TestFont()).ascent(), text);
        return image;
    }

    QWidget parent;
    CTransparentStatic* label;
};

bool HasColour(const QImage& image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                return true;
    return false;
}

} // namespace

TEST(PathEllipsis, ALongPathKeepsItsBeginningAndItsFileName)
{
    const QFontMetrics metrics(TestFont());
    const QString name = QStringLiteral("\\opening-remarks.txt");
    const QString path = QStringLiteral("C:\\Scripts\\Evening News\\Monday") + name;
    const int width = metrics.horizontalAdvance(QStringLiteral("C:\\Scr...") + name) + 2;
    const QString shown = CTransparentStatic::PathEllipsis(path, metrics, width);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("C:\\Scr"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("...") + name)) << shown.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(shown), width);
    EXPECT_LT(shown.size(), path.size());
}

TEST(PathEllipsis, ForwardSlashesSeparateTheFileNameToo)
{
    const QFontMetrics metrics(TestFont());
    const QString path = QStringLiteral("/home/anna/scripts/evening/monday/opening.txt");
    const int width = metrics.horizontalAdvance(QStringLiteral("/home/an.../opening.txt"));
    const QString shown = CTransparentStatic::PathEllipsis(path, metrics, width);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/home"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral(".../opening.txt"))) << shown.toStdString();
}

TEST(PathEllipsis, ATextWithoutSeparatorsKeepsItsBeginning)
{
    const QFontMetrics metrics(TestFont());
    const QString line = QStringLiteral("File: a rather long script name.txt");
    const QString shown = CTransparentStatic::PathEllipsis(line, metrics, 120);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("File: "))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("..."))) << shown.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(shown), 120);
}

TEST(PathEllipsis, AFileNameWiderThanTheLabelKeepsItsEnd)
{
    const QFontMetrics metrics(TestFont());
    const QString shown = CTransparentStatic::PathEllipsis(
        QStringLiteral("C:\\a-very-long-file-name-for-a-script.txt"), metrics, 90);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("..."))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral(".txt"))) << shown.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(shown), 90);
    EXPECT_EQ(CTransparentStatic::PathEllipsis(QString(), metrics, 0), QString());
}

TEST(PathEllipsis, ALineThatFitsIsLeftAlone)
{
    const QString line = QStringLiteral("C:\\news\\a.txt");
    EXPECT_EQ(CTransparentStatic::PathEllipsis(line, QFontMetrics(TestFont()), 1000), line);
}

TEST(TransparentLabel, ALongPathIsDrawnShortenedOnTheParentsBackground)
{
    LabelOnParent on(160);
    const QString path = QStringLiteral("C:\\Scripts\\Evening News\\Monday\\opening.txt");
    on.label->setText(path);
    on.label->SetTextColor(0x00FFFFFF);
    const QFontMetrics metrics(TestFont());
    const QString shown = CTransparentStatic::PathEllipsis(path, metrics, 160);
    ASSERT_NE(shown, path);
    EXPECT_EQ(on.Shot(), on.Expected(shown, Qt::white));
    EXPECT_EQ(on.label->text(), path); // the text itself is not changed
}

TEST(TransparentLabel, SetTextColorRepaintsInTheNewColour)
{
    LabelOnParent on(160);
    on.label->setText(QStringLiteral("Display Format"));
    on.label->SetTextColor(0x000000FF);
    EXPECT_TRUE(HasColour(on.Shot(), qRgb(255, 0, 0)));
    on.label->SetTextColor(0x00FF0000);
    const QImage blue = on.Shot();
    EXPECT_TRUE(HasColour(blue, qRgb(0, 0, 255)));
    EXPECT_FALSE(HasColour(blue, qRgb(255, 0, 0)));
    EXPECT_EQ(blue, on.Expected(QStringLiteral("Display Format"), QColor(0, 0, 255)));
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
    on.label->resize(160, 40);
    on.label->setText(QStringLiteral("one\r\ntwo"));
    on.label->SetTextColor(0x00FFFFFF);
    const QImage shot = on.Shot();
    const int second = QFontMetrics(TestFont()).lineSpacing();
    QImage lower = shot.copy(0, second, 160, 40 - second);
    QImage top = shot.copy(0, 0, 160, second);
    EXPECT_TRUE(HasColour(top, qRgb(255, 255, 255)));
    EXPECT_TRUE(HasColour(lower, qRgb(255, 255, 255)));
}
