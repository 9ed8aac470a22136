// The remembered password with and without the desktop's keyring. The keyring tests run in a
// private D-Bus session with GNOME Keyring (tests/support/with-keyring.sh).
#include "gui/base/keyring.h"
#include "gui/windows/loginwindow.h"
#include "tests/support/window_fixture.h"

#include <dlfcn.h>

using namespace zv;
using zvtest::WindowTest;

namespace {

const Text kAccount = "95013825";

class KeyringTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Process p = Proc();
        p.libraryDir = ZORVANE_PROGRAM_DIR; // where the keyring module is built
        UseFiles(p);
    }
    // A login window as start-up opens it; closing it leaves the program running.
    LoginWindow* Open() {
        auto* w = new LoginWindow(platform, {}, [] { return true; });
        w->Open();
        return w;
    }
    void Close(LoginWindow* w) {
        QPointer<LoginWindow> gone = w;
        w->close();
        ZV_WAIT(!gone);
    }
    Text InKeyring(const Text& account = kAccount) {
        Text password;
        return keyring::Read(account, password) == keyring::Result::kDone ? password : Text("(none)");
    }
    static bool ModuleLoaded() {
        const Text path = Text(ZORVANE_PROGRAM_DIR) + "/" + names::kKeyringModule;
        void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (h) dlclose(h);
        return h != nullptr;
    }
};

TEST_F(KeyringTest, WithoutASessionBusTheScrambleStaysInTheFileAndNothingIsLoaded) {
    ASSERT_TRUE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"));
    LoginWindow* w = Open();
    w->编辑框_用户->setText(ToQ(kAccount));
    w->编辑框_密码->setText(QStringLiteral("pw"));
    QTest::mouseClick(w->选择框_记住密码, Qt::LeftButton);
    EXPECT_EQ(UnscramblePassword(Setting("phone", "pass")), "pw");
    Close(w);
    w = Open();
    EXPECT_EQ(w->编辑框_密码->text(), QStringLiteral("pw"));
    QTest::mouseClick(w->选择框_记住密码, Qt::LeftButton);
    EXPECT_EQ(Setting("phone", "pass"), "");
    Close(w);
    EXPECT_FALSE(keyring::Available());
    EXPECT_FALSE(ModuleLoaded()) << "no D-Bus or keyring library without a session bus";
}

TEST_F(KeyringTest, WithTheSecretServiceThePasswordLivesThereAndNotInTheFile) {
    if (!keyring::Available()) GTEST_SKIP() << "no Secret Service answers on this session bus";
    keyring::Remove(kAccount);
    LoginWindow* w = Open();
    w->编辑框_用户->setText(ToQ(kAccount));
    w->编辑框_密码->setText(QStringLiteral("pw"));
    QTest::mouseClick(w->选择框_记住密码, Qt::LeftButton);
    EXPECT_EQ(Setting("phone", "selected"), "1");
    EXPECT_EQ(Setting("phone", "user"), kAccount);
    EXPECT_EQ(Setting("phone", "pass"), "");
    EXPECT_EQ(InKeyring(), "pw");
    QTest::keyClick(w->编辑框_密码, Qt::Key_X);
    EXPECT_EQ(InKeyring(), "pwx");
    EXPECT_EQ(Setting("phone", "pass"), "");
    Close(w);

    w = Open();
    EXPECT_TRUE(w->选择框_记住密码->isChecked());
    EXPECT_EQ(w->编辑框_密码->text(), QStringLiteral("pwx"));
    Close(w);

    // A file from before the keyring: its scramble is read, and moves at the next save.
    WriteProfileValue(Proc().settingsPath, "phone", "pass", ScramblePassword("old"));
    keyring::Remove(kAccount);
    w = Open();
    EXPECT_EQ(w->编辑框_密码->text(), QStringLiteral("old"));
    Close(w);
    EXPECT_EQ(Setting("phone", "pass"), "");
    EXPECT_EQ(InKeyring(), "old");

    // Another account takes the place of the remembered one.
    w = Open();
    w->编辑框_用户->setText(QStringLiteral("95019999"));
    QTest::keyClick(w->编辑框_密码, Qt::Key_Y);
    EXPECT_EQ(InKeyring("95019999"), "oldy");
    EXPECT_EQ(InKeyring(), "(none)");
    // Unticking forgets it in both places.
    QTest::mouseClick(w->选择框_记住密码, Qt::LeftButton);
    EXPECT_EQ(Setting("phone", "selected"), "0");
    EXPECT_EQ(Setting("phone", "pass"), "");
    EXPECT_EQ(InKeyring("95019999"), "(none)");
    Close(w);
}

} // namespace
