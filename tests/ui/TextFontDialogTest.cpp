#include "TextFontDialog.h"
#include "FakeDialogService.h"
#include "FontChooser.h"
#include "FontSizeText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

const FontChoice kInitial{"DejaVu Sans", 125, 0, MakeColorRef(0, 0, 128)};

// Replaces what the size field holds with `text`, typed key by key.
void TypeSize(TextFontDialog& dialog, const QString& text)
{
    QLineEdit* field = dialog.Chooser().SizeBox()->lineEdit();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

// Presses OK as the operator would, and answers the dialog's result.
int ClickOk(TextFontDialog& dialog)
{
    dialog.show();
    QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
    dialog.hide();
    return dialog.result();
}

} // namespace

TEST(FontSizeText, SizesAreTenthsOfAPoint)
{
    QFont font;
    font.setPointSizeF(10.5);
    EXPECT_EQ(PointSizeInTenths(font), 105);
    font.setPointSizeF(24);
    EXPECT_EQ(PointSizeInTenths(font), 240);
    EXPECT_EQ(FontSizeText(105), QStringLiteral("10.5"));
    EXPECT_EQ(FontSizeText(120), QStringLiteral("12"));
}

TEST(FontSizeText, TypedSizesWithinOneTo1638PointsWithOneDecimalAreTaken)
{
    const struct {
        const char* text;
        std::optional<int> tenths;
    } cases[] = {
        {"10.5", 105},
        {"10,5", 105},
        {" 12 ", 120},
        {"12.", 120},
        {"1", 10},
        {"1638", 16380},
        {"0.9", std::nullopt},
        {"1638.1", std::nullopt},
        {"9999", std::nullopt},
        {"10.55", std::nullopt},
        {"", std::nullopt},
        {"-3", std::nullopt},
        {"abc", std::nullopt},
        {"1e2", std::nullopt},
        {".5", std::nullopt},
        {"12 pt", std::nullopt},
    };
    for (const auto& entry : cases)
        EXPECT_EQ(ParseFontSizeTenths(QString::fromLatin1(entry.text)), entry.tenths) << entry.text;
}

TEST(TextFontDialog, StartsAtTheWholePointSizeNormalWeightShortFaceAndColourListedOrNot)
{
    const TextFontDialog dialog(kInitial);
    EXPECT_EQ(dialog.Chooser().SizeBox()->currentText(), QStringLiteral("12"));
    EXPECT_EQ(dialog.Choice(), (FontChoice{"DejaVu Sans", 120, 400, kInitial.color}));
    EXPECT_EQ(dialog.Chooser().CurrentFont().pointSizeF(), 12.0);

    // A face the system lacks is cut to 31 characters and kept; a colour that
    // is not listed is added as Custom; a size past the range opens at its end.
    const QString longFace = QStringLiteral("Vellor Test Face With A Very Long Name");
    const FontChoice odd{longFace, 99999, 0, MakeColorRef(1, 2, 3)};
    const TextFontDialog oddDialog(odd);
    EXPECT_EQ(oddDialog.Choice(), (FontChoice{longFace.left(31), 16380, 400, odd.color}));
    EXPECT_EQ(oddDialog.findChildren<QComboBox*>().last()->currentText(), QStringLiteral("Custom"));
}

TEST(TextFontDialog, TenAndAHalfPointsTypedGive105OnOk)
{
    FakeDialogService dialogs;
    dialogs.dialogHandlers.push_back([](QDialog& dialog) {
        auto& fontDialog = dynamic_cast<TextFontDialog&>(dialog);
        TypeSize(fontDialog, QStringLiteral("10.5"));
        return ClickOk(fontDialog);
    });
    const std::optional<FontChoice> choice = ChooseTextFont(dialogs, nullptr, kInitial);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->sizeTenths, 105);
}

