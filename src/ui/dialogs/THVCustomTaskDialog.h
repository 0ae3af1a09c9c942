#pragma once

#include "ui/dialogs/THVTaskDialog.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QList>

class QCheckBox;
class QCommandLinkButton;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTextBrowser;
class QTimer;

// The window of a THVTaskDialog: main icon and main instruction, content, expandable
// information, progress bar, radio buttons, command links, a grey button panel (expand
// button, verification box, push buttons) and a footer, stacked from the top.
class THVCustomTaskDialog : public QDialog
{
    Q_OBJECT
public:
    THVCustomTaskDialog(THVTaskDialog &owner, QWidget *parent);

    // Rebuilds the whole window from the owner's settings.
    void Build();
    void Relayout();

    // Parts, for the operations of THVTaskDialog and for tests.
    QTextBrowser *MainInstructionLabel() const { return m_mainInstruction; }
    QTextBrowser *ContentLabel() const { return m_content; }
    QTextBrowser *FooterLabel() const { return m_footer; }
    QLabel *MainIconLabel() const { return m_mainIcon; }
    QLabel *FooterIconLabel() const { return m_footerIcon; }
    QProgressBar *ProgressBarControl() const { return m_progress; }
    QCheckBox *VerificationBox() const { return m_verification; }
    QPushButton *ExpandButton() const { return m_expandButton; }
    QWidget *ButtonPanel() const { return m_buttonPanel; }
    // Push buttons from left to right (custom ones first, then the common ones).
    QList<QPushButton *> PushButtons() const;
    QList<QRadioButton *> RadioButtonControls() const { return m_radios; }
    QList<QCommandLinkButton *> CommandLinks() const { return m_commandLinks; }
    QPushButton *FindButton(int buttonId) const;
    bool Expanded() const { return m_expanded; }
    // The icon a main-icon value shows (32 x 32 or 16 x 16); null for the blank ones.
    static QPixmap IconPicture(TLMDTaskDlgIcon icon, int size);

    // The text Ctrl+C and Ctrl+Insert put on the clipboard.
    QString ClipboardText() const;
    // A handler raised while the window was open; the window then closed without result.
    bool Failed() const { return m_failed; }

    void ClickButton(int buttonId);
    void SetMainInstruction(const QString &text);
    void SetContent(const QString &text);
    void SetFooterText(const QString &text);
    void SetExpandedInformation(const QString &text);
    void UpdateMainIcon(TLMDTaskDlgIcon icon);
    void UpdateFooterIcon(TLMDTaskDlgIcon icon);

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct PushButtonInfo {
        QPushButton *Button;
        int Id;
        bool Common;
        int CustomIndex; // index in the owner's Buttons; -1 for common buttons
    };

    void ClearParts();
    QTextBrowser *NewHtmlLabel(const QFont &font);
    void AddCommonButtons();
    void AddCustomButtons();
    void ButtonClicked(int id, bool common, int customIndex, QObject *sender);
    void RadioClicked(int index);
    void ToggleExpanded();
    void TimerTick();
    int Scaled(int pixels) const;
    // Runs an event handler of the owner. Nothing may pass through Qt's event loop:
    // a failure closes the window without result.
    template <typename F>
    void Guarded(F &&handler);
    QRect AvailableScreen() const;

    THVTaskDialog &m_owner;
    QLabel *m_mainIcon = nullptr;
    QTextBrowser *m_mainInstruction = nullptr;
    QTextBrowser *m_content = nullptr;
    QPlainTextEdit *m_expandedInfo = nullptr;
    QProgressBar *m_progress = nullptr;
    QList<QRadioButton *> m_radios;
    QList<QCommandLinkButton *> m_commandLinks;
    QWidget *m_buttonPanel = nullptr;
    QPushButton *m_expandButton = nullptr;
    QCheckBox *m_verification = nullptr;
    QList<PushButtonInfo> m_pushButtons; // in placement order, right to left
    QWidget *m_footerPanel = nullptr;
    QLabel *m_footerIcon = nullptr;
    QTextBrowser *m_footer = nullptr;
    QTimer *m_timer = nullptr;
    QElapsedTimer m_ticks;
    bool m_expanded = false;
    bool m_hookCalled = false;
    bool m_failed = false;
};

// Markup of a text for an HTML label: every CR LF, then every remaining CR becomes <br>.
QString TaskDialogMarkup(const QString &text);
