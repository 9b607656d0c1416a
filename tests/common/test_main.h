#pragma once
// Shared test entry: the application object a test program needs, on the
// offscreen platform where it has a screen, then the tests.

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

// Application is QCoreApplication, QGuiApplication or QApplication: the
// smallest one the tested libraries need, so that a library reaching into a
// larger Qt module than it declares fails to link.
template <typename Application>
int RunTests(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    Application app(argc, argv);
    // The application sets the C locale from the environment; keep
    // printf-style formatting under test of the process locale as a user
    // would have it.
    std::setlocale(LC_ALL, "");
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshDataFolder);
    return RUN_ALL_TESTS();
}
