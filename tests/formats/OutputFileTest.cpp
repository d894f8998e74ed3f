// Outputs replace earlier files and folders without loosening who may read
// them, and leave no temporaries behind: neither those of a run that was
// killed while writing nor those of one that finished.

#include "formats/OutputFile.h"
#include "formats/FileIo.h"
#include "formats/OutputFolder.h"
#include "formats/TemporaryFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using test::CTempDir;
using test::ReadText;

bool Put(const std::string& path, const std::string& text) {
    return WriteFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

std::set<std::string> Names(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

// Runs `work` in a child process, which is then killed; returns once the
// child has ended.
template <typename F> void RunAndKill(F work) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        work();
        ::raise(SIGKILL);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
}

// The number of a process that has ended.
pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// The host part of this process's temporary names.
std::string HostTag(const CTempDir& dir) {
    const std::string name = fs::path(TemporaryNameBeside(dir.File("x"))).filename().string();
    const std::string tail = "-" + std::to_string(::getpid()) + "-";
    return name.substr(7, name.rfind(tail) - 7); // after ".tarvo-"
}

class OutputFile : public ::testing::Test {
protected:
    void SetUp() override { umask_ = ::umask(022); }
    void TearDown() override { ::umask(umask_); }
    CTempDir dir;
    mode_t umask_ = 0;
};

TEST_F(OutputFile, AReplacedFileKeepsItsModeOwnerAndGroup) {
    const std::string path = dir.File("study.tws");
    ASSERT_TRUE(Put(path, "one"));
    EXPECT_EQ(ModeOf(path), 0644u) << "a new file: 0666 less the umask";
    for (const mode_t mode : {0600u, 0640u, 0755u, 0444u}) {
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ASSERT_TRUE(Put(path, "two"));
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(ReadText(path), "two");
    }
    if (::geteuid() == 0) { // only root may give a file away
        ASSERT_EQ(::chown(path.c_str(), 4321, 8765), 0);
        ASSERT_TRUE(Put(path, "three"));
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, 4321u);
        EXPECT_EQ(info.st_gid, 8765u);
    }
}

TEST_F(OutputFile, AHardLinkKeepsTheEarlierContentASymbolicLinkFollows) {
    const std::string path = dir.File("r.kml"), hard = dir.File("hard.kml");
    const std::string soft = dir.File("soft.kml");
    ASSERT_TRUE(Put(path, "earlier"));
    fs::create_hard_link(path, hard);
    fs::create_symlink(path, soft);
    ASSERT_TRUE(Put(soft, "later"));
    EXPECT_TRUE(fs::is_symlink(soft));
    EXPECT_EQ(ReadText(path), "later");
    EXPECT_EQ(ReadText(hard), "earlier");
}

TEST_F(OutputFile, TemporariesOfEndedRunsGoWhenTheNextOutputIsWritten) {
    const std::string host = HostTag(dir);
    const std::string ended = std::to_string(EndedProcess());
    const std::string stale = ".tarvo-" + host + "-" + ended + "-3.tmp";
    const std::string staleFolder = ".tarvo-" + host + "-" + ended + "-4.tmp";
    const std::string earlierVersion = ".tarvo-" + ended + "-0.tmp";
    const std::set<std::string> kept{".tarvo-" + host + "-1-0.tmp", // a running process
                                     ".tarvo-" + host + "-" + std::to_string(::getpid()) +
                                         "-0.tmp",                           // this one
                                     ".tarvo-elsewhere-" + ended + "-0.tmp", // another host's
                                     ".tarvo-notes.tmp", "walk.ssd"};
    for (const std::string& name : kept)
        std::ofstream(dir.File(name)) << "x";
    std::ofstream(dir.File(stale)) << "25 MB of a killed save";
    std::ofstream(dir.File(earlierVersion)) << "x";
    fs::create_directories(dir.Path() / staleFolder / "inner");

    ASSERT_TRUE(Put(dir.File("out.txt"), "new"));
    std::set<std::string> expected = kept;
    expected.insert("out.txt");
    EXPECT_EQ(Names(dir.Path()), expected);
}

TEST_F(OutputFile, AKilledWriterLeavesTheEarlierFileAndNoTemporary) {
    const std::string path = dir.File("study.tws");
    ASSERT_TRUE(Put(path, "earlier"));
    const std::string big(1 << 20, 'x');
    RunAndKill([&] { // killed while writing
        COutputFile file(path);
        file.Write(big);
    });
    RunAndKill([&] { // killed once written, before it was put in place
        COutputFile file(path);
        if (file.Write(big))
            file.Finish();
    });
    EXPECT_EQ(ReadText(path), "earlier");
    ASSERT_TRUE(Put(dir.File("next.txt"), "next"));
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"next.txt", "study.tws"}));
}

TEST_F(OutputFile, AFolderComesBackWhenItsCompanionCannotBePutInPlace) {
    const fs::path folder = dir.Path() / "site";
    fs::create_directory(folder);
    std::ofstream(folder / "bmp2.bmp") << "earlier picture";
    COutputFile page(dir.File("site.html"));
    COutputFolder pictures(folder.string(), [](const std::string&) { return false; });
    ASSERT_TRUE(pictures.Ok());
    std::ofstream(fs::path(pictures.WritePath()) / "bmp2.bmp") << "new picture";
    ASSERT_TRUE(page.Write(std::string_view("<html/>")) && page.Finish());
    // Something takes the page's name meanwhile: it cannot be replaced.
    fs::create_directories(dir.Path() / "site.html" / "taken");
    EXPECT_FALSE(pictures.Commit(page));
    EXPECT_TRUE(page.Failure().opened);
    EXPECT_EQ(ReadText((folder / "bmp2.bmp").string()), "earlier picture");
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"site", "site.html"}));
    EXPECT_EQ(Names(folder), std::set<std::string>{"bmp2.bmp"});
}

} // namespace
} // namespace tarvo
