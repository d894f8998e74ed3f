// The view and export tests paint text and images, which needs a
// QGuiApplication (for the font database). One is created for the whole test
// run through a googletest environment, so the stock gtest main is kept.
// Compiled into each of those test programs (not into tarvo_test_support,
// which links no Qt); TARVO_TEST_PROGRAM names the program.

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

class CGuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // CTest sets this too; a direct run of the binary must not need a display.
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = TARVO_TEST_PROGRAM;
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QGuiApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new CGuiEnvironment);

} // namespace
