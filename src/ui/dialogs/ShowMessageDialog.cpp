#include "ui/dialogs/ShowMessageDialog.h"

#include "common/HVException.h"
#include "ui/dialogs/THVTaskDialog.h"
#include "ui/translation/Translation.h"

#include <QApplication>
#include <QFileInfo>

namespace {

struct MessageButton {
    const char *Caption;
    int Result;
};

const MessageButton kMessageButtons[] = {
    {"!!&Ja", 6},        {"!!&Nein", 7},  {"!!OK", 1},      {"!!Abbrechen", 2},    {"!!&Abbruch", 3},
    {"!!&Wiederholen", 4}, {"!!&Ignorieren", 5}, {"!!&Alle", 8}, {"!!&Alle Nein", 9}, {"!!A&lle Ja", 10},
};

TLMDTaskDlgIcon IconOfKind(int kind)
{
    switch (kind) {
    case 0:
        return tdiWarning;
    case 1:
        return tdiError;
    case 2:
        return tdiInformation;
    case 3:
        return tdiQuestion;
    default:
        return tdiBlank;
    }
}

QString Reference(uint code)
{
    return QStringLiteral("&#%1;").arg(code);
}

} // namespace

QString EscapeMessageText(const QString &text)
{
    QString markup;
    markup.reserve(text.size() * 2);
    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        const QChar c = text[i];
        const ushort code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate()) {
            markup += Reference(QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else if (c.isSurrogate()) {
            markup += Reference(0xFFFD);
        } else if (code == '\r') {
            if (i + 1 < size && text[i + 1] == QLatin1Char('\n')) {
                if (i + 2 < size)
                    markup += QStringLiteral("<br>");
                ++i;
            }
        } else if (code == '\n') {
            // An LF without CR before it is dropped.
        } else if (code == ' ') {
            markup += QStringLiteral("&#160;");
        } else if (code >= 128 || code == '"' || code == '&' || code == '<' || code == '>') {
            markup += Reference(code);
        } else {
            markup += c;
        }
    }
    return markup;
}

QString MessageDialogTitle()
{
    QString title = QGuiApplication::applicationDisplayName();
    const int separator = title.indexOf(QStringLiteral(" - "));
    if (separator >= 0) {
        const QString tail = title.mid(separator + 3);
        if (!tail.isEmpty() && QFileInfo(tail).isFile())
            title.truncate(separator);
    }
    return title;
}

int ShowMessageDialog(const QString &text, int kind, uint16_t buttons)
{
    THVTaskDialog dialog;
    dialog.Title = MessageDialogTitle();
    dialog.MainInstruction = EscapeMessageText(text);
    dialog.MainIcon = IconOfKind(kind);
    dialog.CommonButtons = TLMDTaskDialogCommonButtons();
    dialog.VerificationText.clear();
    dialog.ExpandedInformation.clear();
    // A dialog without any button could not be answered: it gets the OK button.
    constexpr uint16_t kShownButtons = 0x03FF;
    if ((buttons & kShownButtons) == 0)
        buttons = 1u << 2;
    for (int bit = 0; bit <= 9; ++bit) {
        if (!(buttons & (1u << bit)))
            continue;
        THVTaskDlgButton button;
        button.Caption = TranslateText(kMessageButtons[bit].Caption);
        button.ButtonId = kMessageButtons[bit].Result;
        button.IsDefault = bit == 2;
        dialog.Buttons.append(button);
    }
    dialog.Execute(QApplication::activeWindow());
    return dialog.ModalResult();
}

void ShowInformation(const QString &text)
{
    ShowMessageDialog(text, 2, 1u << 2);
}

int ShowWarning(const QString &text)
{
    return ShowMessageDialog(text, 0, 1u << 2);
}

void ShowError(const QString &text)
{
    ShowMessageDialog(text, 1, 1u << 2);
}

void ShowError(const char *text)
{
    ShowError(QString::fromUtf8(text));
}

void ShowExceptionMessage(const std::exception &e)
{
    ShowError(ExceptionMessageText(e));
}
