#pragma once
// The login password: Data/loginstr.db holds the password on line 1 (and
// again on line 2, and "-1" on line 3), or the marker "XKPWD7304186" on
// lines 1 and 2 and "0" on line 3 when no password is set. The file is plain
// text in the GBK code page, as it always was, so existing files keep
// working. The lock guards access within this single-user program; it is not
// encryption.

#include "core/ProgramFolder.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QFrame;

namespace qn {

inline const QString kNoPasswordMarker = QStringLiteral("XKPWD7304186");

// Path of the password file in the program folder.
QString PasswordFilePath(const ProgramFolder& folder);

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

// The start-up check. Reads line 1 of the password file; when it is the
// marker, or the file is missing, empty or unreadable, there is no login and
// the answer is true. Otherwise the login window is shown modally, owned by
// mainWindow; the answer is whether it was passed. On false the caller
// closes the main window and ends the application (before its event loop
// runs, a queued QCoreApplication::quit does that).
bool CheckLogin(const ProgramFolder& folder, QWidget* mainWindow);

}  // namespace qn
