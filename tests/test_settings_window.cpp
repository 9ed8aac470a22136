#include "gui/base/widgets.h"
#include "gui/windows/forwardedit.h"
#include "tests/support/signed_in.h"

#include <QHelpEvent>
#include <QStyleOptionComboBox>
#include <QToolTip>

using namespace zv;
using zvtest::SignedInTest;

namespace {

class SettingsTest : public SignedInTest {
protected:
    SettingsTab* tab() { return main->settingsTab; }
    size_t Refreshes() { return Requests("/views/myzorvane/main.jsp").size(); }
    void SelectNumber(int row) {
        tab()->列表框_转接号码->setCurrentRow(row);
        ASSERT_FALSE(tab()->列表框_转接号码->selectedItems().isEmpty());
    }
    std::vector<std::string> Numbers() {
        std::vector<std::string> out;
        for (const auto& f : portal.account().forwards) out.push_back(f.number);
        return out;
    }
    std::string Id(int i) { return std::to_string(portal.account().forwards[static_cast<size_t>(i)].id); }
};

TEST_F(SettingsTest, AddSendsNumberAndEncodedMemoThenRefreshes) {
    struct Row {
        QString number, memo;
        std::string body;
    };
    const std::vector<Row> rows = {
        {QStringLiteral("12345678"), QStringLiteral("abc"), "id=&phoneno=12345678&memo=%61%62%63"},
        {QStringLiteral("23456789"), U("家"), "id=&phoneno=23456789&memo=%E5%AE%B6"},
    };
    for (const Row& r : rows) {
        tab()->编辑框_转接号码->setText(r.number);
        tab()->编辑框_备注->setText(r.memo);
        platform.boxes.clear();
        QTest::mouseClick(tab()->按钮_转接, Qt::LeftButton);
        const auto saves = Requests("/views/phoneno.mvc?method=save");
        ASSERT_FALSE(saves.empty());
        EXPECT_EQ(saves.back().body, r.body);
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text, Gbk("添加成功！"));
        EXPECT_EQ(platform.boxes[0].style, 64);
        EXPECT_EQ(platform.boxes[0].title, Gbk("恭喜"));
        EXPECT_EQ(tab()->编辑框_转接号码->text(), r.number);
    }
    EXPECT_EQ(tab()->列表框_转接号码->count(), 4);
    EXPECT_EQ(portal.account().forwards[3].memo, "家");
    // Four numbers: refused before any request; a short number only moves the focus.
    portal.ClearLog();
    tab()->编辑框_转接号码->setText(QStringLiteral("1234567"));
    tab()->AddForwarding();
    EXPECT_EQ(main->focusWidget(), tab()->编辑框_转接号码);
    EXPECT_EQ(platform.boxes.size(), 1u);
    tab()->编辑框_转接号码->setText(QStringLiteral("34567890"));
    tab()->AddForwarding();
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[1].text, Gbk("添加失败,你最多只能添加4个转接号码！"));
    EXPECT_EQ(platform.boxes[1].style, 48);
    EXPECT_EQ(platform.boxes[1].title, Gbk("错误"));
    EXPECT_TRUE(Requests("/views/phoneno.mvc?method=save").empty());
}

TEST_F(SettingsTest, AnAddThePortalDidNotTakeIsReportedAsAFailure) {
    tab()->编辑框_转接号码->setText(QStringLiteral("12-34-5678")); // pasted; the portal refuses it
    tab()->编辑框_备注->setText(QStringLiteral("m"));
    tab()->AddForwarding();
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, Gbk("添加失败！"));
    EXPECT_EQ(platform.boxes[0].style, 48);
    EXPECT_EQ(platform.boxes[0].title, Gbk("错误"));
    EXPECT_EQ(tab()->编辑框_转接号码->text(), QStringLiteral("12-34-5678"));
    EXPECT_EQ(tab()->编辑框_备注->text(), QStringLiteral("m"));
    // A portal that is down: the same, and the list still shows what was there.
    portal.SetFault("", zvdev::Fault::Refuse);
    tab()->编辑框_转接号码->setText(QStringLiteral("12345678"));
    tab()->AddForwarding();
    portal.ClearFaults();
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[1].text, Gbk("添加失败！"));
    EXPECT_EQ(tab()->列表框_转接号码->count(), 2);
}

