// The settings file's keys, the process-wide paths and the remembered password's scramble.
#pragma once

#include "text.h"

#include <functional>

namespace zv {

// Process-wide values, built once at start-up.
struct Process {
    Text programDir;   // the executable's folder, without a trailing "/"
    Text settingsPath; // programDir + "/config.ini"
    Text skinsFolder;  // programDir + "/Skins/"
    int signedIn = 0;  // 1 from the first successful sign-in on
    Text phoneBookPath;    // programDir + "/phonebook.dat", set when the phone book opens
    Text contactUnderEdit; // the contact the add-contact window edits, or empty
};
Process& Proc();
void SetProgramDir(const Text& dir);

// Host names (host with optional ":port") from the installation's section "server".
Text PortalHost();
Text SiteHost();
extern const char* const kDefaultPortalHost;
extern const char* const kDefaultSiteHost;

// Settings of the program directory's config.ini, read and written one key at a time.
Text ReadSetting(const char* section, const char* key);
void WriteSetting(const char* section, const char* key, const Text& value);

// Two alphabet characters per byte, the second carrying a random key 0..5.
Text ScramblePassword(const Text& password);
Text ScramblePasswordWithKeys(const Text& password, const std::function<int()>& nextKey);
Text UnscramblePassword(const Text& scrambled);

} // namespace zv
