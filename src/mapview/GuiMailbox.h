#pragma once
// Hands work from any thread to the thread that owns the mailbox (the GUI
// thread). The work itself travels through a queue under our own mutex; Qt
// only carries a wake-up signal without arguments. So every hand-over is
// ordered by a lock that race detectors can see, even though Qt's own queue
// is not instrumented.

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace tarvo {

class CGuiMailbox : public QObject {
    Q_OBJECT

public:
    explicit CGuiMailbox(QObject* parent = nullptr);

    // Runs `work` on the owning thread later, in the order posted.
    void Post(std::function<void()> work);
    // Runs `work` on the owning thread and waits for it to finish; runs it
    // at once when called there.
    void Run(const std::function<void()>& work);

signals:
    void posted();

private:
    struct CLetter {
        std::function<void()> work;
        std::shared_ptr<bool> finished; // set under the mutex when waited for
    };

    void Deliver(CLetter letter);
    void Drain();

    std::mutex mutex_;
    std::condition_variable finishedChanged_;
    std::deque<CLetter> letters_;
    bool wakeUpPending_ = false;
};

} // namespace tarvo
