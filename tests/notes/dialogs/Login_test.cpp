// The login at start-up (CheckLogin, TLockLogin) and the password settings
// window (TpwsetFrm), both on Data/loginstr.db.

#include "core/SettingsFile.h"
#include "notes/dialogs/loginLock.h"
#include "notes/dialogs/untPWSet.h"
#include "tests/support/DialogTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>

#include <functional>

using namespace qn;
using namespace qn::testing;

namespace {

QByteArray PasswordBytes(const QString& line1, const QString& line3 = "-1")
{
    return SettingsFile::encode(line1 + "\r\n" + line1 + "\r\n" + line3 + "\r\n");
}

// One try in the login window: the text typed and how it is confirmed.
struct Entry {
    QString text;
    bool byEnter = false;
};

struct LoginRun {
    bool asked = false;      // the login window was shown
    bool result = false;     // what CheckLogin answered
    bool stillOpen = false;  // open after the last entry
    QStringList messages;    // "caption|text" of each message box
};

// Runs CheckLogin; while the login window is up, types the entries, then
// (if it is still open) presses "取消" or, with closeOtherwise, closes it.
LoginRun RunCheckLogin(const ProgramFolder& folder, const QList<Entry>& entries,
                       const std::function<void(TLockLogin*)>& afterEntries = {})
{
    LoginRun run;
    QWidget mainWindow;
    QTimer::singleShot(0, [&] {
        auto* login = qobject_cast<TLockLogin*>(QApplication::activeModalWidget());
        if (!login)
            return;
        run.asked = true;
        for (const Entry& entry : entries) {
            if (!login->isVisible())
                break;
            login->edtPW->setText(entry.text);
            if (entry.byEnter)
                QTest::keyClick(login->edtPW, Qt::Key_Return);
            else
                QTest::mouseClick(login->spdOK, Qt::LeftButton);
        }
        run.stillOpen = login->isVisible();
        if (afterEntries)
            afterEntries(login);
        else if (login->isVisible())
            QTest::mouseClick(login->spdCancel, Qt::LeftButton);
    });
    run.result = CheckLogin(folder, &mainWindow);
    QCoreApplication::processEvents();  // a timer that found no window runs now
    for (const Message& m : RecordedMessages())
        run.messages.append(m.first + "|" + m.second);
    return run;
}

const QString kWrong = QStringLiteral("登陆提示|密码不正确,请重新输入登录密码!");

}  // namespace

Q_DECLARE_METATYPE(Entry)

class LoginTest : public QObject {
    Q_OBJECT
private slots:
    void startUpCheck_data();
    void startUpCheck();
    void refusedEntryEmptiesTheBox();
    void cancelEndsTheProgram();
    void closingOtherwiseEndsTheProgram();
    void fileVanishedWhileAsking();
    void markerWrittenWhileAskingLetsIn();
    void loginWindowLooksAsDesigned();

    void settingsMessagesInOrder();
    void settingsWritesThePassword_data();
    void settingsWritesThePassword();
    void settingsUntickedWritesTheMarker();
    void settingsShowReadsLine3_data();
    void settingsShowReadsLine3();
    void settingsWriteFailureKeepsWindowOpen();
    void settingsRefusesALineBreak();
    void passwordSetIsAskedAtNextStart();
    void settingsWindowLooksAsDesigned();
    void settingsMakesAnExistingFileOwnerOnly();
    void freshInstallOpensThePasswordWindowQuietly();
    void passwordBoxesShowStars();
};

