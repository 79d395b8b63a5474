#pragma once
// Reading the system's font configuration is a tenth of the notebook's
// start-up, and the window cannot draw a letter before it. It runs on a
// thread of its own, started just before the application is made, while
// the application connects to the display; once the application exists,
// the same thread fills Qt's font database too. Whoever asks for a font
// first waits for whatever of this is still running (Qt and fontconfig
// guard both).

#include <condition_variable>
#include <mutex>
#include <thread>

namespace qn {

class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Call once the QGuiApplication is made; until then Qt's font database
    // has no platform to ask. Never calling it is allowed.
    void ApplicationReady();
    // Waits until the thread is done; call it before the application goes.
    void Finish();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    enum class Stage { Waiting, ApplicationReady, Abandoned } m_stage = Stage::Waiting;
    std::thread m_thread;
};

}  // namespace qn
