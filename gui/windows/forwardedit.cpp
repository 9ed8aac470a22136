#include "gui/windows/forwardedit.h"

#include "gui/base/filters.h"
#include "gui/base/guard.h"
#include "portal/operations.h"
#include "store/settings.h"

#include <QCloseEvent>

namespace zv {

ForwardEditWindow::ForwardEditWindow(QWidget* mainWindow, std::function<void()> onChanged)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      onChanged_(std::move(onChanged)) {
    setObjectName(QStringLiteral("ForwardEditWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(U("转接号码修改"));
    setWindowIcon(ProgramIcon());
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(209, 82);
    标签_号码 = Make<QLabel>(this, "标签1", {8, 16, 40, 16});
    标签_号码->setText(U("号码："));
    编辑框_转接号码 = Make<QLineEdit>(this, "编辑框_转接号码", {43, 14, 104, 20});
    LimitTyping(编辑框_转接号码, 12);
    RefuseTypedNonDigits(编辑框_转接号码);
    标签_备注 = Make<QLabel>(this, "标签2", {8, 47, 40, 16});
    标签_备注->setText(U("备注："));
    编辑框_转接备注 = Make<QLineEdit>(this, "编辑框_转接备注", {43, 45, 104, 20});
    按钮_确认修改 = Make<QPushButton>(this, "按钮1", {153, 11, 54, 33}); // wide enough for its four characters
    按钮_确认修改->setText(U("确认修改"));
    按钮_取消 = Make<QPushButton>(this, "按钮2", {153, 44, 54, 22});
    按钮_取消->setText(U("取消"));
    for (QPushButton* b : {按钮_确认修改, 按钮_取消}) {
        b->setAutoDefault(false);
        b->setStyleSheet(QStringLiteral("QPushButton{padding:0px;}"));
    }
    标签_ID = Make<QLabel>(this, "标签_ID", {40, 72, 96, 16});
    标签_ID->hide();
    connect(按钮_确认修改, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(按钮_取消, &QPushButton::clicked, this, [this] { close(); });
    PlaceNearParent(this, mainWindow);
}

void ForwardEditWindow::Fill(const Text& number, const Text& memo, const Text& id) {
    number_ = number;
    memo_ = memo;
    编辑框_转接号码->setText(ToQ(number));
    编辑框_转接备注->setText(ToQ(memo));
    标签_ID->setText(ToQ(id));
}

void ForwardEditWindow::Confirm() {
    // What still reads as it was filled in goes back byte for byte, whatever the display made
    // of it.
    auto sent = [](const QLineEdit* box, const Text& filled) {
        return box->text() == ToQ(filled) ? filled : FromQ(box->text());
    };
    const Text number = sent(编辑框_转接号码, number_), memo = sent(编辑框_转接备注, memo_);
    WindowGuard guard(this);
    if (!guard.Run([&] { UpdateForwardingNumber(PortalHost(), FromQ(标签_ID->text()), number, memo); })) return;
    changed = true;
    close();
}

void ForwardEditWindow::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (closed_) return;
    closed_ = true;
    if (changed && onChanged_) onChanged_();
}

} // namespace zv
