// Peak memory of `tarvo process` on large generated surveys.
//
//   BM_ProcessPeakRss/<survey>/<output>: runs the tool as its own process on
//     the survey (generated once per run, see SurveyGenerator.h) and reports
//     its peak resident set (`peak_MB`, from the kernel's accounting of the
//     child), the survey's size (`survey_MB`) and their ratio
//     (`peak_per_survey`), plus the wall time. <output> is what the tool
//     writes besides loading and estimating: `table` (the default text
//     output), `json` (--json with --with-matrix) or `save` (a workspace).
//
//   dense:  100,000 locations, 50 APs heard at every one (223 MB).
//   sparse: 65,000 APs, each heard at 3 locations of the walk (9 MB).
//
// `bench_memory --write-surveys DIR` only writes the two surveys, for
// looking at a run under a heap profiler. TARVO_TOOL=PATH measures another
// build of the tool (an earlier one, for a comparison).

#include "SurveyGenerator.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tarvo {
namespace {

namespace fs = std::filesystem;

struct CSurveys {
    fs::path dir;
    ~CSurveys() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
};

bool WriteSurvey(const std::string& name, const fs::path& path) {
    if (name == "dense")
        return WriteDenseSurvey(path.string(), 100000, 50);
    return WriteSparseSurvey(path.string(), 65000, 3, 16);
}

// The survey written once per run into a temporary folder.
fs::path SurveyPath(const std::string& name) {
    static CSurveys surveys;
    static std::map<std::string, fs::path> written;
    if (surveys.dir.empty()) {
        surveys.dir = fs::temp_directory_path() /
                      ("tarvo-bench-memory-" + std::to_string(static_cast<int>(::getpid())));
        fs::create_directories(surveys.dir);
    }
    auto it = written.find(name);
    if (it != written.end())
        return it->second;
    const fs::path path = surveys.dir / (name + ".ssd");
    if (!WriteSurvey(name, path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    return written[name] = path;
}

struct CChildRun {
    bool ok = false;
    double peakBytes = 0;
    double seconds = 0;
};

// Runs the tool with `args`, its standard output and error thrown away.
CChildRun RunTool(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    const char* other = std::getenv("TARVO_TOOL");
    std::string program = other && *other ? other : TARVO_TOOL_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::FILE* sink = std::freopen("/dev/null", "w", stdout);
        std::FILE* sinkErr = std::freopen("/dev/null", "w", stderr);
        (void)sink;
        (void)sinkErr;
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    CChildRun run;
    int status = 0;
    struct rusage usage {};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakBytes = static_cast<double>(usage.ru_maxrss) * 1024.0; // kilobytes on Linux
    return run;
}

void BM_ProcessPeakRss(benchmark::State& state, const std::string& survey,
                       const std::string& output) {
    const fs::path path = SurveyPath(survey);
    const fs::path out = path.parent_path() / (survey + "-" + output);
    std::vector<std::string> args{"process", path.string()};
    if (output == "json")
        args.insert(args.end(), {"--json", out.string() + ".json", "--with-matrix"});
    else if (output == "save")
        args.insert(args.end(), {"--save", out.string() + ".tws"});
    CChildRun run;
    for (auto _ : state) {
        run = RunTool(args);
        if (!run.ok) {
            state.SkipWithError("tarvo process failed");
            return;
        }
        state.SetIterationTime(run.seconds);
    }
    std::error_code ignored;
    fs::remove(out.string() + ".json", ignored);
    fs::remove(out.string() + ".tws", ignored);
    const double surveyBytes = static_cast<double>(fs::file_size(path));
    state.counters["peak_MB"] = run.peakBytes / 1e6;
    state.counters["survey_MB"] = surveyBytes / 1e6;
    state.counters["peak_per_survey"] = run.peakBytes / surveyBytes;
}

void Register() {
    for (const char* survey : {"dense", "sparse"})
        for (const char* output : {"table", "json", "save"})
            benchmark::RegisterBenchmark(
                (std::string("BM_ProcessPeakRss/") + survey + "/" + output).c_str(),
                [survey, output](benchmark::State& s) { BM_ProcessPeakRss(s, survey, output); })
                ->Unit(benchmark::kMillisecond)
                ->UseManualTime()
                ->Iterations(1);
}

} // namespace
} // namespace tarvo

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-surveys") == 0) {
        const std::filesystem::path dir = argv[2];
        std::filesystem::create_directories(dir);
        const bool ok = tarvo::WriteSurvey("dense", dir / "dense.ssd") &&
                        tarvo::WriteSurvey("sparse", dir / "sparse.ssd");
        return ok ? 0 : 1;
    }
    tarvo::Register();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
