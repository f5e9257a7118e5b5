// A page sequence as the pages screen shows it: the music that plays under it and its pages, each
// an optional picture name, a text and an optional script id. The texts are borrowed from the world's
// records and stay valid while the world is open.
#pragma once

#include <vector>

struct CPageView {
    const char* picture = nullptr;
    const char* text = nullptr;
    const char* script = nullptr;
};

struct CPageSequenceView {
    const char* music = nullptr;
    std::vector<CPageView> pages;
};