TEST_F(SettingsTest, TypedLettersAreRefusedInTheNumberBox) {
    QTest::keyClicks(tab()->编辑框_转接号码, QStringLiteral("1a2-b3"));
    EXPECT_EQ(tab()->编辑框_转接号码->text(), QStringLiteral("12-3"));
    QTest::keyClicks(tab()->编辑框_转接号码, QStringLiteral("4567890123"));
    EXPECT_EQ(tab()->编辑框_转接号码->text().size(), 12);
}

TEST_F(SettingsTest, SelectingANumberShowsItsMemoAndLeavingTheListClearsIt) {
    SelectNumber(1);
    EXPECT_EQ(tab()->标签_转接备注->text(), U("办公室"));
    SelectNumber(0);
    EXPECT_EQ(tab()->标签_转接备注->text(), U("我的手机"));
    // A refresh selects nothing and keeps the memo until the list loses the focus.
    main->RefreshAccountOverview();
    EXPECT_TRUE(tab()->列表框_转接号码->selectedItems().isEmpty());
    EXPECT_EQ(tab()->标签_转接备注->text(), U("我的手机"));
    tab()->列表框_转接号码->setFocus();
    tab()->编辑框_备注->setFocus();
    EXPECT_EQ(tab()->标签_转接备注->text(), QString());
}

TEST_F(SettingsTest, TopUpAndDeleteSendTheSelectedRecordAndRefresh) {
    portal.EditAccount([](zvdev::Account& a) { a.forwards.push_back({"13900000003", "", a.nextForwardId++}); });
    main->RefreshAccountOverview();
    portal.ClearLog();
    tab()->MoveSelected(true); // nothing selected
    tab()->DeleteSelected();
    EXPECT_TRUE(portal.log().empty());
    EXPECT_TRUE(platform.boxes.empty());

    const std::string third = Id(2), second = Id(1);
    SelectNumber(2);
    QTest::mouseClick(tab()->按钮_置顶, Qt::LeftButton);
    EXPECT_EQ(Requests("/views/phoneno.mvc?method=order").back().body, "id=" + third + "&action=top");
    EXPECT_EQ(Numbers().front(), "13900000003");
    EXPECT_EQ(tab()->列表框_转接号码->item(0)->text(), QStringLiteral("13900000003"));
    EXPECT_TRUE(tab()->列表框_转接号码->selectedItems().isEmpty());
    SelectNumber(2);
    QTest::mouseClick(tab()->按钮_上移, Qt::LeftButton);
    EXPECT_EQ(Requests("/views/phoneno.mvc?method=order").back().body, "id=" + second + "&action=up");
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"13900000003", "057187654321", "13812345678"}));

    SelectNumber(1);
    platform.answers = {kNo};
    QTest::mouseClick(tab()->按钮_删除, Qt::LeftButton);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, Gbk("确定删除号码:057187654321吗?"));
    EXPECT_EQ(platform.boxes[0].style, 100);
    EXPECT_EQ(platform.boxes[0].title, Gbk("是否删除"));
    EXPECT_TRUE(Requests("//views").empty());
    platform.answers = {kYes};
    QTest::mouseClick(tab()->按钮_删除, Qt::LeftButton);
    const auto removals = Requests("//views/phoneno.mvc?method=removeAll");
    ASSERT_EQ(removals.size(), 1u);
    EXPECT_EQ(removals[0].body, "id=" + second);
    EXPECT_EQ(tab()->列表框_转接号码->count(), 2);
}