void LoginTest::startUpCheck_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<Entry>>("entries");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<QStringList>("messages");

    const QList<Entry> none;
    QTest::newRow("no file") << false << QByteArray() << none << false << true << QStringList();
    QTest::newRow("empty file") << true << QByteArray() << none << false << true << QStringList();
    QTest::newRow("marker") << true << PasswordBytes(kNoPasswordMarker, "0") << none << false << true << QStringList();
    QTest::newRow("marker chosen as the password")
        << true << PasswordBytes(kNoPasswordMarker, "-1") << none << false << true << QStringList();
    QTest::newRow("exact password") << true << PasswordBytes("Secret") << QList<Entry>{{"Secret"}} << true << true
                                    << QStringList();
    QTest::newRow("letter case differs, then exact")
        << true << PasswordBytes("Secret") << QList<Entry>{{"secret"}, {"SECRET"}, {"Secret"}} << true << true
        << QStringList{kWrong, kWrong};
    QTest::newRow("blanks are part of it") << true << PasswordBytes(" pw ") << QList<Entry>{{"pw"}, {" pw"}, {" pw "}}
                                           << true << true << QStringList{kWrong, kWrong};
    QTest::newRow("Enter confirms") << true << PasswordBytes("Secret") << QList<Entry>{{"Secret", true}} << true << true
                                    << QStringList();
    QTest::newRow("Enter on a wrong entry")
        << true << PasswordBytes("Secret") << QList<Entry>{{"x", true}} << true << false << QStringList{kWrong};
    QTest::newRow("empty first line accepts an empty entry")
        << true << QByteArray("\r\nwhatever\r\n-1\r\n") << QList<Entry>{{""}} << true << true << QStringList();
    QTest::newRow("empty first line refuses text")
        << true << QByteArray("\r\n\r\n-1\r\n") << QList<Entry>{{"a"}} << true << false << QStringList{kWrong};
    QTest::newRow("Chinese password") << true << PasswordBytes("记事本密码") << QList<Entry>{{"记事本密码"}} << true
                                      << true << QStringList();
    // GBK EF BB BF A1 ...: the first bytes look like a UTF-8 byte order mark.
    QTest::newRow("password like a byte order mark")
        << true << PasswordBytes("锘俊abc") << QList<Entry>{{"锘俊abc"}} << true << true << QStringList();
    QTest::newRow("password like a byte order mark, then ASCII")
        << true << PasswordBytes("锘縜1") << QList<Entry>{{"a1"}, {"锘縜1"}} << true << true << QStringList{kWrong};
    QTest::newRow("many attempts, no limit")
        << true << PasswordBytes("k")
        << QList<Entry>{{"1"}, {"2"}, {"3"}, {"4"}, {"5"}, {"6"}, {"7"}, {"8"}, {"9"}, {"10"}, {"k"}} << true << true
        << QStringList(10, kWrong);
}

void LoginTest::startUpCheck()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, file);
    QFETCH(QList<Entry>, entries);
    QFETCH(bool, asked);
    QFETCH(bool, passes);
    QFETCH(QStringList, messages);
    TestFolder t;
    if (present)
        t.writeBytes("loginstr.db", file);
    const LoginRun run = RunCheckLogin(t.folder(), entries);
    QCOMPARE(run.asked, asked);
    QCOMPARE(run.result, passes);
    QCOMPARE(run.messages, messages);
    // The check never rewrites an existing file; a missing one is created
    // without a password, owner-only.
    if (present) {
        QCOMPARE(t.readBytes("loginstr.db"), file);
    } else {
        QCOMPARE(t.readBytes("loginstr.db"), QByteArray("XKPWD7304186\r\nXKPWD7304186\r\n0\r\n"));
        QVERIFY(IsOwnerOnly(t.data("loginstr.db")));
    }
}

void LoginTest::refusedEntryEmptiesTheBox()
{
    TestFolder t;
    t.writeBytes("loginstr.db", PasswordBytes("Secret"));
    TLockLogin login(t.folder());
    login.show();
    login.edtPW->setText("wrong");
    QTest::mouseClick(login.spdOK, Qt::LeftButton);
    QVERIFY(login.isVisible());
    QVERIFY(!login.LoginPassed);
    QCOMPARE(login.edtPW->text(), QString());
    QCOMPARE(login.focusWidget(), login.edtPW);
    QVERIFY(!login.FTerminateRequested);
}

void LoginTest::cancelEndsTheProgram()
{
    TestFolder t;
    t.writeBytes("loginstr.db", PasswordBytes("Secret"));
    TLockLogin login(t.folder());
    QSignalSpy terminate(&login, &TLockLogin::terminateRequested);
    login.show();
    login.edtPW->setText("Secret");  // typed, but cancelled
    QTest::mouseClick(login.spdCancel, Qt::LeftButton);
    QVERIFY(!login.isVisible());
    QVERIFY(!login.LoginPassed);
    QVERIFY(login.FTerminateRequested);
    QCOMPARE(terminate.size(), 1);

    const LoginRun run = RunCheckLogin(t.folder(), {});
    QVERIFY(run.asked);
    QVERIFY(!run.result);
}

