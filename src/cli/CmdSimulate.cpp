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
    CArgs args(rawArgs, {"--scenario", "--out", "--seed"}, {});
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
    std::string error;
    if (!study || !WriteSampleStudy(*study, *out, error)) {
        io.err << "tarvo simulate: " << error << '\n';
        return 1;
    }
    const std::filesystem::path dir(*out);
    io.out << (dir / study->projectionFileName).string() << '\n';
    for (const CSimulatedWalk& w : study->walks)
        io.out << (dir / w.fileName).string() << "  (" << w.locations << " locations, " << w.samples
               << " samples)\n";
    io.out << (dir / "truth.json").string() << "  (" << study->aps.size() << " APs)\n";
    return 0;
}

const CRegisterCommand kRegister{
    {"simulate",
     "simulate --scenario office|campus|large --out DIR [--seed N]   write a sample study",
     RunSimulate}};

} // namespace

} // namespace tarvo
