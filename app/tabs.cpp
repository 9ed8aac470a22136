#include "tabs.h"

#include "endpoints.h"
#include "keyclick.h"
#include "operations.h"
#include "settings.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpressionValidator>

namespace zv {

namespace {

const int kPageDx = 2, kPageDy = 24;

QLabel* Caption(QWidget* parent, const char* text, const QRect& place, const char* name = nullptr) {
    QLabel* l = new QLabel(U(text), parent);
    if (name) l->setObjectName(U(name));
    l->setGeometry(place);
    return l;
}

QLabel* Value(QWidget* parent, const char* name, const QRect& place) {
    QLabel* l = Make<QLabel>(parent, name, place);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QPushButton* Button(QWidget* parent, const char* name, const char* text, const QRect& place) {
    QPushButton* b = Make<QPushButton>(parent, name, place);
    b->setText(U(text));
    b->setAutoDefault(false);
    return b;
}

QGroupBox* Group(QWidget* parent, const char* name, const char* title, const QRect& place) {
    QGroupBox* g = Make<QGroupBox>(parent, name, place);
    g->setTitle(U(title));
    return g;
}

} // namespace

QRect OnPage(int x, int y, int w, int h) { return {x - kPageDx, y - kPageDy, w, h}; }

void AddValueItems(QComboBox* box, std::initializer_list<std::pair<const char*, int>> items) {
    for (const auto& [text, value] : items) box->addItem(U(text), value);
    box->setCurrentIndex(0);
}

int SelectedValue(const QComboBox* box) {
    return box->currentIndex() < 0 ? -1 : box->currentData().toInt();
}

QValidator* DigitsValidator(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9-]*")), parent);
}

DialTab::DialTab(QWidget* parent) : QWidget(parent) {
    分组框9 = Group(this, "分组框9", "基本信息", OnPage(5, 28, 285, 77));
    Caption(分组框9, "您好:", {10, 22, 34, 18});
    标签_客户名称 = Value(分组框9, "标签_客户名称", {44, 22, 100, 18});
    Caption(分组框9, "余额:", {150, 22, 34, 18});
    标签_余额 = Value(分组框9, "标签_余额", {184, 22, 96, 18});
    Caption(分组框9, "赠送通话时间:", {10, 48, 82, 18});
    标签_赠送通话时间 = Value(分组框9, "标签_赠送通话时间", {92, 48, 54, 18});
    Caption(分组框9, "已用赠送时间:", {150, 48, 82, 18});
    标签_已用赠送时间 = Value(分组框9, "标签_已用赠送时间", {232, 48, 50, 18});

    分组框7 = Group(this, "分组框7", "在线拨打电话", OnPage(5, 115, 285, 101));
    Caption(分组框7, "主叫号码:", {10, 22, 58, 18});
    组合框_主叫号码 = Make<QComboBox>(分组框7, "组合框_主叫号码", {68, 20, 148, 22});
    按钮_刷新 = Button(分组框7, "按钮_刷新", "刷新显示", {222, 19, 56, 24});
    Caption(分组框7, "被叫号码:", {10, 50, 58, 18});
    编辑框_被叫号码 = Make<QLineEdit>(分组框7, "编辑框_被叫号码", {68, 48, 148, 22});
    按钮_删除号码 = Button(分组框7, "按钮_删除号码", "←", {222, 47, 56, 24});
    按钮_拨打 = Button(分组框7, "按钮_拨打", "拨号", {68, 74, 70, 22});
    按钮_电话簿 = Button(分组框7, "按钮_电话簿", "电话簿", {146, 74, 70, 22});
    按钮_分割号码个数 = Button(分组框7, "按钮_分割号码个数", "分割号码个数", {222, 74, 56, 22});
    按钮_分割号码个数->hide();

    分组框8 = Group(this, "分组框8", "拨号盘", OnPage(5, 222, 285, 253));
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
        *keys[i].member = Button(分组框8, keys[i].name, keys[i].caption, {37 + col * 80, 24 + row * 56, 50, 50});
        (*keys[i].member)->setFocusPolicy(Qt::NoFocus);
        QFont f = (*keys[i].member)->font();
        f.setPointSize(f.pointSize() + 5);
        f.setBold(true);
        (*keys[i].member)->setFont(f);
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

void DialTab::PlaceCall() {
    const Text callee = FromQ(编辑框_被叫号码->text());
    if (!callee.empty() && platform_) {
        QPointer<DialTab> self(this);
        const bool ok = PlaceCallRequest(PortalHost(), customerId_ ? customerId_() : Text(),
                                         FromQ(组合框_主叫号码->currentText()), callee);
        if (!self) return;
        if (ok)
            platform_->MessageBox(Gbk("拨打成功，请等待接听电话！"), 64, Gbk("成功"));
        else
            platform_->MessageBox(Gbk("拨打失败，请检查！"), 16);
        if (!self) return;
    }
    编辑框_被叫号码->setFocus();
}

void DialTab::AppendKey(const QPushButton* key) {
    编辑框_被叫号码->end(false);
    编辑框_被叫号码->insert(key->text());
    PlayKeyClick();
}

void DialTab::DeleteClicked() {
    if (按钮_删除号码->text() == U("←")) {
        QString t = 编辑框_被叫号码->text();
        // One byte less; the box normally holds one-byte characters only.
        Text bytes = FromQ(t);
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
            if (platform_->MessageBox(Gbk("确认拨打？"), 68) == kYes) PlaceCall();
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

AccountTab::AccountTab(QWidget* parent) : QWidget(parent) {
    分组框4 = Group(this, "分组框4", "基本信息", OnPage(9, 30, 277, 193));
    struct Row {
        QLabel** member;
        const char* caption;
        const char* name;
    };
    const Row basic[] = {
        {&标签_ID, "用户ID:", "标签_ID"},         {&标签_号码, "用户号码:", "标签_号码"},
        {&标签_身份证, "身份证:", "标签_身份证"}, {&标签_注册时间, "注册时间:", "标签_注册时间"},
        {&标签_用户类型, "用户类型:", "标签_用户类型"}, {&标签_客户电话, "客户电话:", "标签_客户电话"},
        {&标签_客户单位, "客户单位:", "标签_客户单位"},
    };
    int y = 24;
    for (const Row& r : basic) {
        QLabel* c = Caption(分组框4, r.caption, {12, y, 72, 18});
        c->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        *r.member = Value(分组框4, r.name, {90, y, 180, 18});
        y += 24;
    }
    分组框5 = Group(this, "分组框5", "设置信息", OnPage(9, 244, 277, 207));
    const Row settings[] = {
        {&标签_转接类型, "转接类型:", "标签_转接类型"},
        {&标签_外呼标志, "外呼标志:", "标签_外呼标志"},
        {&标签_接听方式, "接听方式:", "标签_接听方式"},
        {&标签_呼转显示主叫方式, "呼转显示主叫方式:", "标签_呼转显示主叫方式"},
        {&标签_来电回铃音模式, "来电回铃音模式:", "标签_来电回铃音模式"},
        {&标签_呼转标志, "呼转标志:", "标签_呼转标志"},
        {&标签_Zorvane彩铃类型, "Zorvane彩铃类型:", "标签_Zorvane彩铃类型"},
        {&标签_免打扰提示语音, "免打扰提示语音:", "标签_免打扰提示语音"},
    };
    y = 24;
    for (const Row& r : settings) {
        QLabel* c = Caption(分组框5, r.caption, {8, y, 118, 18});
        c->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        *r.member = Value(分组框5, r.name, {130, y, 142, 18});
        y += 22;
    }
}

SettingsTab::SettingsTab(QWidget* parent) : QWidget(parent) {
    分组框2 = Group(this, "分组框2", "基本功能", OnPage(6, 27, 285, 230));
    struct Combo {
        QComboBox** member;
        const char* caption;
        const char* name;
    };
    const Combo combos[] = {
        {&组合框_转接类型, "转接类型:", "组合框_转接类型"},
        {&组合框_显示方式, "呼转显示主叫方式:", "组合框_显示方式"},
        {&组合框_来电模式, "来电回铃音模式:", "组合框_来电模式"},
        {&组合框_彩铃, "Zorvane彩铃类型:", "组合框_彩铃"},
        {&组合框_接听方式, "接听方式:", "组合框_接听方式"},
        {&组合框_留言, "是否允许留言:", "组合框_留言"},
        {&组合框_免打扰提示音, "免打扰提示:", "组合框_免打扰提示音"},
    };
    int y = 20;
    for (const Combo& c : combos) {
        QLabel* l = Caption(分组框2, c.caption, {6, y + 2, 110, 18});
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        *c.member = Make<QComboBox>(分组框2, c.name, {120, y, 158, 22});
        y += 26;
    }
    AddValueItems(组合框_转接类型, {{"顺序接听", 1}, {"同时振铃", 2}});
    AddValueItems(组合框_显示方式, {{"真实主叫", 1}, {"Zorvane号码", 0}});
    AddValueItems(组合框_来电模式, {{"原号码彩铃", 1}, {"Zorvane号码彩铃", 0}});
    AddValueItems(组合框_彩铃, {{"默认彩铃", 1}, {"Zorvane彩铃类型", 0}});
    AddValueItems(组合框_接听方式, {{"正常接听状态", 1}, {"免打扰状态", 0}});
    AddValueItems(组合框_留言, {{"是", 1}, {"否", 0}});
    AddValueItems(组合框_免打扰提示音, {{"zrv_SetBotherVox1.pcm", 1},
                                        {"zrv_SetBotherVox2.pcm", 2},
                                        {"zrv_SetBotherVox3.pcm", 3},
                                        {"zrv_SetBotherVox4.pcm", 4}});
    按钮_提交设置参数 = Button(分组框2, "按钮_提交设置参数", "提交", {203, 202, 75, 24});
    按钮_提交设置参数->setEnabled(false);
    互联网浏览器 = Make<BrowserControl>(分组框2, "互联网浏览器", {0, 21, 285, 209});
    列表框_转接号码ID = Make<QListWidget>(分组框2, "列表框_转接号码ID", {8, 200, 60, 24});
    列表框_转接号码ID->hide();
    编辑框_转接号码内容 = Make<TextHolder>(分组框2, "编辑框_转接号码内容", {70, 200, 60, 24});

    分组框_增加转接号码 = Group(this, "分组框_增加转接号码", "转接号码 添加/编辑", OnPage(6, 262, 285, 118));
    Caption(分组框_增加转接号码, "号码:", {8, 21, 30, 18});
    编辑框_转接号码 = Make<QLineEdit>(分组框_增加转接号码, "编辑框_转接号码", {38, 19, 100, 22});
    编辑框_转接号码->setMaxLength(12);
    Caption(分组框_增加转接号码, "备注:", {144, 21, 30, 18});
    编辑框_备注 = Make<QLineEdit>(分组框_增加转接号码, "编辑框_备注", {174, 19, 62, 22});
    按钮_转接 = Button(分组框_增加转接号码, "按钮_转接", "添加", {240, 18, 40, 24});
    按钮_转接->setEnabled(false);
    列表框_转接号码 = Make<QListWidget>(分组框_增加转接号码, "列表框_转接号码", {8, 46, 150, 66});
    标签_转接备注 = Value(分组框_增加转接号码, "标签_转接备注", {164, 46, 116, 18});
    按钮_置顶 = Button(分组框_增加转接号码, "按钮_置顶", "置顶", {164, 66, 56, 22});
    按钮_上移 = Button(分组框_增加转接号码, "按钮_上移", "上移", {224, 66, 56, 22});
    按钮_编辑 = Button(分组框_增加转接号码, "按钮_编辑", "编辑", {164, 90, 56, 22});
    按钮_删除 = Button(分组框_增加转接号码, "按钮_删除", "删除", {224, 90, 56, 22});

    分组框_修改密码 = Group(this, "分组框_修改密码", "修改密码", OnPage(6, 387, 285, 84));
    标签_旧密码 = Caption(分组框_修改密码, "旧密码:", {10, 21, 43, 16}, "标签_旧密码");
    编辑框_旧密码 = Make<QLineEdit>(分组框_修改密码, "编辑框_旧密码", {56, 19, 78, 22});
    标签_新密码 = Caption(分组框_修改密码, "新密码:", {152, 21, 43, 16}, "标签_新密码");
    编辑框_新密码 = Make<QLineEdit>(分组框_修改密码, "编辑框_新密码", {198, 19, 68, 22});
    标签1 = Caption(分组框_修改密码, "确认密码:", {8, 54, 58, 16}, "标签1");
    编辑框_确认新密码 = Make<QLineEdit>(分组框_修改密码, "编辑框_确认新密码", {66, 52, 68, 22});
    for (QLineEdit* e : {编辑框_旧密码, 编辑框_新密码, 编辑框_确认新密码}) {
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(20);
    }
    按钮_修改密码 = Button(分组框_修改密码, "按钮_修改密码", "确认修改", {160, 50, 64, 26});

    分组框3 = Group(this, "分组框3", "设置黑名单", OnPage(6, 523, 285, 117));
    标签_转接号码3 = Caption(分组框3, "黑名单:", {10, 23, 42, 16}, "标签_转接号码3");
    组合框_黑名单类型 = Make<QComboBox>(分组框3, "组合框_黑名单类型", {52, 22, 88, 20});
    AddValueItems(组合框_黑名单类型, {{"普通黑名单", 1}, {"WebCall黑名单", 2}, {"语音黑名单", 3}});
    标签17 = Caption(分组框3, "开始字冠:", {141, 24, 53, 16}, "标签17");
    编辑框_开始字冠 = Make<QLineEdit>(分组框3, "编辑框_开始字冠", {194, 22, 70, 20});
    标签18 = Caption(分组框3, "结束字冠:", {7, 56, 54, 16}, "标签18");
    编辑框_结束字冠 = Make<QLineEdit>(分组框3, "编辑框_结束字冠", {61, 54, 70, 20});
    标签_转接号码2 = Caption(分组框3, "备注:", {131, 56, 29, 16}, "标签_转接号码2");
    编辑框_黑名单备注 = Make<QLineEdit>(分组框3, "编辑框_黑名单备注", {160, 54, 77, 20});
    按钮_黑名单 = Button(分组框3, "按钮_黑名单", "添加", {242, 53, 40, 22});
    按钮_黑名单->setEnabled(false);
    for (QLineEdit* e : {编辑框_开始字冠, 编辑框_结束字冠}) {
        e->setMaxLength(12);
        e->setValidator(DigitsValidator(e));
    }
    分组框3->hide();
}

} // namespace zv
