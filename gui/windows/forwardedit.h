// The window that edits one forwarding number and its memo.
#pragma once

#include "gui/base/widgets.h"

#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace zv {

class ForwardEditWindow : public QWidget {
public:
    // onChanged runs once when the window closes after "确认修改".
    ForwardEditWindow(QWidget* mainWindow, std::function<void()> onChanged);
    // The number, the memo and the record id of the number being edited.
    void Fill(const Text& number, const Text& memo, const Text& id);
    void Confirm();

    QLabel* 标签_号码;
    QLineEdit* 编辑框_转接号码;
    QLabel* 标签_备注;
    QLineEdit* 编辑框_转接备注;
    QPushButton* 按钮_确认修改;
    QPushButton* 按钮_取消;
    QLabel* 标签_ID;
    bool changed = false;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    std::function<void()> onChanged_;
    bool closed_ = false;
    Text number_, memo_; // as filled in, sent back as they are unless changed
};

} // namespace zv
