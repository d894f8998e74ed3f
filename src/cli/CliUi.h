#pragma once
// UI services for the command-line tool: messages go to stderr as
// "TITLE: TEXT", questions get a fixed answer, progress prints its texts
// when asked to, documents open only where there is a display.

#include "model/UiServices.h"

#include <atomic>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace tarvo {

class CStderrProgress : public IProgress {
public:
    explicit CStderrProgress(std::ostream& out, bool verbose) : out_(out), verbose_(verbose) {}
    void Show() override {}
    void Hide() override {}
    void SetText(const std::string& text) override;
    void SetPosition(int) override {}
    bool IsCancelled() const override { return false; }
    void ClearCancelled() override {}

private:
    std::ostream& out_;
    bool verbose_;
    std::mutex mutex_;
    std::string last_;
};

class CStderrUi : public IUiServices {
public:
    explicit CStderrUi(std::ostream& out, bool verboseProgress = false)
        : out_(out), progress_(out, verboseProgress) {}

    MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons) override;
    std::optional<std::string> ChooseOpenFile(const std::string&, const std::string&,
                                              const std::string&) override;
    std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&,
                                              const std::string&) override;
    void OpenWithAssociatedProgram(const std::string& path) override;
    IProgress& Progress() override { return progress_; }

    // Answer given to Yes/No questions (the tool never waits for input).
    void SetQuestionAnswer(MsgAnswer answer) { questionAnswer_ = answer; }
    // Path returned by the next file choice, as if the user had chosen it.
    void SetChosenPath(std::string path) { chosenPath_ = std::move(path); }
    void SetOpenDocuments(bool open) { openDocuments_ = open; }
    // Put before every message, e.g. the file a message is about.
    void SetMessagePrefix(std::string prefix) { prefix_ = std::move(prefix); }

    int ErrorCount() const { return errors_.load(); }
    // The tool's exit status once a command has done what it could: 1 when
    // an error message was shown, 0 otherwise.
    int ExitStatus() const { return ErrorCount() > 0 ? 1 : 0; }

private:
    std::ostream& out_;
    CStderrProgress progress_;
    std::mutex mutex_;
    MsgAnswer questionAnswer_ = MsgAnswer::Yes;
    std::optional<std::string> chosenPath_;
    bool openDocuments_ = false;
    std::string prefix_;
    std::atomic<int> errors_{0};
};

} // namespace tarvo
