#include "cli/CliOutput.h"

#include "formats/FileIo.h"
#include "formats/FilePaths.h"
#include "formats/WorkspaceCommands.h"

#include <cstdint>
#include <span>
#include <sstream>

namespace tarvo {

std::optional<CStudyOptions> StudyOptionsOrComplain(CArgs& args, const std::string& command,
                                                    std::ostream& err) {
    if (!args.Ok()) {
        err << "tarvo " << command << ": " << args.Error() << '\n';
        return std::nullopt;
    }
    std::ostringstream optionErrors;
    auto options = StudyOptionsFrom(args, optionErrors);
    if (!options)
        err << "tarvo " << command << ": " << optionErrors.str();
    return options;
}

bool OutputIsFree(const std::string& command, const std::string& output,
                  const std::vector<std::string>& taken, std::ostream& err) {
    for (const std::string& file : taken)
        if (SameFile(output, file)) {
            err << "tarvo " << command << ": will not write " << output;
            if (file != output)
                err << ", the same file as " << file << ',';
            err << " as the command also uses that file; name another output\n";
            return false;
        }
    return true;
}

bool StudyOutputsAreFree(const std::string& command, const CStudyOptions& study,
                         const std::optional<std::string>& save,
                         const std::optional<std::string>& json, std::ostream& err) {
    std::vector<std::string> inputs = StudyInputs(study);
    const bool toFile = json && *json != "-";
    if (toFile && !OutputIsFree(command, *json, inputs, err))
        return false;
    if (!save)
        return true;
    std::erase_if(inputs, IsWorkspaceFile);
    if (toFile)
        inputs.push_back(*json);
    return OutputIsFree(command, *save, inputs, err);
}

std::optional<unsigned> ThreadsOrComplain(CArgs& args, const std::string& command,
                                          std::ostream& err) {
    const auto threads = args.GetInt(kThreadsOption);
    if (!args.Ok() || (threads && (*threads < 1 || *threads > kMostThreads))) {
        err << "tarvo " << command << ": " << kThreadsOption << " must be between 1 and "
            << kMostThreads << '\n';
        return std::nullopt;
    }
    return threads ? static_cast<unsigned>(*threads) : 0u;
}

int WriteJsonTarget(const std::string& target, const std::string& command, std::ostream& out,
                    std::ostream& err, const std::function<void(std::ostream&)>& write) {
    if (target == "-") {
        write(out);
        return 0;
    }
    std::ostringstream text;
    write(text);
    const std::string bytes = text.str();
    CWriteFailure failure;
    if (!WriteFileAtomically(
            target, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
            &failure)) {
        err << "tarvo " << command << ": " << WriteFailureText(target, failure) << '\n';
        return 1;
    }
    return 0;
}

} // namespace tarvo
