// The behaviour of the settings tab: forwarding numbers, options, blacklist, password.
#include "forwardedit.h"
#include "operations.h"
#include "scrape.h"
#include "settings.h"
#include "tabs.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

namespace zv {

void SettingsTab::Wire(Platform* platform, QWidget* mainWindow, std::function<Text()> customerId,
                       std::function<void()> refresh) {
    platform_ = platform;
    mainWindow_ = mainWindow;
    customerId_ = std::move(customerId);
    refresh_ = std::move(refresh);
    RefuseTypedNonDigits(编辑框_转接号码);
    connect(按钮_转接, &QPushButton::clicked, this, [this] { AddForwarding(); });
    connect(列表框_转接号码, &QListWidget::itemSelectionChanged, this, [this] {
        if (列表框_转接号码->currentRow() >= 0 && !列表框_转接号码->selectedItems().isEmpty()) ShowMemo();
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

bool SettingsTab::eventFilter(QObject* watched, QEvent* e) {
    if (watched == 列表框_转接号码 && e->type() == QEvent::FocusOut && 列表框_转接号码->selectedItems().isEmpty())
        标签_转接备注->clear();
    return QWidget::eventFilter(watched, e);
}

Text SettingsTab::SelectedId() const {
    const int row = 列表框_转接号码->currentRow();
    QListWidgetItem* id = row >= 0 ? 列表框_转接号码ID->item(row) : nullptr;
    return id ? FromQ(id->text()) : Text();
}

void SettingsTab::AddForwarding() {
    const Text number = FromQ(编辑框_转接号码->text());
    if (number.size() <= 7) {
        编辑框_转接号码->setFocus();
        return;
    }
    if (列表框_转接号码->count() >= 4) {
        platform_->MessageBox(Gbk("添加失败,你最多只能添加4个转接号码！"), 48, Gbk("错误"));
        return;
    }
    QPointer<SettingsTab> self(this);
    AddForwardingNumber(PortalHost(), number, FromQ(编辑框_备注->text()));
    if (!self) return;
    if (refresh_) refresh_();
    // Success only when the portal's list now holds the number.
    bool added = false;
    for (int i = 0; i < 列表框_转接号码->count(); ++i) added = added || FromQ(列表框_转接号码->item(i)->text()) == number;
    if (added)
        platform_->MessageBox(Gbk("添加成功！"), 64, Gbk("恭喜"));
    else
        platform_->MessageBox(Gbk("添加失败！"), 48, Gbk("错误"));
}

void SettingsTab::ShowMemo() {
    QListWidgetItem* item = 列表框_转接号码->currentItem();
    if (!item) return;
    const Text n = FromQ(item->text());
    const TextList rows = SplitFirstColumns(编辑框_转接号码内容->text, "<td>" + n + "</td>", "&nbsp;</td>");
    Text memo;
    if (!rows.empty()) {
        const TextList pieces = Split(rows[0], "<td>");
        if (pieces.size() == 2) memo = pieces[1];
    }
    标签_转接备注->setText(ToQ(memo));
}

void SettingsTab::MoveSelected(bool toTop) {
    if (列表框_转接号码->selectedItems().isEmpty()) return;
    QPointer<SettingsTab> self(this);
    MoveForwardingNumber(PortalHost(), SelectedId(), toTop);
    if (self && refresh_) refresh_();
}

void SettingsTab::DeleteSelected() {
    QListWidgetItem* item = 列表框_转接号码->selectedItems().isEmpty() ? nullptr : 列表框_转接号码->currentItem();
    if (!item) return;
    const Text id = SelectedId();
    const Text question = Gbk("确定删除号码:") + FromQ(item->text()) + Gbk("吗?");
    if (platform_->MessageBox(question, 100, Gbk("是否删除")) != kYes) return;
    QPointer<SettingsTab> self(this);
    RemoveForwardingNumber(PortalHost(), id);
    if (self && refresh_) refresh_();
}

ForwardEditWindow* SettingsTab::EditSelected() {
    QListWidgetItem* item = 列表框_转接号码->selectedItems().isEmpty() ? nullptr : 列表框_转接号码->currentItem();
    if (!item) return nullptr;
    auto refresh = refresh_;
    auto* w = new ForwardEditWindow(mainWindow_, [refresh] {
        if (refresh) refresh();
    });
    w->changed = false;
    w->编辑框_转接号码->setText(item->text());
    w->编辑框_转接备注->setText(标签_转接备注->text());
    w->标签_ID->setText(ToQ(SelectedId()));
    w->show();
    QCoreApplication::processEvents();
    return w;
}

void SettingsTab::SubmitOptions() {
    const ForwardingOptions o{SelectedValue(组合框_转接类型), SelectedValue(组合框_显示方式),
                              SelectedValue(组合框_来电模式), SelectedValue(组合框_彩铃),
                              SelectedValue(组合框_接听方式), SelectedValue(组合框_留言),
                              SelectedValue(组合框_免打扰提示音)};
    QPointer<SettingsTab> self(this);
    const bool ok = zv::SubmitOptions(PortalHost(), customerId_ ? customerId_() : Text(), o);
    if (!self) return;
    if (ok)
        platform_->MessageBox(Gbk("设置成功！"), 64, Gbk("恭喜"));
    else
        platform_->MessageBox(Gbk("设置失败！"), 80, Gbk("失败"));
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
    QPointer<SettingsTab> self(this);
    const bool ok = AddBlacklistRange(PortalHost(), SelectedValue(组合框_黑名单类型), FromQ(编辑框_开始字冠->text()),
                                      FromQ(编辑框_结束字冠->text()), FromQ(编辑框_黑名单备注->text()));
    if (!self) return;
    // A failure is told too, rather than leaving the customer to guess.
    if (ok)
        platform_->MessageBox(Gbk("新增黑名单成功！"), 64);
    else
        platform_->MessageBox(Gbk("新增黑名单失败！"), 16);
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
        platform_->MessageBox(Gbk(problem), 48, Gbk("错误"));
        return;
    }
    QPointer<SettingsTab> self(this);
    const bool ok = zv::ChangePassword(PortalHost(), customerId_ ? customerId_() : Text(), oldPassword, newPassword,
                                       confirmation);
    if (!self) return;
    if (ok)
        platform_->MessageBox(Gbk("密码修改成功"), 64, Gbk("成功"));
    else
        platform_->MessageBox(Gbk("密码修改失败"), 112, Gbk("失败"));
}

} // namespace zv
