#pragma once
// The password settings window "登录密码设置": switches the login password on
// (with a new value typed twice) or off. The new setting takes effect at the
// next start.

#include "core/ProgramFolder.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace qn {

class TpwsetFrm : public QDialog {
    Q_OBJECT
public:
    explicit TpwsetFrm(const ProgramFolder& folder, QWidget* parent = nullptr);

    QFrame* Shape1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image3 = nullptr;
    QLabel* lblTitle = nullptr;
    QCheckBox* JCheckbox1 = nullptr;
    QLabel* lblPassword = nullptr;
    QLineEdit* edit1 = nullptr;
    QLabel* lblConfirm = nullptr;
    QLineEdit* edit2 = nullptr;
    QPushButton* JvXPButton1 = nullptr;
    QToolButton* JvXPToolButton1 = nullptr;

public slots:
    // "应   用": checks the entries and writes the password file.
    void JvXPButton1Click();
    void JvXPToolButton1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    ProgramFolder m_folder;
};

}  // namespace qn
