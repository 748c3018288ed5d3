#include "AboutDlg.h"
#include "FakeDialogService.h"
#include "HyperLink.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace
{

QString TextOf(const QDialog& dialog, const char* name)
{
    const auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

// Shows the box as the caller leaves it and hands back what it displays.
struct Shown {
    QString releaseDate;
    QString version;
};

Shown ShowWith(const QString& version, const QString& releaseDate)
{
    FakeDialogService dialogs;
    CAboutDlg about(dialogs);
    about.m_strVersion = version;
    about.m_strReleaseDate = releaseDate;
    about.show();
    return {TextOf(about, "releaseDate"), TextOf(about, "version")};
}

} // namespace

TEST(AboutBox, TheHelpMenuShowsThisReleasesVersionAndDateBesideTheFixedTexts)
{
    FakeDialogService dialogs;
    Shown shown;
    QString caption;
    QStringList texts;
    dialogs.dialogHandlers.push_back([&](QDialog& dialog) {
        dialog.show();
        caption = dialog.windowTitle();
        shown = {TextOf(dialog, "releaseDate"), TextOf(dialog, "version")};
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            texts << label->text();
        return int(QDialog::Accepted);
    });
    ShowAboutBox(dialogs, nullptr);
    EXPECT_EQ(dialogs.dialogsRun, 1);
    EXPECT_EQ(caption, QStringLiteral("About Vellor Teleprompter"));
    EXPECT_EQ(shown.releaseDate, QStringLiteral("Nov 18 2013"));
    EXPECT_EQ(shown.version, QStringLiteral("20.0.0.0"));
    for (const char* fixed :
         {"Vellor Teleprompter Software Version 1.0", "Release Date: ", "Version: "})
        EXPECT_TRUE(texts.contains(QString::fromLatin1(fixed))) << fixed;
}

TEST(AboutBox, AnEmptyVersionOrReleaseDateShowsNotSpecifiedForThatValueOnly)
{
    const Shown noVersion = ShowWith(QString(), QStringLiteral("Nov 18 2013"));
    EXPECT_EQ(noVersion.version, QStringLiteral("Not Specified"));
    EXPECT_EQ(noVersion.releaseDate, QStringLiteral("Nov 18 2013"));
    const Shown noDate = ShowWith(QStringLiteral("20.0.0.0"), QString());
    EXPECT_EQ(noDate.releaseDate, QStringLiteral("Not Specified"));
    EXPECT_EQ(noDate.version, QStringLiteral("20.0.0.0"));
}

TEST(AboutBox, TheProductLineIsNeverCut)
{
    FakeDialogService dialogs;
    CAboutDlg about(dialogs);
    about.show();
    const auto* line = about.findChild<QLabel*>(QStringLiteral("productLine"));
    ASSERT_NE(line, nullptr);
    EXPECT_GE(line->width(), line->fontMetrics().horizontalAdvance(line->text()));
    EXPECT_EQ(line->pos(), QPoint(50, 171));
    EXPECT_LE(line->geometry().right(), about.width());
}

TEST(AboutBox, TheLinkOpensTheAddressItShows)
{
    FakeDialogService dialogs;
    CAboutDlg about(dialogs);
    about.show();
    const auto* link = about.findChild<CHyperLink*>(QStringLiteral("link"));
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->text().startsWith(QStringLiteral("http")));
    EXPECT_EQ(link->Target(), link->text());
    // Fitted to its text from its left edge at 27 dialog units.
    EXPECT_EQ(link->x(), 41);
}
