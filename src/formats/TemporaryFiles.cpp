#include "formats/TemporaryFiles.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tarvo {

namespace {

constexpr std::string_view kPrefix = ".tarvo-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kLongestHost = 32;

// This machine's name as it appears in temporary names: letters, digits,
// '.', '_' and '-' only, at most kLongestHost characters.
const std::string& HostTag() {
    static const std::string tag = [] {
        char name[256] = {};
        if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
            return std::string("host");
        std::string cleaned;
        for (const char* p = name; *p && cleaned.size() < kLongestHost; ++p) {
            const unsigned char c = static_cast<unsigned char>(*p);
            cleaned += std::isalnum(c) || c == '.' || c == '_' || c == '-' ? *p : '_';
        }
        return cleaned;
    }();
    return tag;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.size() <= 18 &&
           std::all_of(text.begin(), text.end(),
                       [](unsigned char c) { return std::isdigit(c) != 0; });
}

struct CTemporaryOwner {
    std::string host; // empty for the names of earlier versions, made on this host
    long long pid = 0;
};

// Who made a temporary of this name, or nothing for another name.
std::optional<CTemporaryOwner> OwnerOf(const std::string& name) {
    if (name.size() <= kPrefix.size() + kSuffix.size() || name.rfind(kPrefix, 0) != 0 ||
        name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
        return std::nullopt;
    const std::string_view middle = std::string_view(name).substr(
        kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    const std::size_t counterDash = middle.rfind('-');
    if (counterDash == std::string_view::npos || !AllDigits(middle.substr(counterDash + 1)))
        return std::nullopt;
    const std::string_view rest = middle.substr(0, counterDash);
    const std::size_t pidDash = rest.rfind('-');
    const std::string_view pid =
        pidDash == std::string_view::npos ? rest : rest.substr(pidDash + 1);
    if (!AllDigits(pid) || (pidDash != std::string_view::npos && pidDash == 0))
        return std::nullopt;
    CTemporaryOwner owner;
    if (pidDash != std::string_view::npos)
        owner.host = std::string(rest.substr(0, pidDash));
    owner.pid = std::stoll(std::string(pid));
    return owner;
}

// True when the process that made the temporary has ended: it ran on this
// host and no process of its number is left.
bool OwnerHasEnded(const CTemporaryOwner& owner) {
    if (!owner.host.empty() && owner.host != HostTag())
        return false;
    if (owner.pid <= 0 || owner.pid == ::getpid() || owner.pid > 0x7fffffffLL)
        return false;
    return ::kill(static_cast<pid_t>(owner.pid), 0) != 0 && errno == ESRCH;
}

} // namespace

std::string TemporaryNameBeside(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const std::string name = std::string(kPrefix) + HostTag() + "-" + std::to_string(::getpid()) +
                             "-" + std::to_string(counter.fetch_add(1)) + std::string(kSuffix);
    return (std::filesystem::path(FolderOf(target)) / name).string();
}

bool IsTemporaryName(const std::string& name) {
    return OwnerOf(name).has_value();
}

void RemoveStaleTemporaries(const std::string& folder) {
    std::error_code ec;
    std::filesystem::directory_iterator entries(folder, ec);
    if (ec)
        return;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        const auto owner = OwnerOf(name);
        if (!owner || !OwnerHasEnded(*owner))
            continue;
        struct stat info {};
        if (::lstat(entry.path().c_str(), &info) != 0)
            continue;
        if (S_ISREG(info.st_mode))
            ::unlink(entry.path().c_str());
        else if (S_ISDIR(info.st_mode))
            std::filesystem::remove_all(entry.path(), ec);
    }
}

std::string LinkTarget(std::string path) {
    constexpr int kMostHops = 40; // as the system allows before a loop
    for (int hops = 0; hops < kMostHops; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(path, ec))
            break;
        const std::filesystem::path to = std::filesystem::read_symlink(path, ec);
        if (ec)
            break;
        path = (std::filesystem::path(path).parent_path() / to).string();
    }
    return path;
}

void TakeOverOwnership(int fd, const struct stat& replaced, mode_t bits) {
    mode_t mode = replaced.st_mode & bits;
    if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid) != 0)
        mode &= ~(static_cast<mode_t>(070) & ~((mode & 07) << 3));
    if (::fchmod(fd, mode) != 0) {
        // It keeps the owner-only mode it was made with.
    }
}

std::string FolderOf(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

} // namespace tarvo
