#include "cli/CliOutput.h"

#include "formats/FileIo.h"
#include "formats/FilePaths.h"
#include "formats/OutputFile.h"
#include "formats/WorkspaceCommands.h"

#include <array>
#include <sstream>
#include <streambuf>
#include <string_view>

namespace tarvo {

namespace {

// A stream buffer that hands what is written to an output file, a piece
// at a time.
class COutputFileBuffer : public std::streambuf {
public:
    explicit COutputFileBuffer(COutputFile& file) : file_(file) {
        setp(piece_.data(), piece_.data() + piece_.size());
    }

protected:
    int_type overflow(int_type c) override {
        if (!Drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain() {
        const std::size_t n = static_cast<std::size_t>(pptr() - pbase());
        setp(piece_.data(), piece_.data() + piece_.size());
        return n == 0 || file_.Write(std::string_view(piece_.data(), n));
    }

    COutputFile& file_;
    std::array<char, 1 << 14> piece_{};
};

} // namespace

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
    // Straight into the file: a study's JSON with its matrices can be many
    // times the study's size.
    COutputFile file(target);
    COutputFileBuffer buffer(file);
    std::ostream stream(&buffer);
    write(stream);
    if (!stream.flush() || !file.Commit()) {
        err << "tarvo " << command << ": " << WriteFailureText(target, file.Failure()) << '\n';
        return 1;
    }
    return 0;
}

} // namespace tarvo
