#include "mapview/GuiMailbox.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace tarvo {
namespace {

TEST(GuiMailbox, WorkFromAnotherThreadRunsOnTheOwnerInOrderAndRunWaitsForIt) {
    CGuiMailbox mailbox;
    std::vector<int> order;
    std::vector<bool> onOwner;
    std::string answer;

    std::thread sender([&] {
        for (int i = 0; i < 3; ++i)
            mailbox.Post([&, i] {
                order.push_back(i);
                onOwner.push_back(QThread::currentThread() == mailbox.thread());
            });
        // Run returns only once the owner has run it, so what it wrote is
        // the sender's to read.
        mailbox.Run([&] { answer = "from the owner"; });
        EXPECT_EQ(answer, "from the owner");
    });
    // The owner keeps its events flowing, as the GUI thread does.
    while (answer.empty())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    sender.join();

    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(onOwner, (std::vector<bool>{true, true, true}));
}

TEST(GuiMailbox, RunOnTheOwnerRunsAtOnceAndPostWaitsForTheEventLoop) {
    CGuiMailbox mailbox;
    bool ran = false;
    mailbox.Run([&] { ran = true; });
    EXPECT_TRUE(ran);

    bool posted = false;
    mailbox.Post([&] { posted = true; });
    EXPECT_FALSE(posted);
    QCoreApplication::processEvents();
    EXPECT_TRUE(posted);
}

} // namespace
} // namespace tarvo
