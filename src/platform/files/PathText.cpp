#include "platform/files/PathText.h"

#include "platform/system/SystemFileSystem.h"

namespace {

bool IsSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

bool IsDriveColon(const QString &path, qsizetype index)
{
    return index == 1 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter();
}

// Index of the last separator or drive colon; -1 when there is none.
qsizetype LastDelimiter(const QString &path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (IsSeparator(path.at(i)) || IsDriveColon(path, i))
            return i;
    }
    return -1;
}

} // namespace

QString GetOwnFolder()
{
    return ExcludeTrailingSeparators(ExtractFilePathUpTo(SystemOwnProgramPath(), QStringLiteral("/")));
}

QString ExcludeTrailingSeparators(const QString &path)
{
    qsizetype end = path.size();
    while (end > 0 && IsSeparator(path.at(end - 1)))
        --end;
    return path.left(end);
}

QString ExtractFilePathUpTo(const QString &path, const QString &delimiters)
{
    bool separators = false;
    for (QChar d : delimiters)
        separators = separators || IsSeparator(d);
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path.at(i);
        const bool isDelimiter = (separators && IsSeparator(c)) || (!IsSeparator(c) && c != QLatin1Char(':') && delimiters.contains(c))
            || IsDriveColon(path, i);
        if (isDelimiter)
            return path.left(i + 1);
    }
    return QString();
}

QString ExtractFilePath(const QString &path)
{
    return path.left(LastDelimiter(path) + 1);
}

QString ExtractFileDir(const QString &path)
{
    qsizetype i = LastDelimiter(path);
    if (i > 0 && IsSeparator(path.at(i)) && !IsSeparator(path.at(i - 1)) && !IsDriveColon(path, i - 1))
        --i;
    return path.left(i + 1);
}

QString ExtractFileName(const QString &path)
{
    return path.mid(LastDelimiter(path) + 1);
}

QString ExtractFileExt(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < LastDelimiter(path))
        return QString();
    return path.mid(dot);
}

QString GetFileExtWithoutDot(const QString &path, const QString &defaultExt)
{
    const QString ext = ExtractFileExt(path);
    return ext.isEmpty() ? defaultExt : ext.mid(1);
}

QString RemoveFileExtension(const QString &path, bool nameOnly)
{
    const QString base = nameOnly ? ExtractFileName(path) : path;
    return base.left(base.size() - ExtractFileExt(base).size());
}

QString ReplaceExtension(const QString &path, const QString &ext)
{
    return RemoveFileExtension(path, false) + ext;
}

QString AppendBackslash(const QString &path)
{
    if (path.isEmpty() || IsSeparator(path.back()))
        return path;
    return path + QLatin1Char('/');
}

bool IsAbsolutePath(const QString &path)
{
    if (path.isEmpty())
        return false;
    // "\" is read as "/", so a path led by either is rooted; "\\server\share" is the
    // foreign network form and "X:" the foreign drive form, never valid relative paths.
    if (IsSeparator(path.at(0)))
        return true;
    return path.size() >= 2 && path.at(1) == QLatin1Char(':');
}

bool HasWildcards(const QString &text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

QString SanitizeFileName(const QString &text)
{
    static const QString kReplaced = QStringLiteral("\n\r\"*/:<>?[\\]|");
    QString result = text;
    for (QChar &c : result) {
        if (kReplaced.contains(c))
            c = QLatin1Char('_');
    }
    return result;
}
