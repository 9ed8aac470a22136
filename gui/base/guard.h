// Handlers that wait: a request waits with the transport's event pump, a message box runs
// its own loop, so other events run meanwhile and may destroy the window whose handler
// waits. The guard tells the handler whether it may go on.
//
//     WindowGuard guard(this);
//     PortalResult result;
//     if (!guard.Run([&] { result = PlaceCallRequest(...); })) return;
#pragma once

#include <QObject>
#include <QPointer>

namespace zv {

class WindowGuard {
public:
    explicit WindowGuard(QObject* window) : window_(window) {}
    // Runs a step that lets events run; false when the window is gone afterwards.
    template <typename Step>
    [[nodiscard]] bool Run(Step&& step) {
        step();
        return alive();
    }
    bool alive() const { return !window_.isNull(); }

private:
    QPointer<QObject> window_;
};

} // namespace zv