TEST_F(SettingsTest, TheEditWindowIsModalAndRefreshesOnceAfterAChangeOnly) {
    SelectNumber(0);
    ASSERT_EQ(tab()->标签_转接备注->text(), U("我的手机"));
    const std::string id = Id(0);
    struct Row {
        const char* how;
        bool refreshes;
    };
    for (const Row r : {Row{"cancel", false}, Row{"close box", false}, Row{"confirm", true}}) {
        SelectNumber(0);
        QPointer<ForwardEditWindow> w = tab()->EditSelected();
        ASSERT_TRUE(w);
        EXPECT_EQ(QApplication::activeModalWidget(), w.data());
        EXPECT_EQ(w->windowTitle(), U("转接号码修改"));
        EXPECT_EQ(w->编辑框_转接号码->text(), QStringLiteral("13812345678"));
        EXPECT_EQ(w->编辑框_转接备注->text(), U("我的手机"));
        EXPECT_EQ(w->标签_ID->text(), QString::fromStdString(id));
        const size_t before = Refreshes();
        if (std::string(r.how) == "cancel") QTest::mouseClick(w->按钮_取消, Qt::LeftButton);
        if (std::string(r.how) == "close box") w->close();
        if (std::string(r.how) == "confirm") {
            w->编辑框_转接号码->setText(QStringLiteral("13812340000"));
            w->编辑框_转接备注->setText(QStringLiteral("new"));
            QTest::mouseClick(w->按钮_确认修改, Qt::LeftButton);
        }
        ZV_WAIT(!w);
        EXPECT_EQ(Refreshes() - before, r.refreshes ? 1u : 0u) << r.how;
    }
    const auto updates = Requests("/views/phoneno.mvc?method=update");
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].body, "id=" + id + "&phoneno=13812340000&memo=%6E%65%77");
    EXPECT_EQ(tab()->列表框_转接号码->item(0)->text(), QStringLiteral("13812340000"));
}

TEST(Placement, NearTheParentInsideTheScreen) {
    struct Row {
        int w, h, parentLeft, parentWidth, screenW, screenH, left, top;
    };
    const std::vector<Row> rows = {
        {215, 110, 100, 302, 1024, 768, 143, 329},
        {215, 110, -100, 302, 1024, 768, 0, 329},   // never past the screen's left edge
        {215, 900, 100, 302, 1024, 768, 143, 0},    // nor its top
        {1100, 110, 100, 302, 1024, 768, 0, 329},   // a child wider than the screen
        {215, 110, 800, 302, 1024, 768, 809, 329},
        {302, 532, 0, 302, 1024, 768, 0, 118},
        {400, 300, 10, 200, 1024, 768, 10, 234}, // centring would go left of the screen
    };
    for (const Row& r : rows) {
        const QPoint p = NearParentPosition(r.w, r.h, r.parentLeft, r.parentWidth, r.screenW, r.screenH);
        EXPECT_EQ(p.x(), r.left) << r.parentLeft;
        EXPECT_EQ(p.y(), r.top) << r.parentLeft;
    }
}

TEST_F(SettingsTest, OptionsSendTheItemValuesInOrder) {
    QTest::mouseClick(tab()->按钮_提交设置参数, Qt::LeftButton);
    auto settings = Requests("/views/customer.mvc?method=setting");
    ASSERT_EQ(settings.size(), 1u);
    EXPECT_EQ(settings[0].body,
              "id=20460&transType=1&transCallerType=1&ringType=1&ringMode=1&forbidFlag=1&isMsg=1&ringId=1");
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, Gbk("设置成功！"));
    EXPECT_EQ(platform.boxes[0].style, 64);
    EXPECT_EQ(platform.boxes[0].title, Gbk("恭喜"));

    for (QComboBox* c : {tab()->组合框_转接类型, tab()->组合框_显示方式, tab()->组合框_来电模式, tab()->组合框_彩铃,
                         tab()->组合框_接听方式, tab()->组合框_留言})
        c->setCurrentIndex(1);
    tab()->组合框_免打扰提示音->setCurrentIndex(3);
    tab()->SubmitOptions();
    EXPECT_EQ(Requests("/views/customer.mvc?method=setting").back().body,
              "id=20460&transType=2&transCallerType=0&ringType=0&ringMode=0&forbidFlag=0&isMsg=0&ringId=4");
    const auto a = portal.account();
    EXPECT_EQ(a.forbidFlag, 0);
    EXPECT_EQ(a.ringId, 4);
    // The account tab shows the old settings until a refresh.
    EXPECT_EQ(Label("标签_接听方式")->text(), U("正常接听状态"));
    main->RefreshAccountOverview();
    EXPECT_EQ(Label("标签_接听方式")->text(), U("免打扰状态"));

    tab()->组合框_留言->setCurrentIndex(-1);
    tab()->SubmitOptions();
    EXPECT_NE(Requests("/views/customer.mvc?method=setting").back().body.find("&isMsg=-1&"), std::string::npos);
    ASSERT_EQ(platform.boxes.size(), 3u);
    EXPECT_EQ(platform.boxes[2].text, Gbk("设置失败！"));
    EXPECT_EQ(platform.boxes[2].style, 80);
    EXPECT_EQ(platform.boxes[2].title, Gbk("失败"));
}

