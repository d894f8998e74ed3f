#include "support/FakeUi.h"

namespace tarvo::test {

void CFakeProgress::Show() {
    std::lock_guard lock(mutex_);
    visible_ = true;
}
void CFakeProgress::Hide() {
    std::lock_guard lock(mutex_);
    visible_ = false;
}
void CFakeProgress::SetText(const std::string& text) {
    std::lock_guard lock(mutex_);
    texts_.push_back(text);
    if (cancelArmed_ && text == cancelAt_)
        cancelled_ = true;
}
void CFakeProgress::SetPosition(int percent) {
    std::lock_guard lock(mutex_);
    positions_.push_back(percent);
}
bool CFakeProgress::IsCancelled() const {
    std::lock_guard lock(mutex_);
    return cancelled_;
}
void CFakeProgress::ClearCancelled() {
    std::lock_guard lock(mutex_);
    cancelled_ = false;
}
void CFakeProgress::CancelAtText(const std::string& text) {
    std::lock_guard lock(mutex_);
    cancelAt_ = text;
    cancelArmed_ = !text.empty();
    if (text.empty())
        cancelled_ = true;
}
std::vector<std::string> CFakeProgress::Texts() const {
    std::lock_guard lock(mutex_);
    return texts_;
}
std::vector<int> CFakeProgress::Positions() const {
    std::lock_guard lock(mutex_);
    return positions_;
}
bool CFakeProgress::Visible() const {
    std::lock_guard lock(mutex_);
    return visible_;
}

MsgAnswer CFakeUi::MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                              MsgButtons buttons) {
    std::lock_guard lock(mutex_);
    messages.push_back({text, title, icon, buttons});
    if (!answers_.empty()) {
        MsgAnswer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    return buttons == MsgButtons::Ok || buttons == MsgButtons::OkCancel ? MsgAnswer::Ok
                                                                        : MsgAnswer::Yes;
}

std::optional<std::string> CFakeUi::ChooseOpenFile(const std::string& filter,
                                                   const std::string& title,
                                                   const std::string& defaultName) {
    std::lock_guard lock(mutex_);
    choices.push_back({false, filter, title, defaultName});
    if (paths_.empty())
        return std::nullopt;
    auto p = paths_.front();
    paths_.pop_front();
    return p;
}

std::optional<std::string> CFakeUi::ChooseSaveFile(const std::string& filter,
                                                   const std::string& title,
                                                   const std::string& defaultName) {
    std::lock_guard lock(mutex_);
    choices.push_back({true, filter, title, defaultName});
    if (paths_.empty())
        return std::nullopt;
    auto p = paths_.front();
    paths_.pop_front();
    return p;
}

void CFakeUi::OpenWithAssociatedProgram(const std::string& path) {
    std::lock_guard lock(mutex_);
    opened.push_back(path);
}

} // namespace tarvo::test
