// Benchmark of the configuration document (run by hand; reports ratios against
// pugixml measured in the same run):
//   build/bin/config_store_bench [folder]
// A generated document of about 20 MB: 100,000 keys in nested sections, each key with
// attributes and a value. Timed: LoadFromFile beside pugixml's parse of the same file,
// reading every key once in document order, one WriteString outside a bracket (a whole
// save) beside pugixml's save of the same tree, and reads of N keys below one parent.
#include "config/ConfigHooks.h"
#include "config/TZavConfigXMLFast.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <pugixml.hpp>
#include <vector>

namespace {

double BestMs(int runs, const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, double(t.nsecsElapsed()) / 1e6);
    }
    return best;
}

QByteArray GenerateDocument(int sections, int groups, int keys, int valueBytes)
{
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<HALVREN Version=\"1.1\">\r\n";
    const QByteArray value(valueBytes, 'v');
    for (int s = 0; s < sections; ++s) {
        out += "<Section" + QByteArray::number(s) + " Kind=\"section\" Order=\"" + QByteArray::number(s) + "\">\r\n";
        for (int g = 0; g < groups; ++g) {
            out += "<Group" + QByteArray::number(g) + " Count=\"" + QByteArray::number(keys) + "\">\r\n";
            for (int k = 0; k < keys; ++k)
                out += "<Key" + QByteArray::number(k) + " Id=\"" + QByteArray::number(k) + "\" Name=\"key &amp; name\" Type=\"s\">s" + value +
                       "</Key" + QByteArray::number(k) + ">\r\n";
            out += "</Group" + QByteArray::number(g) + ">\r\n";
        }
        out += "</Section" + QByteArray::number(s) + ">\r\n";
    }
    out += "</HALVREN>\r\n";
    return out;
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temp(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/qxbench-XXXXXX") : QString());
    const QString path = temp.filePath(QStringLiteral("Bench.hvk"));
    const QString pugiPath = temp.filePath(QStringLiteral("pugi.xml"));
    const QByteArray bytes = GenerateDocument(100, 10, 100, 150);
    WriteFile(path, bytes);
    std::printf("document: %.1f MB, 100000 keys in 100 sections x 10 groups\n", bytes.size() / 1e6);
    const int runs = 5;

    // Loading.
    const double pugiLoad = BestMs(runs, [&] {
        pugi::xml_document doc;
        doc.load_file(QFile::encodeName(path).constData());
    });
    // The store keeps whitespace text (the line structure of the file) and comments.
    const double pugiLoadSame = BestMs(runs, [&] {
        pugi::xml_document doc;
        doc.load_file(QFile::encodeName(path).constData(), pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_comments);
    });
    TZavConfigXMLFast config;
    const double ourLoad = BestMs(runs, [&] { config.LoadFromFile(path); });
    std::printf("LoadFromFile      %8.1f ms   pugixml load_file %8.1f ms   ratio %.2f\n", ourLoad, pugiLoad, ourLoad / pugiLoad);
    std::printf("                               pugixml, same options %6.1f ms   ratio %.2f\n", pugiLoadSame, ourLoad / pugiLoadSame);

    // Reading every key once, in document order.
    QStringList keys;
    config.ReadAllSubKeys(QString(), keys);
    int found = 0;
    const double readAll = BestMs(runs, [&] {
        found = 0;
        for (const QString &key : std::as_const(keys))
            found += config.ReadString(key, QString()).isEmpty() ? 0 : 1;
    });
    std::printf("read all %lld keys %8.1f ms   (%.2f us per key, %d values)\n", (long long)keys.size(), readAll, readAll * 1000 / keys.size(), found);

    // A whole save: one WriteString outside a bracket, beside pugixml's save of the same tree.
    pugi::xml_document pugiDoc;
    pugiDoc.load_file(QFile::encodeName(path).constData(), pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_comments);
    const double pugiSave = BestMs(runs, [&] { pugiDoc.save_file(QFile::encodeName(pugiPath).constData(), "", pugi::format_raw); });
    int n = 0;
    const double ourSave = BestMs(runs, [&] { config.WriteString(QStringLiteral("Section5\\Group5\\Key5"), QString::number(++n)); });
    const double serialise = BestMs(runs, [&] { (void)config.SerializedContent(); });
    std::printf("WriteString+save  %8.1f ms   pugixml save_file %8.1f ms   ratio %.2f\n", ourSave, pugiSave, ourSave / pugiSave);
    std::printf("  of which serialising %.1f ms (ratio %.2f); the rest is the backup copy, fsync and rename\n", serialise, serialise / pugiSave);

    // N keys below one parent: time per key should not grow with N.
    for (int count : {1000, 10000, 100000}) {
        const QString flat = temp.filePath(QStringLiteral("flat%1.xml").arg(count));
        WriteFile(flat, GenerateDocument(1, 1, count, 20));
        TZavConfigXMLFast doc;
        doc.LoadFromFile(flat);
        QStringList flatKeys;
        for (int k = 0; k < count; ++k)
            flatKeys.append(QStringLiteral("Section0\\Group0\\Key%1").arg(k));
        // Reverse order: a lookup that scanned siblings would show its cost here.
        std::reverse(flatKeys.begin(), flatKeys.end());
        const double ms = BestMs(3, [&] {
            for (const QString &key : std::as_const(flatKeys))
                (void)doc.ReadString(key, QString());
        });
        std::printf("N=%6d keys below one parent: %8.2f ms, %.3f us per key\n", count, ms, ms * 1000 / count);
    }
    return 0;
}