void LoginTest::closingOtherwiseEndsTheProgram()
{
    TestFolder t;
    t.writeBytes("loginstr.db", PasswordBytes("Secret"));
    const LoginRun run =
        RunCheckLogin(t.folder(), {{"nope"}}, [](TLockLogin* login) { QTest::keyClick(login, Qt::Key_Escape); });
    QVERIFY(run.asked);
    QVERIFY(!run.result);
}

void LoginTest::fileVanishedWhileAsking()
{
    TestFolder t;
    t.writeBytes("loginstr.db", PasswordBytes("Secret"));
    TLockLogin login(t.folder());
    login.show();
    QFile::remove(t.data("loginstr.db"));
    login.edtPW->setText("Secret");
    QTest::mouseClick(login.spdOK, Qt::LeftButton);
    QVERIFY(!login.isVisible());
    QVERIFY(!login.LoginPassed);
    QVERIFY(login.FTerminateRequested);
    QVERIFY(RecordedMessages().isEmpty());
}

void LoginTest::markerWrittenWhileAskingLetsIn()
{
    TestFolder t;
    t.writeBytes("loginstr.db", PasswordBytes("Secret"));
    TLockLogin login(t.folder());
    login.show();
    t.writeBytes("loginstr.db", PasswordBytes(kNoPasswordMarker, "0"));
    QTest::mouseClick(login.spdOK, Qt::LeftButton);
    QVERIFY(login.LoginPassed);
    QVERIFY(login.isVisible());  // passed, but the window stays until closed
}

void LoginTest::loginWindowLooksAsDesigned()
{
    TestFolder t;
    TLockLogin login(t.folder());
    QCOMPARE(login.size(), QSize(246, 145));
    QVERIFY(login.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(login.spdOK->text(), QString("确定"));
    QCOMPARE(login.spdCancel->text(), QString("取消"));
    QCOMPARE(login.btn1->text(), QString("忘记密码"));
    QCOMPARE(login.Label1->text(), QString("用户名：QN周记事本"));
    QCOMPARE(login.Label2->text(), QString("密  码："));
    QCOMPARE(login.edtPW->echoMode(), QLineEdit::Password);
    QCOMPARE(login.Image3->size(), QSize(99, 120));
    QCOMPARE(login.img1->size(), QSize(140, 35));
    QVERIFY(!login.LoginPassed);
}

void LoginTest::settingsMessagesInOrder()
{
    TestFolder t;
    t.writeBytes("loginstr.db", PasswordBytes(kNoPasswordMarker, "0"));
    TpwsetFrm frm(t.folder());
    frm.show();
    QVERIFY(!frm.JCheckbox1->isChecked());
    frm.JCheckbox1->setChecked(true);

    struct Step {
        QString edit1, edit2, message;
        QLineEdit* focus;
    };
    const QList<Step> steps = {
        {"", "", "请输入登录密码!", frm.edit1},         {"", "b", "请输入登录密码!", frm.edit1},
        {"a", "", "请再次输入登录密码!", frm.edit2},    {"a", "b", "两次输入的密码不一致!", nullptr},
        {"Ab", "ab", "两次输入的密码不一致!", nullptr},
    };
    for (const Step& step : steps) {
        RecordedMessages().clear();
        frm.edit1->setText(step.edit1);
        frm.edit2->setText(step.edit2);
        frm.edit2->setFocus();
        QWidget* focusBefore = frm.focusWidget();
        frm.JvXPButton1Click();
        QCOMPARE(RecordedMessages(), (QList<Message>{{kApplicationTitle, step.message}}));
        QCOMPARE(frm.focusWidget(), step.focus ? step.focus : focusBefore);
        QVERIFY(frm.isVisible());
        // Both entries stay as typed.
        QCOMPARE(frm.edit1->text(), step.edit1);
        QCOMPARE(frm.edit2->text(), step.edit2);
        QCOMPARE(t.readBytes("loginstr.db"), PasswordBytes(kNoPasswordMarker, "0"));
    }
}

void LoginTest::settingsWritesThePassword_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("letters") << "Secret" << QByteArray("Secret\r\nSecret\r\n-1\r\n");
    QTest::newRow("blanks only") << "  " << QByteArray("  \r\n  \r\n-1\r\n");
    QTest::newRow("Chinese, GBK") << "密码" << QByteArray("\xc3\xdc\xc2\xeb\r\n\xc3\xdc\xc2\xeb\r\n-1\r\n");
}

