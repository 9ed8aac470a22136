#include "gui/base/skinlib.h"
#include "tests/support/files.h"
#include "tests/support/signed_in.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QSlider>
#include <dirent.h>
#include <dlfcn.h>
#include <fstream>
#include <sstream>

using namespace zv;
using zvtest::ReadFile;
using zvtest::SignedInTest;
using zvtest::WindowTest;

namespace {

class ShellTest : public SignedInTest {};

TEST_F(ShellTest, MenuItemsOpenTheSitePagesAndWindows) {
    auto trigger = [this](const char* item) {
        QAction* a = main->menuProgram->findChild<QAction*>(U(item));
        ASSERT_NE(a, nullptr) << item;
        a->trigger();
    };
    const std::vector<QString> order = {U("主页(&H)"),        U("充值(&P)"), QString(), U("号码选择(&R)"),
                                        U("切换账号(&C)"),    QString(),     U("关于Zorvane(&A)"), QString(),
                                        U("退出(&Q)")};
    const auto actions = main->menuProgram->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(order.size()));
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(actions[static_cast<qsizetype>(i)]->isSeparator() ? QString() : actions[static_cast<qsizetype>(i)]->text(), order[i]);

    trigger("主页(&H)");
    trigger("充值(&P)");
    trigger("号码选择(&R)");
    const Text site = "http://" + portal.host();
    EXPECT_EQ(platform.urls, (std::vector<Text>{site + "/", site + "/qarlo/pay.html", site + "/qarlo/No.html"}));

    trigger("关于Zorvane(&A)");
    AboutWindow* about = main->about();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->parentWidget(), main);
    EXPECT_EQ(QApplication::activeModalWidget(), about);
    EXPECT_EQ(about->windowTitle(), U("关于OstrelZorvane"));
    trigger("关于Zorvane(&A)");
    EXPECT_EQ(main->about(), about);
    QTest::mouseClick(about->按钮_确定, Qt::LeftButton);
    ZV_WAIT(main->about() == nullptr);

    trigger("退出(&Q)");
    EXPECT_EQ(platform.ends, 1);
}

TEST_F(ShellTest, SwitchingAccountCancelledKeepsTheEarlierData) {
    const QString balance = Label("标签_余额")->text();
    main->menuProgram->findChild<QAction*>(U("切换账号(&C)"))->trigger();
    LoginWindow* login = main->loginWindow();
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), login);
    EXPECT_EQ(login->parentWidget(), nullptr);
    QTest::mouseClick(login->按钮_取消, Qt::LeftButton);
    ZV_WAIT(main->loginWindow() == nullptr);
    EXPECT_EQ(platform.ends, 0);
    EXPECT_EQ(Label("标签_余额")->text(), balance);
}

TEST_F(ShellTest, TrayAndMinimising) {
    main->showMinimized();
    QCoreApplication::processEvents();
    if (QSystemTrayIcon::isSystemTrayAvailable())
        ZV_WAIT(main->isHidden());
    else
        EXPECT_TRUE(main->isVisible()) << "hidden with no notification area to come back from";
    main->OnTrayEvent(TrayEvent::DoubleClicked);
    main->OnTrayEvent(TrayEvent::LeftReleased);
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(main->windowState() & Qt::WindowMinimized);
    main->OnTrayEvent(TrayEvent::Menu);
    ZV_WAIT(main->menuProgram->isVisible());
    main->menuProgram->hide();
    EXPECT_EQ(main->tray->toolTip(), main->windowTitle());
    EXPECT_EQ(main->windowTitle(), U("Zorvane系统-") + QString::fromStdString(portal.host()));
}

