// libFuzzer target for the RTF reader: any bytes must load without a crash,
// a hang or a sanitizer report, and what was loaded must survive a save and
// a second load unchanged.

#include "notes/rtf/RtfStream.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: libFuzzer ends the process with exit(), and a
    // QGuiApplication torn down among the exit handlers would touch Qt
    // globals that are already gone.
    static QGuiApplication* const app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument doc;
    ReadRtf(bytes, doc);
    const QByteArray saved = WriteRtf(doc);
    (void)PlainTextCrLf(doc);

    QTextDocument again;
    again.setDefaultFont(doc.defaultFont());
    if (!ReadRtf(saved, again))
        std::abort();  // our own output must always be RTF
    if (again.toRawText() != doc.toRawText())
        std::abort();  // text lost or changed between two saves
    if (WriteRtf(again) != saved)
        std::abort();  // formats drift from save to save
    return 0;
}
