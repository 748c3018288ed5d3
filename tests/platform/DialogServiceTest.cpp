#include "QtDialogService.h"
#include "TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <tuple>

using DialogServicePrinting = TempDirTest;

TEST_F(DialogServicePrinting, PrintsPlainTextIntoAPdf)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(PathOf("out.pdf"));
    ASSERT_TRUE(QtDialogService::PrintPlainText(printer, "first line\nsecond line"));
    EXPECT_TRUE(ReadBytes("out.pdf").startsWith("%PDF"));
}

namespace
{

// The names the file dialog lists in `folder` once it has read it.
QStringList Listed(QFileDialog& dialog, const QString& folder, const QString& awaited)
{
    auto* model = dialog.findChild<QFileSystemModel*>();
    const QModelIndex parent = model->index(folder);
    QStringList names;
    // A name still missing when the wait is over is missing from the answer.
    std::ignore = QTest::qWaitFor([&] {
        names.clear();
        for (int row = 0; row < model->rowCount(parent); ++row)
            names.append(model->index(row, 0, parent).data().toString());
        return names.contains(awaited);
    });
    return names;
}

} // namespace

using ScriptFileDialog = TempDirTest;

TEST_F(ScriptFileDialog, AllFilesListsNamesWithoutADotUnderItsFamiliarLabel)
{
    WriteBytes(QStringLiteral("news"), "x");
    WriteBytes(QStringLiteral("notes.txt"), "x");
    QStringList labels, textFiles, allFiles;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        const auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; i < types->count(); ++i)
            labels.append(types->itemText(i));
        dialog->setDirectory(m_dir.path());
        textFiles = Listed(*dialog, m_dir.path(), QStringLiteral("notes.txt"));
        dialog->selectNameFilter(dialog->nameFilters().constLast());
        allFiles = Listed(*dialog, m_dir.path(), QStringLiteral("news"));
        dialog->reject();
    });
    QtDialogService dialogs;
    EXPECT_EQ(dialogs.GetOpenFilePath(nullptr), std::nullopt);
    EXPECT_EQ(labels, QStringList({QStringLiteral("Text Files (*.txt)"),
                                   QStringLiteral("All Files (*.*)")}));
    EXPECT_EQ(textFiles, QStringList({QStringLiteral("notes.txt")}));
    EXPECT_TRUE(allFiles.contains(QStringLiteral("news")));
    EXPECT_TRUE(allFiles.contains(QStringLiteral("notes.txt")));
}
