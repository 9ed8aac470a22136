#include "gui/main/mainwindow.h"

#include "gui/base/guard.h"
#include "gui/base/skinlib.h"
#include "gui/base/widgets.h"
#include "portal/account.h"
#include "portal/banner.h"
#include "portal/dialnumber.h"
#include "portal/endpoints.h"
#include "store/settings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <malloc.h>

namespace zv {

MainWindow::MainWindow(Platform& platform, const QStringList& arguments)
    : platform_(platform), arguments_(arguments) {
    setObjectName(QStringLiteral("MainWindow"));
    ApplySavedSkin();
    setWindowTitle(U("Zorvane系统-") + ToQ(SiteHost()));
    setWindowIcon(ProgramIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    BuildMenu();
    QWidget* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    选择夹 = Make<QTabWidget>(client, "选择夹", {1, 0, 295, 481});
    dialTab = new DialTab(选择夹);
    accountTab = new AccountTab(选择夹);
    settingsTab = new SettingsTab(选择夹);
    选择夹->addTab(dialTab, U("在线拨打"));
    选择夹->addTab(accountTab, U("账户信息"));
    选择夹->addTab(settingsTab, U("Zorvane设置"));

    图形按钮_皮肤 = Make<QPushButton>(this, "图形按钮1", {275, 2, 14, 14});
    图形按钮_皮肤->setFlat(true);
    图形按钮_皮肤->setFocusPolicy(Qt::NoFocus);
    图形按钮_皮肤->setToolTip(U("更换皮肤"));
    图形按钮_皮肤->setStyleSheet(QStringLiteral(
        "QPushButton{border:1px solid #6a8bb8;border-radius:3px;"
        "background:qlineargradient(x1:0,y1:0,x2:1,y2:1,stop:0 #f5b041,stop:0.5 #5dade2,stop:1 #58d68d);}"));
    图形按钮_皮肤->raise();
    connect(图形按钮_皮肤, &QPushButton::clicked, this, [this] { OpenSkinWindow(); });

    时钟_防止退出 = new QTimer(this);
    时钟_防止退出->setObjectName(U("时钟_防止退出"));
    时钟_防止退出->setInterval(300000);
    时钟_优化内存 = new QTimer(this);
    时钟_优化内存->setObjectName(U("时钟_优化内存"));
    时钟_优化内存->setInterval(5000);
    时钟_更新公告 = new QTimer(this);
    时钟_更新公告->setObjectName(U("时钟_更新公告"));
    时钟_更新公告->setInterval(600000);
    connect(时钟_防止退出, &QTimer::timeout, this, [this] { TickKeepAlive(); });
    connect(时钟_优化内存, &QTimer::timeout, this, [this] { TickTrimMemory(); });
    connect(时钟_更新公告, &QTimer::timeout, this, [this] { TickBanner(); });

    // The operations send the customer id the account tab shows.
    auto customerId = [this] { return FromQ(accountTab->标签_ID->text()); };
    dialTab->Wire(&platform_, customerId, [this] { OpenPhoneBook(); });
    settingsTab->Wire(&platform_, this, customerId, [this] { return RefreshAccountOverview(); });
    connect(dialTab->按钮_刷新, &QPushButton::clicked, this, [this] { RefreshAccountOverview(); });

    // "/free" counts only as the first argument, exactly so written.
    freeMode = arguments.size() > 1 && arguments.at(1) == QStringLiteral("/free");
    const int menuHeight = menuBar()->sizeHint().height();
    if (freeMode) {
        dialTab->组合框_主叫号码->setEditable(true);
        // A typed caller number is sent as typed; Enter does not make it a forwarding number.
        dialTab->组合框_主叫号码->setInsertPolicy(QComboBox::NoInsert);
        setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
        setMinimumSize(160, 120);
        resize(kClientWidth, kClientHeight + menuHeight);
    } else {
        setFixedSize(kClientWidth, kClientHeight + menuHeight);
    }
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect r = s->availableGeometry();
        move(r.x() + (r.width() - width()) / 2, r.y() + (r.height() - height()) / 2);
    }

    tray = new QSystemTrayIcon(windowIcon(), this);
    tray->setObjectName(QStringLiteral("tray"));
    tray->setToolTip(windowTitle());
    connect(tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger) OnTrayEvent(TrayEvent::LeftReleased);
        else if (r == QSystemTrayIcon::DoubleClick) OnTrayEvent(TrayEvent::DoubleClicked);
        else if (r == QSystemTrayIcon::Context) OnTrayEvent(TrayEvent::Menu);
    });

    时钟_防止退出->start();
    时钟_优化内存->start();
    时钟_更新公告->start();
}

MainWindow::~MainWindow() {
    if (login_) delete login_.data();
    if (skin_) delete skin_.data();
    if (phoneBook_) {
        if (AddContactWindow* add = phoneBook_->addWindow()) delete add;
        delete phoneBook_.data();
    }
}

SkinWindow* MainWindow::OpenSkinWindow() {
    if (!skin_) skin_ = new SkinWindow(QCursor::pos(), 图形按钮_皮肤->width());
    skin_->show();
    skin_->raise();
    skin_->activateWindow();
    return skin_;
}

AboutWindow* MainWindow::OpenAbout() {
    if (!about_) {
        about_ = new AboutWindow(this);
        about_->show();
    }
    about_->raise();
    about_->activateWindow();
    return about_;
}

PhoneBookWindow* MainWindow::OpenPhoneBook() {
    if (!phoneBook_) {
        phoneBook_ = new PhoneBookWindow(platform_, this, dialTab->标签_客户名称, dialTab->编辑框_被叫号码);
        phoneBook_->show();
    }
    if (phoneBook_->isMinimized()) phoneBook_->showNormal();
    phoneBook_->raise();
    phoneBook_->activateWindow();
    return phoneBook_;
}

