#pragma once
// Forwards to another IUiServices but shows each distinct message only once.
// Exports convert thousands of positions through TransformPoint; a singular
// projection would otherwise raise the same error box for every one.

#include "model/UiServices.h"

#include <mutex>
#include <set>
#include <string>
#include <utility>

namespace tarvo {

class COnceUi : public IUiServices {
public:
    explicit COnceUi(IUiServices& inner) : inner_(inner) {}

    MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons) override {
        {
            std::lock_guard lock(mutex_);
            if (buttons == MsgButtons::Ok && !shown_.insert({title, text}).second)
                return MsgAnswer::Ok;
        }
        return inner_.MessageBox(text, title, icon, buttons);
    }
    std::optional<std::string> ChooseOpenFile(const std::string& filter, const std::string& title,
                                              const std::string& defaultName) override {
        return inner_.ChooseOpenFile(filter, title, defaultName);
    }
    std::optional<std::string> ChooseSaveFile(const std::string& filter, const std::string& title,
                                              const std::string& defaultName) override {
        return inner_.ChooseSaveFile(filter, title, defaultName);
    }
    void OpenWithAssociatedProgram(const std::string& path) override {
        inner_.OpenWithAssociatedProgram(path);
    }
    IProgress& Progress() override { return inner_.Progress(); }

private:
    IUiServices& inner_;
    std::mutex mutex_;
    std::set<std::pair<std::string, std::string>> shown_;
};

} // namespace tarvo
