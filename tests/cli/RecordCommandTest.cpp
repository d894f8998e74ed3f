// tarvo record with typed positions: saved scans replayed into a walk equal
// to one written out by hand, undo, averaging, a fake iw, the throughput
// side file of a fake iperf3 and its picture (tarvo render --type 10), and
// the tool killed between points.

#ifdef TARVO_HAVE_tarvo_view

#include "cli/ToolRunner.h"
#include "formats/FloorPlanWriter.h"
#include "support/FakePrograms.h"
#include "support/RecordedWalkBytes.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvo {
namespace {

using test::CToolRun;
using test::CWalkBytes;
using test::Has;
using test::RecordData;
using test::WithoutTimes;

// Every location's time fields are masked: they hold the time of the test.
const std::vector<int> kNoTime = {0, 0, 0, 0, 0, 0};
const std::string kCafe = "Caf\xc3\xa9 Gast";

CToolRun RecordTyped(const std::vector<std::string>& args, const std::string& typed) {
    std::istringstream in(typed);
    std::ostringstream out, err;
    CCommandIo io{out, err, false, &in};
    std::vector<std::string> full = {"record"};
    full.insert(full.end(), args.begin(), args.end());
    const int status = RunTool(full, io);
    return {status, out.str(), err.str()};
}

class RecordCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        // 200 x 100 pixels at 0.1 m: 20 x 10 m.
        plan = dir.Write("plan.lpf", EncodeBlankFloorPlan(200, 100, 0.1));
        walk = dir.File("walk.ssd");
    }
    std::vector<std::string> Replay(std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"--plan", plan,       "--out",
                                         walk,     "--replay", RecordData("replay")};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    test::CTempDir dir;
    std::string plan, walk;
};

TEST_F(RecordCommandTest, TypedPositionsAndReplayedScansMakeTheWalk) {
    // scan-1 at (3, 4), scan-2 at (5, 6) taken back, scan-3 (nothing heard)
    // at (12.34, 0); a line that is no position and one off the plan are
    // refused without using a scan.
    const CToolRun run = RecordTyped(Replay(), "3 4\n\n5,6\nu\nsomewhere\n25 3\n12.34;0\n q \n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "point 1 at x_m 3.00, y_m 4.00 (pixel 30, 60): 2 BSSIDs, strongest -48.0 dBm; "
              "saved\n"
              "point 2 at x_m 5.00, y_m 6.00 (pixel 50, 40): 3 BSSIDs, strongest -52.5 dBm; "
              "saved\n"
              "point 2 removed; 1 point saved\n"
              "point 2 at x_m 12.30, y_m 0.10 (pixel 123, 99): nothing heard; saved\n" +
                  walk + ": 2 locations, 2 samples, 2 distinct BSSIDs\n");
    EXPECT_TRUE(Has(run.err, "point 1: x_m y_m (u: undo, q: end)> scanning...\n"));
    EXPECT_TRUE(Has(run.err, "tarvo record: type the position as two numbers"));
    EXPECT_TRUE(Has(run.err, "tarvo record: position outside the plan: (25.00, 3.00) m"));

    // Written out by hand: 5180 MHz is channel 36; -48 and -63 dBm are
    // -768 and -1008 sixteenths; each BSS heard by its one scan.
    CWalkBytes expected = CWalkBytes::Header(0);
    expected.Location(30, 60, kNoTime, 2)
        .Sample(36, -768, 1, "Office", 1)
        .Sample(6, -1008, 2, kCafe, 1)
        .Location(123, 99, kNoTime, 0);
    EXPECT_EQ(WithoutTimes(test::ReadBytes(walk)), expected.bytes);
}