void MainWindow::BuildMenu() {
    menuProgram = menuBar()->addMenu(U("程序(&P)"));
    menuProgram->setObjectName(U("程序(&P)"));
    auto item = [this](const char* caption, std::function<void()> action) {
        QAction* a = menuProgram->addAction(U(caption));
        a->setObjectName(U(caption));
        connect(a, &QAction::triggered, this, [action] { action(); });
    };
    item("主页(&H)", [this] { platform_.OpenUrl(HttpAddress(SiteHost(), paths::kHome)); });
    item("充值(&P)", [this] { platform_.OpenUrl(HttpAddress(SiteHost(), paths::kPay)); });
    menuProgram->addSeparator();
    item("号码选择(&R)", [this] { platform_.OpenUrl(HttpAddress(SiteHost(), paths::kNumberSelection)); });
    item("切换账号(&C)", [this] { OpenLoginWindow(); });
    menuProgram->addSeparator();
    item("关于Zorvane(&A)", [this] { OpenAbout(); });
    menuProgram->addSeparator();
    item("退出(&Q)", [this] { close(); });
}

void MainWindow::Start() {
    tray->show();
    OpenLoginWindow();
    setFocus();
    QCoreApplication::processEvents();
    // After the start-up has returned: a message box must not hold it up.
    QTimer::singleShot(0, this, [this] { TakeNumber(arguments_); });
}

void MainWindow::TakeArguments(const QStringList& arguments) {
    BringForward();
    TakeNumber(arguments);
}

void MainWindow::BringForward() {
    OnTrayEvent(TrayEvent::LeftReleased);
    if (login_) {
        login_->raise();
        login_->activateWindow();
    }
}

void MainWindow::TakeNumber(const QStringList& arguments) {
    TextList args;
    for (int i = 1; i < arguments.size(); ++i) args.push_back(arguments.at(i).toUtf8().toStdString());
    const DialRequest request = DialRequestOf(args);
    if (!request.present) return;
    // A question is open: what it asks about stays in the box.
    if (confirming_) return;
    if (request.number.empty()) {
        platform_.MessageBox(Gbk("无法拨打：该链接中没有可拨打的电话号码。"), box::kOkButton | box::kExclamationIcon);
        return;
    }
    dialTab->编辑框_被叫号码->setText(ToQ(request.number));
    选择夹->setCurrentWidget(dialTab);
    numberWaits_ = true;
    if (signedIn_ && !login_) ConfirmHandedNumber();
}

void MainWindow::ConfirmHandedNumber() {
    if (!numberWaits_ || confirming_) return;
    numberWaits_ = false;
    BringForward();
    confirming_ = true;
    WindowGuard guard(this);
    dialTab->编辑框_被叫号码->setFocus();
    if (!guard.Run([this] { dialTab->ConfirmCall(); })) return;
    confirming_ = false;
}

LoginWindow* MainWindow::OpenLoginWindow() {
    if (login_) {
        login_->raise();
        login_->activateWindow();
        return login_;
    }
    login_ = new LoginWindow(platform_, [this] { SignedInNow(); }, [this] { return signedIn_; });
    // A number handed over meanwhile is asked about once the window has gone after a sign-in.
    connect(login_, &QObject::destroyed, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (signedIn_ && !login_) ConfirmHandedNumber();
        });
    });
    QPointer<LoginWindow> opened = login_;
    opened->Open();
    return opened;
}

void MainWindow::SignedInNow() {
    WindowGuard guard(this);
    if (!guard.Run([this] { RefreshAccountOverview(); })) return;
    settingsTab->按钮_提交设置参数->setEnabled(true);
    settingsTab->按钮_转接->setEnabled(true);
    settingsTab->按钮_黑名单->setEnabled(true);
    signedIn_ = true;
    settingsTab->互联网浏览器->Navigate(HttpAddress(PortalHost(), paths::kAccountShow));
}

bool MainWindow::RefreshAccountOverview() {
    WindowGuard guard(this);
    AccountOverview overview;
    if (!guard.Run([&] { overview = ReadAccountOverview(PortalHost()); })) return false;
    // A page that did not arrive or convert leaves everything as it was.
    if (!overview.read) return false;
    dialTab->ShowOverview(overview);
    accountTab->ShowOverview(overview);
    settingsTab->ShowForwardingNumbers(overview.forwardingNumbers);
    return true;
}

void MainWindow::OnTrayEvent(TrayEvent event) {
    if (event == TrayEvent::LeftReleased) {
        show();
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        showNormal();
        raise();
        activateWindow();
    } else if (event == TrayEvent::Menu) {
        menuProgram->popup(QCursor::pos() + QPoint(3, 3));
    }
}

void MainWindow::TickTrimMemory() { malloc_trim(0); }

void MainWindow::TickKeepAlive() { settingsTab->互联网浏览器->Reload(); }

void MainWindow::TickBanner() {
    时钟_更新公告->stop();
    UpdateBanner(SiteHost(), Proc().bannerPath);
}

void MainWindow::closeEvent(QCloseEvent* e) {
    e->accept();
    hide();
    tray->hide();
    platform_.EndProgram();
}

void MainWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(e);
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    const QWidget* client = centralWidget();
    if (!client || !选择夹) return;
    const int w = client->width(), h = client->height();
    选择夹->resize(w - 1, h - 选择夹->y() - 5);
    BrowserControl* b = settingsTab->互联网浏览器;
    b->resize(选择夹->width(), h - b->y());
}

void MainWindow::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
        // Without a notification area nothing could bring a hidden window back.
        if (QSystemTrayIcon::isSystemTrayAvailable()) QTimer::singleShot(0, this, [this] { hide(); });
    }
}

} // namespace zv
