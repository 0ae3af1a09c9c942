#include "ui/dialogs/DialogProbe.h"

#include "ui/dialogs/THVTaskDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLinkButton>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

THVTaskDlgButton Button(int id, const QString &caption)
{
    THVTaskDlgButton button;
    button.ButtonId = id;
    button.Caption = caption;
    return button;
}

THVTaskDlgRadioButton Radio(int id, const QString &caption, bool isDefault = false)
{
    THVTaskDlgRadioButton radio;
    radio.ButtonId = id;
    radio.Caption = caption;
    radio.IsDefault = isDefault;
    return radio;
}

void Escape(QWidget &dialog)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &press);
}

QStringList Captions(const THVCustomTaskDialog &window)
{
    QStringList captions;
    for (QPushButton *button : window.PushButtons())
        captions << button->text();
    return captions;
}

class TaskDialogTest : public ::testing::Test
{
protected:
    DialogProbe probe;
    THVTaskDialog dialog;
};

TEST_F(TaskDialogTest, CommonButtonsReadOkToCloseWithCustomButtonsLeftOfThem)
{
    dialog.CommonButtons = {tdcbClose, tdcbRetry, tdcbCancel, tdcbNo, tdcbYes, tdcbOk};
    dialog.Buttons = {Button(100, QStringLiteral("Erste")), Button(101, QStringLiteral("Zweite"))};
    const int expectedIds[] = {100, 101, 1, 6, 7, 2, 4, 3};
    for (int index = 0; index < 8; ++index) {
        probe.Then([&, index](THVCustomTaskDialog &window) {
            EXPECT_EQ(Captions(window), (QStringList{"Erste", "Zweite", "OK", "&Ja", "&Nein", "Abbrechen",
                                                     "&Wiederholen", "Schließen"}));
            QList<QPushButton *> buttons = window.PushButtons();
            for (int i = 1; i < buttons.size(); ++i)
                EXPECT_EQ(buttons[i]->x(), buttons[i - 1]->geometry().right() + 1 + 5);
            EXPECT_EQ(buttons.last()->geometry().right() + 1, window.width() - 5);
            buttons[index]->click();
        });
        const bool executed = dialog.Execute();
        EXPECT_EQ(dialog.ModalResult(), expectedIds[index]);
        EXPECT_EQ(executed, expectedIds[index] != IDCANCEL);
    }
}

TEST_F(TaskDialogTest, EscapeFollowsTheCustomButtonIdentifiers)
{
    struct Case {
        const char *name;
        QList<int> customIds;
        TLMDTaskDialogCommonButtons common;
        int result;
    };
    const Case cases[] = {
        {"cancel id first", {7, 3, 2}, {}, 2},
        {"abort before no", {7, 3}, {}, 3},
        {"no", {5, 7}, {}, 7},
        {"single OK", {1}, {}, 1},
        {"common cancel without custom buttons", {}, {tdcbOk, tdcbCancel}, 2},
    };
    for (const Case &c : cases) {
        dialog.Buttons.clear();
        for (int id : c.customIds)
            dialog.Buttons.append(Button(id, QString::number(id)));
        dialog.CommonButtons = c.common;
        probe.Then([](THVCustomTaskDialog &window) { Escape(window); });
        dialog.Execute();
        EXPECT_EQ(dialog.ModalResult(), c.result) << c.name;
    }
}

TEST_F(TaskDialogTest, EscapeWithoutAMatchingButtonLeavesTheDialogOpen)
{
    dialog.CommonButtons = {};
    dialog.Buttons = {Button(5, QStringLiteral("Ignorieren")), Button(1, QStringLiteral("OK"))};
    probe.Then([](THVCustomTaskDialog &window) {
        Escape(window);
        EXPECT_TRUE(window.isVisible());
        window.FindButton(5)->click();
    });
    dialog.Execute();
    EXPECT_EQ(dialog.ModalResult(), 5);
}

