#include "cli/Args.h"

#include <cerrno>
#include <cstdlib>

namespace tarvo {

CArgs::CArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
             const std::set<std::string>& flags) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a.rfind("--", 0) == 0) {
            if (valueOptions.count(a)) {
                if (i + 1 >= args.size()) {
                    error_ = "option " + a + " needs a value";
                    return;
                }
                values_.emplace(a, args[++i]);
            } else if (flags.count(a)) {
                flags_.insert(a);
            } else {
                error_ = "unknown option " + a;
                return;
            }
        } else {
            positional_.push_back(a);
        }
    }
}

std::optional<std::string> CArgs::Get(const std::string& option) const {
    auto range = values_.equal_range(option);
    if (range.first == range.second)
        return std::nullopt;
    return std::prev(range.second)->second; // the last one wins
}

std::vector<std::string> CArgs::GetAll(const std::string& option) const {
    std::vector<std::string> out;
    auto range = values_.equal_range(option);
    for (auto it = range.first; it != range.second; ++it)
        out.push_back(it->second);
    return out;
}

std::optional<long long> CArgs::GetInt(const std::string& option) {
    auto text = Get(option);
    if (!text)
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text->c_str(), &end, 10);
    if (text->empty() || *end != '\0' || errno != 0) {
        error_ = "option " + option + " needs a whole number, not '" + *text + "'";
        return std::nullopt;
    }
    return value;
}

} // namespace tarvo
