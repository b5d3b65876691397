#include <gtest/gtest.h>

#include "platform/win_constants.h"
#include "tray/tray_input.h"

namespace {

TEST(TrayInput, ARightClickOpensOneMenuEvenWhenTheShellAddsAContextMenuAfterIt) {
    CTrayInputFilter filter;
    EXPECT_TRUE(filter.Accept(wm::kRButtonDown, 1000));
    EXPECT_TRUE(filter.Accept(wm::kRButtonUp, 1010));
    // The menu stays open for a while; the echo waits in the queue.
    filter.Finished(9000);
    EXPECT_FALSE(filter.Accept(wm::kMouseMove, 9001));
    EXPECT_FALSE(filter.Accept(wm::kContextMenu, 9002));
    // The menu key later is a request of its own.
    EXPECT_TRUE(filter.Accept(wm::kContextMenu, 15000));
    // So is a context menu that follows a right click only much later (a
    // shell that sends no echo).
    EXPECT_TRUE(filter.Accept(wm::kRButtonUp, 20000));
    EXPECT_TRUE(filter.Accept(wm::kContextMenu, 20000 + CTrayInputFilter::kEchoMs + 1));
}

TEST(TrayInput, OneEnterRunsOneActionThoughTheShellSendsTheKeySelectionTwice) {
    CTrayInputFilter filter;
    EXPECT_TRUE(filter.Accept(nin::kKeySelect, 100));
    filter.Finished(3000);
    EXPECT_FALSE(filter.Accept(nin::kKeySelect, 3005));
    // A later Enter, or one after anything else, is a new request.
    EXPECT_TRUE(filter.Accept(nin::kKeySelect, 3005 + CTrayInputFilter::kEchoMs + 1));
    EXPECT_TRUE(filter.Accept(wm::kContextMenu, 5000));
    EXPECT_TRUE(filter.Accept(nin::kKeySelect, 5001));
    // Without Finished the window runs from the arrival.
    EXPECT_FALSE(filter.Accept(nin::kKeySelect, 5002));
}

TEST(TrayInput, TheMouseSelectionIsNeverARequestOfItsOwn) {
    CTrayInputFilter filter;
    EXPECT_TRUE(filter.Accept(wm::kLButtonDown, 10));
    EXPECT_TRUE(filter.Accept(wm::kLButtonUp, 20));
    EXPECT_FALSE(filter.Accept(nin::kSelect, 21));
    EXPECT_TRUE(filter.Accept(wm::kLButtonDblClk, 30));
}

}  // namespace
