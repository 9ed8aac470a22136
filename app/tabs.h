// The three tabs of the main window and their group boxes. Each control is a member named
// as the layout names it; the behaviour lives in the classes that own the controls.
#pragma once

#include "browser.h"
#include "platform.h"
#include "widgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>

namespace zv {

// Places given in tab-control coordinates land on a page at this offset.
QRect OnPage(int x, int y, int w, int h);

class DialTab : public QWidget {
public:
    explicit DialTab(QWidget* parent);
    // Gives the tab what its behaviour needs from outside it.
    void Wire(Platform* platform, std::function<Text()> customerId, std::function<void()> openPhoneBook);
    void PlaceCall();
    void AppendKey(const QPushButton* key);
    void DeleteClicked();
    void DeleteRightReleased();
    QGroupBox* 分组框9;
    QLabel* 标签_客户名称;
    QLabel* 标签_余额;
    QLabel* 标签_赠送通话时间;
    QLabel* 标签_已用赠送时间;
    QGroupBox* 分组框7;
    QComboBox* 组合框_主叫号码;
    QLineEdit* 编辑框_被叫号码;
    QPushButton* 按钮_删除号码;
    QPushButton* 按钮_拨打;
    QPushButton* 按钮_电话簿;
    QPushButton* 按钮_刷新;
    QPushButton* 按钮_分割号码个数;
    QGroupBox* 分组框8;
    QPushButton* 按钮_1;
    QPushButton* 按钮_2;
    QPushButton* 按钮_3;
    QPushButton* 按钮_4;
    QPushButton* 按钮_5;
    QPushButton* 按钮_6;
    QPushButton* 按钮_7;
    QPushButton* 按钮_8;
    QPushButton* 按钮_9;
    QPushButton* 按钮_星号;
    QPushButton* 按钮_0;
    QPushButton* 按钮_警号;
    std::vector<QPushButton*> keypad() const;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    Platform* platform_ = nullptr;
    std::function<Text()> customerId_;
    std::function<void()> openPhoneBook_;
};

class AccountTab : public QWidget {
public:
    explicit AccountTab(QWidget* parent);
    QGroupBox* 分组框4;
    QLabel* 标签_ID;
    QLabel* 标签_号码;
    QLabel* 标签_身份证;
    QLabel* 标签_注册时间;
    QLabel* 标签_用户类型;
    QLabel* 标签_客户电话;
    QLabel* 标签_客户单位;
    QGroupBox* 分组框5;
    QLabel* 标签_转接类型;
    QLabel* 标签_外呼标志;
    QLabel* 标签_接听方式;
    QLabel* 标签_呼转显示主叫方式;
    QLabel* 标签_来电回铃音模式;
    QLabel* 标签_呼转标志;
    QLabel* 标签_Zorvane彩铃类型;
    QLabel* 标签_免打扰提示语音;
};

class ForwardEditWindow;

class SettingsTab : public QWidget {
public:
    explicit SettingsTab(QWidget* parent);
    void Wire(Platform* platform, QWidget* mainWindow, std::function<Text()> customerId,
              std::function<void()> refresh);
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
    QGroupBox* 分组框2;
    QComboBox* 组合框_转接类型;
    QComboBox* 组合框_显示方式;
    QComboBox* 组合框_来电模式;
    QComboBox* 组合框_彩铃;
    QComboBox* 组合框_接听方式;
    QComboBox* 组合框_留言;
    QComboBox* 组合框_免打扰提示音;
    QPushButton* 按钮_提交设置参数;
    BrowserControl* 互联网浏览器;
    QListWidget* 列表框_转接号码ID;
    TextHolder* 编辑框_转接号码内容;

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
    QLabel* 标签1;
    QLineEdit* 编辑框_确认新密码;
    QPushButton* 按钮_修改密码;

    QGroupBox* 分组框3;
    QLabel* 标签_转接号码3;
    QComboBox* 组合框_黑名单类型;
    QLabel* 标签17;
    QLineEdit* 编辑框_开始字冠;
    QLabel* 标签18;
    QLineEdit* 编辑框_结束字冠;
    QLabel* 标签_转接号码2;
    QLineEdit* 编辑框_黑名单备注;
    QPushButton* 按钮_黑名单;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    Text SelectedId() const;
    Platform* platform_ = nullptr;
    QWidget* mainWindow_ = nullptr;
    std::function<Text()> customerId_;
    std::function<void()> refresh_;
};

// A drop-down list whose items carry integer values.
void AddValueItems(QComboBox* box, std::initializer_list<std::pair<const char*, int>> items);
// The selected item's value, or -1 with nothing selected.
int SelectedValue(const QComboBox* box);
QValidator* DigitsValidator(QObject* parent);

} // namespace zv
