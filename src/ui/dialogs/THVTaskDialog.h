#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <functional>
#include <initializer_list>

class QWidget;
class THVCustomTaskDialog;

enum TLMDTaskDlgIcon { tdiBlank, tdiWarning, tdiQuestion, tdiError, tdiInformation, tdiBlankAgain, tdiShield };

// Flag bits 0..15 in this order, as in the task dialog configuration.
enum TLMDTaskDialogFlag {
    tdfEnableHyperlinks,
    tdfUseHiconMain,
    tdfUseHiconFooter,
    tdfAllowDialogCancellation,
    tdfUseCommandLinks,
    tdfUseCommandLinksNoIcon,
    tdfExpandFooterArea,
    tdfExpandedByDefault,
    tdfVerificationFlagChecked,
    tdfShowProgressBar,
    tdfShowMarqueeProgressBar,
    tdfCallbackTimer,
    tdfPositionRelativeToWindow,
    tdfRtlLayout,
    tdfNoDefaultRadioButton,
    tdfCanBeMinimized,
};

enum TLMDTaskDialogCommonButton { tdcbOk, tdcbYes, tdcbNo, tdcbCancel, tdcbRetry, tdcbClose };

enum TLMDTaskDlgProgressState { tdpsNormal, tdpsError, tdsPaused };

// A small set over an enum with at most 32 members.
template <typename E>
class TEnumSet
{
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> values)
    {
        for (E value : values)
            m_bits |= 1u << value;
    }
    constexpr bool Contains(E value) const { return (m_bits & (1u << value)) != 0; }
    constexpr void Include(E value) { m_bits |= 1u << value; }
    constexpr void Exclude(E value) { m_bits &= ~(1u << value); }
    constexpr unsigned Bits() const { return m_bits; }
    static constexpr TEnumSet FromBits(unsigned bits)
    {
        TEnumSet set;
        set.m_bits = bits;
        return set;
    }
    constexpr bool operator==(const TEnumSet &) const = default;

private:
    unsigned m_bits = 0;
};

using TLMDTaskDialogFlags = TEnumSet<TLMDTaskDialogFlag>;
using TLMDTaskDialogCommonButtons = TEnumSet<TLMDTaskDialogCommonButton>;

// Result identifiers of the common buttons.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct THVTaskDlgButton {
    int ButtonId = 0;
    QString Caption;
    bool Enabled = true;
    bool IsDefault = false;
    bool IsElevationButton = false;
    // Set noCloseDialog to keep the dialog open after the click.
    std::function<void(QObject *sender, bool &noCloseDialog)> OnClick;
};

struct THVTaskDlgRadioButton {
    int ButtonId = 0;
    QString Caption;
    bool Enabled = true;
    bool IsDefault = false;
    std::function<void(QObject *sender)> OnClick;
};

struct THVTaskProgressBar {
    int Min = 0;
    int Max = 100;
    int Position = 0;
    TLMDTaskDlgProgressState State = tdpsNormal;
    bool Marquee = false;
    int MarqueSpeed = 0;
};

// Everything the window shows; navigating hands a new one to the open window.
struct THVTaskDialogConfig {
    QString Title;
    QString MainInstruction;
    QString Content;
    QString VerificationText;
    QString ExpandedInformation;
    QString ExpandedControlText;
    QString CollapsedControlText;
    QString FooterText;
    TLMDTaskDlgIcon MainIcon = tdiBlank;
    QIcon CustomMainIcon;
    TLMDTaskDlgIcon FooterIcon = tdiBlank;
    QIcon CustomFooterIcon;
    TLMDTaskDialogFlags Flags{tdfEnableHyperlinks, tdfExpandFooterArea, tdfNoDefaultRadioButton};
    TLMDTaskDialogCommonButtons CommonButtons{tdcbOk};
    QList<THVTaskDlgButton> Buttons;
    QList<THVTaskDlgRadioButton> RadioButtons;
    THVTaskProgressBar ProgressBar;
    int DefaultButton = 0;      // identifier; 0: the first button marked IsDefault
    int DefaultRadioButton = 0; // identifier; 0: the first radio button marked IsDefault
    int Width = 0;              // window width in pixels; 0 = automatic
};

// A task dialog drawn by the program itself (THVCustomTaskDialog): title, main
// instruction, content, icons, push buttons, radio buttons, command links, verification
// box, expandable information, footer, progress bar and timer. Texts are markup;
// callers escape message texts (ShowMessageDialog does).
class THVTaskDialog : public THVTaskDialogConfig
{
public:
    THVTaskDialog() = default;
    ~THVTaskDialog();
    THVTaskDialog(const THVTaskDialog &) = delete;
    THVTaskDialog &operator=(const THVTaskDialog &) = delete;

    // Shows the window modally. false when it could not be shown or failed while open
    // (ModalResult then stays 0).
    bool Execute(QWidget *parent = nullptr);

    int ModalResult() const { return m_modalResult; }
    int RadioButtonResult() const { return m_radioResult; }
    bool VerificationFlagChecked() const { return m_verificationChecked; }
    // The window while Execute runs, else nullptr.
    THVCustomTaskDialog *Window() const { return m_window; }

    // Operations on the open window (no effect when it is not open).
    void Navigate(const THVTaskDialogConfig &config);
    void ClickButton(int buttonId);
    void SetProgressBarRange(int min, int max);
    void SetProgressBarPosition(int position);
    void SetProgressBarState(TLMDTaskDlgProgressState state);
    void SetContent(const QString &text);
    void SetExpandedInformation(const QString &text);
    void SetFooterText(const QString &text);
    void SetMainInstruction(const QString &text);
    void ClickRadioButton(int buttonId);
    void EnableButton(int buttonId, bool enabled);
    void EnableRadioButton(int buttonId, bool enabled);
    void ClickVerification(bool checked);
    void SetButtonElevationRequired(int buttonId, bool required);
    void UpdateMainIcon(TLMDTaskDlgIcon icon);
    void UpdateFooterIcon(TLMDTaskDlgIcon icon);
    void SetFlags(TLMDTaskDialogFlags flags);

    // Notifications.
    std::function<void()> OnCreated;
    std::function<void()> OnNavigated;
    std::function<void()> OnDestroyed;
    std::function<void()> OnDialogConstructed;
    std::function<void()> OnHelp;
    std::function<void(const QString &href)> OnHyperlink;
    // Return true to reset the tick count.
    std::function<bool(int tickCount)> OnTimer;
    std::function<void(bool checked)> OnVerificationClicked;
    std::function<void(bool expanded)> OnExpandoButtonClicked;
    std::function<void(int buttonId, bool &noCloseDialog)> OnCommonButtonClick;

private:
    friend class THVCustomTaskDialog;
    THVCustomTaskDialog *m_window = nullptr; // set only while Execute runs
    int m_modalResult = 0;
    int m_radioResult = 0;
    bool m_verificationChecked = false;
};
