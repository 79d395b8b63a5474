#pragma once
// The login at start-up: when Data/loginstr.db (notes/dialogs/PasswordFile.h)
// holds a password, the login window asks for it before anything else.

#include "core/ProgramFolder.h"
#include "notes/dialogs/PasswordFile.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QFrame;

namespace qn {

class TLockLogin : public QDialog {
    Q_OBJECT
public:
    explicit TLockLogin(const ProgramFolder& folder, QWidget* parent = nullptr);

    // Set when the entry was accepted.
    bool LoginPassed = false;
    // Set when the login asks the application to end ("取消", or the
    // password file could not be read any more). The window never ends the
    // program itself: the caller does.
    bool FTerminateRequested = false;

    QFrame* shpOuter = nullptr;
    QFrame* pnlWhite = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image3 = nullptr;
    QPushButton* btn1 = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* img1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* edtPW = nullptr;
    QPushButton* spdOK = nullptr;
    QPushButton* spdCancel = nullptr;

public slots:
    void spdOKClick();
    void spdCancelClick();

signals:
    // Emitted with FTerminateRequested.
    void terminateRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void requestTermination();

    ProgramFolder m_folder;
};

// Password boxes show "*" for every character typed, as the windows were
// designed, instead of the style's own dot.
void ShowStarsFor(QLineEdit* passwordBox);

// The start-up check. Reads line 1 of the password file, writing the file
// without a password first when it is missing; when line 1 is the marker, or
// the file is empty, unreadable or could not be written, there is no login
// and the answer is true. Otherwise the login window is shown modally, owned by
// mainWindow; the answer is whether it was passed. On false the caller
// closes the main window and ends the application (before its event loop
// runs, a queued QCoreApplication::quit does that).
bool CheckLogin(const ProgramFolder& folder, QWidget* mainWindow);

}  // namespace qn
