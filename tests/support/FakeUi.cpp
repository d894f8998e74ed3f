#include "support/FakeUi.h"

namespace tarvo::test {

void CFakeProgress::SetText(const std::string& text) {
    std::lock_guard lock(mutex_);
    texts_.push_back(text);
    if (!cancelAt_.empty() && text == cancelAt_)
        cancelled_ = true;
}

void CFakeProgress::CancelAtText(const std::string& text) {
    std::lock_guard lock(mutex_);
    cancelAt_ = text;
    if (text.empty())
        cancelled_ = true;
}

MsgAnswer CFakeUi::MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                              MsgButtons buttons) {
    std::lock_guard lock(mutex_);
    messages.push_back({text, title, icon, buttons});
    if (!answers_.empty()) {
        const MsgAnswer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    return buttons == MsgButtons::Ok || buttons == MsgButtons::OkCancel ? MsgAnswer::Ok
                                                                        : MsgAnswer::Yes;
}

std::string CFakeUi::Said() const {
    std::string said;
    for (const CRecordedMessage& m : messages)
        said += (said.empty() ? "" : "\n") + m.title + ": " + m.text;
    return said;
}

std::optional<std::string> CFakeUi::Choose(bool save, const std::string& filter,
                                           const std::string& title,
                                           const std::string& defaultName) {
    std::lock_guard lock(mutex_);
    choices.push_back({save, filter, title, defaultName});
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
