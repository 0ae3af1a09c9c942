#pragma once

#include "app/IUpdateReporter.h"
#include "common/HVException.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Stands in for the main window: records every report in order. A test may hook a line
// to act at that moment of the run (inject a fault, throw).
class RecordingReporter : public IUpdateReporter
{
public:
    struct Line {
        QString text;
        int level;
    };

    QList<Line> lines;
    QStringList results;     // "E:" or "I:" followed by the text
    QStringList exceptions;  // message texts
    int closeCount = 0;
    int progressMax = -1;
    QList<int> positions;
    std::function<void(const QString &)> onLine;
    std::function<void(bool, const QString &)> onResult;

    void AddProgressLine(const QString &text, int level) override
    {
        lines.append({text, level});
        if (onLine)
            onLine(text);
    }
    void ReportResult(bool isError, const QString &text) override
    {
        AddProgressLine(text, isError ? 2 : 0);
        results.append((isError ? QStringLiteral("E:") : QStringLiteral("I:")) + text);
        if (onResult)
            onResult(isError, text);
    }
    void ReportException(const std::exception &e) override
    {
        AddProgressLine(QStringLiteral("Meldung: ") + ExceptionMessageText(e), 2);
        exceptions.append(ExceptionMessageText(e));
    }
    void CloseUpdater() override
    {
        ++closeCount;
        AddProgressLine(QStringLiteral("Close"), 0);
        AddProgressLine(QString(), 0);
    }
    void SetProgressMax(int max) override { progressMax = max; }
    void SetProgressPosition(int position) override { positions.append(position); }

    QStringList Texts() const
    {
        QStringList texts;
        for (const Line &line : lines)
            texts.append(line.text);
        return texts;
    }
    int CountLevel(int level) const
    {
        int count = 0;
        for (const Line &line : lines)
            count += line.level == level;
        return count;
    }
};
