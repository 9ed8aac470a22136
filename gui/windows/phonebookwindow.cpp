#include "gui/windows/phonebookwindow.h"

#include "gui/base/guard.h"
#include "store/settings.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>

namespace zv {

PhoneBookWindow::PhoneBookWindow(Platform& platform, QWidget* mainWindow, const QLabel* customerName,
                                 QLineEdit* callee)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      platform_(platform), book_(Proc().phoneBookPath), callee_(callee) {
    setObjectName(QStringLiteral("PhoneBookWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(ProgramIcon());
    resize(278, 351);

    menuEdit = menuBar()->addMenu(U("编辑(&E)"));
    menuEdit->setObjectName(U("编辑(&E)"));
    auto item = [this](const char* caption, void (PhoneBookWindow::*action)()) {
        QAction* a = menuEdit->addAction(U(caption));
        a->setObjectName(U(caption));
        connect(a, &QAction::triggered, this, [this, action] { (this->*action)(); });
    };
    item("添加联系人(&A)", &PhoneBookWindow::AddContact);
    item("编辑联系人(&E)", &PhoneBookWindow::EditContact);
    item("批量导入(&S)", &PhoneBookWindow::ImportContacts);
    item("删除联系人(&D)", &PhoneBookWindow::DeleteContact);

    超级列表框_联系人 = new QTableWidget(0, 3, this);
    超级列表框_联系人->setObjectName(U("超级列表框_联系人"));
    超级列表框_联系人->setHorizontalHeaderLabels({U("姓名"), U("电话号码"), U("QQ")});
    超级列表框_联系人->setColumnWidth(0, 70);
    超级列表框_联系人->setColumnWidth(1, 90);
    超级列表框_联系人->setColumnWidth(2, 80);
    超级列表框_联系人->verticalHeader()->hide();
    超级列表框_联系人->verticalHeader()->setDefaultSectionSize(20);
    超级列表框_联系人->horizontalHeader()->setSectionsMovable(true);
    超级列表框_联系人->horizontalHeader()->setHighlightSections(false);
    超级列表框_联系人->setSelectionBehavior(QAbstractItemView::SelectRows);
    超级列表框_联系人->setSelectionMode(QAbstractItemView::ExtendedSelection);
    超级列表框_联系人->setEditTriggers(QAbstractItemView::NoEditTriggers);
    超级列表框_联系人->setShowGrid(true);
    超级列表框_联系人->setWordWrap(false);
    // Eleven digits fit the 90-pixel number column at one point smaller.
    QFont small = 超级列表框_联系人->font();
    small.setPointSizeF(small.pointSizeF() - 1);
    超级列表框_联系人->setFont(small);
    超级列表框_联系人->setStyleSheet(QStringLiteral("QTableWidget{color:rgb(0,136,255);background:white;}"));
    TipWhenElided(超级列表框_联系人);
    超级列表框_联系人->setContextMenuPolicy(Qt::CustomContextMenu);
    setCentralWidget(超级列表框_联系人);
    connect(超级列表框_联系人, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        menuEdit->popup(超级列表框_联系人->viewport()->mapToGlobal(at));
    });
    connect(超级列表框_联系人, &QTableWidget::cellDoubleClicked, this, [this] { DialSelected(); });

    PlaceNearParent(this, mainWindow);
    setWindowTitle((customerName ? customerName->text() : QString()) + U("的联系人列表"));
    ReloadContactList();
}

PhoneBookWindow::~PhoneBookWindow() = default;

void PhoneBookWindow::ReloadContactList() {
    const std::vector<Contact> contacts = book_.List();
    超级列表框_联系人->setUpdatesEnabled(false);
    超级列表框_联系人->clearContents();
    超级列表框_联系人->setRowCount(static_cast<int>(contacts.size()));
    int row = 0;
    for (const Contact& c : contacts) {
        auto* name = new QTableWidgetItem(ToQ(c.name));
        name->setData(Qt::UserRole, QByteArray(c.name.data(), static_cast<qsizetype>(c.name.size())));
        超级列表框_联系人->setItem(row, 0, name);
        超级列表框_联系人->setItem(row, 1, new QTableWidgetItem(ToQ(c.number)));
        超级列表框_联系人->setItem(row, 2, new QTableWidgetItem(ToQ(c.qq)));
        ++row;
    }
    超级列表框_联系人->setUpdatesEnabled(true);
}

Text PhoneBookWindow::StoredName(int row) const {
    const QByteArray b = 超级列表框_联系人->item(row, 0)->data(Qt::UserRole).toByteArray();
    return Text(b.constData(), static_cast<size_t>(b.size()));
}

int PhoneBookWindow::SelectedRow() const {
    int first = -1;
    for (const QModelIndex& i : 超级列表框_联系人->selectionModel()->selectedRows())
        if (first < 0 || i.row() < first) first = i.row();
    return first;
}

void PhoneBookWindow::DialSelected() {
    const int row = SelectedRow();
    if (row < 0) return;
    if (callee_) callee_->setText(超级列表框_联系人->item(row, 1)->text());
    close();
}

AddContactWindow* PhoneBookWindow::OpenAddWindow() {
    if (!add_) add_ = new AddContactWindow(platform_, this);
    return add_;
}

void PhoneBookWindow::AddContact() {
    const bool existed = add_;
    AddContactWindow* w = OpenAddWindow();
    // A window that is already there (hidden after a cancelled import, or editing) is only
    // shown; a new one opens modal.
    if (!existed) w->setWindowModality(Qt::ApplicationModal);
    w->show();
    w->raise();
    w->activateWindow();
}

void PhoneBookWindow::EditContact() {
    AddContactWindow* w = OpenAddWindow();
    w->setWindowTitle(U("编辑联系人"));
    w->按钮_导入联系人->hide();
    w->按钮_被添加->setText(U("确定修改(&E)"));
    const int row = SelectedRow();
    auto cell = [this, row](int col) {
        return row < 0 ? QString() : 超级列表框_联系人->item(row, col)->text();
    };
    w->编辑框_联系人->setText(cell(0));
    w->编辑框_号码->setText(cell(1));
    w->编辑框_QQ->setText(cell(2));
    w->show();
    w->raise();
    w->activateWindow();
    w->contactUnderEdit = row < 0 ? Text() : StoredName(row);
}

void PhoneBookWindow::ImportContacts() {
    AddContactWindow* w = OpenAddWindow();
    w->hide();
    w->ImportContacts();
}

void PhoneBookWindow::DeleteContact() {
    const int row = SelectedRow();
    if (row < 0) return;
    const Text name = StoredName(row);
    if (platform_.MessageBox(Gbk("确定要删除选择联系人吗？"), box::kYesNoButtons | box::kInformationIcon) != kYes) return;
    book_.Remove(name);
    ReloadContactList();
}

AddContactWindow::AddContactWindow(Platform& platform, PhoneBookWindow* phoneBook)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform), book_(phoneBook->book()), phoneBook_(phoneBook) {
    setObjectName(QStringLiteral("AddContactWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(U("添加联系人"));
    setWindowIcon(ProgramIcon());
    setFixedSize(184, 130);
    分组框_联系人 = Make<QGroupBox>(this, "分组框1", {0, 0, 184, 130});
    标签_联系人 = Caption(分组框_联系人, "联系人：", {8, 18, 55, 16}, "标签1");
    编辑框_联系人 = Make<QLineEdit>(分组框_联系人, "编辑框_联系人", {63, 16, 107, 22});
    标签_号码 = Caption(分组框_联系人, "电话号码：", {4, 47, 60, 16}, "标签2");
    编辑框_号码 = Make<QLineEdit>(分组框_联系人, "编辑框_号码", {63, 45, 107, 22});
    标签_QQ = Caption(分组框_联系人, "QQ号码：", {8, 77, 55, 16}, "标签3");
    编辑框_QQ = Make<QLineEdit>(分组框_联系人, "编辑框_QQ", {63, 75, 107, 22});
    for (QLineEdit* e : {编辑框_联系人, 编辑框_号码})
        e->setStyleSheet(QStringLiteral("QLineEdit{color:rgb(255,0,255);}"));
    编辑框_QQ->setStyleSheet(QStringLiteral("QLineEdit{color:black;}"));
    按钮_导入联系人 = Button(分组框_联系人, "按钮_导入联系人", "导入", {47, 102, 46, 22});
    按钮_被添加 = Button(分组框_联系人, "按钮_被添加", "确定添加(&A)", {97, 102, 74, 22});
    connect(按钮_被添加, &QPushButton::clicked, this, [this] { SaveContact(); });
    connect(按钮_导入联系人, &QPushButton::clicked, this, [this] { ImportContacts(); });
    编辑框_号码->installEventFilter(this);
    编辑框_QQ->installEventFilter(this);
    PlaceNearParent(this, phoneBook);
}

void AddContactWindow::Refresh() {
    // A phone book closed meanwhile has no list to refresh; the file is written all the same.
    if (phoneBook_) phoneBook_->ReloadContactList();
}

void AddContactWindow::SaveContact() {
    if (编辑框_联系人->text().isEmpty()) {
        platform_.MessageBox(Gbk("联系人不能为空^^"), box::kOkButton | box::kStopIcon, Gbk("添加失败："));
        return;
    }
    // The file cannot hold a name of blanks only: it would be lost without a word.
    if (编辑框_联系人->text().trimmed().isEmpty()) {
        platform_.MessageBox(Gbk("联系人不能只有空格^^"), box::kOkButton | box::kStopIcon, Gbk("添加失败："));
        return;
    }
    if (编辑框_号码->text().isEmpty()) {
        platform_.MessageBox(Gbk("号码不能为空^^"), box::kOkButton | box::kStopIcon, Gbk("添加失败："));
        return;
    }
    // An edited contact whose name still reads as it did keeps the name's bytes as stored, also
    // when they are not GBK the list could show.
    const Text name = !contactUnderEdit.empty() && 编辑框_联系人->text() == ToQ(contactUnderEdit)
                          ? contactUnderEdit
                          : FromQ(编辑框_联系人->text());
    book_.Store(name, FromQ(编辑框_号码->text()), FromQ(编辑框_QQ->text()), contactUnderEdit);
    contactUnderEdit.clear();
    Refresh();
    close();
}

void AddContactWindow::ImportContacts() {
    WindowGuard guard(this);
    Text chosen;
    if (!guard.Run([&] {
            platform_.MessageBox(Gbk("支持文本文件，格式如下：\r\n姓名=号码\r\n姓名=号码\r\n姓名=号码"),
                                 box::kOkButton | box::kInformationIcon);
        }))
        return;
    if (!guard.Run([&] { chosen = platform_.OpenFileName(this, Text(), Text()); })) return;
    if (chosen.empty()) return;
    fileName = chosen;
    book_.Import(ReadImportFile(fileName));
    Refresh();
    close();
}

bool AddContactWindow::eventFilter(QObject* watched, QEvent* e) {
    if ((watched == 编辑框_号码 || watched == 编辑框_QQ) && e->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            SaveContact();
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void AddContactWindow::closeEvent(QCloseEvent* e) {
    contactUnderEdit.clear();
    QWidget::closeEvent(e);
}

void AddContactWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    分组框_联系人->resize(width(), 分组框_联系人->height());
}

} // namespace zv
