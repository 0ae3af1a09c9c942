#pragma once

#include "app/UpdateState.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

// A host folder with a host program (a copy of the sample host) and a staging folder
// beside it, plus a job state pointing at them.
class UpdateFolderFixture : public ::testing::Test
{
protected:
    testsupport::TempFolder root;
    QString stage = root.File(QStringLiteral("stage"));
    QString host = root.File(QStringLiteral("host"));
    QString hostProgram = host + QStringLiteral("/host.exe");
    QString backup = host + QStringLiteral("/backup/progupdate");
    UpdateState state;

    void SetUp() override
    {
        QDir().mkpath(stage);
        QDir().mkpath(host);
        ASSERT_TRUE(QFile::copy(testsupport::HelperProgram(QStringLiteral("sample_host")), hostProgram));
        QFile::setPermissions(hostProgram, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                               QFile::ExeOther);
        state.HostProgram = hostProgram;
        // A process of another program: the wait must not take it for the host.
        state.HostProcessId = int32_t(getpid());
        state.RunningAsSystemAccount = true;
    }

    void Stage(const QString &relative, const QByteArray &bytes) { testsupport::WriteBytes(stage + '/' + relative, bytes); }
    void Install(const QString &relative, const QByteArray &bytes) { testsupport::WriteBytes(host + '/' + relative, bytes); }
    QByteArray Installed(const QString &relative) const { return testsupport::ReadBytes(host + '/' + relative); }

    // Every file below folder (links and pipes included, never followed) with its bytes;
    // entries below the folders in skip are left out.
    static QMap<QString, QByteArray> Files(const QString &folder, const QStringList &skip = {})
    {
        QMap<QString, QByteArray> files;
        QDirIterator it(folder, QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString relative = QDir(folder).relativeFilePath(path);
            if (std::any_of(skip.begin(), skip.end(), [&](const QString &s) { return relative.startsWith(s); }))
                continue;
            const QFileInfo info(path);
            files.insert(relative, info.isSymLink() ? "link:" + info.symLinkTarget().toUtf8()
                                   : info.isFile()  ? testsupport::ReadBytes(path)
                                                    : QByteArray("special"));
        }
        return files;
    }
};
