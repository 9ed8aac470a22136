#include "gui/base/platform.h"

#include "gui/base/qtext.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace zv {

namespace {

QMessageBox::Icon IconOf(int style) {
    switch (style & box::kIconMask) {
    case box::kStopIcon: return QMessageBox::Critical;
    case box::kQuestionIcon: return QMessageBox::Question;
    case box::kExclamationIcon: return QMessageBox::Warning;
    case box::kInformationIcon: return QMessageBox::Information;
    case box::kStopIcon | box::kInformationIcon: return QMessageBox::Critical;
    case box::kQuestionIcon | box::kInformationIcon: return QMessageBox::Question;
    case box::kExclamationIcon | box::kInformationIcon: return QMessageBox::Warning;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

int DesktopPlatform::MessageBox(const Text& text, int style, const Text& title) {
    if (ending_) return kCancel;
    QMessageBox box(IconOf(style), title.empty() ? U("信息：") : ToQ(title), ToQ(text));
    box.setWindowModality(Qt::ApplicationModal);
    struct Button {
        const char* caption;
        int answer;
    };
    std::vector<Button> buttons;
    switch (style & box::kButtonsMask) {
    case box::kOkCancelButtons: buttons = {{"确定", kOk}, {"取消", kCancel}}; break;
    case box::kAbortRetryIgnoreButtons: buttons = {{"中止(&A)", kAbort}, {"重试(&R)", kRetry}, {"忽略(&I)", kIgnore}}; break;
    case box::kYesNoCancelButtons: buttons = {{"是(&Y)", kYes}, {"否(&N)", kNo}, {"取消", kCancel}}; break;
    case box::kYesNoButtons: buttons = {{"是(&Y)", kYes}, {"否(&N)", kNo}}; break;
    case box::kRetryCancelButtons: buttons = {{"重试(&R)", kRetry}, {"取消", kCancel}}; break;
    default: buttons = {{"确定", kOk}}; break;
    }
    std::vector<std::pair<QAbstractButton*, int>> made;
    for (const Button& b : buttons) {
        const auto role = (b.answer == kCancel || b.answer == kNo) ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
        made.emplace_back(box.addButton(U(b.caption), role), b.answer);
    }
    box.setDefaultButton(static_cast<QPushButton*>(made.front().first));
    if (made.size() == 1 || buttons.back().answer == kCancel) box.setEscapeButton(made.back().first);
    box.exec();
    for (const auto& [button, answer] : made)
        if (box.clickedButton() == button) return answer;
    return made.size() == 1 ? kOk : kCancel;
}

void DesktopPlatform::OpenUrl(const Text& url) { QDesktopServices::openUrl(QUrl(ToQ(url))); }

Text DesktopPlatform::OpenFileName(QWidget* parent, const Text& caption, const Text& filter) {
    const QString path = QFileDialog::getOpenFileName(parent, ToQ(caption), QString(), ToQ(filter));
    // Paths on this system are UTF-8 bytes; the store opens them as given.
    return path.toUtf8().toStdString();
}

void DesktopPlatform::EndProgram() {
    ending_ = true;
    QCoreApplication::exit(0);
}

} // namespace zv
