#pragma once
// A main window on a fixed day in a fresh program folder, with dialogs that
// answer what the test says and count how often they were asked.

#include "calendar/DateValue.h"
#include "calendar_control/ChnCalendar.h"
#include "notes/window/uMain.h"
#include "tests/support/StoreFixture.h"

#include <QApplication>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class BoardFixture : public StoreFixture {
protected:
    void Open(double now)
    {
        TMainDialogs dialogs;
        dialogs.chooseFont = [this](const QFont& initial, QWidget*) {
            ++fontAsked;
            lastFontOffered = initial;
            return fontAnswerFor ? fontAnswerFor(initial) : fontAnswer;
        };
        dialogs.chooseColor = [this](const QColor& initial, QWidget*) {
            ++colourAsked;
            lastColourOffered = initial;
            return colourAnswer;
        };
        dialogs.chooseExportFile = [this](const QString& startFolder, const QString& proposed, QWidget*) {
            ++exportAsked;
            exportFolderOffered = startFolder;
            proposedName = proposed;
            return exportAnswer;
        };
        dialogs.askUnsavedClose = [this](const QString& reason, QWidget*) {
            closeQuestions << reason;
            if (closeAnswers.empty())
                return UnsavedAnswer::Cancel;
            const UnsavedAnswer answer = closeAnswers.front();
            closeAnswers.erase(closeAnswers.begin());
            return answer;
        };
        dialogs.offerSoundCopy = [this](const QString& text, QWidget*) {
            soundCopyOffers << text;
            return soundCopyAnswer;
        };
        window = std::make_unique<TMainFrm>(*dm, folder, qn::FixedClock(now), nullptr, dialogs);
        window->requestTermination = [this] { ++terminationRequests; };
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        window.reset();
        StoreFixture::TearDown();
    }

    // Failed loads and saves are tried again at once, and a busy database
    // is given up on quickly, so that the tests wait on conditions only
    // briefly.
    void FastRetries()
    {
        qn::WeekNotesTiming timing = window->board()->model()->Timing();
        timing.retryMs = 10;
        timing.heldSignDelayMs = 10;
        window->board()->model()->SetTiming(timing);
        dm->SetBusyTimeout(20);
    }

    QTextEdit* Box(int n) const { return window->findChild<QTextEdit*>(QStringLiteral("redt%1").arg(n)); }
    template <typename T>
    T* Find(const char* name) const
    {
        return window->findChild<T*>(QLatin1String(name));
    }
    // Focus in box n with the given text, all of it selected or the caret at its end.
    void FocusBox(int n, const QString& text, bool selectAll)
    {
        QTextEdit* box = Box(n);
        box->setFocus();
        QApplication::processEvents();
        box->setPlainText(text);
        if (selectAll)
            box->selectAll();
        else
            box->moveCursor(QTextCursor::End);
    }

    std::unique_ptr<TMainFrm> window;
    int terminationRequests = 0;
    QStringList closeQuestions;
    std::vector<UnsavedAnswer> closeAnswers;
    QStringList soundCopyOffers;
    bool soundCopyAnswer = false;
    int fontAsked = 0, colourAsked = 0, exportAsked = 0;
    QFont lastFontOffered;
    QColor lastColourOffered;
    QString proposedName;
    QString exportFolderOffered;
    std::optional<QFont> fontAnswer;
    // When set, the font dialog's answer depends on the font it was opened on.
    std::function<std::optional<QFont>(const QFont& offered)> fontAnswerFor;
    std::optional<QColor> colourAnswer;
    std::optional<QString> exportAnswer;
};
