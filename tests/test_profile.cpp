#include "net/charset.h"
#include "net/text.h"
#include "store/files.h"
#include "store/profile.h"
#include "store/settings.h"
#include "tests/support/files.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <signal.h>
#include <sstream>
#include <sys/file.h>
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
    mode_t Mode(const std::string& path) {
        struct stat st {};
        stat(path.c_str(), &st);
        return st.st_mode & 07777;
    }
    // The names in the folder besides the file itself.
    std::vector<std::string> Others() {
        std::vector<std::string> out;
        DIR* d = opendir(dir_.c_str());
        while (const dirent* e = readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != ".." && n != "config.ini") out.push_back(n);
        }
        closedir(d);
        std::sort(out.begin(), out.end());
        return out;
    }
    // The same file by another name: its reading starts afresh, as a new process's would.
    std::string Fresh() { return dir_ + "/./config.ini"; }
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

TEST_F(ProfileTest, ReadsAfterAWriteAreWhatTheNextProcessReads) {
    const Text bom = "\xEF\xBB\xBF";
    auto utf8 = [](const char* s) { return Text(s); };
    struct Read {
        Text section, key, value;
    };
    struct Row {
        const char* what;
        Text before;
        std::vector<ProfileWrite> writes;
        Text after; // the file's bytes afterwards
        std::vector<Read> reads;
        TextList sections;
    };
    const std::vector<Row> rows = {
        {"a \"[\" without \"]\" opens no section", "[a]\r\nx=1\r\n[k\r\ny=2\r\n", {{"a", "[j", "3"}},
         "[a]\r\nx=1\r\n[k\r\ny=2\r\n[j=3\r\n", {{"a", "y", "2"}, {"a", "[j", "3"}, {"a", "[k", ""}}, {"a"}},
        {"a section with an empty name is not listed", "[]\r\nk=1\r\n[ ]\r\nk=3\r\n[b]\r\nk=2\r\n", {}, "",
         {{"b", "k", "2"}}, {"b"}},
        {"a key holding \"=\" is the part before it", "", {{"s", "a=b", "v"}}, "[s]\r\na=b=v\r\n",
         {{"s", "a=b", ""}, {"s", "a", "b=v"}}, {"s"}},
        {"a key that reads as a comment", "[s]\r\n", {{"s", ";c", "v"}, {"s", "d", "w"}}, "",
         {{"s", ";c", ""}, {"s", "d", "w"}}, {"s"}},
        {"a written value loses its blanks", "", {{"s", "k", " \t x y \t"}}, "[s]\r\nk=x y\r\n", {{"s", "k", "x y"}},
         {"s"}},
        {"a file with the UTF-8 mark holds UTF-8 both ways",
         bom + utf8("[电话]\r\n姓名=张三\r\n图=\xF0\x9F\x98\x80!\r\n"), {{Gbk("电话"), Gbk("备注"), Gbk("李四")}},
         bom + utf8("[电话]\r\n姓名=张三\r\n图=\xF0\x9F\x98\x80!\r\n备注=李四\r\n"),
         {{Gbk("电话"), Gbk("姓名"), Gbk("张三")}, {Gbk("电话"), Gbk("备注"), Gbk("李四")}, {Gbk("电话"), Gbk("图"), "?!"}},
         {Gbk("电话")}},
        {"a new section in a UTF-8 file", bom + "[a]\r\n", {{Gbk("王五"), "phonenumber", "1"}},
         bom + utf8("[a]\r\n[王五]\r\nphonenumber=1\r\n"), {{Gbk("王五"), "phonenumber", "1"}}, {"a", Gbk("王五")}},
    };
    for (const Row& r : rows) {
        unlink(path_.c_str());
        if (!r.before.empty()) Put(r.before);
        ReadProfileValue(path_, "warm", "cache");
        if (!r.writes.empty()) ASSERT_TRUE(WriteProfileValues(path_, r.writes)) << r.what;
        if (!r.after.empty()) EXPECT_EQ(Get(), r.after) << r.what;
        for (const Read& read : r.reads) {
            EXPECT_EQ(ReadProfileValue(path_, read.section, read.key), read.value) << r.what << ": " << read.key;
            EXPECT_EQ(ReadProfileValue(Fresh(), read.section, read.key), read.value) << r.what << ": " << read.key;
        }
        EXPECT_EQ(ListProfileSections(path_), r.sections) << r.what;
        EXPECT_EQ(ListProfileSections(Fresh()), r.sections) << r.what;
    }
    // What GBK holds but the file's UTF-8 cannot take from it is not written.
    Put(bom + "[a]\r\n");
    EXPECT_FALSE(WriteProfileValue(path_, "a", "k", "\x81"));
    EXPECT_EQ(Get(), bom + "[a]\r\n");
}

TEST_F(ProfileTest, AWriteNeverDestroysWhatItDidNotChange) {
    const std::string original = "[about]\r\nver=1.0\r\n[server]\r\nportal=p\r\n[phone]\r\nuser=95013825\r\n";
    // Read-only: no write permission bit, for root too.
    for (mode_t mode : {0444, 0400, 0}) {
        Put(original);
        chmod(path_.c_str(), mode);
        EXPECT_FALSE(WriteProfileValue(path_, "phone", "user", "1")) << std::oct << mode;
        EXPECT_FALSE(DeleteProfileSection(path_, "about")) << std::oct << mode;
        EXPECT_EQ(Get(), original) << std::oct << mode;
        EXPECT_EQ(Mode(path_), mode);
        EXPECT_TRUE(Others().empty());
        chmod(path_.c_str(), 0600);
    }
    // A file that is there but cannot be read: the write fails rather than taking it for empty.
    // Root reads everything, so the writer runs as another user.
    Put(original);
    chmod(path_.c_str(), 0200);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(dir_.c_str(), 65534, 65534), 0);
        ASSERT_EQ(chown(path_.c_str(), 65534, 65534), 0);
    }
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        _exit(WriteProfileValue(path_, "phone", "pass", "x") ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write claimed success";
    chmod(path_.c_str(), 0600);
    EXPECT_EQ(Get(), original);
    // A directory where the file should be is not a file to write either.
    const std::string folder = dir_ + "/folder.ini";
    mkdir(folder.c_str(), 0700);
    EXPECT_FALSE(WriteProfileValue(folder, "s", "k", "v"));
}

