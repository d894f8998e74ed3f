#pragma once
// The acceptance-check options of `tarvo coverage` and `tarvo report`:
// "--require LEVEL[:AREA%]" and "--require-secondary LEVEL[:AREA%]" (each
// repeatable) and "--verdict", which makes the command end with status 3
// when a requirement fails.

#include "analysis/Requirements.h"
#include "cli/Args.h"

#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace tarvo {

constexpr const char* kRequireOption = "--require";
constexpr const char* kRequireSecondaryOption = "--require-secondary";
constexpr const char* kVerdictFlag = "--verdict";
// The exit status of a command whose requirements were not all met.
constexpr int kRequirementFailedStatus = 3;

constexpr const char* kRequirementHelp =
    "  --require LEVEL[:AREA%]  the strongest signal must be at or above LEVEL dBm on\n"
    "                       AREA % of the analysed area (default 95); repeatable; default:\n"
    "                       the study's low power level on 95 %\n"
    "  --require-secondary LEVEL[:AREA%]  the same for the second-strongest signal (a\n"
    "                       client's roaming candidate); repeatable\n"
    "  --verdict            end with status 3 when a requirement is not met\n";

const std::set<std::string>& RequirementValueOptions();

struct CRequirementChoice {
    std::vector<CRequirement> asked; // as given, primary and secondary in order
    bool anyPrimary = false;         // some --require was given
    bool verdict = false;
    // True when the user asked for requirements or a verdict at all.
    bool Asked() const { return !asked.empty() || verdict; }
};

// The options as given; nothing, after "tarvo COMMAND: ..." on err, when a
// requirement is malformed.
std::optional<CRequirementChoice>
RequirementsOrComplain(const CArgs& args, const std::string& command, std::ostream& err);

// The requirements to judge: those asked for, with the default one first
// when no --require was given.
std::vector<CRequirement> RequirementsToJudge(const CTarvoAnalyzerDoc& doc,
                                              const CRequirementChoice& choice);

} // namespace tarvo
