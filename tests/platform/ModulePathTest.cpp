#include "ModulePath.h"

#include <gtest/gtest.h>

TEST(ModulePath, ReplacesAThreeLetterExtension)
{
    EXPECT_EQ(SiblingPathWithExtension("D:\\Tools\\prompter.exe", "ini"), "D:\\Tools\\prompter.ini");
    EXPECT_EQ(SiblingPathWithExtension("C:\\P\\app.exe", "txt"), "C:\\P\\app.txt");
}

TEST(ModulePath, AppendsTheExtensionWhereTheNameHasNone)
{
    EXPECT_EQ(SiblingPathWithExtension("/usr/bin/vellor", "ini"), "/usr/bin/vellor.ini");
    // A dot in a folder name is no extension of the file.
    EXPECT_EQ(SiblingPathWithExtension("/opt/v1.2/vellor", "txt"), "/opt/v1.2/vellor.txt");
    // A longer extension is not replaced.
    EXPECT_EQ(SiblingPathWithExtension("/x/vellor.bin2", "ini"), "/x/vellor.bin2.ini");
}