TEST_F(SettingsTest, PasswordChecksComeInOrderAndTheOutcomeIsTold) {
    struct Row {
        QString oldPw, newPw, confirm;
        const char* message;
    };
    const std::vector<Row> rows = {
        {"", "", "", "旧密码不能为空"},
        {"a", "", "", "新密码不能为空"},
        {"a", "b", "", "确认新密码不能为空"},
        {"a", "Pw", "pw", "两次密码输入不一样"},
    };
    for (const Row& r : rows) {
        tab()->编辑框_旧密码->setText(r.oldPw);
        tab()->编辑框_新密码->setText(r.newPw);
        tab()->编辑框_确认新密码->setText(r.confirm);
        platform.boxes.clear();
        QTest::mouseClick(tab()->按钮_修改密码, Qt::LeftButton);
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text, Gbk(r.message));
        EXPECT_EQ(platform.boxes[0].style, 48);
        EXPECT_EQ(platform.boxes[0].title, Gbk("错误"));
    }
    EXPECT_TRUE(Requests("/views/customer.mvc?method=changePassword").empty());

    tab()->编辑框_旧密码->setText(QStringLiteral("bad"));
    tab()->编辑框_新密码->setText(QStringLiteral("n&w=1"));
    tab()->编辑框_确认新密码->setText(QStringLiteral("n&w=1"));
    platform.boxes.clear();
    tab()->ChangePasswordClicked();
    EXPECT_EQ(Requests("/views/customer.mvc?method=changePassword").back().body,
              "id=20460&oldPassword=bad&newPassword=n%26w%3D1&renewPassword=n%26w%3D1");
    EXPECT_EQ(platform.boxes.back().text, Gbk("密码修改失败"));
    EXPECT_EQ(platform.boxes.back().style, 112);
    EXPECT_EQ(platform.boxes.back().title, Gbk("失败"));

    WriteProfileValue(Proc().settingsPath, "phone", "pass", "KEEP");
    tab()->编辑框_旧密码->setText(QStringLiteral("zorvane8"));
    tab()->ChangePasswordClicked();
    EXPECT_EQ(platform.boxes.back().text, Gbk("密码修改成功"));
    EXPECT_EQ(platform.boxes.back().style, 64);
    EXPECT_EQ(platform.boxes.back().title, Gbk("成功"));
    EXPECT_EQ(portal.account().password, "n&w=1");
    EXPECT_EQ(Setting("phone", "pass"), "KEEP");
    EXPECT_EQ(tab()->编辑框_新密码->text(), QStringLiteral("n&w=1"));
}

TEST_F(SettingsTest, BlacklistIsHiddenButWorksWhenShown) {
    EXPECT_TRUE(tab()->分组框_黑名单->isHidden());
    tab()->分组框_黑名单->show();
    tab()->AddBlacklist();
    EXPECT_EQ(main->focusWidget(), tab()->编辑框_开始字冠);
    tab()->编辑框_开始字冠->setText(QStringLiteral("0571"));
    tab()->AddBlacklist();
    EXPECT_EQ(main->focusWidget(), tab()->编辑框_结束字冠);
    EXPECT_TRUE(Requests("/views/blackNo.mvc").empty());
    EXPECT_TRUE(platform.boxes.empty());

    tab()->编辑框_结束字冠->setText(QStringLiteral("0572"));
    tab()->组合框_黑名单类型->setCurrentIndex(2);
    QTest::mouseClick(tab()->按钮_黑名单, Qt::LeftButton);
    EXPECT_EQ(Requests("/views/blackNo.mvc?method=save").back().body,
              "id=id&type=3&starttele=0571&endtele=0572&ringId=1&memo=");
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, Gbk("新增黑名单成功！"));
    EXPECT_EQ(platform.boxes[0].style, 64);
    EXPECT_EQ(platform.boxes[0].title, "");
    EXPECT_EQ(portal.account().blacklist.size(), 1u);

    tab()->编辑框_黑名单备注->setText(U("骚扰"));
    portal.SetFault("/views/blackNo.mvc", zvdev::Fault::NotUtf8);
    tab()->AddBlacklist();
    portal.ClearFaults();
    EXPECT_NE(Requests("/views/blackNo.mvc?method=save").back().body.find("&memo=%E9%AA%9A%E6%89%B0"), std::string::npos);
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[1].text, Gbk("新增黑名单失败！"));
    EXPECT_EQ(platform.boxes[1].style, 16);
    EXPECT_EQ(tab()->编辑框_开始字冠->text(), QStringLiteral("0571"));
}

} // namespace

