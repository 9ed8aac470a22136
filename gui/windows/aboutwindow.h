// The about window: the product's name, version and notice from the installation.
#pragma once

#include "gui/base/widgets.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace zv {

class AboutWindow : public QWidget {
public:
    explicit AboutWindow(QWidget* mainWindow);
    QLabel* 标签_产品名;
    QLabel* 标签_版本;
    QLabel* 标签_版本号;
    QPushButton* 按钮_确定;
    QPlainTextEdit* 编辑框_公告;
};

} // namespace zv
