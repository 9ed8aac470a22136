// Every message box, file dialog, browser opening and program end goes through here,
// so tests can answer them.
#pragma once

#include "net/text.h"

class QWidget;

namespace zv {

// Answers of a message box.
enum MessageAnswer { kOk = 0, kCancel = 1, kAbort = 2, kRetry = 3, kIgnore = 4, kYes = 5, kNo = 6 };

// Message box styles, composed as Windows composes them: a button set in the low hexadecimal
// digit, plus icon bits.
namespace box {
inline constexpr int kOkButton = 0x00;
inline constexpr int kOkCancelButtons = 0x01;
inline constexpr int kAbortRetryIgnoreButtons = 0x02;
inline constexpr int kYesNoCancelButtons = 0x03;
inline constexpr int kYesNoButtons = 0x04;
inline constexpr int kRetryCancelButtons = 0x05;
inline constexpr int kButtonsMask = 0x0F;
inline constexpr int kStopIcon = 0x10;
inline constexpr int kQuestionIcon = 0x20;
inline constexpr int kExclamationIcon = 0x30;
inline constexpr int kInformationIcon = 0x40;
inline constexpr int kIconMask = 0xF0;
} // namespace box

class Platform {
public:
    virtual ~Platform() = default;
    // Style: one button set and icon bits of namespace box. An empty title gives the caption
    // "信息：". The combinations Windows leaves undefined are shown by their most severe part:
    // stop + information with the stop icon, question + information with the question icon,
    // exclamation + information with the exclamation icon.
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
