#include "cli/CliOutput.h"

#include "formats/FileIo.h"

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
    if (!WriteFileAtomically(
            target, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()))) {
        err << "tarvo " << command << ": could not write " << target << '\n';
        return 1;
    }
    return 0;
}

} // namespace tarvo
