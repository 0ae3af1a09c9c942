#include "ui/controls/THVProgressBar.h"

#include <QImage>
#include <climits>
#include <gtest/gtest.h>

namespace {

TEST(THVProgressBar, CaptionFollowsPositionAndRange)
{
    struct Case {
        const char *name;
        int min, max, position;
        QString caption;
    };
    const Case cases[] = {
        {"start", 0, 100, 0, QStringLiteral("0 %")},
        {"middle", 0, 100, 57, QStringLiteral("57 %")},
        {"rounded to nearest", 0, 3, 2, QStringLiteral("67 %")},
        {"offset range", 10, 20, 15, QStringLiteral("50 %")},
        {"empty range", 5, 5, 5, QStringLiteral("0 %")},
        {"beyond max clamps", 0, 100, 150, QStringLiteral("100 %")},
        {"below min clamps", 0, 100, -20, QStringLiteral("0 %")},
        {"huge range", INT_MIN, INT_MAX, INT_MAX, QStringLiteral("100 %")},
    };
    for (const Case &c : cases) {
        THVProgressBar bar;
        bar.SetMin(c.min);
        bar.SetMax(c.max);
        bar.SetPosition(c.position);
        EXPECT_EQ(bar.Caption(), c.caption) << c.name;
        EXPECT_GE(bar.Position(), bar.Min()) << c.name;
        EXPECT_LE(bar.Position(), qMax(bar.Min(), bar.Max())) << c.name;
    }
}

TEST(THVProgressBar, StepItAddsStepAndStopsAtMax)
{
    THVProgressBar bar;
    bar.SetStep(1);
    bar.SetMax(3);
    for (int i = 0; i < 5; ++i)
        bar.StepIt();
    EXPECT_EQ(bar.Position(), 3);

    bar.SetMax(INT_MAX);
    bar.SetPosition(INT_MAX - 1);
    bar.SetStep(INT_MAX);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), INT_MAX);
}

TEST(THVProgressBar, WithoutShowCaptionTheCaptionIsEmpty)
{
    THVProgressBar bar;
    bar.SetPosition(40);
    bar.SetShowCaption(false);
    EXPECT_TRUE(bar.Caption().isEmpty());
    bar.SetShowCaption(true);
    EXPECT_EQ(bar.Caption(), QStringLiteral("40 %"));
}

TEST(THVProgressBar, PlainCaptionColourSwitchesAtFortySixPercent)
{
    THVProgressBar bar;
    bar.SetUseXPThemes(false);
    bar.SetPosition(45);
    EXPECT_EQ(bar.PlainCaptionColor(), bar.palette().color(QPalette::ButtonText));
    bar.SetPosition(46);
    EXPECT_EQ(bar.PlainCaptionColor(), bar.palette().color(QPalette::HighlightedText));
}

TEST(THVProgressBar, OverfullPositionPaintsAFullBar)
{
    THVProgressBar bar;
    bar.resize(200, 20);
    bar.SetShowCaption(false);
    bar.SetMax(100);
    const QColor highlight = bar.palette().color(QPalette::Highlight);

    bar.SetPosition(150);
    QImage full = bar.grab().toImage();
    EXPECT_EQ(full.pixelColor(3, 10).rgb(), highlight.rgb());
    EXPECT_EQ(full.pixelColor(196, 10).rgb(), highlight.rgb());

    bar.SetPosition(50);
    QImage half = bar.grab().toImage();
    EXPECT_EQ(half.pixelColor(3, 10).rgb(), highlight.rgb());
    EXPECT_NE(half.pixelColor(196, 10).rgb(), highlight.rgb());
}

} // namespace
