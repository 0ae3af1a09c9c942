#pragma once

#include <QString>

// Compares two version texts ("1.2.3.4"; "," counts as "."): part by part from the
// left while both still have a ".", then the rest of each up to its next ".", so
// extra parts of the longer text are not compared ("1.2.3" equals "1.2").
// Negative, 0 or positive.
int CompareVersions(const QString &a, const QString &b);

// Two version parts, trimmed: by number when both are integers (decimal, or hexadecimal
// led by "$" or "0x", optionally signed, 32 bits), else as text, ordinal and case
// sensitive. -1, 0 or 1 for numbers; negative, 0 or positive for texts.
int CompareVersionParts(const QString &x, const QString &y);
