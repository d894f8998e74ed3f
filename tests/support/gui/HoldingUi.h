#pragma once
// The recording UI with the program's own progress window, which can hold
// the worker at a step until the test has acted on the window (pressed its
// Cancel, used the main window meanwhile).

#include "mapview/DialogProgress.h"
#include "support/FakeUi.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

namespace tarvo::test {

class CHoldingUi : public CFakeUi, private IProgress {
public:
    IProgress& Progress() override { return *this; }
    CDialogProgress* Window() { return window_.Dialog(); }

    // Holds the worker at the first bar position of at least `percent`
    // while a text starting with `text` is shown.
    void HoldAt(const std::string& text, int percent) {
        const std::lock_guard lock(mutex_);
        holdText_ = text;
        holdPercent_ = percent;
        held_ = released_ = false;
    }
    bool Held() {
        const std::lock_guard lock(mutex_);
        return held_;
    }
    void Release() {
        const std::lock_guard lock(mutex_);
        released_ = true;
        wake_.notify_all();
    }
    // Every text the worker showed, in order.
    std::vector<std::string> Texts() {
        const std::lock_guard lock(mutex_);
        return texts_;
    }

private:
    void Show() override { window_.Show(); }
    void Hide() override { window_.Hide(); }
    void SetText(const std::string& text) override {
        {
            const std::lock_guard lock(mutex_);
            text_ = text;
            texts_.push_back(text);
        }
        window_.SetText(text);
    }
    void SetPosition(int percent) override {
        window_.SetPosition(percent);
        std::unique_lock lock(mutex_);
        if (holdText_.empty() || text_.rfind(holdText_, 0) != 0 || percent < holdPercent_)
            return;
        holdText_.clear();
        held_ = true;
        wake_.wait_for(lock, std::chrono::seconds(60), [this] { return released_; });
    }
    bool IsCancelled() const override { return window_.IsCancelled(); }
    void ClearCancelled() override { window_.ClearCancelled(); }

    CQtProgress window_{nullptr};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::string text_, holdText_;
    std::vector<std::string> texts_;
    int holdPercent_ = 0;
    bool held_ = false, released_ = false;
};

} // namespace tarvo::test
