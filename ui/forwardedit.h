// The window that edits one forwarding number and its memo.
#pragma once

#include "platform.h"
#include "widgets.h"

#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace zv {

class ForwardEditWindow : public QWidget {
public:
    // onChanged runs once when the window closes after "确认修改".
    ForwardEditWindow(QWidget* mainWindow, std::function<void()> onChanged);
    void Confirm();

    QLabel* 标签1;
    QLineEdit* 编辑框_转接号码;
    QLabel* 标签2;
    QLineEdit* 编辑框_转接备注;
    QPushButton* 按钮1;
    QPushButton* 按钮2;
    QLabel* 标签_ID;
    bool changed = false;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    std::function<void()> onChanged_;
    bool closed_ = false;
};

// Refuses typed characters other than digits and the minus sign; pasted text passes.
void RefuseTypedNonDigits(QLineEdit* box);

} // namespace zv
