#pragma once
// Stand-ins for the helper programs a recorded walk runs (iw, iperf3):
// small shell scripts written into a test's folder, found through PATH
// while a CPathFirst is alive.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tarvo::test {

// Writes `body` as an executable /bin/sh script `name` in folder; returns
// its path.
inline std::string WriteScript(const std::filesystem::path& folder, const std::string& name,
                               const std::string& body) {
    const std::filesystem::path path = folder / name;
    {
        std::ofstream out(path);
        out << "#!/bin/sh\n" << body << '\n';
    }
    std::filesystem::permissions(path, std::filesystem::perms::owner_all |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::group_exec);
    return path.string();
}

// A script that prints the file `fixture` and exits 0.
inline std::string WriteCatScript(const std::filesystem::path& folder, const std::string& name,
                                  const std::string& fixture) {
    return WriteScript(folder, name, "/bin/cat '" + fixture + "'");
}

// A fake iperf3 whose download rate grows with every run: run n reports
// n * 10 Mbit/s + offsetBps. It counts its runs in the file "calls" of
// folder.
inline std::string WriteCountingIperf(const std::filesystem::path& folder, long offsetBps) {
    const std::string calls = (folder / "calls").string();
    return WriteScript(folder, "iperf3",
                       "[ \"$1\" = --version ] && { echo 'iperf 3.12'; exit 0; }\n"
                       "n=$(/bin/cat '" +
                           calls +
                           "' 2>/dev/null || echo 0)\n"
                           "n=$((n+1)); echo $n > '" +
                           calls +
                           "'\n"
                           "echo \"{\\\"end\\\": {\\\"sum_received\\\": "
                           "{\\\"bits_per_second\\\": $((n * 10000000 + " +
                           std::to_string(offsetBps) + ")) }}}\"");
}

// Puts a folder first on PATH (or, with `only`, makes it the whole PATH, so
// that the machine's own iw and iperf3 are out of reach) for the life of
// the object. Scripts name the commands they run by full path.
class CPathFirst {
public:
    explicit CPathFirst(const std::filesystem::path& folder, bool only = false) {
        const char* old = std::getenv("PATH");
        if (old)
            saved_ = old;
        had_ = old != nullptr;
        const std::string rest = only ? std::string() : saved_;
        ::setenv("PATH", (folder.string() + (rest.empty() ? "" : ":" + rest)).c_str(), 1);
    }
    ~CPathFirst() {
        if (had_)
            ::setenv("PATH", saved_.c_str(), 1);
        else
            ::unsetenv("PATH");
    }
    CPathFirst(const CPathFirst&) = delete;
    CPathFirst& operator=(const CPathFirst&) = delete;

private:
    std::string saved_;
    bool had_ = false;
};

// A folder of tests/data/record.
inline std::string RecordData(const std::string& name) {
    return std::string(TARVO_TEST_DATA_DIR) + "/record/" + name;
}

} // namespace tarvo::test
