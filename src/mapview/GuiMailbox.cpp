#include "mapview/GuiMailbox.h"

#include <QThread>

namespace tarvo {

CGuiMailbox::CGuiMailbox(QObject* parent) : QObject(parent) {
    connect(this, &CGuiMailbox::posted, this, &CGuiMailbox::Drain, Qt::QueuedConnection);
}

void CGuiMailbox::Post(std::function<void()> work) {
    Deliver({std::move(work), nullptr});
}

void CGuiMailbox::Run(const std::function<void()>& work) {
    if (QThread::currentThread() == thread()) {
        work();
        return;
    }
    auto finished = std::make_shared<bool>(false);
    Deliver({work, finished});
    std::unique_lock lock(mutex_);
    finishedChanged_.wait(lock, [&] { return *finished; });
}

void CGuiMailbox::Deliver(CLetter letter) {
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        letters_.push_back(std::move(letter));
        wake = !wakeUpPending_;
        wakeUpPending_ = true;
    }
    if (wake)
        emit posted();
}

void CGuiMailbox::Drain() {
    std::deque<CLetter> letters;
    {
        const std::lock_guard lock(mutex_);
        letters.swap(letters_);
        wakeUpPending_ = false;
    }
    for (CLetter& letter : letters) {
        letter.work();
        if (letter.finished) {
            {
                const std::lock_guard lock(mutex_);
                *letter.finished = true;
            }
            finishedChanged_.notify_all();
        }
    }
}

} // namespace tarvo
