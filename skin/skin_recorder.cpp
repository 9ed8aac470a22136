// A stand-in skin library for tests: appends each call, with its arguments, to the file
// named by ZORVANE_SKIN_LOG.
#include "skin/skin.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {
void Record(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Record(const char* format, ...) {
    const char* path = std::getenv("ZORVANE_SKIN_LOG");
    if (!path) return;
    FILE* f = std::fopen(path, "a");
    if (!f) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(f, format, args);
    va_end(args);
    std::fputc('\n', f);
    std::fclose(f);
}
} // namespace

extern "C" int SkinH_AttachEx(const char* path, const char* second) {
    Record("AttachEx(%s,%s)", path ? path : "(null)", second ? second : "(null)");
    return 1;
}
extern "C" int SkinH_SetAero(int on) {
    Record("SetAero(%d)", on);
    return 1;
}
extern "C" int SkinH_AdjustHSV(int h, int s, int l) {
    Record("AdjustHSV(%d,%d,%d)", h, s, l);
    return 1;
}
extern "C" int SkinH_AdjustAero(int a, int b, int c, int d, int e, int f, int g, int h, int i) {
    Record("AdjustAero(%d,%d,%d,%d,%d,%d,%d,%d,%d)", a, b, c, d, e, f, g, h, i);
    return 1;
}
