#include "gui/main/mainwindow.h"
#include "gui/windows/forwardedit.h"
#include "gui/windows/loginwindow.h"
#include "tests/support/window_fixture.h"

#include <QInputMethodEvent>
#include <QSignalSpy>

using namespace zv;
using zvtest::WindowTest;

namespace {

class LoginTest : public WindowTest {
protected:
    MainWindow* Open(const QStringList& args = {QStringLiteral("zorvane")}) {
        main = new MainWindow(platform, args);
        main->Start();
        main->show();
        login = main->loginWindow();
        return main;
    }
    void Fill(const QString& user, const QString& pass, const QString& captcha) {
        login->编辑框_用户->setText(user);
        login->编辑框_密码->setText(pass);
        login->编辑框_验证码->setText(captcha);
    }
    void FillRight() {
        Fill(QStringLiteral("95013825"), QStringLiteral("zorvane8"), QString::fromStdString(portal.lastCaptcha()));
    }
    QLabel* Label(const char* name) { return main->findChild<QLabel*>(U(name)); }
    bool SignedIn() const { return main && main->signedIn(); }
    // For a login window of its own: whether closing it may leave the program running.
    std::function<bool()> keepRunning = [this] { return keepsRunning; };
    bool keepsRunning = false;
    MainWindow* main = nullptr;
    QPointer<LoginWindow> login;
};

TEST_F(LoginTest, ASuccessfulSignInFillsTheMainWindowAndUnlocksIt) {
    portal.EditAccount([](zvdev::Account& a) {
        a.forwards.push_back({"13900000003", "三", a.nextForwardId++});
    });
    Open();
    ASSERT_TRUE(login);
    EXPECT_EQ(QApplication::activeModalWidget(), login.data());
    EXPECT_FALSE(main->settingsTab->按钮_转接->isEnabled());
    FillRight();
    QTest::mouseClick(login->按钮_登录, Qt::LeftButton);
    EXPECT_TRUE(SignedIn());
    EXPECT_TRUE(platform.boxes.empty());
    ZV_WAIT(!login);

    const zvdev::Account a = portal.account();
    EXPECT_EQ(Label("标签_ID")->text(), QString::fromStdString(a.customerId));
    EXPECT_EQ(Label("标签_客户名称")->text(), QString::fromStdString(a.name));
    EXPECT_EQ(Label("标签_余额")->text(), U("128.50 元"));
    EXPECT_EQ(Label("标签_赠送通话时间")->text(), U("60 分钟"));
    EXPECT_EQ(Label("标签_已用赠送时间")->text(), U("12 分钟"));
    EXPECT_EQ(Label("标签_号码")->text(), QString::fromStdString(a.serviceNumber));
    EXPECT_EQ(Label("标签_客户单位")->text(), QString::fromStdString(a.company));
    EXPECT_EQ(Label("标签_接听方式")->text(), U("正常接听状态"));
    EXPECT_EQ(Label("标签_免打扰提示语音")->text(), QString()); // the refresh leaves it alone

    QComboBox* callers = main->dialTab->组合框_主叫号码;
    ASSERT_EQ(callers->count(), 3);
    EXPECT_EQ(callers->currentIndex(), 0);
    EXPECT_EQ(callers->itemText(2), QStringLiteral("13900000003"));
    EXPECT_EQ(callers->itemData(2).toInt(), 3);
    QListWidget* numbers = main->settingsTab->列表框_转接号码;
    ASSERT_EQ(numbers->count(), 3);
    EXPECT_EQ(numbers->item(0)->text(), QStringLiteral("13812345678"));
    EXPECT_EQ(numbers->item(0)->data(SettingsTab::kIdRole).toByteArray(), QByteArray::number(a.forwards[0].id));
    EXPECT_EQ(numbers->item(2)->data(Qt::UserRole).toInt(), 3);

    EXPECT_TRUE(main->settingsTab->按钮_提交设置参数->isEnabled());
    EXPECT_TRUE(main->settingsTab->按钮_转接->isEnabled());
    EXPECT_TRUE(main->settingsTab->按钮_黑名单->isEnabled());
    const Text show = "http://" + portal.host() + "/views/customer.mvc?method=show";
    EXPECT_EQ(main->settingsTab->互联网浏览器->address(), show);
    ZV_WAIT_EQ(Requests("/views/customer.mvc?method=show").size(), 1u);
    // The browser control presents the sign-in cookie like every other request.
    EXPECT_NE(Requests("/views/customer.mvc?method=show").front().cookie, "");
    EXPECT_EQ(platform.ends, 0);
}

TEST_F(LoginTest, AFailedSignInSaysSoAndFetchesAPlainCaptcha) {
    Open();
    Fill(QStringLiteral("95013825"), QStringLiteral("wrong"), QString::fromStdString(portal.lastCaptcha()));
    login->编辑框_验证码->setFocus();
    QTest::mouseClick(login->按钮_登录, Qt::LeftButton);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, Gbk("登陆失败,请检查输入是否全部正确!"));
    EXPECT_EQ(platform.boxes[0].style, 112);
    EXPECT_EQ(platform.boxes[0].title, Gbk("失败"));
    const auto captchas = Requests("/captcha.jpg");
    ASSERT_EQ(captchas.size(), 2u);
    EXPECT_EQ(captchas[0].version, "HTTP/1.1");
    EXPECT_EQ(captchas[1].version, "HTTP/1.0");
    EXPECT_EQ(captchas[1].header("Accept"), "*/*");
    EXPECT_EQ(captchas[1].header("Referer"), "");
    EXPECT_EQ(captchas[1].cookie, captchas[0].cookie);
    EXPECT_TRUE(login->编辑框_验证码->text().isEmpty());
    EXPECT_EQ(login->focusWidget(), login->编辑框_验证码);
    EXPECT_TRUE(login->按钮_登录->isEnabled());
    EXPECT_EQ(login->编辑框_密码->text(), QStringLiteral("wrong"));
    EXPECT_FALSE(SignedIn());
    // The new captcha is the one that now signs in.
    login->编辑框_密码->setText(QStringLiteral("zorvane8"));
    login->编辑框_验证码->setText(QString::fromStdString(portal.lastCaptcha()));
    QTest::mouseClick(login->按钮_登录, Qt::LeftButton);
    EXPECT_TRUE(SignedIn());
}

