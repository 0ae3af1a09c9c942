// Replays the inputs kept from fuzzing the configuration loader (tests/fuzz/corpus):
// each must load or fail cleanly, and whatever is written must parse and write again
// unchanged.
#include "../fuzz/ConfigLoaderFuzzCase.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(ConfigLoaderCorpus, SavedInputsLoadCleanly)
{
    const QDir corpus(QStringLiteral(QX_TEST_SOURCE_DIR "/fuzz/corpus"));
    const QStringList files = corpus.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << "no saved inputs in " << corpus.path().toStdString();
    for (const QString &name : files) {
        const QByteArray bytes = testsupport::ReadBytes(corpus.filePath(name));
        EXPECT_EQ(RunConfigLoaderCase(bytes.constData(), size_t(bytes.size())), std::string()) << name.toStdString();
    }
}
