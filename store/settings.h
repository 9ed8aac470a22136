// The process-wide paths, the settings of config.ini and the remembered password's scramble.
#pragma once

#include "net/text.h"
#include "store/names.h"

#include <functional>

namespace zv {

// The paths of the program's files, fixed at start-up. A portable copy keeps everything in
// its program directory; an installed one keeps the user's files in the XDG folders and
// only reads the installation's.
struct Process {
    Text programDir;    // the executable's folder, without a trailing "/"
    Text libraryDir;    // where the skin library and the sound module are
    Text settingsPath;  // the user's config.ini
    Text phoneBookPath; // phonebook.dat
    Text skinsFolder;   // the shipped Skins/, with the trailing "/"
    Text bannerPath;    // the login window's banner
    bool installed = false;
    Text installedSettingsPath; // the installation's config.ini: "about", "server"
    Text userSkinsFolder;       // the user's own skins, with the trailing "/"; empty when portable
    Text userFolders[3];        // the folders made for the user's files (config, cache, skins)
};
const Process& Proc();

// An environment variable's value, or empty.
using EnvLookup = std::function<Text(const char* name)>;
Text SystemEnv(const char* name);

// Portable when the executable's folder is writable and holds config.ini, else installed:
// the installation's files relative to the executable, the user's in the XDG folders.
Process LocateFiles(const Text& exeDir, const EnvLookup& env = SystemEnv);
// Everything in one folder.
Process PortableFiles(const Text& dir);
// Makes the paths the program's, and the user's folders (mode 0700) when installed; an
// installed user's files made by hand are closed to others too (0600).
void UseFiles(const Process& files);
// The portable paths of a program directory.
void SetProgramDir(const Text& dir);

// Where a skin of the list lives: the user's own skin of that name, else the shipped one.
Text SkinPath(const Text& name);

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
