#include "ui/dialogs/THVTaskDialog.h"

#include "ui/dialogs/THVCustomTaskDialog.h"

#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>

THVTaskDialog::~THVTaskDialog() = default;

bool THVTaskDialog::Execute(QWidget *parent)
{
    m_modalResult = 0;
    int result = 0;
    try {
        THVCustomTaskDialog window(*this, parent);
        m_window = &window;
        window.Build();
        if (OnDialogConstructed)
            OnDialogConstructed();
        result = window.exec();
        m_window = nullptr;
        if (window.Failed()) {
            m_modalResult = 0;
            return false;
        }
    } catch (...) {
        // A failure while the window is built or open (a handler that raised) ends the
        // dialog without a result.
        m_window = nullptr;
        m_modalResult = 0;
        return false;
    }
    if (OnDestroyed)
        OnDestroyed();
    if (m_modalResult == 0 && result != 0)
        m_modalResult = result;
    return m_modalResult != 0 && m_modalResult != IDCANCEL;
}

void THVTaskDialog::Navigate(const THVTaskDialogConfig &config)
{
    static_cast<THVTaskDialogConfig &>(*this) = config;
    if (!m_window)
        return;
    m_window->Build();
    if (OnNavigated)
        OnNavigated();
}

void THVTaskDialog::ClickButton(int buttonId)
{
    if (m_window)
        m_window->ClickButton(buttonId);
}

void THVTaskDialog::SetProgressBarRange(int min, int max)
{
    ProgressBar.Min = min;
    ProgressBar.Max = max;
    if (m_window && m_window->ProgressBarControl() && !ProgressBar.Marquee)
        m_window->ProgressBarControl()->setRange(min, qMax(min, max));
}

void THVTaskDialog::SetProgressBarPosition(int position)
{
    ProgressBar.Position = position;
    if (m_window && m_window->ProgressBarControl())
        m_window->ProgressBarControl()->setValue(position);
}

void THVTaskDialog::SetProgressBarState(TLMDTaskDlgProgressState state)
{
    ProgressBar.State = state;
    if (!m_window || !m_window->ProgressBarControl())
        return;
    // Error shows red, paused yellow, as the bar's chunk colour.
    QPalette pal = m_window->ProgressBarControl()->palette();
    pal.setColor(QPalette::Highlight, state == tdpsError    ? QColor(218, 38, 38)
                                      : state == tdsPaused ? QColor(218, 203, 38)
                                                           : m_window->palette().color(QPalette::Highlight));
    m_window->ProgressBarControl()->setPalette(pal);
}

void THVTaskDialog::SetContent(const QString &text)
{
    Content = text;
    if (m_window)
        m_window->SetContent(text);
}

void THVTaskDialog::SetExpandedInformation(const QString &text)
{
    ExpandedInformation = text;
    if (m_window)
        m_window->SetExpandedInformation(text);
}

void THVTaskDialog::SetFooterText(const QString &text)
{
    FooterText = text;
    if (m_window)
        m_window->SetFooterText(text);
}

void THVTaskDialog::SetMainInstruction(const QString &text)
{
    MainInstruction = text;
    if (m_window)
        m_window->SetMainInstruction(text);
}

void THVTaskDialog::ClickRadioButton(int buttonId)
{
    if (!m_window)
        return;
    const QList<QRadioButton *> radios = m_window->RadioButtonControls();
    for (int i = 0; i < RadioButtons.size() && i < radios.size(); ++i) {
        if (RadioButtons[i].ButtonId == buttonId) {
            radios[i]->click();
            return;
        }
    }
}

void THVTaskDialog::EnableButton(int buttonId, bool enabled)
{
    for (THVTaskDlgButton &button : Buttons) {
        if (button.ButtonId == buttonId)
            button.Enabled = enabled;
    }
    if (m_window) {
        if (QPushButton *button = m_window->FindButton(buttonId))
            button->setEnabled(enabled);
    }
}

void THVTaskDialog::EnableRadioButton(int buttonId, bool enabled)
{
    for (int i = 0; i < RadioButtons.size(); ++i) {
        if (RadioButtons[i].ButtonId != buttonId)
            continue;
        RadioButtons[i].Enabled = enabled;
        if (m_window && i < m_window->RadioButtonControls().size())
            m_window->RadioButtonControls()[i]->setEnabled(enabled);
    }
}

void THVTaskDialog::ClickVerification(bool checked)
{
    if (m_window && m_window->VerificationBox())
        m_window->VerificationBox()->setChecked(checked);
}

void THVTaskDialog::SetButtonElevationRequired(int buttonId, bool required)
{
    for (THVTaskDlgButton &button : Buttons) {
        if (button.ButtonId == buttonId)
            button.IsElevationButton = required;
    }
    if (!m_window)
        return;
    if (QPushButton *button = m_window->FindButton(buttonId))
        button->setIcon(required ? QIcon(THVCustomTaskDialog::IconPicture(tdiShield, 16)) : QIcon());
}

void THVTaskDialog::UpdateMainIcon(TLMDTaskDlgIcon icon)
{
    MainIcon = icon;
    if (m_window) {
        m_window->UpdateMainIcon(icon);
        m_window->Relayout();
    }
}

void THVTaskDialog::UpdateFooterIcon(TLMDTaskDlgIcon icon)
{
    FooterIcon = icon;
    if (m_window) {
        m_window->UpdateFooterIcon(icon);
        m_window->Relayout();
    }
}

void THVTaskDialog::SetFlags(TLMDTaskDialogFlags flags)
{
    Flags = flags;
    if (m_window)
        m_window->Relayout();
}
