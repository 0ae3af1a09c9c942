#pragma once

#include <QString>
#include <cstdint>
#include <exception>

// Message kinds: 0 warning, 1 error, 2 information, 3 confirmation, 4 custom (no icon).
// Buttons: bit n selects button n: 0 Ja (6), 1 Nein (7), 2 OK (1), 3 Abbrechen (2),
// 4 Abbruch (3), 5 Wiederholen (4), 6 Ignorieren (5), 7 Alle (8), 8 Alle Nein (9),
// 9 Alle Ja (10); bit 10 (Hilfe) is never shown. Returns the pressed button's result.
// The text is shown literally (no markup), with CR LF as line break.
int ShowMessageDialog(const QString &text, int kind, uint16_t buttons);

void ShowInformation(const QString &text);
int ShowWarning(const QString &text);
void ShowError(const QString &text);
void ShowError(const char *text);
void ShowExceptionMessage(const std::exception &e);

// The message text as markup for the dialog: every character that could be read as
// markup, and every character from code 128 on, as a character reference; blanks as
// non-breaking blanks; CR LF as line break except at the very end; other CR and LF
// dropped. Unpaired surrogates become U+FFFD.
QString EscapeMessageText(const QString &text);

// The dialog title: the application's title, without a trailing " - " + existing file.
QString MessageDialogTitle();
