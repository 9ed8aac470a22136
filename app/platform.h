// Every message box, file dialog, browser opening and program end goes through here,
// so tests can answer them.
#pragma once

#include "text.h"

class QWidget;

namespace zv {

// Answers of a message box.
enum MessageAnswer { kOk = 0, kCancel = 1, kAbort = 2, kRetry = 3, kIgnore = 4, kYes = 5, kNo = 6 };

class Platform {
public:
    virtual ~Platform() = default;
    // Style: buttons in the low hexadecimal digit (0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore,
    // 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel), icon bits 0x10 stop, 0x20 question,
    // 0x30 exclamation, 0x40 information. An empty title gives the caption "信息：".
    // The combinations Windows leaves undefined are shown by their most severe part:
    // 0x50 (stop + information) with the stop icon, 0x70 (exclamation + information)
    // with the exclamation icon; both are used for failure messages.
    virtual int MessageBox(const Text& text, int style, const Text& title = {}) = 0;
    virtual void OpenUrl(const Text& url) = 0;
    // A path chosen in an open-file dialog, or empty when cancelled.
    virtual Text OpenFileName(QWidget* parent, const Text& caption, const Text& filter) = 0;
    virtual void EndProgram() = 0;
    virtual bool Ending() const = 0;
};

// The real services of the desktop.
class DesktopPlatform : public Platform {
public:
    int MessageBox(const Text& text, int style, const Text& title = {}) override;
    void OpenUrl(const Text& url) override;
    Text OpenFileName(QWidget* parent, const Text& caption, const Text& filter) override;
    void EndProgram() override;
    bool Ending() const override { return ending_; }

private:
    bool ending_ = false;
};

} // namespace zv
