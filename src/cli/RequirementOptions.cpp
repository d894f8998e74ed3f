#include "cli/RequirementOptions.h"

namespace tarvo {

const std::set<std::string>& RequirementValueOptions() {
    static const std::set<std::string> options{kRequireOption, kRequireSecondaryOption};
    return options;
}

std::optional<CRequirementChoice>
RequirementsOrComplain(const CArgs& args, const std::string& command, std::ostream& err) {
    CRequirementChoice choice;
    choice.verdict = args.Has(kVerdictFlag);
    for (const char* option : {kRequireOption, kRequireSecondaryOption}) {
        const bool secondary = std::string(option) == kRequireSecondaryOption;
        for (const std::string& text : args.GetAll(option)) {
            const auto requirement = ParseRequirement(text, secondary);
            if (!requirement) {
                err << "tarvo " << command << ": " << option << " needs LEVEL[:AREA%], a level "
                    << "in dBm (-200..50) and a share of 0..100 %, not '" << text << "'\n";
                return std::nullopt;
            }
            choice.asked.push_back(*requirement);
            choice.anyPrimary = choice.anyPrimary || !secondary;
        }
    }
    return choice;
}

std::vector<CRequirement> RequirementsToJudge(const CTarvoAnalyzerDoc& doc,
                                              const CRequirementChoice& choice) {
    std::vector<CRequirement> requirements;
    if (!choice.anyPrimary)
        requirements.push_back(DefaultRequirement(doc));
    requirements.insert(requirements.end(), choice.asked.begin(), choice.asked.end());
    return requirements;
}

} // namespace tarvo
