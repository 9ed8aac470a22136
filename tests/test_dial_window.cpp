#include "gui/base/keyclick.h"
#include "store/phonebook.h"
#include "tests/support/files.h"
#include "tests/support/signed_in.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>
#include <fstream>

using namespace zv;
using zvtest::SignedInTest;

namespace {

class DialTest : public SignedInTest {
protected:
    DialTab* dial() { return main->dialTab; }
    std::vector<zvdev::LoggedRequest> Calls() { return Requests("/views/contact.mvc?method=conference"); }
};

TEST_F(DialTest, PlaceCallSendsTheThreeValuesAndTellsTheOutcome) {
    dial()->编辑框_被叫号码->setText(QStringLiteral("13900001111"));
    QTest::mouseClick(dial()->按钮_拨打, Qt::LeftButton);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].body, "customerId=20460&compere=13812345678&joins=13900001111");
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, Gbk("拨打成功，请等待接听电话！"));
    EXPECT_EQ(platform.boxes[0].style, 64);
    EXPECT_EQ(platform.boxes[0].title, Gbk("成功"));
    EXPECT_EQ(portal.account().calls.size(), 1u);
    EXPECT_EQ(dial()->编辑框_被叫号码->text(), QStringLiteral("13900001111"));
    EXPECT_EQ(main->focusWidget(), dial()->编辑框_被叫号码);

    // The form's own bytes in the callee box stay inside its field.
    dial()->编辑框_被叫号码->setText(QStringLiteral("139&compere=1"));
    dial()->PlaceCall();
    EXPECT_EQ(Calls().back().body, "customerId=20460&compere=13812345678&joins=139%26compere%3D1");
    EXPECT_EQ(portal.account().calls.back().callee, "139&compere=1");

    // Refused: the failure message. Cut, or answered with bytes that are not UTF-8: the
    // portal has placed the call all the same, so the outcome is unknown, not a failure.
    struct Row {
        zvdev::Fault fault;
        const char* text;
        int style;
        const char* title;
        size_t placed;
    };
    const Row rows[] = {
        {zvdev::Fault::Refuse, "拨打失败，请检查！", 16, "", 0},
        {zvdev::Fault::Cut, "拨打结果未知，请勿重复拨打，请稍候留意来电", 48, "结果未知", 1},
        {zvdev::Fault::NotUtf8, "拨打结果未知，请勿重复拨打，请稍候留意来电", 48, "结果未知", 1},
    };
    for (const Row& r : rows) {
        const size_t calls = portal.account().calls.size();
        portal.SetFault("/views/contact.mvc", r.fault);
        platform.boxes.clear();
        dial()->PlaceCall();
        portal.ClearFaults();
        ASSERT_EQ(platform.boxes.size(), 1u) << zvdev::FaultName(r.fault);
        EXPECT_EQ(platform.boxes[0].text, Gbk(r.text)) << zvdev::FaultName(r.fault);
        EXPECT_EQ(platform.boxes[0].style, r.style) << zvdev::FaultName(r.fault);
        EXPECT_EQ(platform.boxes[0].title, Gbk(r.title)) << zvdev::FaultName(r.fault);
        EXPECT_EQ(portal.account().calls.size() - calls, r.placed) << zvdev::FaultName(r.fault);
    }
}

TEST_F(DialTest, EnterAsksFirstAndAnEmptyBoxSendsNothing) {
    QTest::mouseClick(dial()->按钮_拨打, Qt::LeftButton);
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(platform.boxes.empty());

    platform.answers = {kYes};
    QTest::keyClick(dial()->编辑框_被叫号码, Qt::Key_Return);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, Gbk("确认拨打？"));
    EXPECT_EQ(platform.boxes[0].style, 68);
    EXPECT_TRUE(Calls().empty());

    dial()->编辑框_被叫号码->setText(QStringLiteral("123"));
    platform.answers = {kNo};
    QTest::keyClick(dial()->编辑框_被叫号码, Qt::Key_Enter);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(dial()->编辑框_被叫号码->text(), QStringLiteral("123"));
    platform.answers = {kYes};
    QTest::keyClick(dial()->编辑框_被叫号码, Qt::Key_Return);
    EXPECT_EQ(Calls().size(), 1u);
}

