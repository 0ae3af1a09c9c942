#include "platform/files/TempNames.h"

#include "common/HVException.h"
#include "platform/files/FileChanges.h"
#include "platform/files/FileQueries.h"
#include "platform/files/PathText.h"
#include "platform/system/SystemError.h"
#include "platform/system/SystemFile.h"
#include "platform/system/SystemFileSystem.h"

#include <QDateTime>
#include <QMutex>
#include <QUuid>

#include <random>

namespace {

// With 999^4 names, this many taken names in a row means someone is occupying them.
constexpr int kMaxNameAttempts = 10000;

QMutex g_generatorMutex;
std::mt19937 g_generator;
bool g_generatorSeeded = false;

QMutex g_tempFolderMutex;
QString g_tempFolder;

int NextNameNumber()
{
    QMutexLocker lock(&g_generatorMutex);
    if (!g_generatorSeeded) {
        g_generator.seed(quint32(QDateTime::currentMSecsSinceEpoch()));
        g_generatorSeeded = true;
    }
    return std::uniform_int_distribution<int>(0, 998)(g_generator);
}

QString NextCandidate(const QString &folder, const QString &ext)
{
    QString name;
    for (int i = 0; i < 4; ++i)
        name += QStringLiteral("%1").arg(NextNameNumber(), 3, 10, QLatin1Char('0'));
    return AppendBackslash(folder) + name + QLatin1Char('.') + ext;
}

// Tries fresh names until create succeeds; create reports the Windows-style code.
template <typename Create>
QString CreateUnique(const QString &folder, const QString &ext, Create create)
{
    if (folder.isEmpty())
        return QString(); // never guess a folder (the current one) for a new file
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        const QString candidate = NextCandidate(folder, ext);
        const int error = create(candidate);
        if (error == SystemErrorCode::Success)
            return candidate;
        if (error != SystemErrorCode::FileExists)
            return QString(); // the folder itself is the problem: another name will not help
    }
    return QString();
}

QString WithoutSeparatorsTrimmed(const QString &path)
{
    return ExcludeTrailingSeparators(path.trimmed()).trimmed();
}

// The value of the last environment entry whose name is name in upper case.
QString LastEnvironmentValue(const QString &name)
{
    QString value;
    for (const QString &entry : SystemEnvironmentEntries()) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        if (equals > 0 && entry.left(equals).toUpper() == name)
            value = entry.mid(equals + 1);
    }
    return value;
}

bool CanCreateFileIn(const QString &folder)
{
    const QString probe = MakeUniqueFileName(folder, QStringLiteral("tmp"));
    return !probe.isEmpty() && DeleteFile(probe);
}

} // namespace

void SeedUniqueNameGenerator(quint32 seed)
{
    QMutexLocker lock(&g_generatorMutex);
    g_generator.seed(seed);
    g_generatorSeeded = true;
}

QString CreateUniqueFile(const QString &folder, const QString &ext, SystemFile &file)
{
    return CreateUnique(folder, ext, [&](const QString &candidate) {
        int error = 0;
        file.Open(candidate, SystemFile::Mode::CreateNew, &error, SystemFile::Locking::ByAccess, 0600);
        return error;
    });
}

QString MakeUniqueFileName(const QString &folder, const QString &ext)
{
    SystemFile file;
    return CreateUniqueFile(folder, ext, file);
}

QString CreateUniqueFolder(const QString &folder, const QString &ext)
{
    return CreateUnique(folder, ext, [](const QString &candidate) {
        int error = 0;
        SystemCreateFolder(candidate, &error);
        return error;
    });
}

QString MakeUniqueTempFileName(const QString &ext)
{
    return MakeUniqueFileName(GetTempFolder(), ext);
}

QString GetTempFolder()
{
    QMutexLocker lock(&g_tempFolderMutex);
    if (!g_tempFolder.isEmpty())
        return g_tempFolder;
    const QString path = ExcludeTrailingSeparators(SystemTempPath());
    const HVException notWritable(QStringLiteral("Cannot write to temp-directory: ") + path);
    if (!FolderExists(path))
        throw notWritable;
    const QString probe = path + QLatin1Char('/')
        + SanitizeFileName(QUuid::createUuid().toString(QUuid::WithoutBraces)) + QStringLiteral(".tmp");
    {
        SystemFile file;
        if (!file.Open(probe, SystemFile::Mode::CreateNew, nullptr, SystemFile::Locking::ByAccess, 0600))
            throw notWritable;
    }
    DeleteFile(probe);
    g_tempFolder = path;
    return path;
}

void ForgetTempFolder()
{
    QMutexLocker lock(&g_tempFolderMutex);
    g_tempFolder.clear();
}

QString GetWritableTempFolder()
{
    QString path = WithoutSeparatorsTrimmed(LastEnvironmentValue(QStringLiteral("TMP")));
    if (path.isEmpty())
        path = WithoutSeparatorsTrimmed(LastEnvironmentValue(QStringLiteral("TEMP")));
    if (path.isEmpty()) {
        path = ExcludeTrailingSeparators(SystemTempPath());
        if (path.compare(GetOwnFolder(), Qt::CaseInsensitive) == 0)
            path = ExcludeTrailingSeparators(SystemFallbackFolder());
    }
    // A unique probe rather than a fixed name: a file left over (or planted) under a
    // fixed name would otherwise decide the answer.
    if (!CanCreateFileIn(path))
        return ExcludeTrailingSeparators(SystemFallbackFolder());
    return path;
}

bool IsFolderWritable(const QString &folder)
{
    const QString f = ExcludeTrailingSeparators(folder);
    if (f.isEmpty() || !ForceFolders(f))
        return false;
    const QString probe = CreateUniqueFolder(f, QStringLiteral("tmp"));
    if (probe.isEmpty())
        return false;
    const bool fileCreated = CanCreateFileIn(probe);
    // The probe folder goes in every case; left behind it would litter the folder.
    const bool probeRemoved = RemoveFolder(probe);
    return fileCreated && probeRemoved;
}

bool CreateWritableFolder(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    if (!IsFolderWritable(ExcludeTrailingSeparators(folder)))
        return false;
    ForceFolders(folder);
    return true;
}
