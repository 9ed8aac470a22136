// Every portal operation under every fault of the stand-in: the outcome its rules name, no
// crash, a usable window afterwards, and the local files untouched. Prints the matrix.
#include "gui/windows/forwardedit.h"
#include "portal/operations.h"
#include "store/phonebook.h"
#include "tests/support/files.h"
#include "tests/support/signed_in.h"

#include <fstream>
#include <sstream>

using namespace zv;
using zvtest::ReadFile;
using zvdev::Fault;

namespace {

struct Case {
    const char* operation;
    const char* path; // the endpoint the fault is set on
    bool needsSignIn;
    // Runs the operation and says whether the outcome is the one the rules name.
    std::function<bool(zvtest::WindowTest&, MainWindow*, zvtest::FakePlatform&, zvdev::DevPortal&, Fault)> run;
    // The same request made by the core alone, saying how it ended.
    std::function<RequestEnd(const Text& host)> cause;
};

// How each fault shows in the request's outcome. The other faults answer whole replies that
// the operation's own judgement refuses.
RequestEnd CauseOf(Fault f) {
    switch (f) {
    case Fault::Refuse: return RequestEnd::Unreachable;
    case Fault::Stall: return RequestEnd::TimedOut;
    case Fault::Cut: return RequestEnd::Cut;
    case Fault::Huge: return RequestEnd::TooLarge;
    default: return RequestEnd::Completed;
    }
}

const Fault kFaults[] = {Fault::Refuse, Fault::Stall, Fault::Cut, Fault::NotUtf8, Fault::NotGb2312, Fault::Huge,
                         Fault::None /* session expired */};

const char* ColumnName(Fault f) { return f == Fault::None ? "expired" : zvdev::FaultName(f); }

bool OneBox(const zvtest::FakePlatform& p, const char* text, int style) {
    return p.boxes.size() == 1 && p.boxes[0].text == Gbk(text) && p.boxes[0].style == style;
}

std::vector<QString> ListTexts(QListWidget* l) {
    std::vector<QString> out;
    for (int i = 0; i < l->count(); ++i) out.push_back(l->item(i)->text());
    return out;
}

std::vector<QString> PortalNumbers(const zvdev::DevPortal& portal) {
    std::vector<QString> out;
    for (const auto& f : portal.account().forwards) out.push_back(QString::fromStdString(f.number));
    return out;
}

// The list shows what the portal holds, or, when the refresh could not read the portal, what it
// showed before. An expired sign-in reads the login page, which lists no number at all.
bool ListFollowsPortal(MainWindow* m, const zvdev::DevPortal& portal, const std::vector<QString>& before, Fault f) {
    const auto shown = ListTexts(m->settingsTab->列表框_转接号码);
    if (f == Fault::None) return shown.empty();
    return shown == PortalNumbers(portal) || shown == before;
}

// With a reply that converts to GBK the marker in it counts: only "not GB2312" replies do.
bool ConvertsToGbk(Fault f) { return f == Fault::NotGb2312; }

// A request that reached the portal and came back damaged (stalled, cut, too large, not
// convertible) may have done what it asked: its outcome is unknown. A portal never reached
// and a whole reply without the marker (the login page of an expired sign-in) are refusals.
bool Damaged(Fault f) { return f == Fault::Stall || f == Fault::Cut || f == Fault::Huge || f == Fault::NotUtf8; }

// The box of an operation whose outcome is unknown.
bool UnknownBox(const zvtest::FakePlatform& p, const char* text) { return OneBox(p, text, 48) && p.boxes[0].title == Gbk("结果未知"); }

// Moves the second number to the top or one place up: no message, and the list follows.
auto MoveSecond(bool toTop) {
    return [toTop](auto&, MainWindow* m, auto& p, auto& portal, Fault f) {
        const auto before = ListTexts(m->settingsTab->列表框_转接号码);
        m->settingsTab->列表框_转接号码->setCurrentRow(1);
        m->settingsTab->MoveSelected(toTop);
        return p.boxes.empty() && ListFollowsPortal(m, portal, before, f);
    };
}

std::vector<Case> Cases() {
    return {
        {"sign-in", "/views/customer.mvc?method=login", false,
         [](auto&, MainWindow* m, auto& p, auto& portal, Fault) {
             LoginWindow* login = m->loginWindow();
             login->编辑框_用户->setText(QStringLiteral("95013825"));
             login->编辑框_密码->setText(QStringLiteral("zorvane8"));
             login->编辑框_验证码->setText(QString::fromStdString(portal.lastCaptcha()));
             login->SignIn();
             return OneBox(p, "登陆失败,请检查输入是否全部正确!", 112) && !m->signedIn() &&
                    login->按钮_登录->isEnabled() && login->编辑框_验证码->text().isEmpty();
         },
         [](const Text& host) { return PostLogin(host, "95013825", "zorvane8", "0000").end; }},
        {"refresh", "/views/myzorvane/main.jsp", true,
         [](auto&, MainWindow* m, auto& p, auto&, Fault f) {
             QLabel* balance = m->findChild<QLabel*>(U("标签_余额"));
             const QString before = balance->text();
             m->RefreshAccountOverview();
             // An expired sign-in answers the login page: it converts, and every marker is missing.
             const QString expected = f == Fault::None ? U("失败 元") : before;
             return p.boxes.empty() && balance->text() == expected;
         },
         [](const Text& host) { return ReadAccountOverview(host).mainPageEnd; }},
        {"call", "/views/contact.mvc?method=conference", true,
         [](auto&, MainWindow* m, auto& p, auto&, Fault f) {
             m->dialTab->编辑框_被叫号码->setText(QStringLiteral("13900001111"));
             m->dialTab->PlaceCall();
             if (ConvertsToGbk(f)) return OneBox(p, "拨打成功，请等待接听电话！", 64);
             return Damaged(f) ? UnknownBox(p, "拨打结果未知，请勿重复拨打，请稍候留意来电")
                               : OneBox(p, "拨打失败，请检查！", 16);
         },
         [](const Text& host) { return PlaceCallRequest(host, "20460", "13812345678", "13900001111").end; }},
        {"add number", "/views/phoneno.mvc?method=save", true,
         [](auto&, MainWindow* m, auto& p, auto& portal, Fault) {
             m->settingsTab->编辑框_转接号码->setText(QStringLiteral("13900002222"));
             m->settingsTab->AddForwarding();
             bool held = false;
             for (const auto& n : PortalNumbers(portal)) held = held || n == QStringLiteral("13900002222");
             const bool shown = ListTexts(m->settingsTab->列表框_转接号码).size() == PortalNumbers(portal).size();
             return (held && shown) ? OneBox(p, "添加成功！", 64) : OneBox(p, "添加失败！", 48);
         },
         [](const Text& host) { return AddForwardingNumber(host, "13900002222", ""); }},
        {"edit number", "/views/phoneno.mvc?method=update", true,
         [](auto&, MainWindow* m, auto& p, auto& portal, Fault f) {
             const auto before = ListTexts(m->settingsTab->列表框_转接号码);
             m->settingsTab->列表框_转接号码->setCurrentRow(0);
             QPointer<ForwardEditWindow> w = m->settingsTab->EditSelected();
             w->编辑框_转接号码->setText(QStringLiteral("13912345678"));
             w->Confirm();
             zvtest::WaitFor([&] { return w.isNull(); });
             return w.isNull() && p.boxes.empty() && ListFollowsPortal(m, portal, before, f);
         },
         [](const Text& host) { return UpdateForwardingNumber(host, "101", "13912345678", ""); }},
        {"number to top", "/views/phoneno.mvc?method=order", true, MoveSecond(true),
         [](const Text& host) { return MoveForwardingNumber(host, "102", true); }},
        {"number up", "/views/phoneno.mvc?method=order", true, MoveSecond(false),
         [](const Text& host) { return MoveForwardingNumber(host, "102", false); }},
        {"delete number", "//views/phoneno.mvc?method=removeAll", true,
         [](auto&, MainWindow* m, auto& p, auto& portal, Fault f) {
             const auto before = ListTexts(m->settingsTab->列表框_转接号码);
             m->settingsTab->列表框_转接号码->setCurrentRow(0);
             p.answers = {kYes};
             m->settingsTab->DeleteSelected();
             return p.boxes.size() == 1 && p.boxes[0].style == 100 && ListFollowsPortal(m, portal, before, f);
         },
         [](const Text& host) { return RemoveForwardingNumber(host, "101"); }},
        {"options", "/views/customer.mvc?method=setting", true,
         [](auto&, MainWindow* m, auto& p, auto&, Fault f) {
             m->settingsTab->SubmitOptions();
             if (ConvertsToGbk(f)) return OneBox(p, "设置成功！", 64);
             return Damaged(f) ? UnknownBox(p, "设置结果未知，请勿重复提交，刷新后查看") : OneBox(p, "设置失败！", 80);
         },
         [](const Text& host) { return SubmitOptions(host, "20460", {1, 1, 1, 1, 1, 1, 1}).end; }},
        {"blacklist", "/views/blackNo.mvc?method=save", true,
         [](auto&, MainWindow* m, auto& p, auto&, Fault f) {
             m->settingsTab->编辑框_开始字冠->setText(QStringLiteral("0571"));
             m->settingsTab->编辑框_结束字冠->setText(QStringLiteral("0572"));
             m->settingsTab->AddBlacklist();
             return ConvertsToGbk(f) ? OneBox(p, "新增黑名单成功！", 64) : OneBox(p, "新增黑名单失败！", 16);
         },
         [](const Text& host) { return AddBlacklistRange(host, 1, "0571", "0572", "").end; }},
        {"password", "/views/customer.mvc?method=changePassword", true,
         [](auto&, MainWindow* m, auto& p, auto&, Fault f) {
             m->settingsTab->编辑框_旧密码->setText(QStringLiteral("zorvane8"));
             m->settingsTab->编辑框_新密码->setText(QStringLiteral("new1"));
             m->settingsTab->编辑框_确认新密码->setText(QStringLiteral("new1"));
             m->settingsTab->ChangePasswordClicked();
             if (ConvertsToGbk(f)) return OneBox(p, "密码修改成功", 64);
             return Damaged(f) ? UnknownBox(p, "密码修改结果未知，请勿重复修改，请先用新密码重新登陆试试")
                               : OneBox(p, "密码修改失败", 112);
         },
         [](const Text& host) { return ChangePassword(host, "20460", "x", "y", "y").end; }},
    };
}

class FaultMatrix : public zvtest::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        RequestLimits().stallTimeoutMs = 400; // a stalled reply is given up quickly here
        WriteProfileValue(Proc().settingsPath, "about", "ver", "1.0");
        PhoneBook(Proc().phoneBookPath).Store(Gbk("张三"), "13800000000", "10001");
    }
    void TearDown() override {
        RequestLimits() = WebRequestLimits{};
        WindowTest::TearDown();
    }
};

