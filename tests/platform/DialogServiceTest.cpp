#include "QtDialogService.h"
#include "TempDir.h"

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
