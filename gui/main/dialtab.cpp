#include "gui/main/dialtab.h"

#include "gui/base/guard.h"
#include "gui/base/keyclick.h"
#include "gui/base/widgets.h"
#include "gui/main/page.h"
#include "portal/operations.h"
#include "store/settings.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace zv {

DialTab::DialTab(QWidget* parent) : QWidget(parent) {
    分组框_基本信息 = Group(this, "分组框9", "基本信息", OnPage(5, 28, 285, 77));
    Caption(分组框_基本信息, "您好:", {10, 22, 34, 18});
    标签_客户名称 = ValueLabel(分组框_基本信息, "标签_客户名称", {44, 22, 100, 18});
    Caption(分组框_基本信息, "余额:", {150, 22, 34, 18});
    标签_余额 = ValueLabel(分组框_基本信息, "标签_余额", {184, 22, 96, 18});
    Caption(分组框_基本信息, "赠送通话时间:", {10, 48, 82, 18});
    标签_赠送通话时间 = ValueLabel(分组框_基本信息, "标签_赠送通话时间", {92, 48, 54, 18});
    Caption(分组框_基本信息, "已用赠送时间:", {150, 48, 82, 18});
    标签_已用赠送时间 = ValueLabel(分组框_基本信息, "标签_已用赠送时间", {232, 48, 50, 18});

    分组框_在线拨打 = Group(this, "分组框7", "在线拨打电话", OnPage(5, 115, 285, 101));
    Caption(分组框_在线拨打, "主叫号码:", {10, 22, 58, 18});
    组合框_主叫号码 = Make<ElidingComboBox>(分组框_在线拨打, "组合框_主叫号码", {68, 20, 148, 22});
    按钮_刷新 = Button(分组框_在线拨打, "按钮_刷新", "刷新显示", {222, 19, 56, 24});
    Caption(分组框_在线拨打, "被叫号码:", {10, 50, 58, 18});
    编辑框_被叫号码 = Make<QLineEdit>(分组框_在线拨打, "编辑框_被叫号码", {68, 48, 148, 22});
    按钮_删除号码 = Button(分组框_在线拨打, "按钮_删除号码", "←", {222, 47, 56, 24});
    按钮_拨打 = Button(分组框_在线拨打, "按钮_拨打", "拨号", {68, 74, 70, 22});
    按钮_电话簿 = Button(分组框_在线拨打, "按钮_电话簿", "电话簿", {146, 74, 70, 22});

    分组框_拨号盘 = Group(this, "分组框8", "拨号盘", OnPage(5, 222, 285, 253));
    struct Key {
        QPushButton** member;
        const char* name;
        const char* caption;
    };
    const Key keys[] = {
        {&按钮_1, "按钮_1", "1"}, {&按钮_2, "按钮_2", "2"},       {&按钮_3, "按钮_3", "3"},
        {&按钮_4, "按钮_4", "4"}, {&按钮_5, "按钮_5", "5"},       {&按钮_6, "按钮_6", "6"},
        {&按钮_7, "按钮_7", "7"}, {&按钮_8, "按钮_8", "8"},       {&按钮_9, "按钮_9", "9"},
        {&按钮_星号, "按钮_星号", "*"}, {&按钮_0, "按钮_0", "0"}, {&按钮_警号, "按钮_警号", "#"},
    };
    for (int i = 0; i < 12; ++i) {
        const int row = i / 3, col = i % 3;
        QPushButton* key = Button(分组框_拨号盘, keys[i].name, keys[i].caption, {37 + col * 80, 24 + row * 56, 50, 50});
        key->setFocusPolicy(Qt::NoFocus);
        QFont f = key->font();
        f.setPointSize(f.pointSize() + 5);
        f.setBold(true);
        key->setFont(f);
        *keys[i].member = key;
    }
}

