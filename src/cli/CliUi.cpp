#include "cli/CliUi.h"

#include <cerrno>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace tarvo {

void CStderrProgress::SetText(const std::string& text) {
    std::lock_guard lock(mutex_);
    if (verbose_ && text != last_)
        out_ << text << '\n';
    last_ = text;
}

MsgAnswer CStderrUi::MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                                MsgButtons buttons) {
    std::lock_guard lock(mutex_);
    out_ << prefix_ << title << ": " << text << '\n';
    if (icon == MsgIcon::Error)
        ++errors_;
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::OkCancel:
        return questionAnswer_ == MsgAnswer::No ? MsgAnswer::Cancel : MsgAnswer::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return questionAnswer_;
    }
    return MsgAnswer::Ok;
}

std::optional<std::string> CStderrUi::ChooseOpenFile(const std::string&, const std::string&,
                                                     const std::string&) {
    std::lock_guard lock(mutex_);
    return std::exchange(chosenPath_, std::nullopt);
}

std::optional<std::string> CStderrUi::ChooseSaveFile(const std::string&, const std::string&,
                                                     const std::string&) {
    std::lock_guard lock(mutex_);
    return std::exchange(chosenPath_, std::nullopt);
}

void CStderrUi::OpenWithAssociatedProgram(const std::string& path) {
    // Without a display a viewer has nowhere to show the document.
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!openDocuments_ || !((x11 && *x11) || (wayland && *wayland)))
        return;
    // The viewer is started by a shell that puts it in the background and
    // ends at once: the tool waits for that shell only (its own child, by
    // its number), never for the viewer, and leaves no child behind.
    const char* argv[] = {"sh", "-c",         "xdg-open \"$1\" >/dev/null 2>&1 &",
                          "sh", path.c_str(), nullptr};
    pid_t shell = -1;
    if (::posix_spawnp(&shell, "sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) ==
        0) {
        while (::waitpid(shell, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}

} // namespace tarvo
