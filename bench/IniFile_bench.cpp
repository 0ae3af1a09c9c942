// Loads a 50 MB INI document of 1,000 sections with 1,000 keys each and reads every
// key in file order, beside the time std::getline needs to read the same file line by
// line (the I/O floor). Also compares the cost of a key read in the first and in the
// last sections, which must not grow with the section's position. Times are CPU
// times, best of three runs.
//
// Usage: IniFile_bench [folder]   (default: a temporary folder, removed afterwards)
#include "ui/ini/TBigIniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSections = 1000;
constexpr int kKeys = 1000;
constexpr int kRuns = 3;

// CPU time of the process (single-threaded here): on a shared, loaded machine it
// varies far less than wall time, and the floor is measured the same way.
struct Clock
{
    using time_point = double;
    static double now()
    {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
    }
};

double Seconds(Clock::time_point start)
{
    return Clock::now() - start;
}

QString SectionName(int s)
{
    return QStringLiteral("Section%1").arg(s, 4, 10, QLatin1Char('0'));
}

QString KeyName(int k)
{
    return QStringLiteral("Key%1").arg(k, 4, 10, QLatin1Char('0'));
}

void Generate(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
        std::exit(1);
    }
    QByteArray chunk;
    for (int s = 0; s < kSections; ++s) {
        chunk = "[" + SectionName(s).toLatin1() + "]\r\n";
        for (int k = 0; k < kKeys; ++k)
            chunk += KeyName(k).toLatin1() + "=value of section " + QByteArray::number(s) + " key "
                     + QByteArray::number(k) + " abcdefghijklmn\r\n";
        file.write(chunk);
    }
}

double GetlineFloor(const QString &path, size_t &bytes)
{
    const auto start = Clock::now();
    std::ifstream in(path.toStdString());
    std::string line;
    bytes = 0;
    while (std::getline(in, line))
        bytes += line.size();
    return Seconds(start);
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir temp;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
    const QString path = QDir(folder).filePath(QStringLiteral("bench.ini"));
    Generate(path);
    std::printf("document: %s, %.1f MB\n", qPrintable(path), QFile(path).size() / 1e6);

    std::vector<QString> sections, keys;
    for (int s = 0; s < kSections; ++s)
        sections.push_back(SectionName(s));
    for (int k = 0; k < kKeys; ++k)
        keys.push_back(KeyName(k));

    double bestFloor = 1e9, bestLoad = 1e9, bestRead = 1e9;
    double firstSections = 0, lastSections = 0; // key reads in sections 0-9 and 990-999
    size_t bytes = 0, checksum = 0;
    for (int run = 0; run < kRuns; ++run) {
        bestFloor = std::min(bestFloor, GetlineFloor(path, bytes));

        auto start = Clock::now();
        TBigIniFile ini(path, false);
        bestLoad = std::min(bestLoad, Seconds(start));

        start = Clock::now();
        double first = 0, last = 0;
        for (int s = 0; s < kSections; ++s) {
            const auto sectionStart = Clock::now();
            for (int k = 0; k < kKeys; ++k)
                checksum += size_t(ini.ReadString(sections[size_t(s)], keys[size_t(k)], QString()).size());
            if (s < 10)
                first += Seconds(sectionStart);
            else if (s >= kSections - 10)
                last += Seconds(sectionStart);
        }
        const double read = Seconds(start);
        if (read < bestRead) {
            bestRead = read;
            firstSections = first;
            lastSections = last;
        }
    }

    const double total = bestLoad + bestRead;
    std::printf("getline floor:          %8.1f ms (%zu bytes of text)\n", bestFloor * 1e3, bytes);
    std::printf("load:                   %8.1f ms  (%.2f x floor)\n", bestLoad * 1e3, bestLoad / bestFloor);
    std::printf("read every key:         %8.1f ms  (%.2f x floor)\n", bestRead * 1e3, bestRead / bestFloor);
    std::printf("load + read:            %8.1f ms  (%.2f x floor)\n", total * 1e3, total / bestFloor);
    std::printf("key read, sections 1-10 vs 991-1000: %.1f vs %.1f ns per key (ratio %.2f)\n",
                firstSections / (10.0 * kKeys) * 1e9, lastSections / (10.0 * kKeys) * 1e9,
                lastSections / firstSections);
    std::printf("(checksum %zu)\n", checksum);
    return 0;
}
