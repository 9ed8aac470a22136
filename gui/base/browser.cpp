#include "gui/base/browser.h"

#include "gui/base/guard.h"
#include "net/webrequest.h"

#include <QTimer>

namespace zv {

BrowserControl::BrowserControl(QWidget* parent) : QWidget(parent) { hide(); }

void BrowserControl::Navigate(const Text& url) {
    address_ = url;
    QTimer::singleShot(0, this, [this] { Fetch(); });
}

void BrowserControl::Reload() {
    if (address_.empty()) return;
    QTimer::singleShot(0, this, [this] { Fetch(); });
}

void BrowserControl::Fetch() {
    // A fetch asked for while one waits runs once that one is done.
    if (busy_) {
        again_ = true;
        return;
    }
    WindowGuard guard(this);
    do {
        again_ = false;
        busy_ = true;
        const Text url = address_;
        Bytes reply;
        if (!guard.Run([&] { reply = WebRequest(url).body; })) return;
        busy_ = false;
        page_ = std::move(reply);
        ++fetches_;
    } while (again_);
}

} // namespace zv
