// The settings file's sections and keys, and the names of the program's files: each spelled
// once, here.
#pragma once

namespace zv {

// Where a setting is read from: the user's file, the installation's (never written), or the
// user's file and, when it has no value, the installation's.
enum class SettingSource { kUser, kInstallation, kUserThenInstallation };

// A setting: its section and key. Names are matched without regard to case in the file.
struct SettingKey {
    const char* section;
    const char* key;
    SettingSource source = SettingSource::kUser;
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
// What the installation brings; never written by the program. An upgrade brings new "about"
// texts; a user's own "server" (a test portal) goes before the installation's.
inline constexpr SettingKey kVersion{"about", "ver", SettingSource::kInstallation};
inline constexpr SettingKey kNotice{"about", "about", SettingSource::kInstallation};
inline constexpr SettingKey kPortalHost{"server", "portal", SettingSource::kUserThenInstallation};
inline constexpr SettingKey kSiteHost{"server", "site", SettingSource::kUserThenInstallation};
} // namespace keys

namespace names {
inline constexpr const char* kSettingsFile = "config.ini";
inline constexpr const char* kPhoneBookFile = "phonebook.dat";
inline constexpr const char* kSkinsFolder = "Skins";
inline constexpr const char* kBannerFile = "gonggao.png";
inline constexpr const char* kSkinLibrary = "Skin.so";
inline constexpr const char* kSoundModule = "zvsound.so";
inline constexpr const char* kKeyringModule = "zvkeyring.so";
// The folder of the program's own files under each XDG base folder, and of its socket.
inline constexpr const char* kUserFolder = "zorvane";
// The one name of the desktop entry, the icon, the metadata and the keyring's entries.
inline constexpr const char* kApplicationId = "com.zorvane.Client";
} // namespace names

} // namespace zv