TEST_F(RecordCommandTest, ScansPerPointAreAveragedWithTheirCounts) {
    const CToolRun run =
        RecordTyped(Replay({"--scans-per-point", "2", "--pixels"}), "10 20\n150.4 80.6\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(run.err, "scanning 1/2...\nscanning 2/2...\n"));
    // Point 1 from scans 1 and 2: Office (-48, -52.5) -> -50.25 dBm = -804;
    // the guest network (-63, -57) -> -60 dBm = -960; the hidden one heard
    // once at -81 dBm = -1296 on channel 11. Point 2 from scans 3 (empty)
    // and 10: the hidden one at -70 dBm = -1120, heard once.
    CWalkBytes expected = CWalkBytes::Header(0);
    expected.Location(10, 20, kNoTime, 3)
        .Sample(36, -804, 1, "Office", 2)
        .Sample(6, -960, 2, kCafe, 2)
        .Sample(11, -1296, 3, "", 1)
        .Location(150, 81, kNoTime, 1)
        .Sample(11, -1120, 3, "", 1);
    EXPECT_EQ(WithoutTimes(test::ReadBytes(walk)), expected.bytes);
    EXPECT_TRUE(Has(run.out, "(pixel 150, 81)"));

    // The survey reads as any other: the tool summarises it.
    const CToolRun info = test::RunTarvo({"info", walk});
    EXPECT_TRUE(Has(info.out, "locations:            2 (GPS fix 0, GPS no fix 0, linear 2)"))
        << info.out;
}

TEST_F(RecordCommandTest, AFakeIwScansAndItsFailuresAreSaid) {
    test::CPathFirst path(dir.Path(), true);
    test::WriteScript(dir.Path(), "iw",
                      "[ \"$4\" = dump ] && { /bin/cat '" + RecordData("replay/scan-2.txt") +
                          "'; exit 0; }\n"
                          "echo 'command failed: Operation not permitted (-1)' >&2; exit 255");
    CToolRun run = RecordTyped({"--plan", plan, "--out", walk, "--iface", "wlan0"}, "1 1\n2 2\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find("point 2 at"), run.out.rfind("point 2 at"));
    // The note once, at the first point.
    EXPECT_TRUE(Has(run.err, "tarvo record: note: a fresh scan of wlan0 is not permitted: it "
                             "needs the CAP_NET_ADMIN capability"));
    EXPECT_EQ(run.err.find("note:"), run.err.rfind("note:"));

    // An iw that fails: the point is not recorded and nothing is written.
    test::WriteScript(dir.Path(), "iw",
                      "echo 'command failed: Network is down (-100)' >&2; exit 1");
    run = RecordTyped({"--plan", plan, "--out", dir.File("none.ssd"), "--iface", "wlan0"},
                      "1 1\nq\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(Has(run.err, "tarvo record: iw dev wlan0 scan: command failed: Network is down "
                             "(-100); the point is not recorded\n"))
        << run.err;
    EXPECT_EQ(run.out, "no point recorded: nothing written\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.ssd")));
}

