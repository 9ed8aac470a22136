// The main window: the frame with its menu, tray icon, timers and the three tabs.
#pragma once

#include "gui/base/platform.h"
#include "gui/main/accounttab.h"
#include "gui/main/dialtab.h"
#include "gui/main/settingstab.h"
#include "gui/windows/aboutwindow.h"
#include "gui/windows/loginwindow.h"
#include "gui/windows/phonebookwindow.h"
#include "gui/windows/skinwindow.h"

#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>

namespace zv {

// What the notification-area icon reports.
enum class TrayEvent {
    LeftReleased = 1,  // the left button released on the icon
    DoubleClicked = 2, // a left double-click
    Menu = 3,          // the right button released, or the context-menu key
};

class MainWindow : public QMainWindow {
public:
    MainWindow(Platform& platform, const QStringList& arguments);
    ~MainWindow() override;

    // The start-up steps after the window exists: tray, login window, focus, and a number
    // to dial from the command line.
    void Start();
    // A later start's command line: brings the window forward and takes a number to dial
    // from a tel: or callto: link or "--dial NUMBER".
    void TakeArguments(const QStringList& arguments);
    // Shows the window as a click on the tray icon does, and the login window in front of it.
    void BringForward();

    // True when the account page was read (and the tabs show what it holds).
    bool RefreshAccountOverview();
    // True from the first successful sign-in on, for the life of the program.
    bool signedIn() const { return signedIn_; }
    // Opens the login window (start-up and "切换账号(&C)"); at most one exists.
    LoginWindow* OpenLoginWindow();
    LoginWindow* loginWindow() const { return login_; }
    // Opens the phone book, or brings the open one forward.
    PhoneBookWindow* OpenPhoneBook();
    PhoneBookWindow* phoneBook() const { return phoneBook_; }
    SkinWindow* OpenSkinWindow();
    AboutWindow* OpenAbout();
    SkinWindow* skinWindow() const { return skin_; }
    AboutWindow* about() const { return about_; }

    // Handlers of the shell, callable by tests.
    void OnTrayEvent(TrayEvent event);
    void TickTrimMemory();
    void TickKeepAlive();
    void TickBanner();

    QTabWidget* 选择夹;
    DialTab* dialTab;
    AccountTab* accountTab;
    SettingsTab* settingsTab;
    QMenu* menuProgram;
    QPushButton* 图形按钮_皮肤;
    QTimer* 时钟_防止退出;
    QTimer* 时钟_优化内存;
    QTimer* 时钟_更新公告;
    QSystemTrayIcon* tray;
    bool freeMode = false;

    static constexpr int kClientWidth = 296;
    static constexpr int kClientHeight = 486;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void BuildMenu();
    void SignedInNow();
    // Puts a handed-over number into the callee box; the call waits for the person's Yes,
    // and before the sign-in for the sign-in first.
    void TakeNumber(const QStringList& arguments);
    void ConfirmHandedNumber();
    Platform& platform_;
    QStringList arguments_;
    bool signedIn_ = false;
    bool numberWaits_ = false;
    bool confirming_ = false;
    QPointer<LoginWindow> login_;
    QPointer<PhoneBookWindow> phoneBook_;
    QPointer<SkinWindow> skin_;
    QPointer<AboutWindow> about_;
};

} // namespace zv