TEST_F(DialTest, KeypadAppendsAtTheEndAndTheDeleteButtonHasTwoModes) {
    QLineEdit* box = dial()->编辑框_被叫号码;
    box->setText(QStringLiteral("12"));
    box->setCursorPosition(0);
    for (QPushButton* key : {dial()->按钮_星号, dial()->按钮_0, dial()->按钮_警号, dial()->按钮_9})
        QTest::mouseClick(key, Qt::LeftButton);
    EXPECT_EQ(box->text(), QStringLiteral("12*0#9"));
    EXPECT_EQ(box->cursorPosition(), 6);
    QTest::mouseClick(dial()->按钮_删除号码, Qt::LeftButton);
    EXPECT_EQ(box->text(), QStringLiteral("12*0#"));
    QTest::mouseClick(dial()->按钮_删除号码, Qt::RightButton);
    EXPECT_EQ(dial()->按钮_删除号码->text(), U("◎"));
    QTest::mouseClick(dial()->按钮_删除号码, Qt::LeftButton);
    EXPECT_EQ(box->text(), QString());
    QTest::mouseClick(dial()->按钮_删除号码, Qt::RightButton);
    EXPECT_EQ(dial()->按钮_删除号码->text(), U("←"));
    QTest::mouseClick(dial()->按钮_删除号码, Qt::LeftButton); // backspace on empty
    EXPECT_EQ(box->text(), QString());
    EXPECT_TRUE(Calls().empty());
}

TEST(KeyClick, TheClipIsTheStatedWave) {
    const std::string& w = KeyClickWave();
    ASSERT_EQ(w.size(), 44 + kKeyClickDataBytes);
    EXPECT_EQ(w.substr(0, 4), "RIFF");
    EXPECT_EQ(w.substr(8, 8), "WAVEfmt ");
    auto le = [&w](size_t at, int n) {
        unsigned v = 0;
        for (int i = n - 1; i >= 0; --i) v = v * 256 + static_cast<unsigned char>(w[at + i]);
        return v;
    };
    EXPECT_EQ(le(20, 2), 1u);     // PCM
    EXPECT_EQ(le(22, 2), 2u);     // channels
    EXPECT_EQ(le(24, 4), 44100u); // samples per second
    EXPECT_EQ(le(34, 2), 16u);    // bits
    EXPECT_EQ(le(40, 4), 23264u); // sample data
    PlayKeyClick();               // harmless without an audio device
}