namespace {

// A tooltip asked of the widget at a point shows exactly the text.
bool TipShows(QWidget* w, const QPoint& at, const QString& text) {
    // A tip hides with a delay: a marker in its place tells a new tip from the last one.
    QToolTip::showText(w->mapToGlobal(at), QStringLiteral("-"));
    QHelpEvent e(QEvent::ToolTip, at, w->mapToGlobal(at));
    QApplication::sendEvent(w, &e);
    return QToolTip::isVisible() && QToolTip::text() == text;
}

TEST_F(SettingsTest, TheEditWindowSendsThePortalsNumberAndMemoAsTheyAre) {
    // A number longer than the boxes take by typing, and a memo the page escapes.
    const std::string memo = "家&办公室 <b>\"x\"'";
    portal.EditAccount([&memo](zvdev::Account& a) {
        a.forwards[0].number = "8613812345678901";
        a.forwards[0].memo = memo;
    });
    main->RefreshAccountOverview();
    SelectNumber(0);
    EXPECT_EQ(tab()->列表框_转接号码->item(0)->text(), QStringLiteral("8613812345678901"));
    EXPECT_EQ(tab()->标签_转接备注->text(), QString::fromStdString(memo));
    QPointer<ForwardEditWindow> w = tab()->EditSelected();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->编辑框_转接号码->text(), QStringLiteral("8613812345678901"));
    EXPECT_EQ(w->编辑框_转接备注->text(), QString::fromStdString(memo));
    QTest::mouseClick(w->按钮_确认修改, Qt::LeftButton);
    ZV_WAIT(!w);
    ASSERT_EQ(Requests("/views/phoneno.mvc?method=update").size(), 1u);
    EXPECT_NE(Requests("/views/phoneno.mvc?method=update")[0].body.find("&phoneno=8613812345678901&"), std::string::npos);
    // Edited without touching the memo, again and again: it stays what the user wrote.
    for (int round = 0; round < 2; ++round) {
        SelectNumber(0);
        w = tab()->EditSelected();
        w->编辑框_转接号码->setText(QStringLiteral("1381234567") + QString::number(round));
        w->Confirm();
        ZV_WAIT(!w);
    }
    EXPECT_EQ(portal.account().forwards[0].memo, memo);
    EXPECT_EQ(portal.account().forwards[0].number, "13812345671");
}

TEST_F(SettingsTest, WithoutTheNumbersIdNothingIsSentAndTheUserIsToldToRefresh) {
    // The forwarding page did not convert: the numbers are listed, their ids are not.
    portal.SetFault("/views/phoneno.mvc?method=index", zvdev::Fault::NotUtf8);
    main->RefreshAccountOverview();
    portal.ClearFaults();
    ASSERT_EQ(tab()->列表框_转接号码->count(), 2);
    portal.ClearLog();
    for (QPushButton* b : {tab()->按钮_置顶, tab()->按钮_上移, tab()->按钮_删除}) {
        SelectNumber(1);
        platform.boxes.clear();
        QTest::mouseClick(b, Qt::LeftButton);
        ASSERT_EQ(platform.boxes.size(), 1u) << b->objectName().toStdString();
        EXPECT_EQ(platform.boxes[0].text, Gbk("未能读取该号码的编号，请先点击“刷新显示”刷新号码列表"));
        EXPECT_EQ(platform.boxes[0].style, 48);
        EXPECT_EQ(platform.boxes[0].title, Gbk("请先刷新"));
    }
    EXPECT_TRUE(portal.log().empty());
}

