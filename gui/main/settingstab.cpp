#include "gui/main/settingstab.h"

#include "gui/base/filters.h"
#include "gui/base/guard.h"
#include "gui/base/widgets.h"
#include "gui/main/page.h"
#include "gui/windows/forwardedit.h"
#include "portal/operations.h"
#include "store/settings.h"

#include <QCoreApplication>
#include <QEvent>

namespace zv {

namespace {
// Item data keeps a Text's bytes as they are, whatever GBK can show of them.
QVariant ItemData(const Text& t) { return QByteArray(t.data(), static_cast<qsizetype>(t.size())); }
Text TextOf(const QVariant& v) {
    const QByteArray b = v.toByteArray();
    return Text(b.constData(), static_cast<size_t>(b.size()));
}
} // namespace

SettingsTab::SettingsTab(QWidget* parent) : QWidget(parent) {
    分组框_基本功能 = Group(this, "分组框2", "基本功能", OnPage(6, 27, 285, 230));
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
    // The lists take the room the captions leave, so "zrv_SetBotherVox1.pcm" fits whole.
    for (const Combo& c : combos) {
        Caption(分组框_基本功能, c.caption, {2, y + 2, 104, 18})->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        *c.member = Make<ElidingComboBox>(分组框_基本功能, c.name, {108, y, 172, 22});
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
    按钮_提交设置参数 = Button(分组框_基本功能, "按钮_提交设置参数", "提交", {203, 202, 75, 24});
    按钮_提交设置参数->setEnabled(false);
    互联网浏览器 = Make<BrowserControl>(分组框_基本功能, "互联网浏览器", {0, 21, 285, 209});

    分组框_增加转接号码 = Group(this, "分组框_增加转接号码", "转接号码 添加/编辑", OnPage(6, 262, 285, 118));
    Caption(分组框_增加转接号码, "号码:", {8, 21, 30, 18});
    编辑框_转接号码 = Make<QLineEdit>(分组框_增加转接号码, "编辑框_转接号码", {38, 19, 100, 22});
    LimitTyping(编辑框_转接号码, 12);
    Caption(分组框_增加转接号码, "备注:", {144, 21, 30, 18});
    编辑框_备注 = Make<QLineEdit>(分组框_增加转接号码, "编辑框_备注", {174, 19, 62, 22});
    按钮_转接 = Button(分组框_增加转接号码, "按钮_转接", "添加", {240, 18, 40, 24});
    按钮_转接->setEnabled(false);
    列表框_转接号码 = Make<QListWidget>(分组框_增加转接号码, "列表框_转接号码", {8, 46, 150, 66});
    TipWhenElided(列表框_转接号码);
    标签_转接备注 = ValueLabel(分组框_增加转接号码, "标签_转接备注", {164, 46, 116, 18});
    按钮_置顶 = Button(分组框_增加转接号码, "按钮_置顶", "置顶", {164, 66, 56, 22});
    按钮_上移 = Button(分组框_增加转接号码, "按钮_上移", "上移", {224, 66, 56, 22});
    按钮_编辑 = Button(分组框_增加转接号码, "按钮_编辑", "编辑", {164, 90, 56, 22});
    按钮_删除 = Button(分组框_增加转接号码, "按钮_删除", "删除", {224, 90, 56, 22});

    分组框_修改密码 = Group(this, "分组框_修改密码", "修改密码", OnPage(6, 387, 285, 84));
    标签_旧密码 = Caption(分组框_修改密码, "旧密码:", {10, 21, 43, 16}, "标签_旧密码");
    编辑框_旧密码 = Make<QLineEdit>(分组框_修改密码, "编辑框_旧密码", {56, 19, 78, 22});
    标签_新密码 = Caption(分组框_修改密码, "新密码:", {152, 21, 43, 16}, "标签_新密码");
    编辑框_新密码 = Make<QLineEdit>(分组框_修改密码, "编辑框_新密码", {198, 19, 68, 22});
    标签_确认密码 = Caption(分组框_修改密码, "确认密码:", {8, 54, 58, 16}, "标签1");
    编辑框_确认新密码 = Make<QLineEdit>(分组框_修改密码, "编辑框_确认新密码", {66, 52, 68, 22});
    for (QLineEdit* e : {编辑框_旧密码, 编辑框_新密码, 编辑框_确认新密码}) {
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(20);
    }
    按钮_修改密码 = Button(分组框_修改密码, "按钮_修改密码", "确认修改", {160, 50, 64, 26});

    分组框_黑名单 = Group(this, "分组框3", "设置黑名单", OnPage(6, 523, 285, 117));
    标签_黑名单类型 = Caption(分组框_黑名单, "黑名单:", {10, 23, 42, 16}, "标签_转接号码3");
    组合框_黑名单类型 = Make<ElidingComboBox>(分组框_黑名单, "组合框_黑名单类型", {52, 22, 88, 20});
    AddValueItems(组合框_黑名单类型, {{"普通黑名单", 1}, {"WebCall黑名单", 2}, {"语音黑名单", 3}});
    标签_开始字冠 = Caption(分组框_黑名单, "开始字冠:", {141, 24, 53, 16}, "标签17");
    编辑框_开始字冠 = Make<QLineEdit>(分组框_黑名单, "编辑框_开始字冠", {194, 22, 70, 20});
    标签_结束字冠 = Caption(分组框_黑名单, "结束字冠:", {7, 56, 54, 16}, "标签18");
    编辑框_结束字冠 = Make<QLineEdit>(分组框_黑名单, "编辑框_结束字冠", {61, 54, 70, 20});
    标签_黑名单备注 = Caption(分组框_黑名单, "备注:", {131, 56, 29, 16}, "标签_转接号码2");
    编辑框_黑名单备注 = Make<QLineEdit>(分组框_黑名单, "编辑框_黑名单备注", {160, 54, 77, 20});
    按钮_黑名单 = Button(分组框_黑名单, "按钮_黑名单", "添加", {242, 53, 40, 22});
    按钮_黑名单->setEnabled(false);
    for (QLineEdit* e : {编辑框_开始字冠, 编辑框_结束字冠}) {
        e->setMaxLength(12);
        e->setValidator(DigitsValidator(e));
    }
    分组框_黑名单->hide();
}

void SettingsTab::Wire(Platform* platform, QWidget* mainWindow, std::function<Text()> customerId,
                       std::function<bool()> refresh) {
    platform_ = platform;
    mainWindow_ = mainWindow;
    customerId_ = std::move(customerId);
    refresh_ = std::move(refresh);
    RefuseTypedNonDigits(编辑框_转接号码);
    connect(按钮_转接, &QPushButton::clicked, this, [this] { AddForwarding(); });
    connect(列表框_转接号码, &QListWidget::itemSelectionChanged, this, [this] {
        if (SelectedItem()) ShowMemo();
    });
    列表框_转接号码->installEventFilter(this);
    connect(按钮_置顶, &QPushButton::clicked, this, [this] { MoveSelected(true); });
    connect(按钮_上移, &QPushButton::clicked, this, [this] { MoveSelected(false); });
    connect(按钮_删除, &QPushButton::clicked, this, [this] { DeleteSelected(); });
    connect(按钮_编辑, &QPushButton::clicked, this, [this] { EditSelected(); });
    connect(按钮_提交设置参数, &QPushButton::clicked, this, [this] { SubmitOptions(); });
    connect(按钮_黑名单, &QPushButton::clicked, this, [this] { AddBlacklist(); });
    connect(按钮_修改密码, &QPushButton::clicked, this, [this] { ChangePasswordClicked(); });
}

void SettingsTab::ShowForwardingNumbers(const std::vector<ForwardingNumber>& numbers) {
    列表框_转接号码->clear();
    int position = 0;
    for (const ForwardingNumber& n : numbers) {
        auto* item = new QListWidgetItem(ToQ(n.number));
        item->setData(Qt::UserRole, ++position);
        item->setData(kIdRole, ItemData(n.id));
        item->setData(kMemoRole, ItemData(n.memo));
        item->setData(kNumberRole, ItemData(n.number));
        列表框_转接号码->addItem(item);
    }
}

bool SettingsTab::eventFilter(QObject* watched, QEvent* e) {
    if (watched == 列表框_转接号码 && e->type() == QEvent::FocusOut && 列表框_转接号码->selectedItems().isEmpty())
        标签_转接备注->clear();
    return QWidget::eventFilter(watched, e);
}

QListWidgetItem* SettingsTab::SelectedItem() const {
    return 列表框_转接号码->selectedItems().isEmpty() ? nullptr : 列表框_转接号码->currentItem();
}

bool SettingsTab::SelectedId(const QListWidgetItem* item, Text& id) {
    id = TextOf(item->data(kIdRole));
    if (!id.empty()) return true;
    // An empty id would reach the portal as a request that does nothing.
    platform_->MessageBox(Gbk("未能读取该号码的编号，请先点击“刷新显示”刷新号码列表"),
                          box::kOkButton | box::kExclamationIcon, Gbk("请先刷新"));
    return false;
}

int SettingsTab::Occurrences(const Text& number) const {
    int n = 0;
    for (int i = 0; i < 列表框_转接号码->count(); ++i) n += TextOf(列表框_转接号码->item(i)->data(kNumberRole)) == number;
    return n;
}

void SettingsTab::AddForwarding() {
    const Text number = FromQ(编辑框_转接号码->text());
    if (number.size() <= 7) {
        编辑框_转接号码->setFocus();
        return;
    }
    if (列表框_转接号码->count() >= 4) {
        platform_->MessageBox(Gbk("添加失败,你最多只能添加4个转接号码！"), box::kOkButton | box::kExclamationIcon,
                              Gbk("错误"));
        return;
    }
    const int before = Occurrences(number);
    WindowGuard guard(this);
    bool read = false;
    if (!guard.Run([&] {
            AddForwardingNumber(PortalHost(), number, FromQ(编辑框_备注->text()));
            read = refresh_ && refresh_();
        }))
        return;
    // Success only when the portal's list, read afresh, holds the number once more than before.
    if (read && Occurrences(number) > before)
        platform_->MessageBox(Gbk("添加成功！"), box::kOkButton | box::kInformationIcon, Gbk("恭喜"));
    else
        platform_->MessageBox(Gbk("添加失败！"), box::kOkButton | box::kExclamationIcon, Gbk("错误"));
}

void SettingsTab::ShowMemo() {
    if (QListWidgetItem* item = SelectedItem()) 标签_转接备注->setText(ToQ(TextOf(item->data(kMemoRole))));
}

void SettingsTab::MoveSelected(bool toTop) {
    QListWidgetItem* item = SelectedItem();
    Text id;
    if (!item || !SelectedId(item, id)) return;
    WindowGuard guard(this);
    if (!guard.Run([&] { MoveForwardingNumber(PortalHost(), id, toTop); })) return;
    if (refresh_) refresh_();
}

void SettingsTab::DeleteSelected() {
    QListWidgetItem* item = SelectedItem();
    Text id;
    if (!item || !SelectedId(item, id)) return;
    const Text question = Gbk("确定删除号码:") + FromQ(item->text()) + Gbk("吗?");
    if (platform_->MessageBox(question, box::kYesNoButtons | box::kQuestionIcon | box::kInformationIcon,
                              Gbk("是否删除")) != kYes)
        return;
    WindowGuard guard(this);
    if (!guard.Run([&] { RemoveForwardingNumber(PortalHost(), id); })) return;
    if (refresh_) refresh_();
}

ForwardEditWindow* SettingsTab::EditSelected() {
    QListWidgetItem* item = SelectedItem();
    if (!item) return nullptr;
    auto refresh = refresh_;
    auto* w = new ForwardEditWindow(mainWindow_, [refresh] {
        if (refresh) refresh();
    });
    w->changed = false;
    // The number and memo as the portal holds them, whole; the window sends them back
    // unchanged unless the user edits them.
    w->Fill(TextOf(item->data(kNumberRole)), TextOf(item->data(kMemoRole)), TextOf(item->data(kIdRole)));
    w->show();
    QCoreApplication::processEvents();
    return w;
}

void SettingsTab::SubmitOptions() {
    const ForwardingOptions o{SelectedValue(组合框_转接类型), SelectedValue(组合框_显示方式),
                              SelectedValue(组合框_来电模式), SelectedValue(组合框_彩铃),
                              SelectedValue(组合框_接听方式), SelectedValue(组合框_留言),
                              SelectedValue(组合框_免打扰提示音)};
    WindowGuard guard(this);
    PortalResult result;
    if (!guard.Run([&] { result = zv::SubmitOptions(PortalHost(), customerId_ ? customerId_() : Text(), o); }))
        return;
    if (result.verdict == Verdict::Accepted)
        platform_->MessageBox(Gbk("设置成功！"), box::kOkButton | box::kInformationIcon, Gbk("恭喜"));
    else if (result.verdict == Verdict::Unknown)
        platform_->MessageBox(Gbk("设置结果未知，请勿重复提交，刷新后查看"), box::kOkButton | box::kExclamationIcon,
                              Gbk("结果未知"));
    else
        platform_->MessageBox(Gbk("设置失败！"), box::kOkButton | box::kStopIcon | box::kInformationIcon, Gbk("失败"));
}

void SettingsTab::AddBlacklist() {
    if (编辑框_开始字冠->text().isEmpty()) {
        编辑框_开始字冠->setFocus();
        return;
    }
    if (编辑框_结束字冠->text().isEmpty()) {
        编辑框_结束字冠->setFocus();
        return;
    }
    WindowGuard guard(this);
    PortalResult result;
    if (!guard.Run([&] {
            result = AddBlacklistRange(PortalHost(), SelectedValue(组合框_黑名单类型), FromQ(编辑框_开始字冠->text()),
                                       FromQ(编辑框_结束字冠->text()), FromQ(编辑框_黑名单备注->text()));
        }))
        return;
    // A failure is told too, rather than leaving the customer to guess.
    if (result.accepted())
        platform_->MessageBox(Gbk("新增黑名单成功！"), box::kOkButton | box::kInformationIcon);
    else
        platform_->MessageBox(Gbk("新增黑名单失败！"), box::kOkButton | box::kStopIcon);
}

void SettingsTab::ChangePasswordClicked() {
    const Text oldPassword = FromQ(编辑框_旧密码->text());
    const Text newPassword = FromQ(编辑框_新密码->text());
    const Text confirmation = FromQ(编辑框_确认新密码->text());
    const char* problem = oldPassword.empty()            ? "旧密码不能为空"
                          : newPassword.empty()          ? "新密码不能为空"
                          : confirmation.empty()         ? "确认新密码不能为空"
                          : newPassword != confirmation ? "两次密码输入不一样"
                                                         : nullptr;
    if (problem) {
        platform_->MessageBox(Gbk(problem), box::kOkButton | box::kExclamationIcon, Gbk("错误"));
        return;
    }
    WindowGuard guard(this);
    PortalResult result;
    if (!guard.Run([&] {
            result = zv::ChangePassword(PortalHost(), customerId_ ? customerId_() : Text(), oldPassword, newPassword,
                                        confirmation);
        }))
        return;
    if (result.verdict == Verdict::Accepted)
        platform_->MessageBox(Gbk("密码修改成功"), box::kOkButton | box::kInformationIcon, Gbk("成功"));
    else if (result.verdict == Verdict::Unknown)
        // The portal may hold the new password already.
        platform_->MessageBox(Gbk("密码修改结果未知，请勿重复修改，请先用新密码重新登陆试试"),
                              box::kOkButton | box::kExclamationIcon, Gbk("结果未知"));
    else
        platform_->MessageBox(Gbk("密码修改失败"), box::kOkButton | box::kExclamationIcon | box::kInformationIcon,
                              Gbk("失败"));
}

} // namespace zv