TEST_F(FaultMatrix, EveryOperationUnderEveryFault) {
    std::ostringstream table;
    table << "\n" << std::left;
    table.width(16);
    table << "operation";
    for (Fault f : kFaults) {
        table.width(11);
        table << ColumnName(f);
    }
    table << "\n";
    int held = 0, total = 0;
    for (const Case& c : Cases()) {
        table.width(16);
        table << c.operation;
        for (Fault f : kFaults) {
            // A fresh portal state and window for every case.
            portal.EditAccount([](zvdev::Account& a) {
                a = zvdev::Account{};
                a.forwards = {{"13812345678", "手机", 101}, {"057187654321", "办公室", 102}};
                a.nextForwardId = 103;
            });
            ClearCookies();
            platform.boxes.clear();
            platform.answers.clear();
            auto* m = new MainWindow(platform, {QStringLiteral("zorvane")});
            m->Start();
            m->show();
            if (c.needsSignIn) {
                LoginWindow* login = m->loginWindow();
                login->编辑框_用户->setText(QStringLiteral("95013825"));
                login->编辑框_密码->setText(QStringLiteral("zorvane8"));
                login->编辑框_验证码->setText(QString::fromStdString(portal.lastCaptcha()));
                login->SignIn();
                zvtest::WaitFor([&] { return m->loginWindow() == nullptr; });
            }
            // The sign-in itself writes the remembered account; the operation must write nothing.
            const std::string configBefore = ReadFile(Proc().settingsPath);
            const std::string bookBefore = ReadFile(Proc().phoneBookPath);
            if (f == Fault::None)
                portal.ExpireSessions();
            else
                portal.SetFault(f == Fault::Refuse ? "" : c.path, f);
            bool ok = c.run(*this, m, platform, portal, f);
            const RequestEnd cause = c.cause(portal.host());
            EXPECT_EQ(RequestEndName(cause), std::string(RequestEndName(CauseOf(f))))
                << c.operation << " under " << ColumnName(f);
            ok = ok && cause == CauseOf(f);
            portal.ClearFaults();
            // Usable afterwards: nothing modal left behind, and the main window takes a refresh.
            zvtest::WaitFor([m] { return QApplication::activeModalWidget() == nullptr || !m->signedIn(); }, 1000);
            ok = ok && (!m->signedIn() || QApplication::activeModalWidget() == nullptr) && m->isEnabled();
            ok = ok && ReadFile(Proc().settingsPath) == configBefore && ReadFile(Proc().phoneBookPath) == bookBefore;
            EXPECT_TRUE(ok) << c.operation << " under " << ColumnName(f);
            held += ok;
            ++total;
            table.width(11);
            table << (ok ? "held" : "FAILED");
            QList<QPointer<QWidget>> windows;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (!w->parent()) windows.append(w);
            for (const auto& w : windows) delete w.data();
            QCoreApplication::processEvents();
        }
        table << "\n";
    }
    table << held << " of " << total << " cases held\n";
    std::cout << table.str();
    std::ofstream("fault-matrix.txt") << table.str(); // the test command prints it
    EXPECT_EQ(held, total);
}

} // namespace
