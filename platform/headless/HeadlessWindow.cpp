#include "platform/headless/HeadlessWindow.h"

#include <algorithm>
#include <cstring>

namespace plat {

std::unique_ptr<HeadlessWindow> CreateHeadlessWindow() { return std::make_unique<HeadlessWindow>(); }

bool HeadlessWindow::Create(const std::string& title, int clientX, int clientY, int clientWidth,
                            int clientHeight) {
    if (refuseCreate_ || clientWidth <= 0 || clientHeight <= 0) return false;
    title_ = title;
    x_ = clientX;
    y_ = clientY;
    width_ = clientWidth;
    height_ = clientHeight;
    alive_ = true;
    ResizeImage();
    return true;
}

void HeadlessWindow::Destroy() {
    if (!alive_) return;
    Event event;
    event.type = EventType::Destroy;
    Notify(event);
    alive_ = false;
    queue_.clear();
}

void HeadlessWindow::MoveResize(int clientX, int clientY, int clientWidth, int clientHeight) {
    x_ = clientX;
    y_ = clientY;
    SetClientSize(clientWidth, clientHeight);
    shown_ = true;
}

void HeadlessWindow::SetClientSize(int clientWidth, int clientHeight) {
    if (clientWidth <= 0 || clientHeight <= 0) return;
    width_ = clientWidth;
    height_ = clientHeight;
    ResizeImage();
}

void HeadlessWindow::ResizeImage() {
    ClientImage image;
    image.width = width_;
    image.height = height_;
    image.pixels.assign(static_cast<size_t>(width_) * height_, 0);
    int w = std::min(width_, shownImage_.width);
    for (int y = 0; y < std::min(height_, shownImage_.height); ++y)
        std::copy_n(&shownImage_.pixels[static_cast<size_t>(y) * shownImage_.width], w,
                    &image.pixels[static_cast<size_t>(y) * width_]);
    shownImage_ = std::move(image);
}

void HeadlessWindow::SetIcon(const uint32_t* argb, int width, int height) { iconWidth_ = argb ? width : 0; }

namespace {

std::vector<MessageBoxRecord>& ProcessMessageBoxes() {
    static std::vector<MessageBoxRecord> boxes;
    return boxes;
}

}  // namespace

const std::vector<MessageBoxRecord>& HeadlessWindow::AllMessageBoxes() { return ProcessMessageBoxes(); }

void HeadlessWindow::ShowMessageBox(const std::string& caption, const std::string& text) {
    boxes_.push_back({caption, text});
    ProcessMessageBoxes().push_back({caption, text});
}

void HeadlessWindow::Invalidate() {
    Event event;
    event.type = EventType::Expose;
    queue_.push_back(event);
}

void HeadlessWindow::Present(const uint16_t* pixels, int width, int height, int pitchBytes) {
    if (!alive_ || !pixels || width <= 0 || height <= 0 || pitchBytes < width * 2) return;
    ++presents_;
    int w = std::min(width, width_);
    int h = std::min(height, height_);
    const auto* bytes = reinterpret_cast<const uint8_t*>(pixels);
    for (int y = 0; y < h; ++y)
        std::memcpy(&shownImage_.pixels[static_cast<size_t>(y) * width_],
                    bytes + static_cast<size_t>(y) * pitchBytes, static_cast<size_t>(w) * 2);
}

bool HeadlessWindow::ReadClientImage(ClientImage& out) {
    if (!alive_) return false;
    out = shownImage_;
    return true;
}

void HeadlessWindow::PushKeyDown(uint32_t key) {
    Event event;
    event.type = EventType::KeyDown;
    event.key = key;
    queue_.push_back(event);
}

void HeadlessWindow::PushMouse(EventType type, int x, int y, bool leftHeld) {
    Event event;
    event.type = type;
    event.x = x;
    event.y = y;
    event.leftHeld = leftHeld;
    queue_.push_back(event);
}

void HeadlessWindow::SetKeyDown(uint32_t key, bool down) {
    if (down)
        keys_.insert(key);
    else
        keys_.erase(key);
}

bool HeadlessWindow::NextQueuedEvent(Event& event) {
    if (queue_.empty()) return false;
    event = queue_.front();
    queue_.pop_front();
    if (event.type == EventType::Activate) focus_ = true;
    if (event.type == EventType::Deactivate) focus_ = false;
    return true;
}

}  // namespace plat
