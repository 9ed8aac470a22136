// The settings tab "Zorvane设置": forwarding options, forwarding numbers, password, blacklist.
#pragma once

#include "gui/base/browser.h"
#include "gui/base/platform.h"
#include "portal/account.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>

namespace zv {

class ForwardEditWindow;

class SettingsTab : public QWidget {
public:
    explicit SettingsTab(QWidget* parent);
    // refresh reads the overview again and says whether it could read the account page.
    void Wire(Platform* platform, QWidget* mainWindow, std::function<Text()> customerId,
              std::function<bool()> refresh);
    // Rebuilds the forwarding list from a read overview; nothing is selected afterwards.
    void ShowForwardingNumbers(const std::vector<ForwardingNumber>& numbers);

    // Forwarding numbers.
    void AddForwarding();
    void ShowMemo();
    void MoveSelected(bool toTop);
    void DeleteSelected();
    ForwardEditWindow* EditSelected();
    // Options, blacklist, password.
    void SubmitOptions();
    void AddBlacklist();
    void ChangePasswordClicked();

    // The portal's record id and the memo of a forwarding number travel with its list item.
    static constexpr int kIdRole = Qt::UserRole + 1;
    static constexpr int kMemoRole = Qt::UserRole + 2;
    static constexpr int kNumberRole = Qt::UserRole + 3; // the number's bytes as the portal gave them

    QGroupBox* 分组框_基本功能;
    QComboBox* 组合框_转接类型;
    QComboBox* 组合框_显示方式;
    QComboBox* 组合框_来电模式;
    QComboBox* 组合框_彩铃;
    QComboBox* 组合框_接听方式;
    QComboBox* 组合框_留言;
    QComboBox* 组合框_免打扰提示音;
    QPushButton* 按钮_提交设置参数;
    BrowserControl* 互联网浏览器;

    QGroupBox* 分组框_增加转接号码;
    QLineEdit* 编辑框_转接号码;
    QLineEdit* 编辑框_备注;
    QPushButton* 按钮_转接;
    QListWidget* 列表框_转接号码;
    QLabel* 标签_转接备注;
    QPushButton* 按钮_置顶;
    QPushButton* 按钮_编辑;
    QPushButton* 按钮_上移;
    QPushButton* 按钮_删除;

    QGroupBox* 分组框_修改密码;
    QLabel* 标签_旧密码;
    QLineEdit* 编辑框_旧密码;
    QLabel* 标签_新密码;
    QLineEdit* 编辑框_新密码;
    QLabel* 标签_确认密码;
    QLineEdit* 编辑框_确认新密码;
    QPushButton* 按钮_修改密码;

    QGroupBox* 分组框_黑名单;
    QLabel* 标签_黑名单类型;
    QComboBox* 组合框_黑名单类型;
    QLabel* 标签_开始字冠;
    QLineEdit* 编辑框_开始字冠;
    QLabel* 标签_结束字冠;
    QLineEdit* 编辑框_结束字冠;
    QLabel* 标签_黑名单备注;
    QLineEdit* 编辑框_黑名单备注;
    QPushButton* 按钮_黑名单;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QListWidgetItem* SelectedItem() const;
    // The portal's record id of the selected number; false (and the user told to refresh)
    // when the forwarding page did not give one.
    bool SelectedId(const QListWidgetItem* item, Text& id);
    int Occurrences(const Text& number) const;
    Platform* platform_ = nullptr;
    QWidget* mainWindow_ = nullptr;
    std::function<Text()> customerId_;
    std::function<bool()> refresh_;
};

} // namespace zv
