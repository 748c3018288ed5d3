#include "FaceStandIn.h"

#include <QFontInfo>
#include <gtest/gtest.h>

TEST(FaceStandIn, AMissingHeavyFaceIsShownInAHeavyInstalledOneUnderItsOwnName)
{
    ASSERT_FALSE(IsFaceInstalled(QStringLiteral("Arial Black")));
    const QFont shown = WithStandInFaces(QFont(QStringLiteral("Arial Black")));
    EXPECT_EQ(shown.family(), QStringLiteral("Arial Black"));
    EXPECT_EQ(shown.weight(), QFont::Black);
    const QFontInfo made(shown);
    EXPECT_GE(made.weight(), QFont::Bold);
    EXPECT_TRUE(IsFaceInstalled(made.family())) << made.family().toStdString();

    // Installed faces and faces this program knows nothing of are left alone.
    for (const QString& face : {QStringLiteral("DejaVu Sans"), QStringLiteral("No Such Face")}) {
        QFont font(face);
        font.setWeight(QFont::Light);
        EXPECT_EQ(WithStandInFaces(font), font) << face.toStdString();
    }
}
