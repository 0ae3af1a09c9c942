// Copies a large file and a folder of many small files with CopyFileContents and with
// cp in the same run, and prints the times and their ratio. Run by hand:
//   build/bin/bench/CopyFileContents_bench [folder]   (default: the temporary folder)
#include "platform/files/FileChanges.h"
#include "platform/files/FileListing.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>

namespace {

void WriteRandom(const QString &path, qint64 size)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QByteArray block(1 << 20, Qt::Uninitialized);
    QRandomGenerator generator(1);
    for (qint64 written = 0; written < size; written += block.size()) {
        generator.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        file.write(block.constData(), std::min<qint64>(block.size(), size - written));
    }
}

// Best times of two pieces of work, run in alternation so that neither profits from
// going second (warm caches, finished write-back).
std::pair<double, double> BestOfBoth(int runs, const std::function<void()> &prepare, const std::function<void()> &own,
                                     const std::function<void()> &baseline)
{
    double bestOwn = 1e30;
    double bestBaseline = 1e30;
    for (int i = 0; i < runs; ++i) {
        for (int which = 0; which < 2; ++which) {
            prepare();
            QElapsedTimer timer;
            timer.start();
            ((i + which) % 2 == 0 ? own : baseline)();
            const double ms = timer.nsecsElapsed() / 1e6;
            double &best = (i + which) % 2 == 0 ? bestOwn : bestBaseline;
            best = std::min(best, ms);
        }
    }
    return {bestOwn, bestBaseline};
}

void RunCp(const QStringList &arguments)
{
    QProcess::execute(QStringLiteral("cp"), arguments);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir root(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/copybench-XXXXXX") : QString());
    const QString source = root.filePath(QStringLiteral("source"));
    QDir().mkpath(source + QStringLiteral("/small"));
    WriteRandom(source + QStringLiteral("/big.bin"), 256LL << 20);
    for (int i = 0; i < 2000; ++i)
        WriteRandom(source + QStringLiteral("/small/f%1.dll").arg(i), 4096 + (i % 16) * 4096);
    QStringList smallFiles;
    ListFiles(smallFiles, source + QStringLiteral("/small"), QString(), false, false, false);

    const QString target = root.filePath(QStringLiteral("target"));
    // Each run starts from an empty target with no dirty pages of earlier runs pending,
    // so write-back of one run does not burden the next.
    auto clean = [&] {
        QDir(target).removeRecursively();
        QDir().mkpath(target + QStringLiteral("/small"));
        QProcess::execute(QStringLiteral("sync"), {});
    };

    const auto [bigOwn, bigCp] = BestOfBoth(
        6, clean, [&] { CopyFileContents(source + QStringLiteral("/big.bin"), target + QStringLiteral("/big.bin")); },
        [&] { RunCp({source + QStringLiteral("/big.bin"), target + QStringLiteral("/big.bin")}); });
    // One cp process for all files, so the baseline pays no process start per file.
    const auto [smallOwn, smallCp] = BestOfBoth(
        6, clean,
        [&] {
            for (const QString &name : smallFiles)
                CopyFileContents(source + QStringLiteral("/small/") + name, target + QStringLiteral("/small/") + name);
        },
        [&] { RunCp({QStringLiteral("-r"), source + QStringLiteral("/small"), target + QStringLiteral("/small2")}); });

    std::printf("256 MB file:      CopyFileContents %8.1f ms, cp %8.1f ms, ratio %.2f\n", bigOwn, bigCp, bigOwn / bigCp);
    std::printf("2000 small files: CopyFileContents %8.1f ms, cp -r %6.1f ms, ratio %.2f\n", smallOwn, smallCp, smallOwn / smallCp);
    return 0;
}
