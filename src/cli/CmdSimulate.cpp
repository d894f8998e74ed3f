// tarvo simulate: writes a sample study (projection, survey walks, truth).

#include "cli/Args.h"
#include "cli/Commands.h"
#include "samples/SampleStudy.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace tarvo {

namespace {

int RunSimulate(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    CArgs args(rawArgs, {"--scenario", "--out", "--seed"}, {"--force"});
    const auto seed = args.GetInt("--seed");
    if (!args.Ok() || !args.Positional().empty()) {
        io.err << "tarvo simulate: "
               << (args.Ok() ? "unexpected argument " + args.Positional()[0] : args.Error())
               << '\n';
        return 2;
    }
    const auto scenario = args.Get("--scenario");
    const auto out = args.Get("--out");
    if (!scenario || !out) {
        io.err << "tarvo simulate: --scenario and --out are required\n";
        return 2;
    }
    const auto& names = SampleScenarios();
    if (std::find(names.begin(), names.end(), *scenario) == names.end()) {
        io.err << "tarvo simulate: unknown scenario '" << *scenario << "' (known:";
        for (const std::string& n : names)
            io.err << ' ' << n;
        io.err << ")\n";
        return 2;
    }
    if (seed && *seed < 0) {
        io.err << "tarvo simulate: --seed must not be negative\n";
        return 2;
    }
    const auto study = GenerateSampleStudy(*scenario, seed ? static_cast<std::uint64_t>(*seed) : 1);
    const std::filesystem::path dir(*out);
    if (study && !args.Has("--force"))
        for (const auto& [name, bytes] : SampleStudyFiles(*study))
            if (std::error_code ec; std::filesystem::exists(dir / name, ec)) {
                io.err << "tarvo simulate: " << (dir / name).string()
                       << " exists; --force replaces it\n";
                return 1;
            }
    std::string error;
    if (!study || !WriteSampleStudy(*study, *out, error)) {
        io.err << "tarvo simulate: " << error << '\n';
        return 1;
    }
    io.out << (dir / study->projectionFileName).string() << '\n';
    for (const CSimulatedWalk& w : study->walks)
        io.out << (dir / w.fileName).string() << "  (" << w.locations << " locations, " << w.samples
               << " samples)\n";
    io.out << (dir / "truth.json").string() << "  (" << study->aps.size() << " APs)\n";
    return 0;
}

const CRegisterCommand kRegister{
    {"simulate",
     "simulate --scenario office|campus|large --out DIR [--seed N] [--force]   write a sample "
     "study",
     RunSimulate,
     "Writes a generated study: a projection with its map, survey walks and truth.json,\n"
     "what the walks were made from.\n\n"
     "  --scenario NAME      office (a floor plan), campus (a geographic site) or large\n"
     "                       (a big geographic site, for timing)\n"
     "  --out DIR            the folder, made when missing\n"
     "  --seed N             another seed gives other walks and APs (default 1)\n"
     "  --force              replace study files already in DIR (refused otherwise)\n"}};

} // namespace

} // namespace tarvo
