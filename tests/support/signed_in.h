// A main window signed in to the stand-in portal, for the tests of the tabs.
#pragma once

#include "gui/main/mainwindow.h"
#include "gui/windows/loginwindow.h"
#include "tests/support/window_fixture.h"

namespace zvtest {

class SignedInTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        main = new zv::MainWindow(platform, {QStringLiteral("zorvane")});
        main->Start();
        main->show();
        zv::LoginWindow* login = main->loginWindow();
        ASSERT_NE(login, nullptr);
        login->编辑框_用户->setText(QStringLiteral("95013825"));
        login->编辑框_密码->setText(QStringLiteral("zorvane8"));
        login->编辑框_验证码->setText(QString::fromStdString(portal.lastCaptcha()));
        login->SignIn();
        ASSERT_TRUE(main->signedIn());
        ZV_WAIT(main->loginWindow() == nullptr);
        portal.ClearLog();
    }
    QLabel* Label(const char* name) { return main->findChild<QLabel*>(zv::U(name)); }
    zv::MainWindow* main = nullptr;
};

} // namespace zvtest