TEST_F(LoginTest, LengthChecksComeBeforeAnyRequestCaptchaFirst) {
    Open();
    Fill(QStringLiteral("9501382"), QStringLiteral("zorvane8"), QStringLiteral("123"));
    QTest::mouseClick(login->按钮_登录, Qt::LeftButton);
    EXPECT_EQ(login->focusWidget(), login->编辑框_验证码);
    login->编辑框_验证码->setText(QStringLiteral("1234"));
    QTest::mouseClick(login->按钮_登录, Qt::LeftButton);
    EXPECT_EQ(login->focusWidget(), login->编辑框_用户);
    EXPECT_TRUE(Requests("/views/customer.mvc?method=login").empty());
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_TRUE(login->按钮_登录->isEnabled());
}

TEST_F(LoginTest, TheLoginBodyCarriesWhatWasTypedAndAnEmptyPassword) {
    Open();
    Fill(QStringLiteral("95013825"), QString(), QStringLiteral("0000"));
    QTest::mouseClick(login->按钮_登录, Qt::LeftButton);
    auto posts = Requests("/views/customer.mvc?method=login");
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].body, "j_username=95013825&j_password=&j_captcha_response=0000");
    // A password with the form's own bytes reaches the portal as typed and signs in.
    portal.EditAccount([](zvdev::Account& a) { a.password = "a&b=c+%"; });
    Fill(QStringLiteral("95013825"), QStringLiteral("a&b=c+%"), QString::fromStdString(portal.lastCaptcha()));
    QTest::mouseClick(login->按钮_登录, Qt::LeftButton);
    posts = Requests("/views/customer.mvc?method=login");
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[1].body.substr(0, 46), "j_username=95013825&j_password=a%26b%3Dc%2B%25");
    EXPECT_TRUE(SignedIn());
}

TEST_F(LoginTest, EnterSignsInFromTheCaptchaBoxAndTheRememberBoxOnly) {
    Open();
    Fill(QStringLiteral("95013825"), QStringLiteral("zorvane8"), QStringLiteral("12"));
    auto logins = [this] { return Requests("/views/customer.mvc?method=login").size(); };
    login->编辑框_验证码->setText(QStringLiteral("0000"));
    QTest::keyClick(login->编辑框_用户, Qt::Key_Enter);
    QTest::keyClick(login->编辑框_密码, Qt::Key_Return);
    EXPECT_EQ(logins(), 0u);
    QTest::keyClick(login->编辑框_验证码, Qt::Key_Return);
    EXPECT_EQ(logins(), 1u);
    login->编辑框_验证码->setText(QStringLiteral("0000")); // the failure emptied it
    QTest::keyClick(login->选择框_记住密码, Qt::Key_Return);
    EXPECT_EQ(logins(), 2u);
    login->按钮_登录->setEnabled(false); // a sign-in is running
    QTest::keyClick(login->编辑框_验证码, Qt::Key_Return);
    EXPECT_EQ(logins(), 2u);
}

