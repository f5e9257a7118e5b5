#include "platform/Window.h"

#include "platform/Clock.h"

#include <algorithm>

namespace plat {

void Window::StartTimer(uint32_t periodMs) {
    timerPeriod_ = periodMs;
    timerLast_ = TickCount();
}

void Window::StopTimer() { timerPeriod_ = 0; }

bool Window::TimerDue(uint32_t now, uint32_t* waitMs) {
    if (timerPeriod_ == 0) {
        if (waitMs) *waitMs = 100;
        return false;
    }
    uint32_t elapsed = now - timerLast_;  // unsigned: survives the tick count's wrap
    if (elapsed >= timerPeriod_) return true;
    if (waitMs) *waitMs = timerPeriod_ - elapsed;
    return false;
}

bool Window::PollEvent(Event& event) {
    if (!IsAlive()) return false;
    uint32_t now = TickCount();
    // The timer waits for the queue to empty, except when it is overdue by a whole period: a steady
    // stream of input (a drag) must not stop the game's ticks.
    bool overdue = timerPeriod_ != 0 && now - timerLast_ >= 2 * timerPeriod_;
    if (overdue || !NextQueuedEvent(event)) {
        if (!TimerDue(now, nullptr)) return false;
        // The next period counts from the delivery, so a late tick leaves no backlog behind it.
        timerLast_ = now;
        event = Event{};
        event.type = EventType::Timer;
    }
    Notify(event);
    return true;
}

bool Window::WaitEvent(Event& event) {
    for (;;) {
        if (!IsAlive()) return false;
        if (PollEvent(event)) return true;
        if (!CanWait()) return false;
        uint32_t waitMs = 0;
        if (!TimerDue(TickCount(), &waitMs)) WaitForQueuedEvent(waitMs);
    }
}

void Window::AddListener(WindowListener* listener) {
    if (listener && !HasListener(listener)) listeners_.push_back(listener);
}

void Window::RemoveListener(WindowListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

bool Window::HasListener(const WindowListener* listener) const {
    return std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end();
}

void Window::Notify(const Event& event) {
    // A copy, because a listener may remove itself (the display unhooks on Destroy).
    std::vector<WindowListener*> current = listeners_;
    for (WindowListener* listener : current) {
        if (HasListener(listener)) listener->OnWindowEvent(*this, event);
    }
}

}  // namespace plat