TEST_F(ProfileTest, ASymbolicLinkIsWrittenThroughToItsTarget) {
    const std::string real = dir_ + "/real";
    mkdir(real.c_str(), 0700);
    std::ofstream(real + "/config.ini", std::ios::binary) << "[a]\nk=1\n";
    chmod((real + "/config.ini").c_str(), 0640);
    ASSERT_EQ(symlink("real/config.ini", path_.c_str()), 0);
    ASSERT_TRUE(WriteProfileValue(path_, "a", "k", "2"));
    struct stat st;
    ASSERT_EQ(lstat(path_.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(zvtest::ReadFile(real + "/config.ini"), "[a]\nk=2\n");
    EXPECT_EQ(Mode(real + "/config.ini"), 0640u);
    EXPECT_EQ(ReadProfileValue(path_, "a", "k"), "2");
    // A link to a file that is not there yet creates the target.
    const std::string book = dir_ + "/phonebook.dat";
    ASSERT_EQ(symlink("real/phonebook.dat", book.c_str()), 0);
    ASSERT_TRUE(WriteProfileValue(book, "c", "phonenumber", "1"));
    ASSERT_EQ(lstat(book.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(zvtest::ReadFile(real + "/phonebook.dat"), "[c]\r\nphonenumber=1\r\n");
}

TEST_F(ProfileTest, TheSettingsFileIsTheOwnersOnlyOnceItHoldsAPassword) {
    SetProgramDir(dir_);
    Put("[about]\r\nver=1.0\r\n");
    chmod(path_.c_str(), 0644);
    WriteSetting(keys::kRemember, "1");
    EXPECT_EQ(Mode(path_), 0644u);
    WriteSetting(keys::kPassword, ScramblePassword("secret"));
    EXPECT_EQ(Mode(path_), 0600u);
    WriteSetting(keys::kPassword, "");
    EXPECT_EQ(Mode(path_), 0600u);
    // A file that already holds one becomes the owner's at its next write.
    Put("[phone]\r\npass=9IaIbI\r\n");
    chmod(path_.c_str(), 0644);
    WriteSetting(keys::kUser, "95013825");
    EXPECT_EQ(Mode(path_), 0600u);
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
    // Rewritten by another program with the same size and the same modification time, as a
    // file system with a coarse clock shows it.
    ASSERT_TRUE(WriteProfileValue(path_, "s", "k", "4"));
    EXPECT_EQ(ReadProfileValue(path_, "s", "k"), "4");
    struct stat st;
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    {
        std::fstream f(path_, std::ios::in | std::ios::out | std::ios::binary);
        const std::string bytes = Get();
        f.seekp(static_cast<std::streamoff>(bytes.find('4')));
        f << '5';
    }
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, path_.c_str(), times, 0), 0);
    EXPECT_EQ(ReadProfileValue(path_, "s", "k"), "5");
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

TEST_F(ProfileTest, WritesKilledMidwayLeaveNoTemporaryFilesBehind) {
    std::vector<ProfileWrite> seed;
    for (int i = 0; i < 2000; ++i) seed.emplace_back("s" + std::to_string(i), "k", std::string(90, 'v'));
    ASSERT_TRUE(WriteProfileValues(path_, seed));
    ASSERT_GT(Get().size(), 200000u);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = fork();
        if (child == 0) {
            for (long n = 0;; ++n) WriteProfileValue(path_, "s" + std::to_string(n % 2000), "k", std::to_string(n));
        }
        usleep(3000 + (round % 8) * 1500);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    ASSERT_TRUE(WriteProfileValue(path_, "s0", "k", "last"));
    EXPECT_EQ(Others(), std::vector<std::string>{});
    EXPECT_EQ(ListProfileSections(path_).size(), 2000u);
}

TEST_F(ProfileTest, TheNextWriteRemovesOnlyTemporariesNoWriterHolds) {
    Put("[a]\r\nk=1\r\n");
    const std::vector<std::pair<std::string, bool>> names = {
        {"config.ini.Ab12cd", true},  // left by a killed writer
        {"config.ini.QWxz09", true},
        {"config.ini.backup", false}, // copies a person made
        {"config.ini.BACKUP", false},
        {"config.ini.Ab12c", false},
        {"config.ini.Ab-12c", false},
        {"other.ini.Ab12cd", false},  // another file's
        {"config.ini.Zz9zz9", false}, // a writer is still at it
    };
    for (const auto& [name, removed] : names) std::ofstream(dir_ + "/" + name) << "x";
    const int held = open((dir_ + "/config.ini.Zz9zz9").c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    const pid_t child = fork();
    if (child == 0) _exit(WriteProfileValue(path_, "a", "k", "2") ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    close(held);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::vector<std::string> kept;
    for (const auto& [name, removed] : names)
        if (!removed) kept.push_back(name);
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Others(), kept);
    EXPECT_EQ(ReadProfileValue(path_, "a", "k"), "2");
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