TEST_F(LoginTest, TheRememberBoxWritesTheFileAtEachMoment) {
    Open();
    login->编辑框_用户->setText(QStringLiteral("95013825"));
    login->编辑框_密码->setText(QStringLiteral("pw"));
    EXPECT_EQ(Setting("phone", "pass"), "") << "written while unticked";
    QTest::mouseClick(login->选择框_记住密码, Qt::LeftButton);
    EXPECT_EQ(Setting("phone", "selected"), "1");
    EXPECT_EQ(Setting("phone", "user"), "95013825");
    EXPECT_EQ(UnscramblePassword(Setting("phone", "pass")), "pw");
    QTest::keyClick(login->编辑框_密码, Qt::Key_X);
    EXPECT_EQ(UnscramblePassword(Setting("phone", "pass")), "pwx");
    QTest::mouseClick(login->选择框_记住密码, Qt::LeftButton);
    EXPECT_EQ(Setting("phone", "selected"), "0");
    EXPECT_EQ(Setting("phone", "pass"), "");
    EXPECT_EQ(Setting("phone", "user"), "95013825");
}

TEST_F(LoginTest, OpeningReadsTheRememberedSignInAndTheVersion) {
    struct Row {
        Text selected, user, pass;
        bool ticked;
        QString shownPass;
        const char* focus;
    };
    const std::vector<Row> rows = {
        {"1", "95013825", ScramblePassword("secret"), true, QStringLiteral("secret"), "编辑框_验证码"},
        {"1", "95013825", "", true, QString(), "编辑框_密码"},
        {"01", "95013825", ScramblePassword("secret"), false, QString(), "编辑框_密码"},
        {"", "", "", false, QString(), "编辑框_用户"},
        // Longer than the boxes take by typing: shown whole all the same.
        {"1", "123456789", ScramblePassword("a-password-of-16"), true, QStringLiteral("a-password-of-16"), "编辑框_验证码"},
    };
    for (const Row& r : rows) {
        WriteProfileValue(Proc().settingsPath, "phone", "selected", r.selected);
        WriteProfileValue(Proc().settingsPath, "phone", "user", r.user);
        WriteProfileValue(Proc().settingsPath, "phone", "pass", r.pass);
        WriteProfileValue(Proc().settingsPath, "about", "ver", "9.9");
        LoginWindow w(platform, {}, keepRunning);
        w.Open();
        EXPECT_EQ(w.选择框_记住密码->isChecked(), r.ticked) << r.selected;
        EXPECT_EQ(w.编辑框_用户->text(), ToQ(r.user));
        EXPECT_EQ(w.编辑框_密码->text(), r.shownPass);
        EXPECT_EQ(w.focusWidget()->objectName(), U(r.focus)) << r.selected << "/" << r.pass;
        EXPECT_EQ(w.标签_版本号->text(), QStringLiteral("9.9"));
        // Opening writes nothing back.
        EXPECT_EQ(Setting("phone", "pass"), r.pass);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        keepsRunning = true; // let the window close without ending the program
        w.close();
        keepsRunning = false;
    }
}

TEST_F(LoginTest, AHandedOverNumberWaitsForTheSignInAndIsDialledOnlyAfterYes) {
    Open({QStringLiteral("zorvane"), QStringLiteral("tel:+86-571-8877-6655")});
    QLineEdit* callee = main->dialTab->编辑框_被叫号码;
    ZV_WAIT(callee->text() == QStringLiteral("057188776655"));
    EXPECT_EQ(main->选择夹->currentWidget(), main->dialTab);
    EXPECT_TRUE(platform.boxes.empty()) << "nothing is asked before the sign-in";
    auto calls = [this] { return Requests("/views/contact.mvc?method=conference").size(); };

    platform.answers = {kNo};
    FillRight();
    QTest::mouseClick(login->按钮_登录, Qt::LeftButton);
    ZV_WAIT(platform.boxes.size() == 1u);
    EXPECT_EQ(platform.boxes[0].text, Gbk("确认拨打？"));
    EXPECT_EQ(platform.boxes[0].style, 68);
    EXPECT_EQ(calls(), 0u);
    EXPECT_EQ(callee->text(), QStringLiteral("057188776655"));

    // A later start's number, while signed in: asked at once, dialled on Yes.
    main->选择夹->setCurrentIndex(2);
    platform.answers = {kYes};
    main->TakeArguments({QStringLiteral("zorvane"), QStringLiteral("--dial"), QStringLiteral("0571-8877 6656")});
    EXPECT_EQ(main->选择夹->currentWidget(), main->dialTab);
    ASSERT_EQ(calls(), 1u);
    EXPECT_EQ(Requests("/views/contact.mvc?method=conference")[0].body,
              "customerId=20460&compere=13812345678&joins=057188776656");

    // A link with nothing to dial says so and changes nothing.
    const size_t before = platform.boxes.size();
    main->TakeArguments({QStringLiteral("zorvane"), QStringLiteral("tel:0571-CALL-NOW")});
    ASSERT_EQ(platform.boxes.size(), before + 1);
    EXPECT_EQ(platform.boxes.back().text, Gbk("无法拨打：该链接中没有可拨打的电话号码。"));
    EXPECT_EQ(platform.boxes.back().style, 0x30);
    EXPECT_EQ(callee->text(), QStringLiteral("057188776656"));
    EXPECT_EQ(calls(), 1u);
}

