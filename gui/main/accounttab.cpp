#include "gui/main/accounttab.h"

#include "gui/base/widgets.h"
#include "gui/main/page.h"

namespace zv {

namespace {

struct Row {
    QLabel* AccountTab::*label;
    const char* caption;
    const char* name;
    Text AccountOverview::*value; // null: nothing of the overview goes there
};

const Row kBasic[] = {
    {&AccountTab::标签_ID, "用户ID:", "标签_ID", &AccountOverview::customerId},
    {&AccountTab::标签_号码, "用户号码:", "标签_号码", &AccountOverview::serviceNumber},
    {&AccountTab::标签_身份证, "身份证:", "标签_身份证", &AccountOverview::idCard},
    {&AccountTab::标签_注册时间, "注册时间:", "标签_注册时间", &AccountOverview::registeredOn},
    {&AccountTab::标签_用户类型, "用户类型:", "标签_用户类型", &AccountOverview::userType},
    {&AccountTab::标签_客户电话, "客户电话:", "标签_客户电话", &AccountOverview::customerPhone},
    {&AccountTab::标签_客户单位, "客户单位:", "标签_客户单位", &AccountOverview::company},
};

const Row kSettings[] = {
    {&AccountTab::标签_转接类型, "转接类型:", "标签_转接类型", &AccountOverview::transferType},
    {&AccountTab::标签_外呼标志, "外呼标志:", "标签_外呼标志", &AccountOverview::outboundFlag},
    {&AccountTab::标签_接听方式, "接听方式:", "标签_接听方式", &AccountOverview::answerMode},
    {&AccountTab::标签_呼转显示主叫方式, "呼转显示主叫方式:", "标签_呼转显示主叫方式", &AccountOverview::callerDisplay},
    {&AccountTab::标签_来电回铃音模式, "来电回铃音模式:", "标签_来电回铃音模式", &AccountOverview::ringbackMode},
    {&AccountTab::标签_呼转标志, "呼转标志:", "标签_呼转标志", &AccountOverview::transferFlag},
    {&AccountTab::标签_Zorvane彩铃类型, "Zorvane彩铃类型:", "标签_Zorvane彩铃类型", &AccountOverview::ringToneType},
    {&AccountTab::标签_免打扰提示语音, "免打扰提示语音:", "标签_免打扰提示语音", nullptr},
};

} // namespace

AccountTab::AccountTab(QWidget* parent) : QWidget(parent) {
    分组框_基本信息 = Group(this, "分组框4", "基本信息", OnPage(9, 30, 277, 193));
    int y = 24;
    for (const Row& r : kBasic) {
        Caption(分组框_基本信息, r.caption, {12, y, 72, 18})->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        this->*r.label = ValueLabel(分组框_基本信息, r.name, {90, y, 180, 18});
        y += 24;
    }
    分组框_设置信息 = Group(this, "分组框5", "设置信息", OnPage(9, 244, 277, 207));
    y = 24;
    for (const Row& r : kSettings) {
        Caption(分组框_设置信息, r.caption, {8, y, 118, 18})->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        this->*r.label = ValueLabel(分组框_设置信息, r.name, {130, y, 142, 18});
        y += 22;
    }
}

void AccountTab::ShowOverview(const AccountOverview& o) {
    for (const Row& r : kBasic) (this->*r.label)->setText(ToQ(o.*r.value));
    for (const Row& r : kSettings)
        if (r.value) (this->*r.label)->setText(ToQ(o.*r.value));
}

} // namespace zv
