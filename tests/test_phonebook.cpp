#include "store/phonebook.h"
#include "store/profile.h"
#include "store/settings.h"
#include "tests/support/files.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

using namespace zv;

namespace {

class PhoneBookStore : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zvbookXXXXXX";
        dir = mkdtemp(tmpl);
        book = PhoneBook(dir + "/phonebook.dat");
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
    std::vector<std::string> Rows() {
        std::vector<std::string> out;
        for (const Contact& c : book.List()) out.push_back(c.name + "|" + c.number + "|" + c.qq);
        return out;
    }
    std::string File() { return zvtest::ReadFile(book.path()); }
    std::string dir;
    PhoneBook book{""};
};

TEST(TrimSpaces, HalfAndFullWidthBlanksAtBothEnds) {
    EXPECT_EQ(TrimSpaces("  12 3  "), "12 3");
    EXPECT_EQ(TrimSpaces("\xA1\xA1 12\xA1\xA1 "), "12");
    EXPECT_EQ(TrimSpaces("\t12\t"), "\t12\t");
    EXPECT_EQ(TrimSpaces("\xA1\xA1"), "");
    EXPECT_EQ(TrimSpaces(""), "");
}

TEST_F(PhoneBookStore, ImportFollowsTheLineAndPieceRules) {
    struct Row {
        const char* what;
        Text content;
        std::vector<std::string> rows;
    };
    const Text zhang = Gbk("张三");
    const std::vector<Row> rows = {
        {"two CR LF lines", "a=1\r\nb=2\r\n", {"a|1|", "b|2|"}},
        {"last line without CR LF", "a=1\r\nb=2", {"a|1|", "b|2|"}},
        {"bare LF makes one line of three pieces", "a=1\nb=2\n", {}},
        {"skipped lines between good ones", "a=1\r\nnoequals\r\nc=\r\nd==4\r\n\r\ne=5\r\n", {"a|1|", "e|5|"}},
        {"blanks around the number dropped", "a= 12 \r\n", {"a|12|"}},
        {"empty", "", {}},
        {"Chinese names", zhang + "=13900000000\r\n", {zhang + "|13900000000|"}},
        // 0xB5 3D: the "=" is the second byte of a character, not a delimiter.
        {"no delimiter inside a double-byte character", "x\xB5=1=2\r\n", {"x\xB5=1|2|"}},
        // The split rule drops only a trailing empty piece: these are two pieces each.
        {"a second \"=\" at the very end", "a=1=\r\nb==\r\n", {"a|1|", "b||"}},
    };
    for (const Row& r : rows) {
        unlink(book.path().c_str());
        book.Import(r.content);
        EXPECT_EQ(Rows(), r.rows) << r.what;
    }
    unlink(book.path().c_str());
    book.Import("a= 12 \r\n");
    // Written without the blanks around it, as Windows writes a value.
    EXPECT_NE(File().find("phonenumber=12\r\n"), std::string::npos);
    EXPECT_EQ(File().find("QQ"), std::string::npos) << "an imported contact got a QQ key";
}

TEST_F(PhoneBookStore, ImportKeepsAnExistingContactsPlaceAndQq) {
    book.Store("first", "1", "111");
    book.Store("Tom", "2", "222");
    book.Store("last", "3", "");
    book.Import("tom=9\r\nnew=4\r\n");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"first|1|111", "Tom|9|222", "last|3|", "new|4|"}));
}

TEST_F(PhoneBookStore, ImportContentEndsAtZeroOrEofOutsideCharacters) {
    EXPECT_EQ(ImportContent(std::string("a=1\r\n\0b=2", 10)), "a=1\r\n");
    EXPECT_EQ(ImportContent("a=1\x1A" "b=2"), "a=1");
    EXPECT_EQ(ImportContent(std::string("\0a=1", 4)), "");
    EXPECT_EQ(ImportContent("\xB5\x1A" "a"), "\xB5\x1A" "a"); // 1A as a second byte
    // Files that are not regular, unreadable or missing import nothing.
    EXPECT_EQ(ReadImportFile(dir), "");
    EXPECT_EQ(ReadImportFile(dir + "/missing.txt"), "");
    EXPECT_EQ(ReadImportFile("/dev/zero"), "");
    EXPECT_EQ(ReadImportFile(""), "");
    std::ofstream(dir + "/in.txt", std::ios::binary) << "a=1\r\n";
    EXPECT_EQ(ReadImportFile(dir + "/in.txt"), "a=1\r\n");
    // Over the size limit: nothing, and nothing written.
    {
        std::ofstream big(dir + "/big.txt", std::ios::binary);
        big.seekp(static_cast<std::streamoff>(kMaxImportFile));
        big << "x";
    }
    EXPECT_EQ(ReadImportFile(dir + "/big.txt"), "");
}

TEST_F(PhoneBookStore, StoreContactAddsRenamesAndMerges) {
    book.Store("Tom", " 1 ", "q");
    book.Store("Ann", "2", "");
    book.Store("tom", "3", "");  // same contact, its letters kept, its place kept
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Tom|3|", "Ann|2|"}));

    book.Store("Tom", "4", "x", "Tom");  // edit without renaming: in place
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Tom|4|x", "Ann|2|"}));

    book.Store("Bob", "5", "", "Tom");  // renaming moves it to the end
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Ann|2|", "Bob|5|"}));

    book.Store("Ann", "6", "y", "Bob");  // renaming onto another contact leaves one
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Ann|6|y"}));

    book.Store("ANN", "7", "", "Ann");  // a case-only rename counts as a new name
    EXPECT_EQ(Rows(), (std::vector<std::string>{"ANN|7|"}));

    book.Remove("ann");
    EXPECT_EQ(Rows(), std::vector<std::string>{});
}

TEST_F(PhoneBookStore, AHandEditedEmptySectionPutsNoBlankRow) {
    std::ofstream(book.path(), std::ios::binary) << "[]\r\nphonenumber=1\r\n[Tom]\r\nphonenumber=2\r\n";
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Tom|2|"}));
}

TEST_F(PhoneBookStore, AwkwardNamesAndNumbersStayTheirOwnContacts) {
    const std::vector<std::pair<Text, Text>> contacts = {
        {"a]b", "1"}, {"x=y", "2"}, {";c", "3"}, {"\"q\"", "\"4\""}, {"line\r\nbreak", "5\r\n[x]\r\nphonenumber=6"},
        {"[d]", "7"},
    };
    for (const auto& [n, p] : contacts) book.Store(n, p, "");
    book.Store("keep", "8", "k");
    const auto list = book.List();
    ASSERT_EQ(list.size(), contacts.size() + 1);
    EXPECT_EQ(list[0].name, "a]b");
    EXPECT_EQ(list[1].name, "x=y");
    EXPECT_EQ(list[2].name, ";c");
    EXPECT_EQ(list[3].number, "\"4\"");
    EXPECT_EQ(list[4].name, "line  break");
    EXPECT_EQ(list[4].number, "5  [x]  phonenumber=6");
    EXPECT_EQ(list[5].name, "[d]");
    EXPECT_EQ(list.back().number, "8");
    EXPECT_EQ(list.back().qq, "k");
}

} // namespace
