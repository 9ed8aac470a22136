// The phone book window and the add-contact window.
#pragma once

#include "gui/base/platform.h"
#include "gui/base/widgets.h"
#include "store/phonebook.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>

namespace zv {

class AddContactWindow;

class PhoneBookWindow : public QMainWindow {
public:
    // mainWindow: where it is placed; customerName: the label that gives the caption;
    // callee: the box a double-click writes the number into.
    PhoneBookWindow(Platform& platform, QWidget* mainWindow, const QLabel* customerName, QLineEdit* callee);
    const PhoneBook& book() const { return book_; }
    ~PhoneBookWindow() override;

    void ReloadContactList();
    void AddContact();
    void EditContact();
    void ImportContacts();
    void DeleteContact();
    void DialSelected();
    // The first selected row in list order, or -1.
    int SelectedRow() const;
    // The contact's name as the file holds it, whatever the list can show of it.
    Text StoredName(int row) const;
    AddContactWindow* addWindow() const { return add_; }

    QMenu* menuEdit;
    QTableWidget* 超级列表框_联系人;

private:
    AddContactWindow* OpenAddWindow();
    Platform& platform_;
    PhoneBook book_;
    QPointer<QLineEdit> callee_;
    QPointer<AddContactWindow> add_;
};

class AddContactWindow : public QWidget {
public:
    AddContactWindow(Platform& platform, PhoneBookWindow* phoneBook);
    void SaveContact();
    void ImportContacts();

    QGroupBox* 分组框_联系人;
    QLabel* 标签_联系人;
    QLineEdit* 编辑框_联系人;
    QLabel* 标签_号码;
    QLineEdit* 编辑框_号码;
    QLabel* 标签_QQ;
    QLineEdit* 编辑框_QQ;
    QPushButton* 按钮_导入联系人;
    QPushButton* 按钮_被添加;
    Text fileName;         // the import dialog's file name, kept across a cancel
    Text contactUnderEdit; // the stored name of the contact being edited; empty when adding

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void Refresh();
    Platform& platform_;
    PhoneBook book_;
    QPointer<PhoneBookWindow> phoneBook_;
};

} // namespace zv
