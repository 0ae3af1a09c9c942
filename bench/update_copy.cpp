// The copy phase of an update (backups and copies) against cp on the same disk, plus the
// processor time of the host wait. Run by hand:
//   build/bin/bench/update_copy [work-folder] [sample-host-program] [qxupdater]
// The work folder (default: $TMPDIR or /tmp) gets about 1.2 GB of files for the run.
#include "app/HostWait.h"
#include "app/IUpdateReporter.h"
#include "app/UpdateSequence.h"
#include "app/UpdateState.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <cstdio>
#include <sys/resource.h>

namespace {

class QuietReporter : public IUpdateReporter
{
public:
    int warnings = 0;
    void AddProgressLine(const QString &, int level) override { warnings += level == 1; }
    void ReportResult(bool isError, const QString &text) override
    {
        if (isError)
            std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
    void ReportException(const std::exception &e) override { std::fprintf(stderr, "exception: %s\n", e.what()); }
    void CloseUpdater() override {}
    void SetProgressMax(int) override {}
    void SetProgressPosition(int) override {}
};

void WriteFile(const QString &path, qint64 size, QRandomGenerator &random, int version)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray block(1 << 20, '\0');
    while (size > 0) {
        const qint64 n = std::min<qint64>(size, block.size());
        for (qint64 i = 0; i < n; i += 8)
            block[i] = char(random.generate() + version);
        file.write(block.constData(), n);
        size -= n;
    }
}

// 2,000 files of mixed sizes, about 400 MB, in 20 folders; older versions of every second
// file in the host folder.
QStringList MakeTrees(const QString &staging, const QString &host)
{
    QRandomGenerator random(42);
    QStringList files;
    qint64 total = 0;
    for (int i = 0; i < 2000; ++i) {
        qint64 size;
        if (i % 50 == 0)
            size = 2'000'000 + random.bounded(4'000'000);
        else if (i % 5 == 0)
            size = 100'000 + random.bounded(900'000);
        else
            size = 1'000 + random.bounded(63'000);
        const QString relative = QStringLiteral("dir%1/file%2.bin").arg(i % 20).arg(i);
        WriteFile(staging + '/' + relative, size, random, 2);
        if (i % 2 == 0)
            WriteFile(host + '/' + relative, size / 2 + 1, random, 1);
        files.append(relative);
        total += size;
    }
    std::printf("staged tree: %lld files, %.0f MB\n", qlonglong(files.size()), double(total) / 1e6);
    return files;
}

void Sync()
{
    QProcess::execute(QStringLiteral("sync"), {});
}

double TimeCommand(const QString &program, const QStringList &arguments)
{
    QElapsedTimer timer;
    timer.start();
    if (QProcess::execute(program, arguments) != 0)
        qFatal("%s failed", qPrintable(program));
    return timer.nsecsElapsed() / 1e9;
}

double UserSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : qEnvironmentVariable("TMPDIR", "/tmp");
    const QString work = base + QStringLiteral("/qx-bench-update");
    QDir(work).removeRecursively();
    const QString staging = work + "/staging";
    const QString host = work + "/host";
    const QStringList files = MakeTrees(staging, host);
    QElapsedTimer timer;
    const QString hostCopy = work + "/host-pristine";
    TimeCommand("cp", {"-r", host, hostCopy});
    // Warm the cache for both contestants alike.
    TimeCommand("sh", {"-c", "cat \"$0\"/*/* >/dev/null", staging});
    TimeCommand("sh", {"-c", "cat \"$0\"/*/* >/dev/null", host});

    // Two rounds, each with the baseline and the update on a fresh copy of the host
    // folder, in alternating order, so neither profits from going first.
    UpdateState state;
    QuietReporter reporter;
    double baselineTotal = 0;
    double updateTotal = 0;
    double updateCpu = 0;
    double updateUser = 0;
    for (int round = 1; round <= 2; ++round) {
        const QString roundHost = work + QStringLiteral("/host%1").arg(round);
        TimeCommand("cp", {"-r", hostCopy, roundHost});
        Sync();
        // Baseline: copy the staged tree, and the files it replaces into a backup folder.
        auto runBaseline = [&] {
            const double seconds =
                TimeCommand("cp", {"-r", staging, work + QStringLiteral("/cp-target%1").arg(round)}) +
                TimeCommand("cp", {"-r", roundHost, work + QStringLiteral("/cp-backup%1").arg(round)});
            Sync();
            return seconds;
        };
        // The updater's copy phase over the host folder.
        auto runUpdate = [&] {
            state.HostProgram = roundHost + "/host.exe";
            const UpdateFolders folders = UpdateFoldersFor(staging, state.HostProgram);
            const double cpuBefore = CpuSeconds();
            const double userBefore = UserSeconds();
            timer.start();
            EmptyBackupFolder(folders);
            PrepareBackupFolder(folders, reporter);
            const bool copied = CopyStagedFiles(state, reporter, folders, files);
            const double seconds = timer.nsecsElapsed() / 1e9;
            updateCpu += CpuSeconds() - cpuBefore;
            updateUser += UserSeconds() - userBefore;
            Sync();
            if (!copied)
                qFatal("the copy phase failed");
            return seconds;
        };
        // The first round measures the baseline first, the second the update first.
        double baseline = 0;
        double update = 0;
        if (round == 1) {
            baseline = runBaseline();
            update = runUpdate();
        } else {
            update = runUpdate();
            baseline = runBaseline();
        }
        std::printf("round %d: update %.2f s, cp baseline %.2f s, ratio %.2f\n", round, update, baseline,
                    update / baseline);
        baselineTotal += baseline;
        updateTotal += update;
    }
    std::printf("copy phase over both rounds: ratio %.2f (update %.2f s, of it %.2f s processor time, %.2f s in user "
                "space; cp %.2f s)\n",
                updateTotal / baselineTotal, updateTotal, updateCpu, updateUser, baselineTotal);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory of this process: %.1f MB\n", usage.ru_maxrss / 1024.0);

    // Processor time while waiting for a running host for 5 s.
    if (argc > 2) {
        const QString hostProgram = host + "/waithost";
        QFile::copy(QString::fromLocal8Bit(argv[2]), hostProgram);
        QFile::setPermissions(hostProgram, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcess running;
        running.start(hostProgram, {"--run-ms", "5000"});
        running.waitForStarted();
        state.HostProgram = hostProgram;
        state.HostProcessId = int32_t(running.processId());
        TIntList processes;
        const double cpuBefore = CpuSeconds();
        timer.restart();
        WaitForHostExit(state, reporter, processes);
        const double wall = timer.nsecsElapsed() / 1e9;
        const double cpu = CpuSeconds() - cpuBefore;
        std::printf("host wait: %.2f s wall, %.3f s processor time, %.2f %% of one core\n", wall, cpu,
                    100.0 * cpu / wall);
        running.waitForFinished();
    }
    // The whole program over the same tree (unattended when run as root): its peak
    // resident memory. The staged tree is deleted by the run.
    if (argc > 3) {
        const QString hostRound = work + "/host-program-run";
        TimeCommand("cp", {"-r", hostCopy, hostRound});
        QFile::copy(QString::fromLocal8Bit(argv[3]), staging + "/qxupdater");
        QFile::setPermissions(staging + "/qxupdater", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::copy(QString::fromLocal8Bit(argv[2]), hostRound + "/host.exe");
        QFile job(staging + "/qx_update.ini");
        job.open(QIODevice::WriteOnly);
        job.write(QStringLiteral("[COMMON]\nORGEXE=%1/host.exe\nPROGID=1\nLANGUAGE=DE\n").arg(hostRound).toUtf8());
        job.close();
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(environment);
        timer.restart();
        program.start(staging + "/qxupdater", {});
        program.waitForFinished(-1);
        rusage children{};
        getrusage(RUSAGE_CHILDREN, &children);
        std::printf("qxupdater over the tree: exit code %d, %.2f s, peak resident memory %.1f MB\n", program.exitCode(),
                    timer.nsecsElapsed() / 1e9, children.ru_maxrss / 1024.0);
    }
    QDir(work).removeRecursively();
    return 0;
}