TEST_F(TaskDialogTest, HandlerCanKeepTheDialogOpen)
{
    int clicks = 0;
    THVTaskDlgButton again = Button(100, QStringLiteral("Nochmal"));
    again.OnClick = [&](QObject *, bool &noClose) { noClose = ++clicks < 2; };
    dialog.Buttons = {again};
    dialog.CommonButtons = {};
    probe.Then([](THVCustomTaskDialog &window) {
        window.FindButton(100)->click();
        EXPECT_TRUE(window.isVisible());
        window.FindButton(100)->click();
    });
    dialog.Execute();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(dialog.ModalResult(), 100);

    int commonId = 0;
    dialog.Buttons.clear();
    dialog.CommonButtons = {tdcbRetry, tdcbClose};
    dialog.OnCommonButtonClick = [&](int id, bool &) { commonId = id; };
    probe.Then([](THVCustomTaskDialog &window) { window.FindButton(IDRETRY)->click(); });
    dialog.Execute();
    EXPECT_EQ(commonId, IDRETRY);
}

TEST_F(TaskDialogTest, RadioButtonDefaults)
{
    struct Case {
        const char *name;
        QList<THVTaskDlgRadioButton> radios;
        bool noDefault;
        int selected;
    };
    const Case cases[] = {
        {"marked default", {Radio(10, "a"), Radio(11, "b", true)}, true, 11},
        {"first when no default is wanted", {Radio(10, "a"), Radio(11, "b")}, false, 10},
        {"none with tdfNoDefaultRadioButton", {Radio(10, "a"), Radio(11, "b")}, true, 0},
    };
    for (const Case &c : cases) {
        dialog.RadioButtons = c.radios;
        dialog.Flags = c.noDefault ? TLMDTaskDialogFlags{tdfNoDefaultRadioButton} : TLMDTaskDialogFlags{};
        probe.Then([&](THVCustomTaskDialog &window) {
            ASSERT_EQ(window.RadioButtonControls().size(), 2);
            for (int i = 0; i < 2; ++i)
                EXPECT_EQ(window.RadioButtonControls()[i]->isChecked(), c.radios[i].ButtonId == c.selected) << c.name;
            window.FindButton(IDOK)->click();
        });
        dialog.Execute();
        EXPECT_EQ(dialog.RadioButtonResult(), c.selected) << c.name;
    }
    probe.Then([&](THVCustomTaskDialog &window) {
        window.RadioButtonControls()[1]->click();
        window.FindButton(IDOK)->click();
    });
    dialog.Execute();
    EXPECT_EQ(dialog.RadioButtonResult(), 11);
}

TEST_F(TaskDialogTest, VerificationBoxAndExpandButton)
{
    dialog.VerificationText = QStringLiteral("Nicht mehr fragen");
    dialog.ExpandedInformation = QStringLiteral("Einzelheiten");
    dialog.ExpandedControlText = QStringLiteral("Weniger");
    dialog.CollapsedControlText = QStringLiteral("Mehr");
    dialog.Flags = {tdfVerificationFlagChecked};
    QList<bool> verification, expando;
    dialog.OnVerificationClicked = [&](bool state) { verification << state; };
    dialog.OnExpandoButtonClicked = [&](bool state) { expando << state; };
    probe.Then([](THVCustomTaskDialog &window) {
        EXPECT_TRUE(window.VerificationBox()->isVisible());
        EXPECT_TRUE(window.VerificationBox()->isChecked());
        EXPECT_TRUE(window.ExpandButton()->isVisible());
        EXPECT_EQ(window.ExpandButton()->text(), QStringLiteral("Mehr"));
        EXPECT_FALSE(window.Expanded());
        const int collapsedHeight = window.height();
        window.ExpandButton()->click();
        EXPECT_EQ(window.ExpandButton()->text(), QStringLiteral("Weniger"));
        EXPECT_GE(window.height(), collapsedHeight + 200);
        window.VerificationBox()->click();
        window.FindButton(IDOK)->click();
    });
    dialog.Execute();
    EXPECT_EQ(expando, QList<bool>{true});
    EXPECT_EQ(verification, QList<bool>{false});
    EXPECT_FALSE(dialog.VerificationFlagChecked());

    dialog.VerificationText.clear();
    dialog.ExpandedInformation.clear();
    probe.Then([](THVCustomTaskDialog &window) {
        EXPECT_FALSE(window.VerificationBox()->isVisible());
        EXPECT_FALSE(window.ExpandButton()->isVisible());
        window.FindButton(IDOK)->click();
    });
    dialog.Execute();
}

