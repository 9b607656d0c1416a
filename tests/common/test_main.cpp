// Shared test entry: a QApplication on the offscreen platform, then the tests.

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <memory>

namespace {

// The programs keep their database in the user's data folder: every test
// gets an empty one of its own, and the real one is never touched.
class FreshDataFolder : public ::testing::EmptyTestEventListener {
    std::unique_ptr<QTemporaryDir> Folder;

    void OnTestStart(const ::testing::TestInfo &) override
    {
        Folder = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", Folder->path().toLocal8Bit());
    }
    void OnTestEnd(const ::testing::TestInfo &) override { Folder.reset(); }
};

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // QApplication sets the C locale from the environment; keep printf-style
    // formatting under test of the process locale as a user would have it.
    std::setlocale(LC_ALL, "");
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshDataFolder);
    return RUN_ALL_TESTS();
}
