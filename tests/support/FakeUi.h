#pragma once
// A recording UI for tests: every message box, file choice and progress
// call is kept so that tests can check exact texts, titles, icons and
// buttons; answers and chosen paths are queued in advance. Thread-safe, as
// workers call it.

#include "model/UiServices.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace tarvo::test {

struct CRecordedMessage {
    std::string text;
    std::string title;
    MsgIcon icon;
    MsgButtons buttons;
};

struct CRecordedChoice {
    bool save;
    std::string filter;
    std::string title;
    std::string defaultName;
};

class CFakeProgress : public IProgress {
    template <typename F> auto Locked(F f) const {
        std::lock_guard lock(mutex_);
        return f();
    }

public:
    void Show() override {
        Locked([&] { visible_ = true; });
    }
    void Hide() override {
        Locked([&] { visible_ = false; });
    }
    void SetText(const std::string& text) override;
    void SetPosition(int percent) override {
        Locked([&] { positions_.push_back(percent); });
    }
    bool IsCancelled() const override {
        return Locked([&] { return cancelled_; });
    }
    void ClearCancelled() override {
        Locked([&] { cancelled_ = false; });
    }

    // Sets the cancelled flag once the text has been shown (or at once
    // when empty), as a user pressing Cancel at that step would.
    void CancelAtText(const std::string& text);

    std::vector<std::string> Texts() const {
        return Locked([&] { return texts_; });
    }
    std::vector<int> Positions() const {
        return Locked([&] { return positions_; });
    }
    bool Visible() const {
        return Locked([&] { return visible_; });
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
    std::vector<int> positions_;
    bool visible_ = false;
    bool cancelled_ = false;
    std::string cancelAt_;
};

class CFakeUi : public IUiServices {
public:
    MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons) override;
    std::optional<std::string> ChooseOpenFile(const std::string& filter, const std::string& title,
                                              const std::string& defaultName) override {
        return Choose(false, filter, title, defaultName);
    }
    std::optional<std::string> ChooseSaveFile(const std::string& filter, const std::string& title,
                                              const std::string& defaultName) override {
        return Choose(true, filter, title, defaultName);
    }
    void OpenWithAssociatedProgram(const std::string& path) override;
    IProgress& Progress() override { return progress; }

    // Queued answers; when empty, a question gets Ok or Yes.
    void QueueAnswer(MsgAnswer answer) { answers_.push_back(answer); }
    // Queued file choices; std::nullopt stands for Cancel. Empty: Cancel.
    void QueuePath(std::optional<std::string> path) { paths_.push_back(std::move(path)); }
    // Every message shown so far as "title: text", one after the other on
    // lines of their own.
    std::string Said() const;

    std::vector<CRecordedMessage> messages;
    std::vector<CRecordedChoice> choices;
    std::vector<std::string> opened;
    CFakeProgress progress;

private:
    std::optional<std::string> Choose(bool save, const std::string& filter,
                                      const std::string& title, const std::string& defaultName);

    std::mutex mutex_;
    std::deque<MsgAnswer> answers_;
    std::deque<std::optional<std::string>> paths_;
};

} // namespace tarvo::test