TEST_F(ShellTest, TimersAndTheirTicks) {
    EXPECT_EQ(main->时钟_优化内存->interval(), 5000);
    EXPECT_EQ(main->时钟_防止退出->interval(), 300000);
    EXPECT_EQ(main->时钟_更新公告->interval(), 600000);
    EXPECT_TRUE(main->时钟_更新公告->isActive());
    main->TickTrimMemory();

    // The keep-alive fetches the page the sign-in pointed the browser at.
    EXPECT_EQ(main->settingsTab->互联网浏览器->address(), "http://" + portal.host() + "/views/customer.mvc?method=show");
    ZV_WAIT(main->settingsTab->互联网浏览器->fetches() == 1);
    portal.ClearLog();
    main->TickKeepAlive();
    ZV_WAIT_EQ(Requests("/views/customer.mvc?method=show").size(), 1u);
    EXPECT_NE(Requests("/views/customer.mvc?method=show")[0].cookie, "");

    const std::string banner = Proc().skinsFolder + "gonggao.png";
    std::ofstream(banner, std::ios::binary) << "old";
    portal.SetFault("/qarlo/gonggao.png", zvdev::Fault::Refuse);
    main->TickBanner(); // nothing arrives: the old banner stays
    portal.ClearFaults();
    EXPECT_EQ(ReadFile(banner), "old");
    EXPECT_FALSE(main->时钟_更新公告->isActive());
    main->TickBanner();
    EXPECT_EQ(ReadFile(banner).substr(1, 3), "PNG");
    EXPECT_FALSE(main->时钟_更新公告->isActive());
    EXPECT_EQ(Requests("/qarlo/gonggao.png").size(), 1u);
}

TEST(MessageBoxIcons, TwoIconBitsShowTheMoreSevere) {
    struct Row {
        int style;
        QMessageBox::Icon icon;
    };
    const std::vector<Row> rows = {
        {0x00, QMessageBox::NoIcon},   {0x10, QMessageBox::Critical}, {0x20, QMessageBox::Question},
        {0x30, QMessageBox::Warning},  {0x40, QMessageBox::Information},
        {0x50, QMessageBox::Critical}, // stop + information
        {0x64, QMessageBox::Question}, // Yes and No, question + information: the deletion's question
        {0x70, QMessageBox::Warning},  // exclamation + information
    };
    DesktopPlatform platform;
    for (const Row& r : rows) {
        QMessageBox::Icon shown = QMessageBox::NoIcon;
        bool seen = false;
        // The box runs its own loop; look at it from inside and answer it.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->icon();
                seen = true;
                box->buttons().front()->click();
            }
        });
        poll.start(5);
        platform.MessageBox("x", r.style);
        EXPECT_TRUE(seen) << r.style;
        EXPECT_EQ(shown, r.icon) << std::hex << r.style;
    }
}

TEST(AboutPlacement, NearTheMainWindow) {
    struct Row {
        int parentLeft, left;
    };
    for (const Row r : {Row{100, 61}, Row{20, 20}, Row{700, 644}})
        EXPECT_EQ(NearParentPosition(380, 209, r.parentLeft, 302, 1024, 768).x(), r.left) << r.parentLeft;
}

TEST_F(WindowTest, TheAboutWindowShowsTheInstallationsTexts) {
    WriteProfileValue(Proc().settingsPath, "about", "ver", "2.0.1");
    WriteProfileValue(Proc().settingsPath, "about", "about", std::string(3000, 'x'));
    QWidget parent;
    AboutWindow w(&parent);
    EXPECT_EQ(w.标签_版本号->text(), QStringLiteral("2.0.1"));
    EXPECT_EQ(w.编辑框_公告->toPlainText().size(), 3000);
    EXPECT_TRUE(w.编辑框_公告->isReadOnly());
    w.setAttribute(Qt::WA_DeleteOnClose, false);
}

// The program's calls to the skin library, through a library that records them.
class SkinTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        log = dir + "/skin.log";
        setenv("ZORVANE_SKIN_LOG", log.c_str(), 1);
        UnloadSkinLibrary();
        std::system(("cp '" ZORVANE_SKIN_RECORDER "' '" + dir + "/Skin.so'").c_str());
        std::system(("mkdir -p '" + Proc().skinsFolder + "'").c_str());
    }
    void TearDown() override {
        UnloadSkinLibrary();
        unsetenv("ZORVANE_SKIN_LOG");
        WindowTest::TearDown();
    }
    std::vector<std::string> Calls() {
        std::vector<std::string> out;
        std::istringstream in(ReadFile(log));
        for (std::string line; std::getline(in, line);) out.push_back(line);
        std::remove(log.c_str());
        return out;
    }
    void Set(const char* key, const char* value) { WriteProfileValue(Proc().settingsPath, "set", key, value); }
    void AddSkin(const std::string& name) { std::ofstream(Proc().skinsFolder + name) << "[palette]\nWindow=#ffffff\n"; }
    std::string log;
};

