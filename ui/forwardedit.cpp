#include "forwardedit.h"

#include "operations.h"
#include "settings.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace zv {

namespace {

class DigitKeysOnly : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(e);
            const QString t = k->text();
            const bool shortcut = k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            if (!shortcut && !t.isEmpty() && t.at(0).isPrint()) {
                for (QChar c : t)
                    if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('-')) return true;
            }
        }
        return QObject::eventFilter(watched, e);
    }
};

} // namespace

void RefuseTypedNonDigits(QLineEdit* box) { box->installEventFilter(new DigitKeysOnly(box)); }

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
    标签1 = Make<QLabel>(this, "标签1", {8, 16, 40, 16});
    标签1->setText(U("号码："));
    编辑框_转接号码 = Make<QLineEdit>(this, "编辑框_转接号码", {43, 14, 104, 20});
    编辑框_转接号码->setMaxLength(12);
    RefuseTypedNonDigits(编辑框_转接号码);
    标签2 = Make<QLabel>(this, "标签2", {8, 47, 40, 16});
    标签2->setText(U("备注："));
    编辑框_转接备注 = Make<QLineEdit>(this, "编辑框_转接备注", {43, 45, 104, 20});
    按钮1 = Make<QPushButton>(this, "按钮1", {153, 11, 54, 33}); // wide enough for its four characters
    按钮1->setText(U("确认修改"));
    按钮2 = Make<QPushButton>(this, "按钮2", {153, 44, 54, 22});
    按钮2->setText(U("取消"));
    for (QPushButton* b : {按钮1, 按钮2}) {
        b->setAutoDefault(false);
        b->setStyleSheet(QStringLiteral("QPushButton{padding:0px;}"));
    }
    标签_ID = Make<QLabel>(this, "标签_ID", {40, 72, 96, 16});
    标签_ID->hide();
    connect(按钮1, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(按钮2, &QPushButton::clicked, this, [this] { close(); });
    PlaceNearParent(this, mainWindow);
}

void ForwardEditWindow::Confirm() {
    UpdateForwardingNumber(PortalHost(), FromQ(标签_ID->text()), FromQ(编辑框_转接号码->text()),
                           FromQ(编辑框_转接备注->text()));
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
