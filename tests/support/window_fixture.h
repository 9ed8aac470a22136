// A program directory, the stand-in portal in-process and a fake platform for window tests.
#pragma once

#include "devportal.h"
#include "fake_platform.h"
#include "profile.h"
#include "settings.h"
#include "text.h"
#include "webrequest.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace zvtest {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zvwindowXXXXXX";
        dir = mkdtemp(tmpl);
        zv::SetProgramDir(dir);
        zv::Proc().signedIn = 0;
        zv::ClearCookies();
        ASSERT_TRUE(portal.start(0));
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
        portal.stop();
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
