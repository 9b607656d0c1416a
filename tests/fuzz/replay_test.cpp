// Replays the kept inputs of one fuzz target (its seed corpus and every
// input that once found a fault) without the fuzzer, in every build. The
// target aborts on a broken promise; the sanitizers, when built in, report
// the rest.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

TEST(FuzzReplay, EveryKeptInputRunsThrough)
{
    int replayed = 0;
    for (const QString &folder : QStringLiteral(FUZZ_INPUT_DIRS).split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QDir dir(folder);
        ASSERT_TRUE(dir.exists()) << folder.toStdString();
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            SCOPED_TRACE(name.toStdString());
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}