TEST_F(SkinTest, StartUpAppliesTheSavedSkin) {
    const std::string folder = Proc().skinsFolder;
    ApplySavedSkin();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"AttachEx(" + folder + ",(null))"}));

    Set("skinF", "blue.she");
    Set("Aero", "1");
    ApplySavedSkin();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"AttachEx(" + folder + "blue.she,(null))", "SetAero(1)",
                                                 "AdjustHSV(0,0,0)", "AdjustAero(0,0,0,0,0,0,0,0,0)"}));
    Set("SD", "12");
    Set("BHD", "x");
    Set("LD", "40");
    Set("TMD", "300");
    ApplySavedSkin();
    EXPECT_EQ(Calls().back(), "AdjustAero(300,0,0,0,0,0,0,0,0)");
    Set("Aero", "2"); // only 1 applies the adjustments
    ApplySavedSkin();
    EXPECT_EQ(Calls().size(), 1u);
}

TEST_F(SkinTest, AMissingLibraryMakesTheCallsDoNothing) {
    std::remove((dir + "/Skin.so").c_str());
    UnloadSkinLibrary();
    Set("Aero", "1");
    ApplySavedSkin();
    SkinAdjustAero(10);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(SkinTest, TheSkinWindowReadsTheSettingsAndEveryControlCallsAndWrites) {
    for (const char* n : {"b.she", "a.she", ".hidden.she", "notes.txt", "c.SHE"}) AddSkin(n);
    std::system(("mkdir '" + Proc().skinsFolder + "dir.she'").c_str());
    std::vector<QString> fsOrder;
    DIR* d = opendir(Proc().skinsFolder.c_str());
    while (dirent* e = readdir(d)) {
        const std::string n = e->d_name;
        if (n == "a.she" || n == "b.she" || n == "c.SHE") fsOrder.push_back(QString::fromStdString(n));
    }
    closedir(d);
    Set("skin", "9"); // past the end: the last entry
    Set("Aero", "0");
    Set("TMD", "300");
    Set("SD", "20");
    SkinWindow w(QPoint(600, 200), 14);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    ASSERT_EQ(w.组合框_皮肤选择->count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(w.组合框_皮肤选择->itemText(i), fsOrder[static_cast<size_t>(i)]);
    EXPECT_EQ(w.组合框_皮肤选择->currentIndex(), 2);
    EXPECT_EQ(w.x(), 600 - 309 - 14);
    EXPECT_EQ(w.y(), 200);
    EXPECT_FALSE(w.选择框_设置窗体阴影->isChecked());
    EXPECT_TRUE(w.分组框_色调->isEnabled());
    EXPECT_EQ(w.滑块_透明度->value(), 255);
    EXPECT_EQ(w.滑块_色调->value(), 20);
    EXPECT_EQ(w.滑块_饱和度->value(), 0);
    EXPECT_TRUE(Calls().empty()) << "opening applied something";
    EXPECT_EQ(Setting("set", "TMD"), "300");

    // Typing a name and Enter in the text field choose nothing.
    w.组合框_皮肤选择->lineEdit()->setText(fsOrder[0]);
    QTest::keyClick(w.组合框_皮肤选择->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(Setting("set", "skinF"), "");
    w.SkinChosen(1);
    EXPECT_EQ(Setting("set", "skin"), "1");
    EXPECT_EQ(Setting("set", "skinF"), fsOrder[1].toStdString());
    EXPECT_EQ(Calls().back(), "AttachEx(" + Proc().skinsFolder + fsOrder[1].toStdString() + ",(null))");

    QTest::mouseClick(w.选择框_设置窗体阴影, Qt::LeftButton);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"SetAero(1)"}));
    EXPECT_EQ(Setting("set", "Aero"), "1");
    QTest::mouseClick(w.选择框_设置窗体阴影, Qt::LeftButton);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"SetAero(0)"}));
    EXPECT_FALSE(w.分组框_色调->isEnabled());
    QTest::mouseClick(w.选择框_设置窗体阴影, Qt::LeftButton);
    EXPECT_TRUE(w.分组框_色调->isEnabled());
    Calls();

    w.滑块_饱和度->setValue(1000); // clamped
    EXPECT_EQ(w.滑块_饱和度->value(), 100);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"AdjustHSV(20,100,0)"}));
    EXPECT_EQ(Setting("set", "BHD"), "100");
    EXPECT_EQ(Setting("set", "SD"), "20");
    EXPECT_EQ(Setting("set", "LD"), "0");
    w.滑块_亮度->setFocus();
    QTest::keyClick(w.滑块_亮度, Qt::Key_Right);
    QTest::keyClick(w.滑块_亮度, Qt::Key_PageUp);
    EXPECT_EQ(w.滑块_亮度->value(), 6);
    EXPECT_EQ(Calls().size(), 2u);
    w.滑块_透明度->setValue(40);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"AdjustAero(40,0,0,0,0,0,0,0,0)"}));
    EXPECT_EQ(Setting("set", "TMD"), "40");
}