class PhoneBookTest : public DialTest {
protected:
    PhoneBookWindow* Open() {
        QTest::mouseClick(dial()->按钮_电话簿, Qt::LeftButton);
        book = main->phoneBook();
        return book;
    }
    void Select(std::initializer_list<int> rows) {
        auto* list = book->超级列表框_联系人;
        list->clearSelection();
        for (int r : rows)
            list->selectionModel()->select(list->model()->index(r, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QString Cell(int row, int col) { return book->超级列表框_联系人->item(row, col)->text(); }
    int RowCount() { return book->超级列表框_联系人->rowCount(); }
    QPointer<PhoneBookWindow> book;
    PhoneBook Book() const { return PhoneBook(Proc().phoneBookPath); }
};

TEST_F(PhoneBookTest, OpensOnceWithTheCustomersNameAndAnEmptyList) {
    Open();
    ASSERT_TRUE(book);
    EXPECT_EQ(book->windowTitle(), U("张伟的联系人列表"));
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(book->超级列表框_联系人->horizontalHeader()->count(), 3);
    EXPECT_FALSE(book->isModal());
    Open();
    int books = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) books += w->objectName() == QStringLiteral("PhoneBookWindow");
    EXPECT_EQ(books, 1);
}

TEST_F(PhoneBookTest, DoubleClickHandsTheFirstSelectedTrimmedNumberOver) {
    Book().Store("a", "\xA1\xA1 111 ", "");
    Book().Store("b", "222", "");
    Open();
    EXPECT_EQ(Cell(0, 1), QStringLiteral("111"));
    dial()->编辑框_被叫号码->setText(QStringLiteral("999"));
    Select({1, 0});
    auto* list = book->超级列表框_联系人;
    ZV_WAIT(list->viewport()->isVisible());
    const QRect r = list->visualItemRect(list->item(1, 1));
    // Ctrl keeps the selection of both rows; the row clicked is not the first selected.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
    EXPECT_EQ(dial()->编辑框_被叫号码->text(), QStringLiteral("111"));
    ZV_WAIT(!book);
}

TEST_F(PhoneBookTest, DeleteAsksAndRemovesOnlyTheFirstSelected) {
    Book().Store("a", "1", "");
    Book().Store("b", "2", "");
    Book().Store("c", "3", "");
    Open();
    book->DeleteContact(); // nothing selected: no question
    EXPECT_TRUE(platform.boxes.empty());
    Select({2, 1});
    platform.answers = {kNo};
    book->DeleteContact();
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, Gbk("确定要删除选择联系人吗？"));
    EXPECT_EQ(platform.boxes[0].style, 68);
    EXPECT_EQ(RowCount(), 3);
    Select({2, 1});
    platform.answers = {kYes};
    book->DeleteContact();
    EXPECT_EQ(RowCount(), 2);
    EXPECT_EQ(Cell(1, 0), QStringLiteral("c"));
}

TEST_F(PhoneBookTest, AddingIsModalAndChecksNameBeforeNumber) {
    Open();
    book->AddContact();
    AddContactWindow* add = book->addWindow();
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), add);
    EXPECT_EQ(add->windowTitle(), U("添加联系人"));
    QTest::mouseClick(add->按钮_被添加, Qt::LeftButton);
    // A name of blanks only could not be stored: it is refused with a message of its own.
    add->编辑框_联系人->setText(U(" \t　"));
    QTest::keyClick(add->编辑框_联系人, Qt::Key_Return); // Enter in the name box does nothing
    QTest::keyClick(add->编辑框_号码, Qt::Key_Return);
    add->编辑框_联系人->setText(QStringLiteral(" x"));
    QTest::keyClick(add->编辑框_号码, Qt::Key_Return);
    ASSERT_EQ(platform.boxes.size(), 3u);
    EXPECT_EQ(platform.boxes[0].text, Gbk("联系人不能为空^^"));
    EXPECT_EQ(platform.boxes[0].style, 16);
    EXPECT_EQ(platform.boxes[0].title, Gbk("添加失败："));
    EXPECT_EQ(platform.boxes[1].text, Gbk("联系人不能只有空格^^"));
    EXPECT_EQ(platform.boxes[1].style, 16);
    EXPECT_EQ(platform.boxes[1].title, Gbk("添加失败："));
    EXPECT_EQ(platform.boxes[2].text, Gbk("号码不能为空^^"));
    add->编辑框_联系人->setText(U("李四"));
    add->编辑框_号码->setText(QStringLiteral("13800000000"));
    add->编辑框_QQ->setText(QStringLiteral("10001"));
    QTest::keyClick(add->编辑框_QQ, Qt::Key_Return);
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Cell(0, 0), U("李四"));
    EXPECT_EQ(Cell(0, 2), QStringLiteral("10001"));
    ZV_WAIT(book->addWindow() == nullptr);
}

TEST_F(PhoneBookTest, EditingIsNotModalRefillsAndACloseWritesNothing) {
    Book().Store("a", "1", "q1");
    Book().Store("b", "2", "q2");
    Open();
    Select({0});
    book->EditContact();
    AddContactWindow* edit = book->addWindow();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(edit->windowTitle(), U("编辑联系人"));
    EXPECT_EQ(edit->按钮_被添加->text(), U("确定修改(&E)"));
    EXPECT_TRUE(edit->按钮_导入联系人->isHidden());
    EXPECT_EQ(edit->contactUnderEdit, "a");
    Select({1});
    book->EditContact();
    EXPECT_EQ(book->addWindow(), edit);
    EXPECT_EQ(edit->编辑框_号码->text(), QStringLiteral("2"));
    EXPECT_EQ(edit->contactUnderEdit, "b");
    edit->编辑框_联系人->setText(QStringLiteral("bee"));
    edit->SaveContact();
    EXPECT_EQ(Cell(1, 0), QStringLiteral("bee"));
    EXPECT_EQ(Cell(1, 2), QStringLiteral("q2"));
    // Closed with its close box: nothing written, the next save adds.
    Select({0});
    book->EditContact();
    ZV_WAIT(book->addWindow() != nullptr);
    book->addWindow()->close();
    EXPECT_EQ(RowCount(), 2);
    book->AddContact();
    book->addWindow()->编辑框_联系人->setText(QStringLiteral("new"));
    book->addWindow()->编辑框_号码->setText(QStringLiteral("3"));
    book->addWindow()->SaveContact();
    EXPECT_EQ(RowCount(), 3);
}

