#pragma once
// Minimal option parsing: "--name value" options, "--flag" switches and
// positional arguments, with clear errors for unknown options.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tarvo {

class CArgs {
public:
    // valueOptions take one argument each; flags take none.
    CArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
          const std::set<std::string>& flags);

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }

    bool Has(const std::string& flag) const { return flags_.count(flag) > 0; }
    std::optional<std::string> Get(const std::string& option) const;
    std::vector<std::string> GetAll(const std::string& option) const;
    const std::vector<std::string>& Positional() const { return positional_; }

    // Parses an integer option; sets the error when it is not one.
    std::optional<long long> GetInt(const std::string& option);

private:
    std::set<std::string> flags_;
    std::multimap<std::string, std::string> values_;
    std::vector<std::string> positional_;
    std::string error_;
};

} // namespace tarvo
