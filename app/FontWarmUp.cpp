#include "app/FontWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace qn {

FontWarmUp::FontWarmUp()
    : m_thread([this] {
          FcInit();
          std::unique_lock lock(m_mutex);
          m_changed.wait(lock, [this] { return m_stage != Stage::Waiting; });
          if (m_stage == Stage::ApplicationReady) {
              lock.unlock();
              QFontDatabase::families();
          }
      })
{
}

FontWarmUp::~FontWarmUp() { Finish(); }

void FontWarmUp::Finish()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        if (m_stage == Stage::Waiting)
            m_stage = Stage::Abandoned;
    }
    m_changed.notify_all();
    m_thread.join();
}

void FontWarmUp::ApplicationReady()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stage == Stage::Waiting)
            m_stage = Stage::ApplicationReady;
    }
    m_changed.notify_all();
}

}  // namespace qn
