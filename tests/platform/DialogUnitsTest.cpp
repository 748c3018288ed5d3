#include "DialogUnits.h"

#include <gtest/gtest.h>

TEST(DialogUnits, ConvertWithTheDialogFontsBaseUnitsRoundingToNearest)
{
    // The control window's template: 422 x 279 units.
    EXPECT_EQ(DluToPixelsX(422), 633);
    EXPECT_EQ(DluToPixelsY(279), 453);
    // Halves round away from zero, as MulDiv does.
    EXPECT_EQ(DluToPixelsX(1), 2); // 1.5
    EXPECT_EQ(DluToPixelsY(4), 7); // 6.5
    EXPECT_EQ(DluToPixelsX(-1), -2);
    EXPECT_EQ(DluRect(7, 145, 200, 123), QRect(11, 236, 300, 200));
}
