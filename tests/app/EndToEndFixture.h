#pragma once

#include "app/UpdateTestFixture.h"

#include <QDirIterator>
#include <QProcess>

// A real installation for the real updater: the host folder of UpdateFolderFixture, a
// staging folder holding a copy of build/bin/qxupdater, and the job file beside it.
class EndToEndFixture : public UpdateFolderFixture
{
protected:
    QString updater = stage + QStringLiteral("/qxupdater");

    void SetUp() override
    {
        if (!QFile::exists(QStringLiteral(QX_BIN_DIR "/qxupdater")))
            GTEST_SKIP() << "the program qxupdater is not part of this build (no src/app/main.cpp)";
        UpdateFolderFixture::SetUp();
        ASSERT_TRUE(QFile::copy(QStringLiteral(QX_BIN_DIR "/qxupdater"), updater)) << "build qxupdater first";
        QFile::setPermissions(updater, QFile::permissions(QStringLiteral(QX_BIN_DIR "/qxupdater")));
    }

    void WriteJob(const QString &hostProgram, int32_t processId, const QString &parameters = QString())
    {
        const QString job = QStringLiteral("[COMMON]\r\nORGEXECAPTION=Testkatalog\r\nORGEXE=%1\r\nORGPARAM=%2\r\n"
                                           "USEHVK=%3/Zav.hvk\r\nLANGUAGE=DE\r\nPROGID=%4\r\nUPDATENR=7\r\n")
                                .arg(hostProgram, parameters, host)
                                .arg(processId);
        testsupport::WriteBytes(stage + QStringLiteral("/qx_update.ini"), job.toUtf8());
    }

    // Starts the host program from the host folder, as the catalogue runs.
    void StartHost(QProcess &process, const QStringList &arguments)
    {
        process.setWorkingDirectory(host);
        process.start(hostProgram, arguments);
        ASSERT_TRUE(process.waitForStarted());
    }

    // Runs the staged updater the way the host starts it; its exit code, -1 on a hang.
    int RunUpdater(QByteArray *output = nullptr, int timeoutMs = 120000)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        process.setProcessEnvironment(environment);
        process.start(updater, {});
        if (!process.waitForStarted())
            return -1;
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        if (output)
            *output = process.readAll();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // The lines of the newest run log in the host folder, without their timestamps.
    QStringList RunLogLines() const
    {
        QDir logs(host + QStringLiteral("/Log"));
        const QStringList files = logs.entryList({QStringLiteral("QX_Update_*.log")}, QDir::Files, QDir::Time);
        if (files.isEmpty())
            return {};
        QByteArray bytes = testsupport::ReadBytes(logs.filePath(files.first()));
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
        bytes.remove(0, 3);
        QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
        for (QString &line : lines)
            if (line.startsWith(QLatin1Char('[')))
                line = line.mid(22); // "[yyyy-mm-dd hh:nn:ss] "
        return lines;
    }
};
