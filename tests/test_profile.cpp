#include "net/text.h"
#include "store/profile.h"
#include "tests/support/files.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <signal.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zv;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zvprofileXXXXXX";
        dir_ = mkdtemp(tmpl);
        path_ = dir_ + "/config.ini";
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
    void Put(const std::string& bytes) {
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    std::string Get() { return zvtest::ReadFile(path_); }
    std::string dir_, path_;
};

TEST_F(ProfileTest, ReadsByTheProfileRules) {
    Put("; comment=x\r\n"
        "[Phone]\r\n"
        "  User = 12345678  \r\n"
        "quoted=\"a b\"\r\n"
        "single='x'\r\n"
        "half=\"open\r\n"
        "eq=a=b\r\n"
        "empty=\r\n"
        "user=second\r\n"
        ";pass=commented\r\n"
        "[ set ]\r\n"
        "skinF=blue.she\r\n"
        "[a]b]\r\n"
        "k=v\r\n"
        "[phone]\r\n"
        "late=1\r\n");
    struct Row {
        Text section, key, value;
    };
    const std::vector<Row> rows = {
        {"phone", "user", "12345678"},    // names ignore case; blanks are not part of them
        {"PHONE", "USER", "12345678"},
        {"  \t phone", "\x01 user", "12345678"}, // leading bytes up to 0x20 ignored
        {"phone", "quoted", "a b"},
        {"phone", "single", "x"},
        {"phone", "half", "\"open"},
        {"phone", "eq", "a=b"},
        {"phone", "empty", ""},
        {"phone", "pass", ""},
        {"phone", "late", ""},            // only the first of duplicate sections counts
        {"set", "skinf", "blue.she"},
        {"a]b", "k", "v"},                // the name ends at the last "]"
        {"", "user", ""},
        {"phone", "", ""},
        {"missing", "user", ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ReadProfileValue(path_, r.section, r.key), r.value) << r.section << "/" << r.key;
    EXPECT_EQ(ReadProfileValue("", "phone", "user"), "");
    EXPECT_EQ(ReadProfileValue(dir_ + "/nothing.ini", "phone", "user"), "");
    EXPECT_EQ(ListProfileSections(path_), (TextList{"Phone", "set", "a]b", "phone"}));
}

TEST_F(ProfileTest, WritesChangeOnlyWhatTheyMustAndKeepEveryOtherByte) {
    const std::string original = "; keep me\n[phone]\nuser=1\n\n[other]\nx = 1 \n";
    Put(original);
    ASSERT_TRUE(WriteProfileValue(path_, "PHONE", "USER", "2"));
    EXPECT_EQ(Get(), "; keep me\n[phone]\nuser=2\n\n[other]\nx = 1 \n");
    ASSERT_TRUE(WriteProfileValue(path_, "phone", "pass", ""));
    EXPECT_EQ(Get(), "; keep me\n[phone]\nuser=2\npass=\n\n[other]\nx = 1 \n");
    ASSERT_TRUE(WriteProfileValue(path_, "set", "skin", "3"));
    EXPECT_EQ(Get(), "; keep me\n[phone]\nuser=2\npass=\n\n[other]\nx = 1 \n[set]\nskin=3\n");
    ASSERT_TRUE(DeleteProfileSection(path_, "OTHER"));
    EXPECT_EQ(Get(), "; keep me\n[phone]\nuser=2\npass=\n\n[set]\nskin=3\n");
    EXPECT_TRUE(DeleteProfileSection(path_, "none"));
    EXPECT_EQ(ReadProfileValue(path_, "set", "skin"), "3");
}

TEST_F(ProfileTest, AByteOrderMarkDoesNotHideTheFirstSection) {
    Put("\xEF\xBB\xBF[phone]\r\nuser=1\r\n");
    EXPECT_EQ(ReadProfileValue(path_, "phone", "user"), "1");
    ASSERT_TRUE(WriteProfileValue(path_, "phone", "user", "2"));
    EXPECT_EQ(Get(), "\xEF\xBB\xBF[phone]\r\nuser=2\r\n");
}

TEST_F(ProfileTest, CreatesTheFileOwnerOnlyWithWindowsLineEnds) {
    ASSERT_TRUE(WriteProfileValue(path_, "phone", "selected", "1"));
    ASSERT_TRUE(WriteProfileValue(path_, "phone", "user", "12345678"));
    EXPECT_EQ(Get(), "[phone]\r\nselected=1\r\nuser=12345678\r\n");
    struct stat st;
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(ProfileTest, AFileWithoutAFinalLineEndStaysSound) {
    Put("[a]\nk=1");
    ASSERT_TRUE(WriteProfileValue(path_, "a", "j", "2"));
    EXPECT_EQ(Get(), "[a]\nk=1\nj=2");
    ASSERT_TRUE(WriteProfileValue(path_, "b", "k", "3"));
    EXPECT_EQ(ReadProfileValue(path_, "a", "j"), "2");
    EXPECT_EQ(ReadProfileValue(path_, "b", "k"), "3");
}

TEST_F(ProfileTest, NoWriteCanInjectALineOrLoseItsValue) {
    ASSERT_TRUE(WriteProfileValue(path_, "c\r\n[evil]", "k\ny", "v\r\n[evil]\r\ny=2"));
    EXPECT_EQ(ListProfileSections(path_).size(), 1u);
    EXPECT_EQ(ReadProfileValue(path_, "evil", "y"), "");
    EXPECT_EQ(ReadProfileValue(path_, "c  [evil]", "k y"), "v  [evil]  y=2");
    // Values a read would strip of their quotes come back as written.
    for (const Text v : {"\"q\"", "'q'", "\"", "a\"b\"", ";x", "[s]", "=x"}) {
        ASSERT_TRUE(WriteProfileValue(path_, "q", "v", v));
        EXPECT_EQ(ReadProfileValue(path_, "q", "v"), v);
    }
    // Names holding the file's own punctuation stay their own sections.
    for (const Text& name : TextList{"a]b", "x=y", ";n", "\"quoted\"", Gbk("张三")})
        ASSERT_TRUE(WriteProfileValue(path_, name, "phonenumber", "1"));
    EXPECT_EQ(ReadProfileValue(path_, "x=y", "phonenumber"), "1");
    EXPECT_EQ(ReadProfileValue(path_, ";n", "phonenumber"), "1");
    EXPECT_EQ(ListProfileSections(path_).size(), 7u);
}

TEST_F(ProfileTest, LongValuesAreCutAndLongSectionListsStopAtTheBuffer) {
    ASSERT_TRUE(WriteProfileValue(path_, "s", "k", std::string(12000, 'x')));
    EXPECT_EQ(ReadProfileValue(path_, "s", "k"), std::string(10239, 'x'));
    std::vector<ProfileWrite> writes;
    const std::string name(999, 'n'); // 1000 bytes in the list with its zero
    for (int i = 0; i < 210; ++i) writes.emplace_back(name + std::to_string(i % 10) + std::to_string(i / 10 % 10) + std::to_string(i / 100), "k", "v");
    ASSERT_TRUE(WriteProfileValues(path_, writes));
    // Each name takes 1003 bytes; one zero byte ends the list.
    // "s" takes 2 bytes, each long name 1003: 1 + 2 + 204 * 1003 <= 204,800 < 1 + 2 + 205 * 1003
    EXPECT_EQ(ListProfileSections(path_).size(), 205u);
}

TEST_F(ProfileTest, EveryReadSeesTheFileAsItIsNow) {
    ASSERT_TRUE(WriteProfileValue(path_, "s", "k", "1"));
    EXPECT_EQ(ReadProfileValue(path_, "s", "k"), "1");
    Put("[s]\nk=2\n"); // changed behind the cache's back
    EXPECT_EQ(ReadProfileValue(path_, "s", "k"), "2");
    Put("[s]\nk=3\n"); // same size, rewritten in place
    EXPECT_EQ(ReadProfileValue(path_, "s", "k"), "3");
    unlink(path_.c_str());
    EXPECT_EQ(ReadProfileValue(path_, "s", "k"), "");
}

TEST_F(ProfileTest, AWriteThatRunsOutOfSpaceKeepsTheOldFile) {
    ASSERT_TRUE(WriteProfileValue(path_, "s", "k", "old"));
    const pid_t child = fork();
    if (child == 0) {
        // A file size limit stands in for a full disk.
        signal(SIGXFSZ, SIG_IGN);
        rlimit lim{64, 64};
        setrlimit(RLIMIT_FSIZE, &lim);
        _exit(WriteProfileValue(path_, "s", "k", std::string(1000, 'n')) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write claimed success";
    EXPECT_EQ(ReadProfileValue(path_, "s", "k"), "old");
    EXPECT_EQ(std::system(("test $(ls -A '" + dir_ + "' | wc -l) -eq 1").c_str()), 0)
        << "a temporary file was left behind";
}

TEST_F(ProfileTest, AProcessKilledWhileWritingNeverLeavesATornFile) {
    std::vector<ProfileWrite> seed;
    for (int i = 0; i < 200; ++i) seed.emplace_back("sec" + std::to_string(i), "k", "old" + std::to_string(i));
    ASSERT_TRUE(WriteProfileValues(path_, seed));
    for (int round = 0; round < 5; ++round) {
        const pid_t child = fork();
        if (child == 0) {
            for (long n = 0;; ++n) {
                const int i = static_cast<int>(n % 200);
                WriteProfileValue(path_, "sec" + std::to_string(i), "k",
                                  (n % 2 ? "new" : "old") + std::to_string(i));
            }
        }
        usleep(20000 + round * 7000);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const TextList sections = ListProfileSections(path_);
        ASSERT_EQ(sections.size(), 200u);
        for (int i = 0; i < 200; ++i) {
            const Text v = ReadProfileValue(path_, "sec" + std::to_string(i), "k");
            ASSERT_TRUE(v == "old" + std::to_string(i) || v == "new" + std::to_string(i)) << v;
        }
    }
}

} // namespace
