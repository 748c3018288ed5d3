#include "ModulePath.h"

#include <gtest/gtest.h>

TEST(ModulePath, ReplacesAThreeLetterExtensionAndAppendsOneOtherwise)
{
    const char* const cases[][3] = {{"D:\\Tools\\prompter.exe", "ini", "D:\\Tools\\prompter.ini"},
                                    {"C:\\P\\app.exe", "txt", "C:\\P\\app.txt"},
                                    {"/usr/bin/vellor", "ini", "/usr/bin/vellor.ini"},
                                    // A dot in a folder name is no extension of the file.
                                    {"/opt/v1.2/vellor", "txt", "/opt/v1.2/vellor.txt"},
                                    // A longer extension is not replaced.
                                    {"/x/vellor.bin2", "ini", "/x/vellor.bin2.ini"}};
    for (const auto& [path, extension, sibling] : cases)
        EXPECT_EQ(SiblingPathWithExtension(path, extension), sibling) << path;
}
