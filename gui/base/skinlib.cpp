#include "gui/base/skinlib.h"

#include "store/settings.h"

#include <dlfcn.h>

namespace zv {

namespace {

struct Library {
    bool tried = false;
    void* handle = nullptr;
    void* attach = nullptr;
    void* setAero = nullptr;
    void* adjustHsv = nullptr;
    void* adjustAero = nullptr;
    bool boundAttach = false, boundSetAero = false, boundHsv = false, boundAero = false;
};

Library& Lib() {
    static Library lib;
    return lib;
}

void* Bind(void*& slot, bool& bound, const char* name) {
    Library& lib = Lib();
    if (!lib.tried) {
        lib.tried = true;
        lib.handle = dlopen(SkinLibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    if (!bound) {
        bound = true;
        slot = lib.handle ? dlsym(lib.handle, name) : nullptr;
    }
    return slot;
}

} // namespace

Text SkinLibraryPath() { return Proc().libraryDir + "/" + names::kSkinLibrary; }

void UnloadSkinLibrary() {
    Library& lib = Lib();
    if (lib.handle) dlclose(lib.handle);
    lib = Library{};
}

void SkinAttach(const Text& path) {
    Library& l = Lib();
    if (auto f = reinterpret_cast<int (*)(const char*, const char*)>(Bind(l.attach, l.boundAttach, "SkinH_AttachEx")))
        f(path.c_str(), nullptr);
}

void SkinSetAero(int on) {
    Library& l = Lib();
    if (auto f = reinterpret_cast<int (*)(int)>(Bind(l.setAero, l.boundSetAero, "SkinH_SetAero"))) f(on);
}

void SkinAdjustHSV(int hue, int saturation, int brightness) {
    Library& l = Lib();
    if (auto f = reinterpret_cast<int (*)(int, int, int)>(Bind(l.adjustHsv, l.boundHsv, "SkinH_AdjustHSV")))
        f(hue, saturation, brightness);
}

void SkinAdjustAero(int alpha) {
    Library& l = Lib();
    if (auto f = reinterpret_cast<int (*)(int, int, int, int, int, int, int, int, int)>(
            Bind(l.adjustAero, l.boundAero, "SkinH_AdjustAero")))
        f(alpha, 0, 0, 0, 0, 0, 0, 0, 0);
}

void ApplySavedSkin() {
    SkinAttach(SkinPath(ReadSetting(keys::kSkinFile)));
    if (ReadIntSetting(keys::kAero) == 1) {
        SkinSetAero(1);
        SkinAdjustHSV(ReadIntSetting(keys::kHue), ReadIntSetting(keys::kSaturation), ReadIntSetting(keys::kBrightness));
        SkinAdjustAero(ReadIntSetting(keys::kTransparency));
    }
}

} // namespace zv
