#include "ResourceIds.h"

#include <QImage>
#include <gtest/gtest.h>

namespace
{

struct Picture {
    int id;
    QSize size;
};

} // namespace

TEST(Artwork, EveryPictureIsCompiledInAtItsSize)
{
    const Picture pictures[] = {
        {Ids::kProgramIcon, {32, 32}},
        {Ids::kSkinBitmap, {640, 480}},
        {Ids::kCheckBoxUncheckedIcon, {16, 16}},
        {Ids::kCheckBoxCheckedIcon, {16, 16}},
        {Ids::kAboutPicture, {300, 164}},
        {Ids::kBackgroundColorIcon, {75, 25}},
        {Ids::kFontIcon, {75, 25}},
        {Ids::kScrollIcon, {75, 25}},
    };
    for (const Picture& picture : pictures) {
        const QImage image(ImageResourcePath(picture.id));
        EXPECT_EQ(image.size(), picture.size) << picture.id;
    }
    for (int size : {48, 64, 128, 256}) {
        const QImage icon(QStringLiteral(":/res/icon/vellor-%1.png").arg(size));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    }
}

TEST(Artwork, TheSkinIsOpaqueAndTheCheckBoxesHaveTransparentCorners)
{
    EXPECT_FALSE(QImage(ImageResourcePath(Ids::kSkinBitmap)).hasAlphaChannel());
    for (int id : {Ids::kCheckBoxUncheckedIcon, Ids::kCheckBoxCheckedIcon})
        EXPECT_EQ(qAlpha(QImage(ImageResourcePath(id)).pixel(0, 0)), 0) << id;
}
