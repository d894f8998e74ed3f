// Tests that paint need a Qt application for the whole run (fonts, images;
// widgets for the desktop program's tests). It is created through a
// googletest environment so the stock gtest main is kept. Compiled into each
// such test program, not into tarvo_test_support (which links no Qt);
// TARVO_TEST_PROGRAM names the program and TARVO_TEST_WIDGETS asks for a
// QApplication instead of a QGuiApplication.

#ifdef TARVO_TEST_WIDGETS
#include <QApplication>
using CTestApplication = QApplication;
#else
#include <QGuiApplication>
using CTestApplication = QGuiApplication;
#endif
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
        app_ = std::make_unique<CTestApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<CTestApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new CGuiEnvironment);

} // namespace
