#include "TextFontDialog.h"
#include "FakeDialogService.h"

#include <QFontDialog>
#include <gtest/gtest.h>

namespace
{

const FontChoice kInitial{"DejaVu Sans", 125, 0, MakeColorRef(0, 0, 128)};

// Queues a handler that picks `font` and `color` and answers `result`.
void AnswerFontDialog(FakeDialogService& dialogs, const QFont& font, ColorRef color, int result)
{
    dialogs.dialogHandlers.push_back([=](QDialog& dialog) {
        auto& fontDialog = dynamic_cast<TextFontDialog&>(dialog);
        fontDialog.FontChooser()->setCurrentFont(font);
        fontDialog.SelectColor(color);
        return result;
    });
}

} // namespace

TEST(TextFontDialog, SizesAreTenthsOfAPoint)
{
    QFont font;
    font.setPointSizeF(10.5);
    EXPECT_EQ(PointSizeInTenths(font), 105);
    font.setPointSizeF(24);
    EXPECT_EQ(PointSizeInTenths(font), 240);
}

TEST(TextFontDialog, StartsAtTheWholePointSizeFaceAndColourListedOrNot)
{
    const TextFontDialog dialog(kInitial);
    const QFont shown = dialog.FontChooser()->currentFont();
    EXPECT_EQ(shown.pointSizeF(), 12.0);
    EXPECT_EQ(shown.family(), "DejaVu Sans");
    EXPECT_EQ(dialog.Choice().color, kInitial.color);
    EXPECT_EQ(dialog.Choice().sizeTenths, 120);
    // A colour that is not listed is kept too.
    const FontChoice odd{"DejaVu Sans", 240, 0, MakeColorRef(1, 2, 3)};
    EXPECT_EQ(TextFontDialog(odd).Choice().color, MakeColorRef(1, 2, 3));
}

TEST(TextFontDialog, OkGivesFaceSizeWeightAndColourAndCancelGivesNothing)
{
    FakeDialogService dialogs;
    AnswerFontDialog(dialogs, QFont("DejaVu Serif", 24, QFont::Bold), MakeColorRef(255, 0, 0),
                     QDialog::Accepted);
    AnswerFontDialog(dialogs, QFont("DejaVu Serif", 30), MakeColorRef(255, 0, 0),
                     QDialog::Rejected);
    EXPECT_EQ(ChooseTextFont(dialogs, nullptr, kInitial),
              (FontChoice{"DejaVu Serif", 240, 700, MakeColorRef(255, 0, 0)}));
    EXPECT_EQ(ChooseTextFont(dialogs, nullptr, kInitial), std::nullopt);
    EXPECT_EQ(dialogs.dialogsRun, 2);
}