void DialTab::Wire(Platform* platform, std::function<Text()> customerId, std::function<void()> openPhoneBook) {
    platform_ = platform;
    customerId_ = std::move(customerId);
    openPhoneBook_ = std::move(openPhoneBook);
    for (QPushButton* key : keypad())
        connect(key, &QPushButton::clicked, this, [this, key] { AppendKey(key); });
    connect(按钮_拨打, &QPushButton::clicked, this, [this] { PlaceCall(); });
    connect(按钮_删除号码, &QPushButton::clicked, this, [this] { DeleteClicked(); });
    connect(按钮_电话簿, &QPushButton::clicked, this, [this] {
        if (openPhoneBook_) openPhoneBook_();
    });
    编辑框_被叫号码->installEventFilter(this);
    按钮_删除号码->installEventFilter(this);
}

void DialTab::ShowOverview(const AccountOverview& o) {
    标签_客户名称->setText(ToQ(o.customerName));
    标签_余额->setText(ToQ(o.balance));
    标签_赠送通话时间->setText(ToQ(o.freeMinutes));
    标签_已用赠送时间->setText(ToQ(o.usedMinutes));
    组合框_主叫号码->clear();
    int position = 0;
    for (const ForwardingNumber& n : o.forwardingNumbers) 组合框_主叫号码->addItem(ToQ(n.number), ++position);
    组合框_主叫号码->setCurrentIndex(组合框_主叫号码->count() > 0 ? 0 : -1);
}

void DialTab::PlaceCall() {
    const Text callee = FromQ(编辑框_被叫号码->text());
    if (!callee.empty() && platform_) {
        WindowGuard guard(this);
        PortalResult result;
        if (!guard.Run([&] {
                result = PlaceCallRequest(PortalHost(), customerId_ ? customerId_() : Text(),
                                          FromQ(组合框_主叫号码->currentText()), callee);
            }))
            return;
        const bool alive = guard.Run([&] {
            if (result.verdict == Verdict::Accepted)
                platform_->MessageBox(Gbk("拨打成功，请等待接听电话！"), box::kOkButton | box::kInformationIcon,
                                      Gbk("成功"));
            else if (result.verdict == Verdict::Unknown)
                // The portal may be ringing the phone already: a second try would place a second call.
                platform_->MessageBox(Gbk("拨打结果未知，请勿重复拨打，请稍候留意来电"),
                                      box::kOkButton | box::kExclamationIcon, Gbk("结果未知"));
            else
                platform_->MessageBox(Gbk("拨打失败，请检查！"), box::kOkButton | box::kStopIcon);
        });
        if (!alive) return;
    }
    编辑框_被叫号码->setFocus();
}

void DialTab::ConfirmCall() {
    if (!platform_) return;
    WindowGuard guard(this);
    int answer = kNo;
    if (!guard.Run([&] { answer = platform_->MessageBox(Gbk("确认拨打？"), box::kYesNoButtons | box::kInformationIcon); }))
        return;
    if (answer == kYes) PlaceCall();
}

void DialTab::AppendKey(const QPushButton* key) {
    编辑框_被叫号码->end(false);
    编辑框_被叫号码->insert(key->text());
    PlayKeyClick();
}

void DialTab::DeleteClicked() {
    if (按钮_删除号码->text() == U("←")) {
        // One byte less; the box normally holds one-byte characters only.
        Text bytes = FromQ(编辑框_被叫号码->text());
        if (!bytes.empty()) bytes.pop_back();
        编辑框_被叫号码->setText(ToQ(bytes));
    } else {
        编辑框_被叫号码->clear();
    }
}

void DialTab::DeleteRightReleased() {
    按钮_删除号码->setText(按钮_删除号码->text() == U("◎") ? U("←") : U("◎"));
}

bool DialTab::eventFilter(QObject* watched, QEvent* e) {
    if (watched == 编辑框_被叫号码 && e->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(e);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && platform_) {
            ConfirmCall();
            return true;
        }
    }
    if (watched == 按钮_删除号码 && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) {
        DeleteRightReleased();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

std::vector<QPushButton*> DialTab::keypad() const {
    return {按钮_1, 按钮_2, 按钮_3, 按钮_4, 按钮_5, 按钮_6, 按钮_7, 按钮_8, 按钮_9, 按钮_星号, 按钮_0, 按钮_警号};
}

} // namespace zv