TEST(TextFontDialog, ABoldChoiceGivesWeight700AndCancelGivesNothing)
{
    FakeDialogService dialogs;
    dialogs.dialogHandlers.push_back([](QDialog& dialog) {
        auto& fontDialog = dynamic_cast<TextFontDialog&>(dialog);
        const auto found = fontDialog.Chooser().FaceList()->findItems(
            QStringLiteral("DejaVu Serif"), Qt::MatchExactly);
        fontDialog.Chooser().FaceList()->setCurrentItem(found.value(0));
        QComboBox* weights = fontDialog.Chooser().WeightBox();
        weights->setCurrentIndex(weights->findText(QStringLiteral("Bold")));
        TypeSize(fontDialog, QStringLiteral("24"));
        fontDialog.SelectColor(MakeColorRef(255, 0, 0));
        return ClickOk(fontDialog);
    });
    dialogs.dialogHandlers.push_back([](QDialog& dialog) {
        auto& fontDialog = dynamic_cast<TextFontDialog&>(dialog);
        fontDialog.Chooser().SetFont(QFont(QStringLiteral("DejaVu Serif"), 30, QFont::Bold));
        fontDialog.reject();
        return fontDialog.result();
    });
    EXPECT_EQ(ChooseTextFont(dialogs, nullptr, kInitial),
              (FontChoice{"DejaVu Serif", 240, 700, MakeColorRef(255, 0, 0)}));
    EXPECT_EQ(ChooseTextFont(dialogs, nullptr, kInitial), std::nullopt);
    EXPECT_EQ(dialogs.dialogsRun, 2);
}

TEST(TextFontDialog, OkIsRefusedWhileTheSizeIsOutOfRangeOrNoNumber)
{
    TextFontDialog dialog(kInitial);
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    for (const char* typed : {"0.5", "1639", "ten", ""}) {
        TypeSize(dialog, QString::fromLatin1(typed));
        EXPECT_FALSE(ok->isEnabled()) << typed;
        EXPECT_EQ(ClickOk(dialog), QDialog::Rejected) << typed;
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << typed;
    }
    TypeSize(dialog, QStringLiteral("1638"));
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(ClickOk(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.Choice().sizeTenths, 16380);
}

TEST(FontChooser, ListsEachFamilyOnceWithoutFoundryAndTypingNarrowsTheList)
{
    FontChooser chooser;
    QListWidget* list = chooser.FaceList();
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names.append(list->item(row)->text());
    EXPECT_FALSE(names.isEmpty());
    EXPECT_EQ(names.removeDuplicates(), 0);
    EXPECT_TRUE(names.filter(QStringLiteral(" [")).isEmpty()) << names.join(u',').toStdString();

    chooser.SetFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    QTest::keyClicks(chooser.FaceFilter(), QStringLiteral("liberation se"));
    EXPECT_EQ(chooser.Face(), QStringLiteral("Liberation Serif"));
    for (int row = 0; row < list->count(); ++row)
        EXPECT_EQ(list->item(row)->isHidden(),
                  !list->item(row)->text().contains(QStringLiteral("liberation se"),
                                                    Qt::CaseInsensitive));
    // Text that matches nothing leaves the face as it was.
    QTest::keyClicks(chooser.FaceFilter(), QStringLiteral("qqq"));
    EXPECT_EQ(chooser.Face(), QStringLiteral("Liberation Serif"));
}

TEST(FontChooser, AFaceTheSystemLacksIsMarkedListedOnceAndKeptUnderItsName)
{
    FontChooser chooser;
    const int installed = chooser.FaceList()->count();
    for (int pass = 0; pass < 2; ++pass)
        chooser.SetFont(QFont(QStringLiteral("Arial Black"), 24));
    EXPECT_EQ(chooser.FaceList()->count(), installed + 1);
    EXPECT_EQ(chooser.FaceList()->currentItem()->text(),
              QStringLiteral("Arial Black (not installed)"));
    EXPECT_EQ(chooser.Face(), QStringLiteral("Arial Black"));
    EXPECT_EQ(chooser.CurrentFont().family(), QStringLiteral("Arial Black"));
}