TEST_F(RecordCommandTest, ThroughputGoesToTheSideFileAndIntoItsPicture) {
    test::CPathFirst path(dir.Path(), true);
    // Rates that grow by 10 Mbit/s with every run: the downloads of the
    // three points are 10, 30 and 50 Mbit/s.
    test::WriteCountingIperf(dir.Path(), 0);
    const CToolRun run = RecordTyped(Replay({"--iperf", "perf.local"}), "2 2\n18 2\n10 8\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "throughput down 50.0 Mbit/s, up 60.0 Mbit/s; saved"));
    EXPECT_EQ(test::ReadText(dir.File("walk.throughput.csv")), "x_m,y_m,down_bps,up_bps,jitter_ms\n"
                                                               "2.000,2.000,10000000,20000000,\n"
                                                               "18.000,2.000,30000000,40000000,\n"
                                                               "10.000,8.000,50000000,60000000,\n");

    // The picture: 0..50 Mbit/s in ten bands; on a blank white plan each
    // measured point's cell shows its band's colour at opacity 192 of 255.
    const std::string png = dir.File("throughput.png");
    const CToolRun render =
        test::RunTarvo({"render", walk, "--map", plan, "--type", "10", "--out", png});
    ASSERT_EQ(render.status, 0) << render.err;
    const QImage picture(QString::fromStdString(png));
    ASSERT_FALSE(picture.isNull());
    auto shown = [&picture](int r, int g, int b) {
        const auto blend = [](int c) { return (c * 192 + 255 * 63) / 255; };
        int count = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                count += std::abs(c.red() - blend(r)) <= 2 && std::abs(c.green() - blend(g)) <= 2 &&
                         std::abs(c.blue() - blend(b)) <= 2;
            }
        return count;
    };
    EXPECT_GT(shown(180, 105, 255), 0) << "10 Mbit/s: band 2, colour 7";
    EXPECT_GT(shown(34, 139, 34), 0) << "30 Mbit/s: band 6, colour 3";
    EXPECT_GT(shown(255, 0, 0), 0) << "50 Mbit/s: band 9 (the top), colour 0";
    EXPECT_EQ(shown(0, 0, 255), 0) << "nothing below 5 Mbit/s";

    // No side file: a clear refusal; without iperf3 the walk goes on.
    EXPECT_EQ(test::RunTarvo({"render", walk, "--map", plan, "--type", "11", "--out", png}).status,
              2);
    std::filesystem::remove(dir.File("walk.throughput.csv"));
    const CToolRun none =
        test::RunTarvo({"render", walk, "--map", plan, "--type", "10", "--out", png});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(Has(none.err, "tarvo render: no throughput was measured")) << none.err;
    std::filesystem::remove(dir.Path() / "iperf3");
    const CToolRun without = RecordTyped({"--plan", plan, "--out", dir.File("w2.ssd"), "--replay",
                                          RecordData("replay"), "--iperf", "perf.local"},
                                         "1 1\n");
    EXPECT_EQ(without.status, 0);
    EXPECT_TRUE(Has(without.err, "tarvo record: iperf3 is not installed (or not on the PATH): the "
                                 "throughput is not measured (Debian package iperf3); recording "
                                 "the walk without it\n"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("w2.ssd")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("w2.throughput.csv")));
}

TEST_F(RecordCommandTest, WrongCommandLinesAreRefused) {
    EXPECT_EQ(RecordTyped({"--out", walk}, "").err,
              "tarvo record: --plan PLAN.lpf is required: the floor plan the walk is recorded "
              "on\n");
    EXPECT_EQ(RecordTyped({"--plan", plan}, "").status, 2);
    EXPECT_EQ(RecordTyped(Replay({"--iface", "wlan0"}), "").status, 2);
    EXPECT_EQ(RecordTyped(Replay({"--scans-per-point", "0"}), "").status, 2);
    EXPECT_EQ(RecordTyped({"--plan", plan, "--out", plan, "--replay", "x"}, "").status, 2)
        << "the walk may not replace its plan";
    const CToolRun missing =
        RecordTyped({"--plan", plan, "--out", walk, "--replay", dir.File("nothing")}, "");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "tarvo record: the replay folder " + dir.File("nothing") +
                               " does not exist or is not a folder\n");
    EXPECT_EQ(
        RecordTyped({"--plan", dir.File("no.lpf"), "--out", walk, "--replay", "x"}, "").status, 1);
}

