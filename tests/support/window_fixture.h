// A program directory, the stand-in portal in-process and a fake platform for window tests.
#pragma once

#include "devportal/devportal.h"
#include "net/text.h"
#include "net/webrequest.h"
#include "store/profile.h"
#include "store/settings.h"
#include "tests/support/fake_platform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace zvtest {

// Lets events run (deferred deletions included) until the condition holds or time runs out.
template <typename Condition>
bool WaitFor(Condition condition, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::qSleep(1);
    }
    return true;
}

// Qt Test's QTRY_* macros report to Qt Test, not to this runner; these report here.
#define ZV_WAIT(cond) ASSERT_TRUE(zvtest::WaitFor([&] { return bool(cond); })) << "waited for: " #cond
#define ZV_WAIT_EQ(a, b)                                                                           \
    do {                                                                                           \
        zvtest::WaitFor([&] { return (a) == (b); });                                               \
        ASSERT_EQ(a, b);                                                                           \
    } while (0)

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zvwindowXXXXXX";
        dir = mkdtemp(tmpl);
        zv::SetProgramDir(dir);
        zv::ClearCookies();
        ASSERT_TRUE(portal.Start(0));
        zv::WriteProfileValue(zv::Proc().settingsPath, "server", "portal", portal.host());
        zv::WriteProfileValue(zv::Proc().settingsPath, "server", "site", portal.host());
        zv::SetEventPump([this] {
            QCoreApplication::processEvents();
            return platform.ends == 0;
        });
    }
    void TearDown() override {
        zv::SetEventPump(nullptr);
        QList<QPointer<QWidget>> windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!w->parent()) windows.append(w);
        for (const auto& w : windows) delete w.data();
        QCoreApplication::processEvents();
        portal.Stop();
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    std::vector<zvdev::LoggedRequest> Requests(const std::string& targetPrefix) const {
        std::vector<zvdev::LoggedRequest> out;
        for (const auto& r : portal.log())
            if (r.target.rfind(targetPrefix, 0) == 0) out.push_back(r);
        return out;
    }
    zv::Text Setting(const char* section, const char* key) const {
        return zv::ReadProfileValue(zv::Proc().settingsPath, section, key);
    }

    std::string dir;
    zvdev::DevPortal portal;
    FakePlatform platform;
};

} // namespace zvtest
