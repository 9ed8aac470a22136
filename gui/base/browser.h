// The hidden browser control: keeps an address and fetches it through WebRequest, so it
// presents the same cookies as every other request.
#pragma once

#include "net/text.h"

#include <QWidget>

namespace zv {

class BrowserControl : public QWidget {
public:
    explicit BrowserControl(QWidget* parent = nullptr);
    // Takes the address and fetches it from the event loop; never blocks the caller.
    void Navigate(const Text& url);
    // Fetches the current address again (nothing before the first Navigate).
    void Reload();
    const Text& address() const { return address_; }
    const Bytes& page() const { return page_; }
    int fetches() const { return fetches_; }

private:
    void Fetch();
    Text address_;
    Bytes page_;
    bool busy_ = false;
    bool again_ = false;
    int fetches_ = 0;
};

} // namespace zv
