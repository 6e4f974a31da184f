#pragma once

#include <thread>

// Reads the desktop's font configuration on a second thread while the program creates its
// application object and connects to the display.
//
// Reading it (dozens of configuration files and the font caches) is the longest single step
// before the window can measure its first text, and the toolkit would otherwise do it on the
// main thread at that first measurement. Pango starts fontconfig the same way.
class FontConfigurationReader
{
public:
    FontConfigurationReader();

    // Returns once the configuration is read. Call it before anything looks a font up: a lookup
    // that comes first reads the configuration a second time instead of waiting.
    void wait();

private:
    std::jthread m_reader;
};
