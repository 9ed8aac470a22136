#include "mainwindow.h"

#include "account.h"
#include "charset.h"
#include "endpoints.h"
#include "profile.h"
#include "loginwindow.h"
#include "settings.h"
#include "skinlib.h"
#include "webrequest.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <malloc.h>

namespace zv {

MainWindow::MainWindow(Platform& platform, const QStringList& arguments) : platform_(platform) {
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
    tab1 = new DialTab(选择夹);
    tab2 = new AccountTab(选择夹);
    tab3 = new SettingsTab(选择夹);
    选择夹->addTab(tab1, U("在线拨打"));
    选择夹->addTab(tab2, U("账户信息"));
    选择夹->addTab(tab3, U("Zorvane设置"));
    编辑框_获取内容 = Make<TextHolder>(client, "编辑框_获取内容", {0, 0, 10, 10});

    图形按钮1 = Make<QPushButton>(this, "图形按钮1", {275, 2, 14, 14});
    图形按钮1->setFlat(true);
    图形按钮1->setFocusPolicy(Qt::NoFocus);
    图形按钮1->setToolTip(U("更换皮肤"));
    图形按钮1->setStyleSheet(QStringLiteral(
        "QPushButton{border:1px solid #6a8bb8;border-radius:3px;"
        "background:qlineargradient(x1:0,y1:0,x2:1,y2:1,stop:0 #f5b041,stop:0.5 #5dade2,stop:1 #58d68d);}"));
    图形按钮1->raise();
    connect(图形按钮1, &QPushButton::clicked, this, [this] { OpenSkinWindow(); });

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

    tab1->Wire(&platform_, [this] { return FromQ(tab2->标签_ID->text()); }, [this] { OpenPhoneBook(); });
    tab3->Wire(&platform_, this, [this] { return FromQ(tab2->标签_ID->text()); }, [this] { RefreshAccountOverview(); });
    connect(tab1->按钮_刷新, &QPushButton::clicked, this, [this] { RefreshAccountOverview(); });
    connect(tab1->按钮_分割号码个数, &QPushButton::clicked, this, [this] { CountForwardingNumbers(); });

    // "/free" counts only as the first argument, exactly so written.
    freeMode = arguments.size() > 1 && arguments.at(1) == QStringLiteral("/free");
    const int menuHeight = menuBar()->sizeHint().height();
    if (freeMode) {
        tab1->组合框_主叫号码->setEditable(true);
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
        if (r == QSystemTrayIcon::Trigger) TrayEvent(1);
        else if (r == QSystemTrayIcon::DoubleClick) TrayEvent(2);
        else if (r == QSystemTrayIcon::Context) TrayEvent(3);
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
    if (!skin_) skin_ = new SkinWindow(QCursor::pos(), 图形按钮1->width());
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
        phoneBook_ = new PhoneBookWindow(platform_, this, tab1->标签_客户名称, tab1->编辑框_被叫号码);
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
}

LoginWindow* MainWindow::OpenLoginWindow() {
    if (login_) {
        login_->raise();
        login_->activateWindow();
        return login_;
    }
    login_ = new LoginWindow(platform_, [this] { SignedInNow(); });
    QPointer<LoginWindow> opened = login_;
    opened->Open();
    return opened;
}

void MainWindow::SignedInNow() {
    RefreshAccountOverview();
    tab3->按钮_提交设置参数->setEnabled(true);
    tab3->按钮_转接->setEnabled(true);
    tab3->按钮_黑名单->setEnabled(true);
    Proc().signedIn = 1;
    tab3->互联网浏览器->Navigate(HttpAddress(PortalHost(), paths::kAccountShow));
}

QLabel* MainWindow::Label(const char* name) const { return findChild<QLabel*>(U(name)); }

void MainWindow::RefreshAccountOverview() {
    const Text host = PortalHost();
    const Text body = PageBody(WebRequest(HttpAddress(host, paths::kMainPage)));
    const Bytes forwardPage = WebRequest(HttpAddress(host, paths::kForwardingPage));
    tab3->编辑框_转接号码内容->text = BytesToText(Utf8ToGb2312(forwardPage));
    编辑框_获取内容->text = BytesToText(Utf8ToGb2312(body));
    if (编辑框_获取内容->text.empty()) return;

    const auto values = ReadOverviewFields(编辑框_获取内容->text);
    const auto& fields = OverviewFields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (QLabel* l = Label(fields[i].label)) l->setText(ToQ(values[i]));

    CountForwardingNumbers();
    QComboBox* callers = tab1->组合框_主叫号码;
    QListWidget* numbers = tab3->列表框_转接号码;
    QListWidget* ids = tab3->列表框_转接号码ID;
    callers->clear();
    numbers->clear();
    ids->clear();
    const int count = ForwardingNumberCount;
    const TextList found = ReadForwardingNumbers(编辑框_获取内容->text, count);
    for (int i = 1; i <= count; ++i) {
        const QString n = ToQ(found[static_cast<size_t>(i - 1)]);
        callers->addItem(n, i);
        auto* item = new QListWidgetItem(n);
        item->setData(Qt::UserRole, i);
        numbers->addItem(item);
    }
    callers->setCurrentIndex(callers->count() > 0 ? 0 : -1);
    int k = 0;
    for (const Text& id : ReadForwardingIds(tab3->编辑框_转接号码内容->text)) {
        auto* item = new QListWidgetItem(ToQ(id));
        item->setData(Qt::UserRole, ++k);
        ids->addItem(item);
    }
}

void MainWindow::CountForwardingNumbers() { ForwardingNumberCount = zv::CountForwardingNumbers(编辑框_获取内容->text); }

void MainWindow::TrayEvent(int type) {
    if (type == 1) {
        show();
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        showNormal();
        raise();
        activateWindow();
    } else if (type == 3) {
        menuProgram->popup(QCursor::pos() + QPoint(3, 3));
    }
}

void MainWindow::TickTrimMemory() { malloc_trim(0); }

void MainWindow::TickKeepAlive() { tab3->互联网浏览器->Reload(); }

void MainWindow::TickBanner() {
    时钟_更新公告->stop();
    const Bytes image = WebRequest(HttpAddress(SiteHost(), paths::kBanner));
    // A download that yields nothing keeps the banner there is.
    if (image.empty()) return;
    QDir().mkpath(QString::fromStdString(Proc().skinsFolder));
    ReplaceFile(Proc().skinsFolder + "gonggao.png", image);
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
    BrowserControl* b = tab3->互联网浏览器;
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
