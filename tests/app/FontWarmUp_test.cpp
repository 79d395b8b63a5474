#include "app/FontWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

// However the start-up goes (the application made or not, the thread asked
// to finish early or only by the destructor), the warm-up ends, and Qt's
// font database is whole afterwards.
TEST(FontWarmUp, EndsWhateverTheStartDid)
{
    struct Case {
        const char* name;
        bool applicationReady;
        bool finishEarly;
    };
    for (const Case c :
         {Case{"never told the application is ready", false, false},
          Case{"ready, ended by its destructor", true, false}, Case{"ready, finished, then destroyed", true, true},
          Case{"finished before it was told", false, true}}) {
        SCOPED_TRACE(c.name);
        {
            qn::FontWarmUp warmUp;
            if (c.applicationReady)
                warmUp.ApplicationReady();
            if (c.finishEarly) {
                warmUp.Finish();
                warmUp.Finish();  // a second time does nothing
            }
        }
        EXPECT_FALSE(QFontDatabase::families().isEmpty());
    }
}

}  // namespace
