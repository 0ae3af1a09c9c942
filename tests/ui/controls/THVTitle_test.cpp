#include "ui/controls/LogoStore.h"
#include "ui/controls/THVTitle.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// The bounding box of pixels that are not the background colour within a column range.
QRect InkBox(const QImage &image, const QColor &background, int fromX, int toX)
{
    QRect box;
    for (int y = 0; y < image.height() - 3; ++y) {
        for (int x = fromX; x < toX; ++x) {
            if (image.pixelColor(x, y).rgb() != background.rgb())
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

THVTitle *FlatBanner(QWidget &host)
{
    auto *title = new THVTitle(&host);
    title->SetTitleStyle(tsFlat);
    title->SetAlign(alTop);
    title->SetGlyph(LogoSmallPicture());
    title->setGeometry(0, 0, 614, 50);
    return title;
}

TEST(THVTitle, FlatBannerShowsGlyphAtTheRightAndCaptionLeftOfIt)
{
    QWidget host;
    THVTitle *title = FlatBanner(host);
    title->SetCaption(QStringLiteral("QUORVEX program update in Progress..."));
    const QImage image = title->grab().toImage();
    const QColor white = title->palette().color(QPalette::Base);

    const QRect glyph = InkBox(image, white, 614 - 49 - 8, 614 - 8);
    EXPECT_FALSE(glyph.isEmpty());
    EXPECT_GE(glyph.left(), 614 - 49 - 8);

    const QRect text = InkBox(image, white, 0, 614 - 49 - 8 - 1);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.left(), 8);
    EXPECT_LT(text.right(), title->TextArea().right() + 1);
    // Centred as a block.
    EXPECT_NEAR(text.center().y(), 25, 3);
    // The edge lines above the bottom.
    EXPECT_EQ(image.pixelColor(300, 48).rgb(), title->palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(image.pixelColor(300, 49).rgb(), title->palette().color(QPalette::Light).rgb());
}

TEST(THVTitle, SubCaptionPutsCaptionAboveAndSubCaptionBelowTheMiddle)
{
    QWidget host;
    THVTitle *title = FlatBanner(host);
    title->SetCaption(QStringLiteral("Oben"));
    title->SetSubCaption(QStringLiteral("unten"));
    const QImage image = title->grab().toImage();
    const QColor white = title->palette().color(QPalette::Base);
    const QRect upper = InkBox(image, white, 0, 100);
    ASSERT_FALSE(upper.isEmpty());
    EXPECT_LT(upper.top(), 25);
    EXPECT_GT(upper.bottom(), 26); // both lines drawn
    // The sub-caption starts further right (2 x margin).
    const QRect lowerHalf = [&] {
        QRect box;
        for (int y = 26; y < 45; ++y)
            for (int x = 0; x < 200; ++x)
                if (image.pixelColor(x, y).rgb() != white.rgb())
                    box |= QRect(x, y, 1, 1);
        return box;
    }();
    ASSERT_FALSE(lowerHalf.isEmpty());
    EXPECT_GE(lowerHalf.left(), 16);
}

TEST(THVTitle, ShadeRunsFromStartToEndColour)
{
    QWidget host;
    auto *title = new THVTitle(&host);
    title->setGeometry(0, 0, 400, 50);
    title->SetFromColor(QColor(0, 0, 0));
    title->SetToColor(QColor(255, 255, 255));
    QImage image = title->grab().toImage();
    EXPECT_LT(qGray(image.pixel(1, 2)), 8);
    EXPECT_GT(qGray(image.pixel(398, 2)), 245);
    EXPECT_NEAR(qGray(image.pixel(200, 2)), 128, 8);

    title->SetDirection(false);
    image = title->grab().toImage();
    EXPECT_LT(qGray(image.pixel(390, 0)), 20);
    EXPECT_GT(qGray(image.pixel(390, 49)), 235);
}

TEST(THVTitle, TextAreaLeavesRoomForGlyphAndMargins)
{
    QWidget host;
    THVTitle *title = FlatBanner(host);
    EXPECT_EQ(title->TextArea().left(), 8);
    EXPECT_EQ(title->TextArea().right(), 614 - 8 - 49 - 8 - 1);
    title->SetTitleStyle(tsShade);
    title->SetBorderWidth(4);
    EXPECT_EQ(title->TextArea().left(), 12);
    EXPECT_EQ(title->TextArea().top(), 4);
}

TEST(THVTitle, EveryStylePaintsHostileCaptions)
{
    QString hostile = QString(10000, QLatin1Char('W'));
    hostile += QStringLiteral("<b>&amp;\r\n\t\a") + QChar(0xD800) + QChar(0);
    for (TTitleStyle style : {tsShade, tsCool, tsFlat}) {
        QWidget host;
        THVTitle *title = FlatBanner(host);
        title->SetTitleStyle(style);
        title->SetCaption(hostile);
        EXPECT_FALSE(title->grab().isNull());
        title->SetSubCaption(hostile);
        EXPECT_FALSE(title->grab().isNull());
        EXPECT_EQ(title->Caption(), hostile);
    }
}

TEST(LogoStore, PicturesHaveTheirSizesAndTransparency)
{
    const QPixmap small = LogoSmallPicture();
    EXPECT_EQ(small.size(), QSize(49, 40));
    EXPECT_TRUE(small.hasAlphaChannel());
    EXPECT_EQ(small.toImage().pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(LogoLinePicture().size(), QSize(750, 50));
}

} // namespace
