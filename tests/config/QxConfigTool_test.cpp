// The command-line tool qxconfig, run as a separate program.
#include "config/ConfigTestSupport.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace testsupport;
using namespace configtest;

namespace {

struct ToolRun
{
    int code;
    QString out;
    QString err;
};

ToolRun Qxconfig(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(QX_BIN_DIR "/qxconfig"), args);
    if (!p.waitForFinished(30000))
        return {-1, QString(), QStringLiteral("timeout")};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

TEST(QxConfigTool, InspectsAndChangesADocument)
{
    TempFolder folder;
    EnvGuard home("XDG_CONFIG_HOME", QFile::encodeName(folder.File(QStringLiteral("xdg"))));
    const QString f = folder.File(QStringLiteral("Zav.hvk"));
    WriteBytes(f, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<HALVREN Version=\"1.1\">\r\n<Security>\r\n"
                  "<L>lsa|sb#007Cc</L>\r\n<Plugin Count=\"1\">\r\n<Plug1>\r\n<PluginName>sv</PluginName>\r\n</Plug1>\r\n</Plugin>\r\n"
                  "</Security>\r\n</HALVREN>\r\n");
    const struct { const char *name; QStringList args; int code; const char *out; } steps[] = {
        {"write", {QStringLiteral("write"), f, QStringLiteral("Security\\Date"), QString::fromUtf8("11.12. Größe")}, 0, ""},
        {"read", {QStringLiteral("read"), f, QStringLiteral("Security\\Date")}, 0, "11.12. Größe\n"},
        {"read default", {QStringLiteral("read"), f, QStringLiteral("Security\\None"), QStringLiteral("dflt")}, 0, "dflt\n"},
        {"set-value", {QStringLiteral("set-value"), f, QStringLiteral("Security\\Plugin"), QStringLiteral("Count"), QStringLiteral("2")}, 0, ""},
        {"value", {QStringLiteral("value"), f, QStringLiteral("Security\\Plugin"), QStringLiteral("Count")}, 0, "2\n"},
        {"list", {QStringLiteral("list"), f, QStringLiteral("Security\\L")}, 0, "a\nb|c\n"},
        {"keys", {QStringLiteral("keys"), f, QStringLiteral("Security")}, 0, "L\nPlugin\nPlugin\\Plug1\nPlugin\\Plug1\\PluginName\nDate\n"},
        {"verify unsealed", {QStringLiteral("verify"), f, QStringLiteral("Security")}, 1, ""},
        {"seal", {QStringLiteral("seal"), f, QStringLiteral("Security")}, 0, ""},
        {"verify sealed", {QStringLiteral("verify"), f, QStringLiteral("Security")}, 0, ""},
        {"change", {QStringLiteral("write"), f, QStringLiteral("Security\\Date"), QStringLiteral("x")}, 0, ""},
        {"verify changed", {QStringLiteral("verify"), f, QStringLiteral("Security")}, 1, ""},
        {"bad key", {QStringLiteral("write"), f, QStringLiteral("Security\\1x"), QStringLiteral("x")}, 2, ""},
        {"missing file", {QStringLiteral("read"), folder.File(QStringLiteral("none.hvk")), QStringLiteral("A")}, 2, ""},
        {"unknown command", {QStringLiteral("frobnicate"), f, QStringLiteral("A")}, 2, ""},
        {"too few arguments", {QStringLiteral("write"), f, QStringLiteral("A")}, 2, ""},
    };
    for (const auto &step : steps) {
        const ToolRun run = Qxconfig(step.args);
        EXPECT_EQ(run.code, step.code) << step.name << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, QString::fromUtf8(step.out)) << step.name;
        EXPECT_EQ(run.err.isEmpty(), step.code != 2) << step.name << ": " << run.err.toStdString();
    }
    EXPECT_TRUE(ReadBytes(f).contains("<Pruefsumme>s"));
    EXPECT_FALSE(QFile::exists(folder.File(QStringLiteral("none.hvk")))) << "reading must not create a document";
    QString lint;
    EXPECT_TRUE(XmllintAccepts(f, &lint)) << lint.toStdString();
}

} // namespace