void LoginTest::settingsWritesThePassword()
{
    QFETCH(QString, password);
    QFETCH(QByteArray, bytes);
    TestFolder t;
    t.writeBytes("loginstr.db", PasswordBytes(kNoPasswordMarker, "0"));
    QFile::remove(t.data("loginstr.db"));  // a first setting creates the file
    TpwsetFrm frm(t.folder());
    frm.show();
    RecordedMessages().clear();  // the missing file was reported on show
    frm.JCheckbox1->setChecked(true);
    frm.edit1->setText(password);
    frm.edit2->setText(password);
    QTest::mouseClick(frm.JvXPButton1, Qt::LeftButton);
    QCOMPARE(RecordedMessages(), (QList<Message>{{"提示", "设置登录密码成功!"}}));
    QVERIFY(!frm.isVisible());
    QCOMPARE(t.readBytes("loginstr.db"), bytes);
    QVERIFY(IsOwnerOnly(t.data("loginstr.db")));
}

void LoginTest::settingsUntickedWritesTheMarker()
{
    TestFolder t;
    t.writeBytes("loginstr.db", PasswordBytes("Secret"));
    TpwsetFrm frm(t.folder());
    frm.show();
    QVERIFY(frm.JCheckbox1->isChecked());
    frm.JCheckbox1->setChecked(false);
    frm.edit1->setText("one");
    frm.edit2->setText("two");  // whatever the boxes hold
    QTest::mouseClick(frm.JvXPButton1, Qt::LeftButton);
    QCOMPARE(RecordedMessages(), (QList<Message>{{"提示", "取消密码成功!"}}));
    QCOMPARE(t.readBytes("loginstr.db"), QByteArray("XKPWD7304186\r\nXKPWD7304186\r\n0\r\n"));
    QVERIFY(!frm.isVisible());
}

void LoginTest::settingsShowReadsLine3_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("tickedBefore");
    QTest::addColumn<bool>("tickedAfter");
    QTest::addColumn<bool>("errorShown");
    QTest::newRow("-1 ticks") << true << PasswordBytes("p") << false << true << false;
    QTest::newRow("0 keeps unticked") << true << PasswordBytes(kNoPasswordMarker, "0") << false << false << false;
    QTest::newRow("0 keeps ticked") << true << PasswordBytes(kNoPasswordMarker, "0") << true << true << false;
    QTest::newRow("missing file") << false << QByteArray() << true << true << true;
    QTest::newRow("two lines") << true << QByteArray("p\r\np\r\n") << false << false << true;
    QTest::newRow("empty") << true << QByteArray() << true << true << true;
}

void LoginTest::settingsShowReadsLine3()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, file);
    QFETCH(bool, tickedBefore);
    QFETCH(bool, tickedAfter);
    QFETCH(bool, errorShown);
    TestFolder t;
    if (present)
        t.writeBytes("loginstr.db", file);
    TpwsetFrm frm(t.folder());
    frm.JCheckbox1->setChecked(tickedBefore);
    frm.edit1->setText("kept");
    frm.show();
    QCOMPARE(frm.JCheckbox1->isChecked(), tickedAfter);
    QCOMPARE(RecordedMessages().size(), errorShown ? 1 : 0);
    if (errorShown)
        QCOMPARE(RecordedMessages().first().first, kApplicationTitle);
    QVERIFY(frm.isVisible());
    QCOMPARE(frm.edit1->text(), QString("kept"));  // never cleared on show
    QCOMPARE(t.exists("loginstr.db"), present);
}

void LoginTest::settingsWriteFailureKeepsWindowOpen()
{
    TestFolder t;
    QDir().mkpath(t.data("loginstr.db"));  // a folder where the file belongs
    TpwsetFrm frm(t.folder());
    frm.show();
    RecordedMessages().clear();
    frm.JCheckbox1->setChecked(true);
    frm.edit1->setText("p");
    frm.edit2->setText("p");
    QTest::mouseClick(frm.JvXPButton1, Qt::LeftButton);
    QCOMPARE(RecordedMessages().size(), 1);
    QCOMPARE(RecordedMessages().first().first, kApplicationTitle);  // the error report, no success
    QVERIFY(frm.isVisible());
}