TEST_F(TaskDialogTest, OperationsWhileOpen)
{
    dialog.MainInstruction = QStringLiteral("Kopiere");
    dialog.Flags = {tdfShowProgressBar};
    dialog.Buttons = {Button(100, QStringLiteral("Weiter"))};
    probe.Then([&](THVCustomTaskDialog &window) {
        dialog.SetContent(QStringLiteral("Datei 3 von 10"));
        EXPECT_EQ(window.ContentLabel()->toPlainText(), QStringLiteral("Datei 3 von 10"));
        EXPECT_TRUE(window.ContentLabel()->isVisible());
        dialog.SetProgressBarRange(0, 10);
        dialog.SetProgressBarPosition(3);
        EXPECT_EQ(window.ProgressBarControl()->value(), 3);
        dialog.EnableButton(100, false);
        EXPECT_FALSE(window.FindButton(100)->isEnabled());
        dialog.SetFooterText(QStringLiteral("Fuß"));
        EXPECT_TRUE(window.FooterLabel()->isVisible());
        THVTaskDialogConfig next;
        next.MainInstruction = QStringLiteral("Fertig");
        next.Flags = {tdfAllowDialogCancellation};
        dialog.Navigate(next);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.MainInstructionLabel()->toPlainText(), QStringLiteral("Fertig"));
        EXPECT_EQ(window.FindButton(100), nullptr);
        dialog.ClickButton(IDOK);
    });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.ModalResult(), IDOK);
}

TEST_F(TaskDialogTest, CommandLinksReplaceCustomPushButtons)
{
    dialog.Flags = {tdfUseCommandLinks};
    dialog.CommonButtons = {tdcbCancel};
    dialog.Buttons = {Button(200, QStringLiteral("Erneut versuchen\nNoch einmal kopieren")),
                      Button(201, QStringLiteral("Überspringen"))};
    probe.Then([](THVCustomTaskDialog &window) {
        ASSERT_EQ(window.CommandLinks().size(), 2);
        EXPECT_EQ(window.CommandLinks()[0]->text(), QStringLiteral("Erneut versuchen"));
        EXPECT_EQ(window.CommandLinks()[0]->description(), QStringLiteral("Noch einmal kopieren"));
        EXPECT_EQ(Captions(window), QStringList{QStringLiteral("Abbrechen")});
        window.CommandLinks()[1]->click();
    });
    dialog.Execute();
    EXPECT_EQ(dialog.ModalResult(), 201);
}

TEST_F(TaskDialogTest, FailingHandlerEndsExecuteWithoutResult)
{
    THVTaskDlgButton failing = Button(100, QStringLiteral("Los"));
    failing.OnClick = [](QObject *, bool &) { throw std::runtime_error("handler failed"); };
    dialog.Buttons = {failing};
    probe.Then([](THVCustomTaskDialog &window) { window.FindButton(100)->click(); });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.ModalResult(), 0);
}

TEST_F(TaskDialogTest, ManyButtonsWidenTheWindow)
{
    dialog.CommonButtons = {};
    for (int i = 0; i < 8; ++i)
        dialog.Buttons.append(Button(100 + i, QStringLiteral("Knopf %1").arg(i)));
    probe.Then([](THVCustomTaskDialog &window) {
        EXPECT_GT(window.width(), 444);
        EXPECT_GE(window.PushButtons().first()->x(), 5);
        window.FindButton(100)->click();
    });
    dialog.Execute();
}

TEST_F(TaskDialogTest, CallbackTimerReportsTicks)
{
    dialog.Flags = {tdfCallbackTimer};
    int calls = 0;
    dialog.OnTimer = [&](int ticks) {
        EXPECT_GE(ticks, 0);
        if (++calls == 2)
            dialog.ClickButton(IDOK);
        return false;
    };
    probe.Then([](THVCustomTaskDialog &) {});
    dialog.Execute();
    EXPECT_EQ(calls, 2);
}

} // namespace
