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

// A question with the buttons Yes and No (in the user's language), owned by
// the window; true for Yes. No is the default button and the answer when the
// box is closed otherwise.
bool AskYesNo(QWidget* parent, const QString& caption, const QString& text);

// The two things a program does with a file, for the wording of a failure.
enum class FileAction { Read, Write };

// Our own words for the common reasons a file cannot be read or written: no
// permission, a read-only disk, no such folder, a full disk, a folder in the
// way. Anything else: "系统错误" (the system's text then comes as a detail).
QString FileErrorReason(int systemError);

// The message for a failed read or write of path: what failed and why in our
// words, then the system's own text on a line of its own, as a detail.
// "无法保存文件“/home/u/周.txt”：磁盘已满。\n（系统信息：No space left on device）"
QString FileErrorMessage(FileAction action, const QString& path, const QString& reason,
                         const QString& systemDetail = QString());

// Tests replace the boxes: while a sink is set, every message goes to it
// (caption, text) instead of a box.
using MessageSink = void (*)(const QString& caption, const QString& text);
void SetMessageSink(MessageSink sink);
// While a message sink is set, questions go to it as well and are answered
// by the question sink, or No when none is set.
using QuestionSink = bool (*)(const QString& caption, const QString& text);
void SetQuestionSink(QuestionSink sink);

}  // namespace qn
