#include "app/UpdateJob.h"

#include "app/UpdateState.h"
#include "ui/ini/TBigIniFile.h"
#include "ui/translation/Translation.h"

#include <memory>

namespace {

const QString kSection = QStringLiteral("COMMON");

// Paths in a job file may be written with "\" (on Windows); here they name "/" paths.
QString JobPath(const QString &text)
{
    QString path = text;
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

} // namespace

QString JobFilePath(const QStringList &arguments, const QString &ownFolder)
{
    // arguments[0] is the program itself.
    if (arguments.size() >= 3)
        return arguments.at(1);
    return ownFolder + QStringLiteral("/qx_update.ini");
}

QString ReadUpdateJob(const QString &jobFile, UpdateState &state)
{
    // Released at the end, also when a read fails.
    const auto job = std::make_unique<TBigIniFile>(jobFile, false);
    const QString caption = job->ReadString(kSection, QStringLiteral("ORGEXECAPTION"), QString());
    state.HostProgram = JobPath(job->ReadString(kSection, QStringLiteral("ORGEXE"), QString()));
    state.HostParameters = job->ReadString(kSection, QStringLiteral("ORGPARAM"), QString());
    state.ConfigurationFile = JobPath(job->ReadString(kSection, QStringLiteral("USEHVK"), QString()));
    SetLanguage(job->ReadString(kSection, QStringLiteral("LANGUAGE"), QStringLiteral("EN")));
    state.HostProcessId = job->ReadInteger(kSection, QStringLiteral("PROGID"), 0);
    state.UpdateNumber = job->ReadString(kSection, QStringLiteral("UPDATENR"), QString());
    return caption;
}
