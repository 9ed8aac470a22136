// The process-wide paths, the settings of config.ini and the remembered password's scramble.
#pragma once

#include "net/text.h"
#include "store/names.h"

#include <functional>

namespace zv {

// The paths of the program's files, fixed at start-up.
struct Process {
    Text programDir;    // the executable's folder, without a trailing "/"
    Text libraryDir;    // where the skin library and the sound module are
    Text settingsPath;  // config.ini
    Text phoneBookPath; // phonebook.dat
    Text skinsFolder;   // Skins/, with the trailing "/"
    Text bannerPath;    // the login window's banner, in the skins folder
};
const Process& Proc();
// Builds every path from the program directory.
void SetProgramDir(const Text& dir);

// Host names (host with optional ":port") from the installation's section "server".
Text PortalHost();
Text SiteHost();
extern const char* const kDefaultPortalHost;
extern const char* const kDefaultSiteHost;

// Settings of config.ini, read and written one key at a time.
Text ReadSetting(SettingKey key);
// The leading integer of the value, kept within the range of an int; 0 for anything else.
int ReadIntSetting(SettingKey key);
void WriteSetting(SettingKey key, const Text& value);

// Two alphabet characters per byte, the second carrying a random key 0..5.
Text ScramblePassword(const Text& password);
Text ScramblePasswordWithKeys(const Text& password, const std::function<int()>& nextKey);
Text UnscramblePassword(const Text& scrambled);

} // namespace zv
