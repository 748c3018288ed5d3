#include "FakeDialogService.h"
#include "QtDialogService.h"
#include "TempDir.h"

#include <QFileInfo>
#include <QPrinter>
#include <gtest/gtest.h>

using DialogServicePrinting = TempDirTest;

TEST_F(DialogServicePrinting, PrintsPlainTextIntoAPdf)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(PathOf("out.pdf"));
    ASSERT_TRUE(QtDialogService::PrintPlainText(printer, "first line\nsecond line"));
    EXPECT_TRUE(ReadBytes("out.pdf").startsWith("%PDF"));
}

TEST_F(DialogServicePrinting, FakePrintsToTheFileTheTestNamesAndCancelsWithoutOne)
{
    FakeDialogService dialogs;
    EXPECT_FALSE(dialogs.PrintText(nullptr, "x", "text"));
    dialogs.printPdfPath = PathOf("job.pdf");
    EXPECT_TRUE(dialogs.PrintText(nullptr, "news.txt", "line"));
    ASSERT_FALSE(dialogs.printRequests.empty());
    EXPECT_EQ(dialogs.printRequests.back().documentName, "news.txt");
    EXPECT_EQ(dialogs.printRequests.back().text, "line");
    EXPECT_GT(QFileInfo(PathOf("job.pdf")).size(), 0);
}

TEST(FakeDialogService, FileAndColourDialogsAnswerInTurnThenCancel)
{
    FakeDialogService dialogs;
    dialogs.openPaths = {QString("/a.txt"), std::nullopt};
    dialogs.colorAnswers = {MakeColorRef(1, 2, 3)};
    EXPECT_EQ(dialogs.GetOpenFilePath(nullptr), QString("/a.txt"));
    EXPECT_EQ(dialogs.GetOpenFilePath(nullptr), std::nullopt);
    EXPECT_EQ(dialogs.GetOpenFilePath(nullptr), std::nullopt);
    EXPECT_EQ(dialogs.GetSaveFilePath(nullptr), std::nullopt);
    EXPECT_EQ(dialogs.ChooseColor(nullptr, 0x00FFFFFF), MakeColorRef(1, 2, 3));
    EXPECT_EQ(dialogs.ChooseColor(nullptr, 0), std::nullopt);
    EXPECT_EQ(dialogs.openDialogsShown, 3);
    EXPECT_EQ(dialogs.saveDialogsShown, 1);
    EXPECT_EQ(dialogs.colorDialogStarts, (std::vector<ColorRef>{0x00FFFFFF, 0}));
}
