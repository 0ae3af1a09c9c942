#pragma once

#include <QString>
#include <QStringList>

// Splits a Windows command line (parameters only, no program name) into arguments by the
// rules of the Windows C runtime, so a program started here gets the arguments it would
// get on Windows, and no shell ever sees the text:
// - blanks and tabs outside quotes separate arguments;
// - a double quote starts or ends a quoted part; "" inside a quoted part is one quote;
// - 2n backslashes before a quote give n backslashes and the quote acts as above;
//   2n+1 backslashes before a quote give n backslashes and a literal quote;
// - backslashes not followed by a quote stand for themselves;
// - "" alone gives an empty argument.
QStringList SplitCommandLine(const QString &commandLine);
