// Widget tests need a QApplication for the whole run; it is created through
// a googletest environment so the stock gtest main is kept. Compiled into
// each widget test program; TARVO_TEST_PROGRAM names the program.

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

class CWidgetEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // CTest sets this too; a direct run of the binary must not need a display.
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = TARVO_TEST_PROGRAM;
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new CWidgetEnvironment);

} // namespace
