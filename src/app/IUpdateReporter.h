#pragma once

#include <QString>
#include <exception>

// What the update sequence and the post-update tasks may do with the main window:
// report progress and outcome, drive the progress bar, and close it. The main window
// implements it; tests use a recording stand-in, so the sequence runs headless.
class IUpdateReporter
{
public:
    virtual ~IUpdateReporter() = default;

    // level: 0 normal, 1 warning, 2 error (see ProgressLevel).
    virtual void AddProgressLine(const QString &text, int level) = 0;
    // A progress line plus, unless running as the system account, a modal dialog.
    virtual void ReportResult(bool isError, const QString &text) = 0;
    virtual void ReportException(const std::exception &e) = 0;
    // Writes the closing lines and closes the main window.
    virtual void CloseUpdater() = 0;

    virtual void SetProgressMax(int max) = 0;
    virtual void SetProgressPosition(int position) = 0;
};
