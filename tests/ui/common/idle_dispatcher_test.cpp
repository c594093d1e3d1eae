#include "common/idle_dispatcher.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include "tests/ui/app/event_wait.h"

namespace ravinel {
namespace {

class IdleDispatcherTest : public ::testing::Test {
  protected:
    void TearDown() override { dispatcher_.clearHandler(); }

    // Lets every pending event and due idle call run.
    static void settle() { testing::processEventsFor(50); }

    void postUserEvent() { QCoreApplication::postEvent(&target_, new QEvent(QEvent::User)); }

    IdleDispatcher& dispatcher_ = IdleDispatcher::instance();
    QObject target_;
};

TEST_F(IdleDispatcherTest, RunsWhileAskedForMoreThenSleepsUntilTheNextEvent) {
    int calls = 0;
    dispatcher_.setHandler([&] { return ++calls >= 5; });
    ASSERT_TRUE(testing::processEventsUntil([&] { return calls >= 5; }));
    settle();
    EXPECT_EQ(calls, 5);
    EXPECT_TRUE(dispatcher_.hasHandler());

    postUserEvent();
    ASSERT_TRUE(testing::processEventsUntil([&] { return calls == 6; }));
    settle();
    EXPECT_EQ(calls, 6);
}

TEST_F(IdleDispatcherTest, DrawingDoesNotWakeIt) {
    int calls = 0;
    dispatcher_.setHandler([&] {
        ++calls;
        return true;
    });
    ASSERT_TRUE(testing::processEventsUntil([&] { return calls == 1; }));
    QCoreApplication::postEvent(&target_, new QEvent(QEvent::UpdateRequest));
    settle();
    EXPECT_EQ(calls, 1);
}

TEST_F(IdleDispatcherTest, InstallingReplacesTheHandler) {
    int first = 0;
    int second = 0;
    dispatcher_.setHandler([&] {
        ++first;
        return false;
    });
    ASSERT_TRUE(testing::processEventsUntil([&] { return first > 0; }));
    dispatcher_.setHandler([&] {
        ++second;
        return second >= 3;
    });
    const int firstBefore = first;
    ASSERT_TRUE(testing::processEventsUntil([&] { return second >= 3; }));
    settle();
    EXPECT_EQ(first, firstBefore);
    EXPECT_EQ(second, 3);
}

TEST_F(IdleDispatcherTest, HandlerMayClearItself) {
    int calls = 0;
    dispatcher_.setHandler([&] {
        ++calls;
        dispatcher_.clearHandler();
        return false;
    });
    ASSERT_TRUE(testing::processEventsUntil([&] { return calls == 1; }));
    postUserEvent();
    settle();
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(dispatcher_.hasHandler());
}

TEST_F(IdleDispatcherTest, HandlerMayReplaceItselfAndTheNewOneStillRuns) {
    int successorCalls = 0;
    auto successor = [&] {
        ++successorCalls;
        return true;
    };
    // The old handler reports done, but that must not put its successor to sleep.
    dispatcher_.setHandler([&] {
        dispatcher_.setHandler(successor);
        return true;
    });
    ASSERT_TRUE(testing::processEventsUntil([&] { return successorCalls == 1; }));
}

}  // namespace
}  // namespace ravinel
