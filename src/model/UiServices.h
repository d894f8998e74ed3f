#pragma once
// The window-system services the engine needs, behind one small interface so
// that the engine runs headless. The GUI implements it on Qt (marshalling
// calls from worker threads to the GUI thread), the command-line tool on
// stderr with fixed answers, and tests with a recording fake.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvo {

enum class MsgIcon { None, Error, Warning, Information, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// Thrown by a long operation that saw the cancelled flag; caught by the same
// operation's worker, never across threads.
class CCancelException : public std::runtime_error {
public:
    CCancelException() : std::runtime_error("operation cancelled") {}
};

// Progress with cancel. A worker thread calls every method; implementations
// must be thread-safe and must not block on the GUI for SetText/SetPosition.
class IProgress {
public:
    virtual ~IProgress() = default;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual void SetPosition(int percent) = 0; // 0..100
    virtual bool IsCancelled() const = 0;
    virtual void ClearCancelled() = 0;

    // Throws CCancelException when the user asked to cancel.
    void ThrowIfCancelled() const {
        if (IsCancelled())
            throw CCancelException();
    }
};

class IUiServices {
public:
    virtual ~IUiServices() = default;

    // A modal message; may be called from a worker thread, which then waits
    // for the answer.
    virtual MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                                 MsgButtons buttons = MsgButtons::Ok) = 0;

    // File choices. filter uses the "Text (*.x)|*.x|...||" form. An empty
    // result means the user cancelled.
    virtual std::optional<std::string> ChooseOpenFile(const std::string& filter,
                                                      const std::string& title,
                                                      const std::string& defaultName) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const std::string& filter,
                                                      const std::string& title,
                                                      const std::string& defaultName) = 0;
    // Several existing files at once; an empty result means the user
    // cancelled. Services that choose one file at a time give that one.
    virtual std::vector<std::string> ChooseOpenFiles(const std::string& filter,
                                                     const std::string& title,
                                                     const std::string& defaultName) {
        const auto path = ChooseOpenFile(filter, title, defaultName);
        if (!path || path->empty())
            return {};
        return {*path};
    }

    // Opens a file with the program associated with its type.
    virtual void OpenWithAssociatedProgram(const std::string& path) = 0;

    // The one shared progress dialog.
    virtual IProgress& Progress() = 0;
};

// Progress that shows nothing and is never cancelled.
class CNullProgress : public IProgress {
public:
    void Show() override {}
    void Hide() override {}
    void SetText(const std::string&) override {}
    void SetPosition(int) override {}
    bool IsCancelled() const override { return false; }
    void ClearCancelled() override {}
};

// UI that shows nothing: questions are answered Yes, other messages Ok,
// every file choice is cancelled. For harnesses and benchmarks.
class CSilentUi : public IUiServices {
public:
    MsgAnswer MessageBox(const std::string&, const std::string&, MsgIcon,
                         MsgButtons buttons) override {
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                                  : MsgAnswer::Ok;
    }
    std::optional<std::string> ChooseOpenFile(const std::string&, const std::string&,
                                              const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&,
                                              const std::string&) override {
        return std::nullopt;
    }
    void OpenWithAssociatedProgram(const std::string&) override {}
    IProgress& Progress() override { return progress_; }

private:
    CNullProgress progress_;
};

} // namespace tarvo