// The tool as a child with its standard streams on pipes, in a process
// group of its own (which also holds the iw it runs).
class CChild {
public:
    explicit CChild(const std::vector<std::string>& argv) {
        int in[2], out[2], err[2];
        EXPECT_EQ(::pipe2(in, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(err, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        ::posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        ::posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        posix_spawnattr_t attributes;
        ::posix_spawnattr_init(&attributes);
        ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        ::posix_spawnattr_setpgroup(&attributes, 0);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        EXPECT_EQ(
            ::posix_spawn(&pid_, argv[0].c_str(), &actions, &attributes, args.data(), environ), 0);
        ::posix_spawn_file_actions_destroy(&actions);
        ::posix_spawnattr_destroy(&attributes);
        ::close(in[0]);
        ::close(out[1]);
        ::close(err[1]);
        in_ = in[1];
        out_ = out[0];
        err_ = err[0];
    }
    ~CChild() {
        Kill();
        for (int fd : {in_, out_, err_})
            ::close(fd);
    }
    void Type(const std::string& text) {
        EXPECT_EQ(::write(in_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    // Reads until `text` has appeared `times` times on stdout (or stderr).
    bool WaitFor(const std::string& text, int times, bool onErr = false) {
        std::string& seen = onErr ? err_text_ : out_text_;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (Count(seen, text) < times) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
            if (::poll(fds, 2, 100) <= 0)
                continue;
            char buffer[4096];
            for (int i = 0; i < 2; ++i)
                if (fds[i].revents) {
                    const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
                    if (n > 0)
                        (i == 0 ? out_text_ : err_text_)
                            .append(buffer, static_cast<std::size_t>(n));
                }
        }
        return true;
    }
    void Kill() {
        if (pid_ <= 0)
            return;
        ::kill(-pid_, SIGKILL);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }
    const std::string& Out() const { return out_text_; }

private:
    static int Count(const std::string& text, const std::string& part) {
        int n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos;
             at = text.find(part, at + 1))
            ++n;
        return n;
    }

    pid_t pid_ = -1;
    int in_ = -1, out_ = -1, err_ = -1;
    std::string out_text_, err_text_;
};

TEST_F(RecordCommandTest, KilledWhileScanningTheWalkHoldsTheEarlierPointsWhole) {
    test::CPathFirst path(dir.Path(), true);
    // The first two scans answer at once; the third never does.
    test::WriteScript(dir.Path(), "iw",
                      "n=$(/bin/cat '" + dir.File("scans") +
                          "' 2>/dev/null || echo 0)\n"
                          "n=$((n+1)); echo $n > '" +
                          dir.File("scans") +
                          "'\n"
                          "[ $n -le 2 ] && exec /bin/cat '" +
                          RecordData("replay") +
                          "/scan-'$n.txt\n"
                          "exec /bin/sleep 60");
    CChild tool({TARVO_TOOL_PATH, "record", "--plan", plan, "--out", walk, "--iface", "wlan0"});
    tool.Type("3 4\n");
    ASSERT_TRUE(tool.WaitFor("; saved\n", 1)) << tool.Out();
    tool.Type("5 6\n");
    ASSERT_TRUE(tool.WaitFor("; saved\n", 2)) << tool.Out();
    const std::vector<std::uint8_t> two = test::ReadBytes(walk);
    tool.Type("7 8\n");
    ASSERT_TRUE(tool.WaitFor("scanning...", 3, true));
    // Until iw has started its third scan.
    for (int i = 0; i < 200 && test::ReadText(dir.File("scans")) != "3\n"; ++i)
        ::usleep(10000);
    tool.Kill();

    const std::vector<std::uint8_t> left = test::ReadBytes(walk);
    EXPECT_EQ(left, two) << "the file as it was after the second point";
    CWalkBytes expected = CWalkBytes::Header(0);
    expected.Location(30, 60, kNoTime, 2)
        .Sample(36, -768, 1, "Office", 1)
        .Sample(6, -1008, 2, kCafe, 1)
        .Location(50, 40, kNoTime, 3)
        .Sample(6, -912, 2, kCafe, 1)
        .Sample(36, -840, 1, "Office", 1)
        .Sample(11, -1296, 3, "", 1);
    EXPECT_EQ(WithoutTimes(left), expected.bytes);
    // Nothing but the walk beside the plan and the fake program's files.
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        EXPECT_TRUE(entry.path().filename() == "plan.lpf" ||
                    entry.path().filename() == "walk.ssd" || entry.path().filename() == "iw" ||
                    entry.path().filename() == "scans")
            << entry.path();
}

} // namespace
} // namespace tarvo

#endif // TARVO_HAVE_tarvo_view