TEST_F(LoginTest, ClosingBeforeASignInEndsTheProgramAfterwardsItDoesNot) {
    Open();
    QTest::mouseClick(login->按钮_取消, Qt::LeftButton);
    EXPECT_EQ(platform.ends, 1);
    ZV_WAIT(!login);

    platform.ends = 0;
    delete main;
    Open();
    FillRight();
    login->SignIn();
    ZV_WAIT(!login);
    LoginWindow* again = main->OpenLoginWindow();
    EXPECT_EQ(main->OpenLoginWindow(), again) << "a second login window";
    again->close();
    EXPECT_EQ(platform.ends, 0);
}

TEST_F(LoginTest, TheBannerIsFetchedOnlyWhenMissingAndItsLinksOpen) {
    Open();
    EXPECT_EQ(Requests("/qarlo/gonggao.png").size(), 1u);
    EXPECT_FALSE(login->画板_公告->pixmap().isNull());
    QTest::mouseClick(login->画板_公告, Qt::LeftButton);
    QTest::mouseClick(login->超级链接框_注册, Qt::LeftButton);
    ASSERT_EQ(platform.urls.size(), 2u);
    EXPECT_EQ(platform.urls[0], "http://" + portal.host() + "/qarlo/gonggao.html");
    EXPECT_EQ(platform.urls[1], "http://" + portal.host() + "/qarlo/reg.html");
    EXPECT_FALSE(login->画板_验证码->pixmap().isNull());
    QTest::mouseClick(login->画板_验证码, Qt::LeftButton);
    EXPECT_EQ(Requests("/captcha.jpg").size(), 2u);
    // An empty banner file is kept, not fetched again.
    FILE* f = fopen(Proc().bannerPath.c_str(), "w");
    fclose(f);
    LoginWindow w(platform, {}, keepRunning);
    w.Open();
    EXPECT_EQ(Requests("/qarlo/gonggao.png").size(), 1u);
    EXPECT_TRUE(w.画板_公告->pixmap().isNull());
    keepsRunning = true;
}

TEST_F(LoginTest, TheFreeSwitchCountsOnlyAsTheExactFirstArgument) {
    struct Row {
        QStringList args;
        bool free;
    };
    const std::vector<Row> rows = {
        {{"zorvane", "/free"}, true},
        {{"zorvane", "/FREE"}, false},
        {{"zorvane", "x", "/free"}, false},
        {{"zorvane"}, false},
    };
    for (const Row& r : rows) {
        MainWindow w(platform, r.args);
        EXPECT_EQ(w.dialTab->组合框_主叫号码->isEditable(), r.free) << r.args.join(' ').toStdString();
        EXPECT_EQ(w.minimumSize() != w.maximumSize(), r.free);
        EXPECT_EQ(bool(w.windowFlags() & Qt::WindowMaximizeButtonHint), r.free);
    }
}