TEST_F(PhoneBookTest, AContactWhoseNameIsNotGbkCanBeEditedAndDeleted) {
    // A name written by another program, in bytes that are no GBK text ("a", 0xFF, "b").
    std::ofstream(Proc().phoneBookPath, std::ios::binary)
        << "[a\xFF" "b]\r\nphonenumber=1\r\n[keep]\r\nphonenumber=2\r\n";
    Open();
    ASSERT_EQ(RowCount(), 2);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("a?b"));
    Select({0});
    book->EditContact();
    AddContactWindow* edit = book->addWindow();
    edit->编辑框_号码->setText(QStringLiteral("9"));
    edit->SaveContact();
    EXPECT_EQ(zvtest::ReadFile(Proc().phoneBookPath),
              "[a\xFF" "b]\r\nphonenumber=9\r\nQQ=\r\n[keep]\r\nphonenumber=2\r\n");
    Select({0});
    platform.answers = {kYes};
    book->DeleteContact();
    EXPECT_EQ(zvtest::ReadFile(Proc().phoneBookPath), "[keep]\r\nphonenumber=2\r\n");
}

TEST_F(PhoneBookTest, ANameTooWideForItsColumnShowsWholeInTheTooltip) {
    const QString name = U("欧阳诸葛司马上官长孙宇文");
    Book().Store(FromQ(name), "13800000001", "");
    Open();
    auto* list = book->超级列表框_联系人;
    const QPoint at = list->visualItemRect(list->item(0, 0)).center();
    QToolTip::showText(list->viewport()->mapToGlobal(at), QStringLiteral("-"));
    QHelpEvent e(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &e);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), name);
}

TEST_F(PhoneBookTest, ImportRunsHiddenAndACancelLeavesTheWindowLoaded) {
    Book().Store("old", "1", "qq");
    const std::string file = dir + "/contacts.txt";
    std::ofstream(file, std::ios::binary) << Gbk("王五=13700000000\r\nold=2\r\nbad line\r\n");
    Open();
    platform.files = {""}; // cancelled
    book->ImportContacts();
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, Gbk("支持文本文件，格式如下：\r\n姓名=号码\r\n姓名=号码\r\n姓名=号码"));
    EXPECT_EQ(platform.boxes[0].style, 64);
    AddContactWindow* hidden = book->addWindow();
    ASSERT_NE(hidden, nullptr);
    EXPECT_TRUE(hidden->isHidden());
    hidden->编辑框_联系人->setText(QStringLiteral("typed"));
    book->AddContact(); // shown again, not modal, with its contents
    EXPECT_EQ(book->addWindow(), hidden);
    EXPECT_TRUE(hidden->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(hidden->编辑框_联系人->text(), QStringLiteral("typed"));

    platform.files = {file};
    QTest::mouseClick(hidden->按钮_导入联系人, Qt::LeftButton);
    ASSERT_EQ(RowCount(), 2);
    EXPECT_EQ(Cell(0, 1), QStringLiteral("2"));
    EXPECT_EQ(Cell(0, 2), QStringLiteral("qq"));
    EXPECT_EQ(Cell(1, 0), U("王五"));
    ZV_WAIT(book->addWindow() == nullptr);
}

TEST_F(PhoneBookTest, ASaveAfterThePhoneBookClosedStillWritesTheFile) {
    Open();
    book->AddContact();
    QPointer<AddContactWindow> add = book->addWindow();
    book->close();
    ZV_WAIT(!book);
    add->编辑框_联系人->setText(QStringLiteral("late"));
    add->编辑框_号码->setText(QStringLiteral("5"));
    add->SaveContact();
    ASSERT_EQ(Book().List().size(), 1u);
    EXPECT_EQ(Book().List()[0].name, "late");
}

} // namespace