void LoginTest::settingsRefusesALineBreak()
{
    TestFolder t;
    t.writeBytes("loginstr.db", PasswordBytes(kNoPasswordMarker, "0"));
    TpwsetFrm frm(t.folder());
    frm.show();
    frm.JCheckbox1->setChecked(true);
    frm.edit1->setText("a\nb");
    frm.edit2->setText("a\nb");
    if (frm.edit1->text() != QString("a\nb"))
        QSKIP("the entry box drops line breaks by itself");
    QTest::mouseClick(frm.JvXPButton1, Qt::LeftButton);
    QVERIFY(frm.isVisible());
    QCOMPARE(t.readBytes("loginstr.db"), PasswordBytes(kNoPasswordMarker, "0"));
}

void LoginTest::passwordSetIsAskedAtNextStart()
{
    TestFolder t;
    t.writeBytes("loginstr.db", PasswordBytes(kNoPasswordMarker, "0"));
    {
        TpwsetFrm frm(t.folder());
        frm.show();
        frm.JCheckbox1->setChecked(true);
        frm.edit1->setText(" 周记😀 ");  // beyond GBK, with blanks
        frm.edit2->setText(" 周记😀 ");
        QTest::mouseClick(frm.JvXPButton1, Qt::LeftButton);
    }
    RecordedMessages().clear();
    const LoginRun refused = RunCheckLogin(t.folder(), {{"周记😀"}});
    QVERIFY(refused.asked);
    QVERIFY(!refused.result);
    RecordedMessages().clear();
    const LoginRun passed = RunCheckLogin(t.folder(), {{" 周记😀 "}});
    QVERIFY(passed.result);
}

void LoginTest::settingsWindowLooksAsDesigned()
{
    TestFolder t;
    TpwsetFrm frm(t.folder());
    QCOMPARE(frm.size(), QSize(442, 222));
    QVERIFY(frm.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(frm.JCheckbox1->text(), QString("启动登录密码"));
    QCOMPARE(frm.JvXPButton1->text(), QString("应   用"));
    QCOMPARE(frm.JvXPToolButton1->toolTip(), QString("关闭"));
    QCOMPARE(frm.lblTitle->text(), QString("登录密码设置"));
    QCOMPARE(frm.lblPassword->text(), QString("请输入登录密码："));
    QCOMPARE(frm.lblConfirm->text(), QString("请再次输入密码："));
    QCOMPARE(frm.edit1->echoMode(), QLineEdit::Password);
    QCOMPARE(frm.edit2->echoMode(), QLineEdit::Password);
    frm.show();
    QTest::mouseClick(frm.JvXPToolButton1, Qt::LeftButton);
    QVERIFY(!frm.isVisible());
}

void LoginTest::settingsMakesAnExistingFileOwnerOnly()
{
    TestFolder t;
    t.writeBytes("loginstr.db", PasswordBytes(kNoPasswordMarker, "0"));
    QFile::setPermissions(t.data("loginstr.db"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                              | QFileDevice::ReadOther);  // 0644
    TpwsetFrm frm(t.folder());
    frm.show();
    frm.JCheckbox1->setChecked(true);
    frm.edit1->setText("Secret");
    frm.edit2->setText("Secret");
    QTest::mouseClick(frm.JvXPButton1, Qt::LeftButton);
    QCOMPARE(RecordedMessages(), (QList<Message>{{"提示", "设置登录密码成功!"}}));
    QCOMPARE(t.readBytes("loginstr.db"), PasswordBytes("Secret"));
    QVERIFY(IsOwnerOnly(t.data("loginstr.db")));
}

void LoginTest::freshInstallOpensThePasswordWindowQuietly()
{
    // A first start in an empty Data folder: the start-up check leaves the
    // password file without a password, so "登陆密码" opens without an error.
    TestFolder t;
    const LoginRun run = RunCheckLogin(t.folder(), {});
    QVERIFY(!run.asked);
    QVERIFY(run.result);
    RecordedMessages().clear();
    TpwsetFrm frm(t.folder());
    frm.show();
    QVERIFY(RecordedMessages().isEmpty());
    QVERIFY(!frm.JCheckbox1->isChecked());
    QVERIFY(IsOwnerOnly(t.data("loginstr.db")));
}

void LoginTest::passwordBoxesShowStars()
{
    TestFolder t;
    TLockLogin login(t.folder());
    TpwsetFrm frm(t.folder());
    for (QLineEdit* box : {login.edtPW, frm.edit1, frm.edit2}) {
        box->setText("ab 1");
        QCOMPARE(box->text(), QString("ab 1"));
        QCOMPARE(box->displayText(), QString("****"));
    }
}

QTEST_MAIN(LoginTest)
#include "Login_test.moc"
