// The main window: the frame with its menu, tray icon, timers and the three tabs.
#pragma once

#include "platform.h"
#include "loginwindow.h"
#include "aboutwindow.h"
#include "phonebookwindow.h"
#include "skinwindow.h"
#include "tabs.h"

#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>

namespace zv {



class MainWindow : public QMainWindow {
public:
    MainWindow(Platform& platform, const QStringList& arguments);
    ~MainWindow() override;

    // The start-up steps after the window exists: tray, login window, focus.
    void Start();

    void RefreshAccountOverview();
    void CountForwardingNumbers();
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
    void TrayEvent(int type);
    void TickTrimMemory();
    void TickKeepAlive();
    void TickBanner();

    QTabWidget* 选择夹;
    DialTab* tab1;
    AccountTab* tab2;
    SettingsTab* tab3;
    QMenu* menuProgram;
    QPushButton* 图形按钮1;
    TextHolder* 编辑框_获取内容;
    QTimer* 时钟_防止退出;
    QTimer* 时钟_优化内存;
    QTimer* 时钟_更新公告;
    QSystemTrayIcon* tray;
    int ForwardingNumberCount = 0;
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
    QLabel* Label(const char* name) const;
    Platform& platform_;
    QPointer<LoginWindow> login_;
    QPointer<PhoneBookWindow> phoneBook_;
    QPointer<SkinWindow> skin_;
    QPointer<AboutWindow> about_;
};

} // namespace zv
