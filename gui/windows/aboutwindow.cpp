#include "gui/windows/aboutwindow.h"

#include "store/settings.h"

namespace zv {

AboutWindow::AboutWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window | Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                              Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("AboutWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(U("关于OstrelZorvane"));
    setFixedSize(374, 178);
    标签_产品名 = Make<QLabel>(this, "标签1", {15, 13, 120, 16});
    标签_产品名->setText(QStringLiteral("OstrelZorvane"));
    QFont bold = 标签_产品名->font();
    bold.setBold(true);
    标签_产品名->setFont(bold);
    标签_版本 = Make<QLabel>(this, "标签_版本", {15, 35, 44, 16});
    标签_版本->setText(U("版本号:"));
    标签_版本号 = Make<QLabel>(this, "标签_版本号", {59, 35, 111, 16});
    按钮_确定 = Make<QPushButton>(this, "按钮1", {307, 14, 42, 30});
    按钮_确定->setText(U("确定"));
    编辑框_公告 = Make<QPlainTextEdit>(this, "编辑框1", {15, 65, 344, 101});
    编辑框_公告->setReadOnly(true);
    编辑框_公告->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    编辑框_公告->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    编辑框_公告->setStyleSheet(QStringLiteral("QPlainTextEdit{color:black;background:white;}"));
    connect(按钮_确定, &QPushButton::clicked, this, [this] { close(); });

    PlaceNearParent(this, mainWindow);
    标签_版本号->setText(ToQ(ReadSetting(keys::kVersion)));
    编辑框_公告->setPlainText(ToQ(ReadSetting(keys::kNotice)));
}

} // namespace zv
