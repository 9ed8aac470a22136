// The login window: account, password, captcha, the remembered sign-in, banner and links.
#pragma once

#include "gui/base/platform.h"
#include "gui/base/widgets.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace zv {

class LoginWindow : public QWidget {
public:
    // onSignedIn runs after a successful sign-in, before the window closes: it fills the
    // main window and unlocks it. signedIn tells, when the window closes, whether any sign-in
    // succeeded in this run; without one, closing ends the program.
    LoginWindow(Platform& platform, std::function<void()> onSignedIn, std::function<bool()> signedIn);

    // The opening steps: settings, focus, version, banner, captcha. Shows the window.
    void Open();
    void SignIn();
    void LoadCaptcha();
    void RememberCredentials();

    ClickLabel* 画板_公告;
    ClickLabel* 超级链接框_注册;
    QLabel* 标签_帐号;
    QLineEdit* 编辑框_用户;
    QLabel* 标签_密码;
    QLineEdit* 编辑框_密码;
    QLabel* 标签_验证码;
    QLineEdit* 编辑框_验证码;
    ClickLabel* 画板_验证码;
    QCheckBox* 选择框_记住密码;
    QPushButton* 按钮_登录;
    QPushButton* 按钮_取消;
    QLabel* 标签_版本号;

    static constexpr int kClientWidth = 333;
    static constexpr int kClientHeight = 219;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void ShowCaptcha(const Bytes& image);
    void ShowBanner();
    void PositionChanged();
    Platform& platform_;
    std::function<void()> onSignedIn_;
    std::function<bool()> signedIn_;
    bool closing_ = false;
};

} // namespace zv
