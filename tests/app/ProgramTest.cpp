#include "AppTestStudy.h"
#include "app/Startup.h"
#include "support/TempDir.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace tarvo {
namespace {

struct CRun {
    int exitCode = -1;
    QString errors;
};

// Runs the installed-to-be program headless, its settings in dir.
CRun RunProgram(const QStringList& arguments, const test::CTempDir& dir) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir.File("config")));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TARVO_ANALYZER_PATH), arguments);
    if (!program.waitForFinished(60000))
        program.kill();
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromLocal8Bit(program.readAllStandardError())};
}

TEST(Program, ScreenshotOptionGrabsTheWindowWithTheStudy) {
    test::CTempDir dir;
    const std::string office = test::SaveSampleWorkspace("office", dir.Path());
    ASSERT_FALSE(office.empty());
    const QString picture = QString::fromStdString(dir.File("window.png"));
    const CRun shot =
        RunProgram({QStringLiteral("--screenshot"), picture, QString::fromStdString(office)}, dir);
    EXPECT_EQ(shot.exitCode, 0) << shot.errors.toStdString();
    const QImage image(picture);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 800);
    EXPECT_GE(image.height(), 500);

    // A workspace that fails ends start-up with its message and no picture.
    const QString none = QString::fromStdString(dir.File("none.png"));
    const CRun failed = RunProgram(
        {QStringLiteral("--screenshot"), none, QString::fromStdString(dir.File("gone.tws"))}, dir);
    EXPECT_NE(failed.exitCode, 0);
    EXPECT_TRUE(failed.errors.contains(QStringLiteral("File Open Error")))
        << failed.errors.toStdString();
    EXPECT_FALSE(QFile::exists(none));

    EXPECT_EQ(RunProgram({QStringLiteral("--bogus")}, dir).exitCode, 2);
    QString error;
    EXPECT_FALSE(ParseCommandLine({"tarvo-analyzer", "--screenshot"}, error));
    const auto both = ParseCommandLine({"tarvo-analyzer", "a.tws", "--screenshot", "b.png"}, error);
    ASSERT_TRUE(both);
    EXPECT_EQ(both->workspace, "a.tws");
    EXPECT_EQ(both->screenshot, "b.png");
}

TEST(Program, DesktopEntryAndWorkspaceTypeAgree) {
    const QString dir = QStringLiteral(TARVO_PACKAGING_DIR);
    QFile desktop(dir + QStringLiteral("/tarvo-analyzer.desktop"));
    QFile mime(dir + QStringLiteral("/tarvo-analyzer.xml"));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(desktop.readAll());
    const QString type = QString::fromUtf8(mime.readAll());
    EXPECT_TRUE(entry.contains(QStringLiteral("MimeType=application/x-tarvo-workspace;")));
    EXPECT_TRUE(entry.contains(QStringLiteral("Exec=tarvo-analyzer %f")));
    EXPECT_TRUE(type.contains(QStringLiteral("type=\"application/x-tarvo-workspace\"")));
    EXPECT_TRUE(type.contains(QStringLiteral("pattern=\"*.tws\"")));

    const QString validate =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validate.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    QProcess check;
    check.start(validate, {desktop.fileName()});
    ASSERT_TRUE(check.waitForFinished(30000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
}

} // namespace
} // namespace tarvo
