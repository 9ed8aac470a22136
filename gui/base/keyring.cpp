#include "gui/base/keyring.h"

#include "gui/base/qtext.h"
#include "store/settings.h"

#include <cstdlib>
#include <dlfcn.h>
#include <sys/stat.h>

namespace zv {

namespace {

constexpr int kWaitMs = 1000;

struct Module {
    bool tried = false;
    bool available = false;
    int (*probe)(int) = nullptr;
    int (*read)(const char*, const char*, char**, int) = nullptr;
    int (*write)(const char*, const char*, const char*, int) = nullptr;
    int (*remove)(const char*, const char*, int) = nullptr;
    void (*release)(char*) = nullptr;
};

Module& Mod() {
    static Module m;
    return m;
}

// A session bus to ask, found without connecting: the address in the environment, or the
// user bus socket that systemd keeps in the runtime folder.
bool SessionBusNamed() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS")) return *address != '\0';
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st;
    return runtime && *runtime && ::stat((Text(runtime) + "/bus").c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

template <typename F>
bool Bind(void* lib, F& slot, const char* name) {
    slot = reinterpret_cast<F>(dlsym(lib, name));
    return slot != nullptr;
}

keyring::Result Outcome(int r) {
    if (r == 0) return keyring::Result::kDone;
    if (r == 1) return keyring::Result::kNotFound;
    // A keyring that does not answer in time is not asked again in this run.
    Mod().available = false;
    return keyring::Result::kNoKeyring;
}

} // namespace

bool keyring::Available() {
    Module& m = Mod();
    if (m.tried) return m.available;
    m.tried = true;
    if (!SessionBusNamed()) return false;
    void* lib = dlopen((Proc().libraryDir + "/" + names::kKeyringModule).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) return false;
    if (!(Bind(lib, m.probe, "zv_keyring_probe") && Bind(lib, m.read, "zv_keyring_read") &&
          Bind(lib, m.write, "zv_keyring_write") && Bind(lib, m.remove, "zv_keyring_remove") &&
          Bind(lib, m.release, "zv_keyring_free")))
        return false;
    m.available = m.probe(kWaitMs) == 1;
    return m.available;
}

keyring::Result keyring::Read(const Text& account, Text& password) {
    password.clear();
    if (!Available()) return Result::kNoKeyring;
    char* out = nullptr;
    const Result r = Outcome(Mod().read(names::kApplicationId, ToQ(account).toUtf8().constData(), &out, kWaitMs));
    if (out) {
        password = FromQ(QString::fromUtf8(out));
        Mod().release(out);
    }
    return r;
}

keyring::Result keyring::Write(const Text& account, const Text& password) {
    if (!Available()) return Result::kNoKeyring;
    return Outcome(Mod().write(names::kApplicationId, ToQ(account).toUtf8().constData(),
                               ToQ(password).toUtf8().constData(), kWaitMs));
}

keyring::Result keyring::Remove(const Text& account) {
    if (!Available()) return Result::kNoKeyring;
    return Outcome(Mod().remove(names::kApplicationId, ToQ(account).toUtf8().constData(), kWaitMs));
}

Text RememberedPassword(const Text& account) {
    const Text scrambled = ReadSetting(keys::kPassword);
    if (!scrambled.empty()) return UnscramblePassword(scrambled);
    Text password;
    if (!account.empty()) keyring::Read(account, password);
    return password;
}

void RememberPassword(const Text& account, const Text& previousAccount, const Text& password) {
    if (!account.empty() && keyring::Write(account, password) == keyring::Result::kDone) {
        WriteSetting(keys::kPassword, "");
        if (!previousAccount.empty() && previousAccount != account) keyring::Remove(previousAccount);
        return;
    }
    WriteSetting(keys::kPassword, ScramblePassword(password));
}

void ForgetPassword(const Text& account) {
    WriteSetting(keys::kPassword, "");
    if (!account.empty()) keyring::Remove(account);
}

} // namespace zv