TEST_F(LoginTest, UnderFreeEnterInTheCallerBoxAddsNothingToItsList) {
    MainWindow w(platform, {QStringLiteral("zorvane"), QStringLiteral("/free")});
    QComboBox* caller = w.dialTab->组合框_主叫号码;
    caller->addItem(QStringLiteral("13812345678"), 1);
    caller->lineEdit()->clear();
    QTest::keyClicks(caller->lineEdit(), QStringLiteral("13900009999"));
    QTest::keyClick(caller->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(caller->count(), 1);
    EXPECT_EQ(caller->currentText(), QStringLiteral("13900009999"));
}

// Typing and an input method's commits count against a box's limit; what the program puts
// there does not.
TEST_F(LoginTest, TypingLimitsCountWhatTheUserTypesOnly) {
    LoginWindow login(platform, {}, keepRunning);
    MainWindow m(platform, {QStringLiteral("zorvane")});
    ForwardEditWindow edit(nullptr, {});
    const QString mixed = QStringLiteral("12一34567890123456");
    struct Row {
        QLineEdit* box;
        int limit;
        QString fromMixed; // what a commit of mixed puts into the empty box
    };
    const std::vector<Row> rows = {
        {login.编辑框_用户, 8, QString()}, // its validator takes digits only, or nothing
        {login.编辑框_密码, 12, mixed.left(12)},
        {m.settingsTab->编辑框_转接号码, 12, QStringLiteral("123456789012")}, // the digits only
        {edit.编辑框_转接号码, 12, QStringLiteral("123456789012")},
    };
    auto commit = [](QLineEdit* box, const QString& text) {
        QInputMethodEvent e;
        e.setCommitString(text);
        QApplication::sendEvent(box, &e);
    };
    for (const Row& r : rows) {
        const std::string name = r.box->objectName().toStdString();
        const QString longer = QString(r.limit + 4, QLatin1Char('7'));
        r.box->setText(longer);
        EXPECT_EQ(r.box->text(), longer) << name;
        QTest::keyClick(r.box, Qt::Key_End);
        QTest::keyClicks(r.box, QStringLiteral("1"));
        commit(r.box, QStringLiteral("2"));
        EXPECT_EQ(r.box->text(), longer) << name << ": typing made it longer";
        // Shorter, but still over the limit: no room to type.
        QTest::keyClick(r.box, Qt::Key_Backspace);
        QTest::keyClicks(r.box, QStringLiteral("3"));
        EXPECT_EQ(r.box->text(), longer.left(r.limit + 3)) << name;
        r.box->clear();
        QTest::keyClicks(r.box, QString(r.limit + 3, QLatin1Char('5')));
        EXPECT_EQ(r.box->text(), QString(r.limit, QLatin1Char('5'))) << name;
        r.box->clear();
        commit(r.box, QStringLiteral("1234567890123456"));
        EXPECT_EQ(r.box->text(), QStringLiteral("1234567890123456").left(r.limit)) << name;
        r.box->clear();
        commit(r.box, mixed);
        EXPECT_EQ(r.box->text(), r.fromMixed) << name;
    }
    keepsRunning = true;
}

TEST_F(LoginTest, UnderFreeTheTabControlFollowsTheWindow) {
    MainWindow w(platform, {QStringLiteral("zorvane"), QStringLiteral("/free")});
    w.show();
    w.resize(500, 700);
    ZV_WAIT_EQ(w.centralWidget()->width(), 500);
    const QWidget* c = w.centralWidget();
    EXPECT_EQ(w.选择夹->width(), c->width() - 1);
    EXPECT_EQ(w.选择夹->height(), c->height() - 0 - 5);
    EXPECT_EQ(w.settingsTab->互联网浏览器->width(), w.选择夹->width());
    EXPECT_EQ(w.settingsTab->互联网浏览器->height(), c->height() - 21);
}

TEST_F(LoginTest, APortalThatIsDownFailsTheSignInQuickly) {
    Open();
    FillRight();
    portal.SetFault("", zvdev::Fault::Refuse);
    QTest::mouseClick(login->按钮_登录, Qt::LeftButton);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].style, 112);
    EXPECT_TRUE(login->画板_验证码->pixmap().isNull());
    EXPECT_TRUE(login->按钮_登录->isEnabled());
    portal.ClearFaults();
}

TEST_F(LoginTest, AnOverviewThatDoesNotConvertLeavesTheWindowAsItWas) {
    Open();
    FillRight();
    QTest::mouseClick(login->按钮_登录, Qt::LeftButton);
    ASSERT_TRUE(SignedIn());
    const QString balance = Label("标签_余额")->text();
    for (auto fault : {zvdev::Fault::NotGb2312, zvdev::Fault::NotUtf8, zvdev::Fault::Cut}) {
        portal.SetFault("/views/myzorvane/main.jsp", fault);
        main->RefreshAccountOverview();
        EXPECT_EQ(Label("标签_余额")->text(), balance) << zvdev::FaultName(fault);
        EXPECT_EQ(main->settingsTab->列表框_转接号码->count(), 2);
        portal.ClearFaults();
    }
    // The session lapsed: the login page converts but lacks every marker, so the labels
    // show the failure texts and the lists empty.
    portal.ExpireSessions();
    main->RefreshAccountOverview();
    EXPECT_EQ(Label("标签_余额")->text(), U("失败 元"));
    EXPECT_EQ(main->settingsTab->列表框_转接号码->count(), 0);
}

} // namespace
