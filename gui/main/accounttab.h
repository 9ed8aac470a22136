// The account tab "账户信息": the customer's data and the service settings in force.
#pragma once

#include "portal/account.h"

#include <QGroupBox>
#include <QLabel>

namespace zv {

class AccountTab : public QWidget {
public:
    explicit AccountTab(QWidget* parent);
    // Copies the customer data and the settings of a read overview.
    void ShowOverview(const AccountOverview& overview);

    QGroupBox* 分组框_基本信息;
    QLabel* 标签_ID;
    QLabel* 标签_号码;
    QLabel* 标签_身份证;
    QLabel* 标签_注册时间;
    QLabel* 标签_用户类型;
    QLabel* 标签_客户电话;
    QLabel* 标签_客户单位;
    QGroupBox* 分组框_设置信息;
    QLabel* 标签_转接类型;
    QLabel* 标签_外呼标志;
    QLabel* 标签_接听方式;
    QLabel* 标签_呼转显示主叫方式;
    QLabel* 标签_来电回铃音模式;
    QLabel* 标签_呼转标志;
    QLabel* 标签_Zorvane彩铃类型;
    QLabel* 标签_免打扰提示语音; // the overview carries nothing for it
};

} // namespace zv
