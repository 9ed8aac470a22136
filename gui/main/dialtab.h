// The dialling tab "在线拨打": the greeting and balance, the call form and the keypad.
#pragma once

#include "gui/base/platform.h"
#include "portal/account.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <vector>

namespace zv {

class DialTab : public QWidget {
public:
    explicit DialTab(QWidget* parent);
    // Gives the tab what its behaviour needs from outside it.
    void Wire(Platform* platform, std::function<Text()> customerId, std::function<void()> openPhoneBook);
    // Copies the greeting, balance, minutes and the caller numbers of a read overview.
    void ShowOverview(const AccountOverview& overview);

    void PlaceCall();
    // Asks "确认拨打？" and places the call on Yes: Enter in the callee box, and a number
    // handed over from a link.
    void ConfirmCall();
    void AppendKey(const QPushButton* key);
    void DeleteClicked();
    void DeleteRightReleased();
    std::vector<QPushButton*> keypad() const;

    QGroupBox* 分组框_基本信息;
    QLabel* 标签_客户名称;
    QLabel* 标签_余额;
    QLabel* 标签_赠送通话时间;
    QLabel* 标签_已用赠送时间;
    QGroupBox* 分组框_在线拨打;
    QComboBox* 组合框_主叫号码;
    QLineEdit* 编辑框_被叫号码;
    QPushButton* 按钮_删除号码;
    QPushButton* 按钮_拨打;
    QPushButton* 按钮_电话簿;
    QPushButton* 按钮_刷新;
    QGroupBox* 分组框_拨号盘;
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

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    Platform* platform_ = nullptr;
    std::function<Text()> customerId_;
    std::function<void()> openPhoneBook_;
};

} // namespace zv
