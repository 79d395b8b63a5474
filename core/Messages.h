#pragma once
// The two kinds of message the notebook shows: the plain message (caption =
// the application title, OK only) and the general error report for anything
// a step did not catch.

#include <QString>

class QWidget;

namespace qn {

inline const QString kApplicationTitle = QStringLiteral("QN周记事本");
inline const QString kMainWindowTitle = QStringLiteral("QN桌面记事");

// A message box captioned with the application title, with an OK button only.
void ShowPlainMessage(QWidget* parent, const QString& text);

// A message box with its own caption, owned by the given window, OK only.
void ShowCaptionedMessage(QWidget* parent, const QString& caption, const QString& text);

// The same box without waiting for it: shown over the window while the user
// goes on working (news the user did not ask for at that moment, such as a
// file ignored at start or the outcome of a download).
void ShowNotice(QWidget* parent, const QString& text);

// The general error report: shows the error's text; the program carries on.
void ShowErrorReport(QWidget* parent, const QString& errorText);

// Tests replace the boxes: while a sink is set, every message goes to it
// (caption, text) instead of a box.
using MessageSink = void (*)(const QString& caption, const QString& text);
void SetMessageSink(MessageSink sink);

}  // namespace qn