TEST_F(SettingsTest, AnAddIsConfirmedOnlyWhenTheListHoldsTheNumberOnceMore) {
    struct Row {
        const char* what;
        std::function<void(zvdev::DevPortal&)> before;
        QString number;
        const char* box;
    };
    const std::vector<Row> rows = {
        {"a number listed twice after the add", [](zvdev::DevPortal&) {}, QStringLiteral("13812345678"), "添加成功！"},
        // Three more numbers reached the portal from elsewhere: it is full and refuses, and the
        // refreshed list holds the number as often as before.
        {"the portal refused a number it already holds",
         [](zvdev::DevPortal& p) {
             p.EditAccount([](zvdev::Account& a) {
                 for (const char* n : {"13900000002", "13900000003", "13900000004"})
                     a.forwards.push_back({n, "", a.nextForwardId++});
             });
         },
         QStringLiteral("13812345678"), "添加失败！"},
        {"the refresh could not read the page",
         [](zvdev::DevPortal& p) { p.SetFault("/views/myzorvane/main.jsp", zvdev::Fault::NotUtf8); },
         QStringLiteral("13900000005"), "添加失败！"},
    };
    for (const Row& r : rows) {
        portal.EditAccount([](zvdev::Account& a) {
            a.forwards = {{"13812345678", "", 101}};
            a.nextForwardId = 102;
        });
        main->RefreshAccountOverview();
        r.before(portal);
        platform.boxes.clear();
        tab()->编辑框_转接号码->setText(r.number);
        tab()->AddForwarding();
        portal.ClearFaults();
        ASSERT_EQ(platform.boxes.size(), 1u) << r.what;
        EXPECT_EQ(platform.boxes[0].text, Gbk(r.box)) << r.what;
    }
}

TEST_F(SettingsTest, EveryTextFitsOrIsElidedWithTheWholeTextInItsTooltip) {
    portal.EditAccount([](zvdev::Account& a) {
        a.company = "杭州云帆科技有限公司上海分公司研发中心";
        a.userType = "个人用户（长期有效的特别优惠套餐）";
        a.forwards[0].memo = "家里的座机，晚上八点以后打这个号码";
        a.forwards[1].number = "0086057187654321000";
    });
    main->RefreshAccountOverview();
    SelectNumber(0);
    int elided = 0;
    for (int page = 0; page < main->选择夹->count(); ++page) {
        main->选择夹->setCurrentIndex(page);
        for (QLabel* l : main->findChildren<QLabel*>()) {
            if (l->text().isEmpty() || !l->isVisibleTo(main) || l->textFormat() == Qt::RichText) continue;
            if (l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width()) continue;
            auto* e = dynamic_cast<ElidingLabel*>(l);
            ASSERT_TRUE(e && e->elided()) << "cut: " << l->objectName().toStdString() << " " << l->text().toStdString();
            EXPECT_TRUE(TipShows(e, {2, 2}, l->text())) << l->objectName().toStdString();
            ++elided;
        }
        for (QComboBox* c : main->findChildren<QComboBox*>()) {
            if (!c->isVisibleTo(main)) continue;
            auto* e = dynamic_cast<ElidingComboBox*>(c);
            ASSERT_TRUE(e) << c->objectName().toStdString();
            for (int i = 0; i < c->count(); ++i) {
                c->setCurrentIndex(i);
                if (e->elided()) {
                    EXPECT_TRUE(TipShows(e, {2, 2}, c->itemText(i))) << c->objectName().toStdString();
                    ++elided;
                }
            }
            c->setCurrentIndex(0);
        }
    }
    EXPECT_GE(elided, 3); // the company, the memo, the long caller number at least
    // The announcements differ only at their ends: they fit whole.
    auto* vox = dynamic_cast<ElidingComboBox*>(tab()->组合框_免打扰提示音);
    for (int i = 0; i < vox->count(); ++i) {
        vox->setCurrentIndex(i);
        EXPECT_FALSE(vox->elided()) << vox->currentText().toStdString();
    }
    // The list cuts what is too wide and shows it whole in the tooltip; what fits has none.
    QListWidget* list = tab()->列表框_转接号码;
    main->选择夹->setCurrentWidget(tab());
    list->resize(90, list->height());
    EXPECT_TRUE(TipShows(list->viewport(), list->visualItemRect(list->item(1)).center(), QStringLiteral("0086057187654321000")));
    list->resize(400, list->height());
    EXPECT_FALSE(TipShows(list->viewport(), list->visualItemRect(list->item(1)).center(), QStringLiteral("0086057187654321000")));
}

} // namespace
