#include "platform/files/WaitCursor.h"

#include "support/TestSupport.h"

#include <QCursor>
#include <QGuiApplication>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

Qt::CursorShape CurrentOverride()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

} // namespace

TEST(WaitCursor, RestoresThePreviousCursorWhenReleased)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        WaitCursor outer;
        EXPECT_EQ(CurrentOverride(), Qt::WaitCursor);
        {
            WaitCursor inner(Qt::BusyCursor);
            EXPECT_EQ(CurrentOverride(), Qt::BusyCursor);
        }
        EXPECT_EQ(CurrentOverride(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(WaitCursor, DoesNothingWithoutAGuiApplication)
{
    QProcess process;
    process.start(testsupport::HelperProgram(QStringLiteral("file_services_runner")), {QStringLiteral("waitcursor")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardOutput().trimmed(), QByteArray("ok"));
}