TEST_F(SkinTest, TheMainWindowsButtonOpensOneSkinWindowThatClosesWhenLeft) {
    MainWindow m(platform, {QStringLiteral("zorvane")});
    m.show();
    QTest::mouseClick(m.图形按钮_皮肤, Qt::LeftButton);
    QPointer<SkinWindow> w = m.skinWindow();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->parentWidget(), nullptr);
    EXPECT_FALSE(w->isModal());
    m.OpenSkinWindow();
    EXPECT_EQ(m.skinWindow(), w.data());
    QEvent leave(QEvent::WindowDeactivate);
    QApplication::sendEvent(w, &leave);
    ZV_WAIT(!w);
}

TEST(SkinLibrary, AppliesPaletteTintAndAReadableTransparency) {
    void* lib = dlopen(ZORVANE_SKIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto attach = reinterpret_cast<int (*)(const char*, const char*)>(dlsym(lib, "SkinH_AttachEx"));
    auto setAero = reinterpret_cast<int (*)(int)>(dlsym(lib, "SkinH_SetAero"));
    auto hsv = reinterpret_cast<int (*)(int, int, int)>(dlsym(lib, "SkinH_AdjustHSV"));
    auto aero = reinterpret_cast<int (*)(int, int, int, int, int, int, int, int, int)>(dlsym(lib, "SkinH_AdjustAero"));
    ASSERT_TRUE(attach && setAero && hsv && aero);
    QWidget window;
    window.show();
    const QPalette before = QApplication::palette();
    EXPECT_EQ(attach(ZORVANE_SKINS_DIR "/blue.she", nullptr), 1);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(QStringLiteral("#dce8f5")));
    EXPECT_EQ(attach(ZORVANE_SKINS_DIR "/missing.she", nullptr), 0);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(QStringLiteral("#dce8f5")));
    hsv(60, 50, 0);
    EXPECT_NE(QApplication::palette().color(QPalette::Window), QColor(QStringLiteral("#dce8f5")));
    aero(255, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_GE(window.windowOpacity(), 0.44); // 0.45, kept in steps of 1/255
    EXPECT_LT(window.windowOpacity(), 0.6);
    QWidget later;
    later.show();
    EXPECT_DOUBLE_EQ(later.windowOpacity(), window.windowOpacity());
    setAero(0);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(QStringLiteral("#dce8f5")));
    setAero(1);
    aero(0, 0, 0, 0, 0, 0, 0, 0, 0); // a missing "TMD" never hides a window
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
    setAero(0);
    qApp->setStyleSheet(QString());
    QApplication::setPalette(before);
    // The library stays loaded: the application may still hold what it made.
}

} // namespace
