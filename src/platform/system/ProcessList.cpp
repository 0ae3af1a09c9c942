#include "platform/system/ProcessList.h"

namespace {

QString FileNamePart(const QString &name)
{
    // Both separators: a name may come from a Windows-style path.
    const qsizetype cut = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    return cut < 0 ? name : name.mid(cut + 1);
}

} // namespace

void ListProcessesByProgram(const QString &program, TIntList &list)
{
    list.Clear();
    const QString key = program.toUpper();
    // Snapshot names are bare file names: a key that holds a separator can equal neither a
    // name nor its file-name part. Skipping the snapshot then gives the same (empty) answer
    // and keeps the host wait, which passes a full path 200 times a second, nearly free.
    if (key.contains(QLatin1Char('/')) || key.contains(QLatin1Char('\\')))
        return;
    for (const ProcessEntry &entry : TakeProcessSnapshot()) {
        const QString name = entry.ExeName.toUpper();
        if (FileNamePart(name) == key || name == key)
            list.Add(entry.ProcessId);
    }
}
