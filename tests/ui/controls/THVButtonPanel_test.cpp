#include "ui/controls/THVButtonPanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

// A panel laid out at the main window's width.
struct Panel {
    Panel()
    {
        panel.resize(614, 40);
        panel.show();
    }
    int InnerRight() const { return panel.InnerPanel()->width(); }
    THVButtonPanel panel;
};

TEST(THVButtonPanel, SingleCancelButtonSitsEightPixelsFromTheRight)
{
    Panel p;
    p.panel.SetButtonsVisible({btAbbrechen});
    THVControlButton *cancel = p.panel.FindButton(btAbbrechen);
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->isVisible());
    EXPECT_FALSE(p.panel.FindButton(btOK)->isVisible());
    EXPECT_EQ(cancel->geometry(), QRect(p.InnerRight() - 8 - 75, 7, 75, 25));
    EXPECT_EQ(p.panel.InnerPanel()->geometry(), QRect(0, 1, 614, 39));
}

TEST(THVButtonPanel, StandardButtonsReadInTypeOrderFourPixelsApart)
{
    Panel p;
    p.panel.SetButtonsVisible({btOK, btAbbrechen, btUebernehmen});
    const int right = p.InnerRight() - 8;
    EXPECT_EQ(p.panel.FindButton(btUebernehmen)->x(), right - 81);
    EXPECT_EQ(p.panel.FindButton(btAbbrechen)->x(), right - 81 - 4 - 75);
    EXPECT_EQ(p.panel.FindButton(btOK)->x(), right - 81 - 4 - 75 - 4 - 75);
    EXPECT_TRUE(p.panel.FindButton(btOK)->isDefault());
}

TEST(THVButtonPanel, DialogStyleDecidesWhichButtonsExist)
{
    Panel p;
    p.panel.AddCustomButton(QStringLiteral("btnSave"), QStringLiteral("Speichern..."), 105);
    p.panel.SetDialogStyle(dsInfo);
    EXPECT_NE(p.panel.FindButton(btOK), nullptr);
    for (THVButtonType gone : {btAbbrechen, btUebernehmen, btWeiter})
        EXPECT_EQ(p.panel.FindButton(gone), nullptr) << gone;
    ASSERT_NE(p.panel.FindCustomButton(QStringLiteral("btnSave")), nullptr);
    EXPECT_TRUE(p.panel.FindCustomButton(QStringLiteral("btnSave"))->isVisible());

    p.panel.SetDialogStyle(dsWizard);
    EXPECT_EQ(p.panel.FindButton(btOK), nullptr);
    for (THVButtonType present : {btUebernehmen, btEnde, btSchliessen, btZurueck, btWeiter, btStarten})
        EXPECT_NE(p.panel.FindButton(present), nullptr) << present;
    EXPECT_TRUE(p.panel.ButtonsVisible().Contains(btStarten));
}

TEST(THVButtonPanel, CustomButtonsGoLeftOrBesideTheStandardOnes)
{
    Panel p;
    p.panel.SetDialogStyle(dsWizard);
    p.panel.SetButtonsVisible({btSchliessen, btCustom});
    THVControlButton *save = p.panel.AddCustomButton(QStringLiteral("btnSave"), QStringLiteral("Speichern"), 105);
    THVControlButton *print = p.panel.AddCustomButton(QStringLiteral("btnPrint"), QStringLiteral("Drucken"), 80);
    ASSERT_NE(save, nullptr);
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(p.panel.AddCustomButton(QStringLiteral("btnSave"), QStringLiteral("again"), 50), nullptr);
    EXPECT_EQ(save->size(), QSize(105, 25));

    const int closeLeft = p.InnerRight() - 8 - 75;
    EXPECT_EQ(p.panel.FindButton(btSchliessen)->x(), closeLeft);
    EXPECT_EQ(print->x(), closeLeft - 4 - 80);
    EXPECT_EQ(save->x(), closeLeft - 4 - 80 - 4 - 105);

    p.panel.SetCustomButtonsLeft(true);
    EXPECT_EQ(save->x(), 8);
    EXPECT_EQ(print->x(), 8 + 105 + 4);
    EXPECT_EQ(p.panel.FindButton(btSchliessen)->x(), closeLeft);
}

TEST(THVButtonPanel, ResizingRearrangesFromTheNewRightEdge)
{
    Panel p;
    p.panel.SetButtonsVisible({btAbbrechen});
    p.panel.resize(400, 40);
    EXPECT_EQ(p.panel.FindButton(btAbbrechen)->x(), 400 - 8 - 75);
}

TEST(THVButtonPanel, ClicksAndEscapeReachTheHandlers)
{
    Panel p;
    p.panel.SetButtonsVisible({btOK, btAbbrechen});
    QStringList clicked;
    p.panel.SetOnClick(btOK, [&](QObject *) { clicked << QStringLiteral("ok"); });
    p.panel.SetOnClick(btAbbrechen, [&](QObject *sender) {
        EXPECT_EQ(sender, p.panel.FindButton(btAbbrechen));
        clicked << QStringLiteral("cancel");
    });
    QObject *customSender = nullptr;
    p.panel.AddCustomButton(QStringLiteral("btnX"), QStringLiteral("X"), 60, [&](QObject *s) { customSender = s; });

    p.panel.FindButton(btOK)->click();
    p.panel.FindCustomButton(QStringLiteral("btnX"))->click();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&p.panel, &press);

    EXPECT_EQ(customSender, p.panel.FindCustomButton(QStringLiteral("btnX")));
    EXPECT_EQ(clicked.first(), QStringLiteral("ok"));
    EXPECT_TRUE(clicked.contains(QStringLiteral("cancel")));
}

TEST(THVButtonPanel, EscapeInTheWindowPressesTheCancelButton)
{
    QWidget window;
    window.resize(614, 100);
    auto *panel = new THVButtonPanel(&window);
    panel->setGeometry(0, 60, 614, 40);
    panel->SetButtonsVisible({btAbbrechen});
    int cancels = 0;
    panel->SetOnClick(btAbbrechen, [&](QObject *) { ++cancels; });
    window.show();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window, &press);
    EXPECT_EQ(cancels, 1);
}

} // namespace
