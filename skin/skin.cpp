// The skin library. A skin file gives the application's palette and, optionally, a style
// sheet; the adjustments tint that palette and make the top-level windows translucent.
#include "skin/skin.h"

#include "skin/skinfile.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QPalette>
#include <QPointer>
#include <QWidget>
#include <iconv.h>
#include <string>

namespace {

struct State {
    bool loaded = false;
    zvskin::SkinFile skin;
    bool aero = false;
    int hue = 0, saturation = 0, brightness = 0, alpha = 0;
};

State& S() {
    static State s;
    return s;
}

// The least opacity a window gets, however transparent it is asked to be.
constexpr double kMinOpacity = 0.45;

double Opacity() {
    const State& s = S();
    if (!s.aero) return 1.0;
    const int a = s.alpha < 0 ? 0 : (s.alpha > 255 ? 255 : s.alpha);
    return 1.0 - (1.0 - kMinOpacity) * a / 255.0;
}

void ApplyOpacity(QWidget* w) {
    if (w && w->isWindow() && w->windowType() != Qt::ToolTip && w->windowType() != Qt::Popup)
        w->setWindowOpacity(Opacity());
}

// Gives every top-level window shown later the same transparency.
class OpacityKeeper : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && o->isWidgetType()) ApplyOpacity(static_cast<QWidget*>(o));
        return false;
    }
};

OpacityKeeper* keeper = nullptr;

// The filter's code goes away with the library.
__attribute__((destructor)) void Unload() {
    if (keeper && qApp) qApp->removeEventFilter(keeper);
    delete keeper;
    keeper = nullptr;
}

void Apply() {
    if (!qApp) return;
    if (!keeper) {
        keeper = new OpacityKeeper;
        qApp->installEventFilter(keeper);
    }
    State& s = S();
    if (s.loaded) {
        const QPalette base = s.skin.palette();
        qApp->setPalette(s.aero ? zvskin::Tinted(base, s.hue, s.saturation, s.brightness) : base);
        qApp->setStyleSheet(s.skin.styleSheet);
    }
    for (QWidget* w : QApplication::topLevelWidgets()) ApplyOpacity(w);
}

std::string GbkToUtf8(const char* in) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string src(in), out(src.size() * 2 + 4, '\0');
    char* ip = src.data();
    char* op = out.data();
    size_t il = src.size(), ol = out.size();
    const size_t r = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) return {};
    out.resize(out.size() - ol);
    return out;
}

} // namespace

extern "C" int SkinH_AttachEx(const char* path, const char*) {
    if (!path) return 0;
    QFile f(QString::fromUtf8(path));
    if (!f.open(QIODevice::ReadOnly)) {
        // The client writes its texts in GBK; the file system names files in UTF-8.
        f.setFileName(QString::fromStdString(GbkToUtf8(path)));
        if (!f.open(QIODevice::ReadOnly)) return 0;
    }
    zvskin::SkinFile skin;
    if (!zvskin::ParseSkin(f.readAll().toStdString(), skin)) return 0;
    S().skin = skin;
    S().loaded = true;
    Apply();
    return 1;
}

extern "C" int SkinH_SetAero(int on) {
    S().aero = on != 0;
    Apply();
    return 1;
}

extern "C" int SkinH_AdjustHSV(int hue, int saturation, int brightness) {
    State& s = S();
    s.hue = hue;
    s.saturation = saturation;
    s.brightness = brightness;
    // A tint shows at once; switching the effect off takes it back.
    s.aero = true;
    Apply();
    return 1;
}

extern "C" int SkinH_AdjustAero(int alpha, int, int, int, int, int, int, int, int) {
    S().alpha = alpha;
    S().aero = true;
    Apply();
    return 1;
}
