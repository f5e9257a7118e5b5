// A window without a screen, for tests: the test scripts the events, sets the focus and the key states,
// moves the timer through the installed clock (plat::ManualClock), and reads back every presented frame
// and every message box.
#pragma once

#include "platform/Window.h"

#include <deque>
#include <set>

namespace plat {

struct MessageBoxRecord {
    std::string caption;
    std::string text;
};

class HeadlessWindow final : public Window {
public:
    bool Create(const std::string& title, int clientX, int clientY, int clientWidth,
                int clientHeight) override;
    void Destroy() override;
    bool IsAlive() const override { return alive_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    std::string Title() const override { return title_; }
    void MoveResize(int clientX, int clientY, int clientWidth, int clientHeight) override;
    void SetClientSize(int clientWidth, int clientHeight) override;
    int ClientWidth() const override { return width_; }
    int ClientHeight() const override { return height_; }
    int ClientX() const override { return x_; }
    int ClientY() const override { return y_; }
    void Show() override { shown_ = true; }
    void SetTopmost(bool topmost) override { topmost_ = topmost; }
    bool IsTopmost() const override { return topmost_; }
    void SetIcon(const uint32_t* argb, int width, int height) override;
    void ShowMessageBox(const std::string& caption, const std::string& text) override;
    void Invalidate() override;
    bool HasFocus() const override { return focus_; }
    bool IsKeyDown(uint32_t key) const override { return keys_.count(key) != 0; }
    void Present(const uint16_t* pixels, int width, int height, int pitchBytes) override;
    bool ReadClientImage(ClientImage& out) override;
    void RepaintLastFrame() override {
        if (alive_) ++repaints_;
    }

    // --- for tests ---
    // Queues an event. Activate and Deactivate also set the focus flag when they are delivered.
    void PushEvent(const Event& event) { queue_.push_back(event); }
    void PushKeyDown(uint32_t key);
    void PushMouse(EventType type, int x, int y, bool leftHeld = false);
    size_t PendingEvents() const { return queue_.size(); }
    void SetFocus(bool focus) { focus_ = focus; }
    void SetKeyDown(uint32_t key, bool down);
    bool IsShown() const { return shown_; }
    int IconWidth() const { return iconWidth_; }
    uint32_t PresentCount() const { return presents_; }
    uint32_t RepaintCount() const { return repaints_; }
    // The client area as the last present left it (black before the first).
    const ClientImage& Shown() const { return shownImage_; }
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return boxes_; }
    // Every message box of every headless window of the process, also of windows destroyed since.
    static const std::vector<MessageBoxRecord>& AllMessageBoxes();
    // Makes Create fail, as a backend without a display does.
    void RefuseCreate(bool refuse) { refuseCreate_ = refuse; }

protected:
    bool NextQueuedEvent(Event& event) override;
    void WaitForQueuedEvent(uint32_t) override {}
    bool CanWait() const override { return false; }

private:
    void ResizeImage();

    bool alive_ = false;
    bool refuseCreate_ = false;
    bool shown_ = false;
    bool topmost_ = false;
    bool focus_ = false;
    std::string title_;
    int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
    int iconWidth_ = 0;
    std::deque<Event> queue_;
    std::set<uint32_t> keys_;
    uint32_t presents_ = 0;
    uint32_t repaints_ = 0;
    ClientImage shownImage_;
    std::vector<MessageBoxRecord> boxes_;
};

std::unique_ptr<HeadlessWindow> CreateHeadlessWindow();

}  // namespace plat
