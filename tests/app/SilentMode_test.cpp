// Silent mode is decided by the process credentials alone: root is the system account,
// an ordinary user is not.
#include "platform/system/Accounts.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

TEST(SilentMode, RootIsTheSystemAccountAnOrdinaryUserIsNot)
{
    if (!testsupport::RunningAsRoot())
        GTEST_SKIP() << "needs root to compare with an ordinary user";
    const QString probe = testsupport::HelperProgram(QStringLiteral("qx_account_probe"));

    QProcess asRoot;
    asRoot.start(probe, {});
    ASSERT_TRUE(asRoot.waitForFinished(30000));
    EXPECT_EQ(asRoot.readAllStandardOutput().trimmed(), QByteArray("1"));

    QByteArray output;
    ASSERT_EQ(testsupport::RunAsNobody(probe, {}, 30000, &output), 0) << output.constData();
    EXPECT_EQ(output.trimmed(), QByteArray("0"));
}

} // namespace
