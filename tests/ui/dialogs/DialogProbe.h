#pragma once

// Answers the modal dialogs a test provokes: each dialog shown while a probe lives is
// handed to the next action in line (inside the dialog's own event loop). A dialog for
// which no action is left is recorded and closed, so a test never blocks on it.

#include "ui/dialogs/ModalDialogHook.h"
#include "ui/dialogs/THVCustomTaskDialog.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QStringList>
#include <deque>
#include <functional>

class DialogProbe
{
public:
    using Action = std::function<void(THVCustomTaskDialog &)>;

    DialogProbe()
    {
        SetModalDialogHook([this](QDialog &dialog) { Answer(dialog); });
    }
    ~DialogProbe() { SetModalDialogHook({}); }
    DialogProbe(const DialogProbe &) = delete;
    DialogProbe &operator=(const DialogProbe &) = delete;

    void Then(Action action) { m_actions.push_back(std::move(action)); }

    // What the shown dialogs said (their plain main instruction), in order.
    QStringList Shown;
    int Unanswered = 0;

    static QString PlainInstruction(const THVCustomTaskDialog &dialog)
    {
        return dialog.MainInstructionLabel()->document()->toPlainText();
    }

private:
    void Answer(QDialog &dialog)
    {
        auto *task = qobject_cast<THVCustomTaskDialog *>(&dialog);
        if (task)
            Shown.append(PlainInstruction(*task));
        if (m_actions.empty() || !task) {
            ++Unanswered;
            dialog.done(0);
            return;
        }
        Action action = std::move(m_actions.front());
        m_actions.pop_front();
        action(*task);
    }

    std::deque<Action> m_actions;
};

// Presses the push button whose caption (without "&") is the given text.
inline void PressButton(THVCustomTaskDialog &dialog, const QString &caption)
{
    for (QPushButton *button : dialog.PushButtons()) {
        if (button->text().remove(QLatin1Char('&')) == caption) {
            button->click();
            return;
        }
    }
    dialog.done(-1);
}
