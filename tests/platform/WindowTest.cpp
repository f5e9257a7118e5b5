#include "platform/Clock.h"
#include "platform/Window.h"
#include "platform/headless/HeadlessWindow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using plat::Event;
using plat::EventType;

struct Recorder : plat::WindowListener {
    std::vector<EventType> seen;
    bool removeOnDestroy = false;
    void OnWindowEvent(plat::Window& window, const Event& event) override {
        seen.push_back(event.type);
        if (removeOnDestroy && event.type == EventType::Destroy) window.RemoveListener(this);
    }
};

std::vector<EventType> Drain(plat::Window& window) {
    std::vector<EventType> types;
    Event event;
    while (window.PollEvent(event)) types.push_back(event.type);
    return types;
}

TEST(HeadlessWindow, TimerIsCoalescedAndComesAfterQueuedEvents) {
    plat::ManualClock clock;
    plat::ScopedClock scoped(clock);
    auto window = plat::CreateHeadlessWindow();
    ASSERT_TRUE(window->Create("t", 50, 50, 64, 32));
    window->StartTimer(30);
    EXPECT_TRUE(Drain(*window).empty());
    clock.Advance(29);
    EXPECT_TRUE(Drain(*window).empty());
    clock.Advance(1);
    window->PushKeyDown(plat::vk::Return);
    EXPECT_EQ(Drain(*window), (std::vector<EventType>{EventType::KeyDown, EventType::Timer}));
    // A handler that blocked for 10 periods leaves one tick, and the next period counts from it.
    clock.Advance(300);
    EXPECT_EQ(Drain(*window), (std::vector<EventType>{EventType::Timer}));
    clock.Advance(29);
    EXPECT_TRUE(Drain(*window).empty());
    clock.Advance(1);
    EXPECT_EQ(Drain(*window).size(), 1u);
    // The tick count's wrap does not stop the timer.
    clock.SetTick(0xFFFFFFF0u);
    Drain(*window);
    clock.SetTick(0x0000000Eu);
    EXPECT_EQ(Drain(*window), (std::vector<EventType>{EventType::Timer}));
    // A steady stream of input does not hold the timer back beyond a second period.
    clock.Advance(30);
    for (int i = 0; i < 3; ++i) window->PushMouse(EventType::MouseMove, i, 0, true);
    EXPECT_EQ(Drain(*window), (std::vector<EventType>{EventType::MouseMove, EventType::MouseMove,
                                                      EventType::MouseMove, EventType::Timer}));
    clock.Advance(60);
    for (int i = 0; i < 3; ++i) window->PushMouse(EventType::MouseMove, i, 0, true);
    EXPECT_EQ(Drain(*window), (std::vector<EventType>{EventType::Timer, EventType::MouseMove,
                                                      EventType::MouseMove, EventType::MouseMove}));
    window->StopTimer();
    clock.Advance(1000);
    EXPECT_TRUE(Drain(*window).empty());
}

TEST(HeadlessWindow, ListenersRunFirstInOrderAndMayUnhookOnDestroy) {
    auto window = plat::CreateHeadlessWindow();
    ASSERT_TRUE(window->Create("t", 0, 0, 8, 8));
    Recorder a, b;
    a.removeOnDestroy = true;
    window->AddListener(&a);
    window->AddListener(&b);
    window->AddListener(&a);  // once only
    window->PushEvent({EventType::Activate});
    window->PushEvent({EventType::Deactivate});
    window->Invalidate();
    EXPECT_EQ(Drain(*window),
              (std::vector<EventType>{EventType::Activate, EventType::Deactivate, EventType::Expose}));
    EXPECT_EQ(a.seen, b.seen);
    EXPECT_FALSE(window->HasFocus());
    window->Destroy();
    EXPECT_FALSE(window->HasListener(&a));
    EXPECT_TRUE(window->HasListener(&b));
    EXPECT_EQ(b.seen.back(), EventType::Destroy);
    EXPECT_FALSE(window->IsAlive());
    Event event;
    EXPECT_FALSE(window->WaitEvent(event));
}

TEST(HeadlessWindow, PresentIsClippedToTheClientAreaAndResizeKeepsTheCorner) {
    auto window = plat::CreateHeadlessWindow();
    ASSERT_TRUE(window->Create("Vantrel", 50, 50, 4, 2));
    // A 6x3 buffer with a padded pitch of 16 bytes.
    std::vector<uint16_t> buffer(8 * 3, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) buffer[y * 8 + x] = static_cast<uint16_t>(y * 100 + x);
    window->Present(buffer.data(), 6, 3, 16);
    plat::ClientImage image;
    ASSERT_TRUE(window->ReadClientImage(image));
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.At(3, 1), 103);
    EXPECT_EQ(window->PresentCount(), 1u);
    window->Present(buffer.data(), 6, 3, 10);  // pitch shorter than a row: refused
    EXPECT_EQ(window->PresentCount(), 1u);
    window->SetClientSize(5, 3);
    EXPECT_EQ(window->ClientX(), 50);
    EXPECT_EQ(window->Shown().At(3, 1), 103);
    EXPECT_EQ(window->Shown().At(4, 2), 0);
    window->MoveResize(60, 70, 640, 480);
    EXPECT_EQ(window->ClientX(), 60);
    EXPECT_EQ(window->ClientHeight(), 480);
    EXPECT_TRUE(window->IsShown());
}

TEST(HeadlessWindow, KeyStatesFocusAndMessageBoxesAreTheTestsToSet) {
    auto window = plat::CreateHeadlessWindow();
    ASSERT_TRUE(window->Create("t", 0, 0, 8, 8));
    EXPECT_FALSE(window->IsKeyDown(plat::vk::Control));
    window->SetKeyDown(plat::vk::Control, true);
    window->SetKeyDown(plat::vk::LButton, true);
    EXPECT_TRUE(window->IsKeyDown(plat::vk::Control));
    EXPECT_TRUE(window->IsKeyDown(plat::vk::LButton));
    window->SetKeyDown(plat::vk::LButton, false);
    EXPECT_FALSE(window->IsKeyDown(plat::vk::LButton));
    window->SetFocus(true);
    EXPECT_TRUE(window->HasFocus());
    window->ShowMessageBox("Vantrel", "Fatal Error: ground cache is full (1), 2/3");
    ASSERT_EQ(window->MessageBoxes().size(), 1u);
    EXPECT_EQ(window->MessageBoxes()[0].text, "Fatal Error: ground cache is full (1), 2/3");
    EXPECT_FALSE(plat::CreateHeadlessWindow()->Create("bad", 0, 0, 0, 10));
}

}  // namespace
