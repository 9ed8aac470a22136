#include "store/files.h"
#include "store/profile.h"
#include "store/settings.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

using namespace zv;

namespace {

unsigned Mode(const Text& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0xFFFF;
}

Text Bytes(const Text& path) {
    Text out;
    ReadRegularFile(path, out);
    return out;
}

class LocationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zvlocXXXXXX";
        root = mkdtemp(tmpl);
        // An installation under root/usr, and a portable copy in root/portable.
        EnsureFolder(root + "/usr/bin");
        EnsureFolder(root + "/usr/share/zorvane/Skins");
        WriteProfileValue(root + "/usr/share/zorvane/config.ini", "about", "ver", "2.0");
        WriteProfileValue(root + "/usr/share/zorvane/config.ini", "server", "portal", "portal.example");
        WriteProfileValue(root + "/usr/share/zorvane/config.ini", "server", "site", "site.example");
        EnsureFolder(root + "/portable");
        WriteProfileValue(root + "/portable/config.ini", "about", "ver", "1.0");
        EnsureFolder(root + "/odd/config.ini"); // a folder of that name is no settings file
    }
    void TearDown() override {
        SetProgramDir(root + "/portable");
        std::system(("rm -rf '" + root + "'").c_str());
    }
    Text root;
};

TEST_F(LocationsTest, PortableOrInstalledAndWhereEachFileGoes) {
    struct Row {
        const char* exeDir; // under root
        std::map<std::string, std::string> env;
        bool installed;
        const char *settings, *banner, *userSkins, *skins, *library;
    };
    const std::string h = "/home/u";
    const std::vector<Row> rows = {
        {"/portable", {{"HOME", h}}, false, "/portable/config.ini", "/portable/Skins/gonggao.png", "",
         "/portable/Skins/", "/portable"},
        {"/portable/", {{"HOME", h}}, false, "/portable/config.ini", "/portable/Skins/gonggao.png", "",
         "/portable/Skins/", "/portable"},
        {"/usr/bin",
         {{"HOME", h}, {"XDG_CONFIG_HOME", "/x/cfg"}, {"XDG_CACHE_HOME", "/x/cache/"}, {"XDG_DATA_HOME", "/x/data"}},
         true, "@/x/cfg/zorvane/config.ini", "@/x/cache/zorvane/gonggao.png", "@/x/data/zorvane/Skins/",
         "/usr/share/zorvane/Skins/", "/usr/lib/zorvane"},
        // Unset, empty or relative variables give the defaults under the home folder.
        {"/usr/bin", {{"HOME", h}}, true, "@/home/u/.config/zorvane/config.ini", "@/home/u/.cache/zorvane/gonggao.png",
         "@/home/u/.local/share/zorvane/Skins/", "/usr/share/zorvane/Skins/", "/usr/lib/zorvane"},
        {"/usr/bin", {{"HOME", h}, {"XDG_CONFIG_HOME", ""}, {"XDG_CACHE_HOME", "rel"}, {"XDG_DATA_HOME", "./d"}},
         true, "@/home/u/.config/zorvane/config.ini", "@/home/u/.cache/zorvane/gonggao.png",
         "@/home/u/.local/share/zorvane/Skins/", "/usr/share/zorvane/Skins/", "/usr/lib/zorvane"},
        {"/odd", {{"HOME", h}}, true, "@/home/u/.config/zorvane/config.ini", "@/home/u/.cache/zorvane/gonggao.png",
         "@/home/u/.local/share/zorvane/Skins/", "/share/zorvane/Skins/", "/lib/zorvane"},
    };
    // "@" marks a path outside the scratch root.
    auto expect = [this](const char* p) { return p[0] == '@' ? Text(p + 1) : (*p ? root + p : Text()); };
    for (const Row& r : rows) {
        const Process p = LocateFiles(root + r.exeDir, [&r](const char* name) {
            const auto it = r.env.find(name);
            return it == r.env.end() ? Text() : Text(it->second);
        });
        SCOPED_TRACE(r.exeDir);
        EXPECT_EQ(p.installed, r.installed);
        EXPECT_EQ(p.settingsPath, expect(r.settings));
        EXPECT_EQ(p.bannerPath, expect(r.banner));
        EXPECT_EQ(p.userSkinsFolder, expect(r.userSkins));
        EXPECT_EQ(p.skinsFolder, expect(r.skins));
        EXPECT_EQ(p.libraryDir, expect(r.library));
        const Text phoneBook = p.settingsPath.substr(0, p.settingsPath.rfind('/')) + "/phonebook.dat";
        EXPECT_EQ(p.phoneBookPath, phoneBook);
        const Text shipped = p.skinsFolder.substr(0, p.skinsFolder.size() - 6) + "config.ini"; // beside Skins/
        EXPECT_EQ(p.installedSettingsPath, r.installed ? shipped : p.settingsPath) << "the installation's config.ini";
    }
}

TEST_F(LocationsTest, AnInstalledClientWritesOnlyTheUsersFilesAndReadsTheInstallationsTexts) {
    const Text home = root + "/home";
    EnsureFolder(home + "/.config/zorvane", 0755); // made by hand, open to others
    ReplaceFile(home + "/.config/zorvane/phonebook.dat", "");
    ::chmod((home + "/.config/zorvane/phonebook.dat").c_str(), 0644);
    const Process p = LocateFiles(root + "/usr/bin", [&home](const char* name) {
        return Text(name) == "HOME" ? home : Text();
    });
    ASSERT_TRUE(p.installed);
    const Text installation = Bytes(p.installedSettingsPath);
    UseFiles(p);
    for (const char* folder : {"/.config/zorvane", "/.cache/zorvane", "/.local/share/zorvane/Skins"})
        EXPECT_EQ(Mode(home + folder), 0700u) << folder;
    EXPECT_EQ(Mode(p.phoneBookPath), 0600u);
    EXPECT_EQ(Mode(p.settingsPath), 0xFFFFu) << "start-up creates no settings file";

    // "about" always from the installation; "server" from the user's file when it has one.
    EXPECT_EQ(ReadSetting(keys::kVersion), "2.0");
    EXPECT_EQ(PortalHost(), "portal.example");
    WriteProfileValue(p.settingsPath, "about", "ver", "0.9");
    WriteSetting(keys::kPortalHost, "127.0.0.1:8080");
    WriteSetting(keys::kVersion, "3.0");
    WriteSetting(keys::kUser, "95013825");
    EXPECT_EQ(ReadSetting(keys::kVersion), "2.0");
    EXPECT_EQ(PortalHost(), "127.0.0.1:8080");
    EXPECT_EQ(SiteHost(), "site.example");
    EXPECT_EQ(ReadSetting(keys::kUser), "95013825");
    EXPECT_EQ(Mode(p.settingsPath), 0600u);
    EXPECT_EQ(Bytes(p.installedSettingsPath), installation) << "the installation's file is never written";

    // A skin of the user's goes before a shipped one of the same name.
    EnsureFolder(p.skinsFolder);
    ReplaceFile(p.skinsFolder + "a.she", "shipped");
    ReplaceFile(p.skinsFolder + "b.she", "shipped");
    ReplaceFile(p.userSkinsFolder + "a.she", "own");
    EXPECT_EQ(SkinPath("a.she"), p.userSkinsFolder + "a.she");
    EXPECT_EQ(SkinPath("b.she"), p.skinsFolder + "b.she");
    EXPECT_EQ(SkinPath(""), p.skinsFolder);
}

} // namespace
