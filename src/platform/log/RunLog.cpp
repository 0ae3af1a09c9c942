#include "platform/log/RunLog.h"

#include "app/UpdateState.h"
#include "platform/files/FileServices.h"

#include <QFileInfo>

std::unique_ptr<TZavLog> OpenRunLog(const UpdateState &state)
{
    if (!state.RunningAsSystemAccount || !QFileInfo(state.HostProgram).isFile())
        return nullptr;
    auto log = std::make_unique<TZavLog>();
    log->Folder = ExcludeTrailingSeparators(ExtractFileDir(state.HostProgram)) + QStringLiteral("/Log");
    log->BaseName = QStringLiteral("QX_Update");
    return log;
}
