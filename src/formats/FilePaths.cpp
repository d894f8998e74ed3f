#include "formats/FilePaths.h"

#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace tarvo {

std::string FullPath(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::weakly_canonical(path, ec);
    return ec || full.empty() ? path : full.string();
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return FullPath(a) == FullPath(b);
}

} // namespace tarvo
