// The settings file's sections and keys, and the names of the program's files: each spelled
// once, here.
#pragma once

namespace zv {

// A setting: its section and key. Names are matched without regard to case in the file.
struct SettingKey {
    const char* section;
    const char* key;
};

namespace keys {
// The remembered sign-in.
inline constexpr SettingKey kRemember{"phone", "selected"};
inline constexpr SettingKey kUser{"phone", "user"};
inline constexpr SettingKey kPassword{"phone", "pass"};
// The skin and its adjustments.
inline constexpr SettingKey kSkinIndex{"set", "skin"};
inline constexpr SettingKey kSkinFile{"set", "skinF"};
inline constexpr SettingKey kAero{"set", "Aero"};
inline constexpr SettingKey kHue{"set", "SD"};
inline constexpr SettingKey kSaturation{"set", "BHD"};
inline constexpr SettingKey kBrightness{"set", "LD"};
inline constexpr SettingKey kTransparency{"set", "TMD"};
// What the installation brings; never written by the program.
inline constexpr SettingKey kVersion{"about", "ver"};
inline constexpr SettingKey kNotice{"about", "about"};
inline constexpr SettingKey kPortalHost{"server", "portal"};
inline constexpr SettingKey kSiteHost{"server", "site"};
} // namespace keys

namespace names {
inline constexpr const char* kSettingsFile = "config.ini";
inline constexpr const char* kPhoneBookFile = "phonebook.dat";
inline constexpr const char* kSkinsFolder = "Skins";
inline constexpr const char* kBannerFile = "gonggao.png";
inline constexpr const char* kSkinLibrary = "Skin.so";
inline constexpr const char* kSoundModule = "zvsound.so";
} // namespace names

} // namespace zv
