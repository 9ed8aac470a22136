#include "gui/windows/loginwindow.h"

#include "gui/base/filters.h"
#include "gui/base/guard.h"
#include "gui/base/keyring.h"
#include "portal/account.h"
#include "portal/banner.h"
#include "portal/endpoints.h"
#include "store/settings.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

namespace zv {

namespace {

bool IsEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

void PumpEvents() { QCoreApplication::processEvents(); }

} // namespace

LoginWindow::LoginWindow(Platform& platform, std::function<void()> onSignedIn, std::function<bool()> signedIn)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                           Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform), onSignedIn_(std::move(onSignedIn)), signedIn_(std::move(signedIn)) {
    setObjectName(QStringLiteral("LoginWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(U("Zorvane登陆"));
    setWindowIcon(ProgramIcon());
    setFixedSize(kClientWidth, kClientHeight);
    setWindowModality(Qt::ApplicationModal);

    画板_公告 = Make<ClickLabel>(this, "画板_公告", {0, 0, 333, 65});
    画板_公告->setScaledContents(true);
    画板_公告->setCursor(Qt::PointingHandCursor);
    超级链接框_注册 = Make<ClickLabel>(this, "超级链接框1", {230, 81, 49, 16});
    超级链接框_注册->setText(U("<a href=\"#\" style=\"color:#0645ad\">注册账号</a>"));
    超级链接框_注册->setCursor(Qt::PointingHandCursor);
    标签_帐号 = Make<QLabel>(this, "标签_帐号", {69, 80, 32, 18});
    标签_帐号->setText(U("账号:"));
    编辑框_用户 = Make<QLineEdit>(this, "编辑框_用户", {101, 78, 123, 22});
    LimitTyping(编辑框_用户, 8);
    编辑框_用户->setValidator(DigitsValidator(编辑框_用户));
    标签_密码 = Make<QLabel>(this, "标签_密码", {69, 112, 32, 18});
    标签_密码->setText(U("密码:"));
    编辑框_密码 = Make<QLineEdit>(this, "编辑框_密码", {101, 109, 123, 22});
    LimitTyping(编辑框_密码, 12);
    编辑框_密码->setEchoMode(QLineEdit::Password);
    标签_验证码 = Make<QLabel>(this, "标签_验证码", {58, 142, 44, 18});
    标签_验证码->setText(U("验证码:"));
    编辑框_验证码 = Make<QLineEdit>(this, "编辑框_验证码", {101, 139, 64, 22});
    编辑框_验证码->setMaxLength(4);
    编辑框_验证码->setValidator(DigitsValidator(编辑框_验证码));
    画板_验证码 = Make<ClickLabel>(this, "画板_验证码", {170, 139, 51, 22});
    画板_验证码->setScaledContents(true);
    画板_验证码->setCursor(Qt::PointingHandCursor);
    画板_验证码->setToolTip(U("看不清？点击换一张"));
    选择框_记住密码 = Make<QCheckBox>(this, "选择框_记住密码", {224, 148, 76, 16});
    选择框_记住密码->setText(U("记住密码"));
    按钮_登录 = Make<QPushButton>(this, "按钮_登录", {202, 173, 48, 24});
    按钮_登录->setText(U("登陆"));
    按钮_登录->setAutoDefault(false);
    按钮_取消 = Make<QPushButton>(this, "按钮_取消", {80, 173, 48, 24});
    按钮_取消->setText(U("取消"));
    按钮_取消->setAutoDefault(false);
    标签_版本号 = Make<QLabel>(this, "标签_版本号", {264, 201, 65, 16});
    标签_版本号->setText(QStringLiteral("20110214001"));

    for (QWidget* w : std::initializer_list<QWidget*>{画板_公告, 超级链接框_注册, 画板_验证码, 标签_版本号})
        w->setFocusPolicy(Qt::NoFocus);
    setTabOrder(编辑框_用户, 编辑框_密码);
    setTabOrder(编辑框_密码, 编辑框_验证码);
    setTabOrder(编辑框_验证码, 选择框_记住密码);
    setTabOrder(选择框_记住密码, 按钮_登录);
    setTabOrder(按钮_登录, 按钮_取消);

    编辑框_验证码->installEventFilter(this);
    选择框_记住密码->installEventFilter(this);

    connect(按钮_登录, &QPushButton::clicked, this, [this] { SignIn(); });
    connect(按钮_取消, &QPushButton::clicked, this, [this] { close(); });
    connect(选择框_记住密码, &QCheckBox::clicked, this, [this] { RememberCredentials(); });
    connect(编辑框_密码, &QLineEdit::textChanged, this, [this] {
        if (!选择框_记住密码->isChecked()) return;
        const Text previous = ReadSetting(keys::kUser);
        const Text user = FromQ(编辑框_用户->text());
        WriteSetting(keys::kUser, user);
        RememberPassword(user, previous, FromQ(编辑框_密码->text()));
    });
    画板_公告->onRelease = [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton) platform_.OpenUrl(HttpAddress(SiteHost(), paths::kNotice));
    };
    超级链接框_注册->onRelease = [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton) platform_.OpenUrl(HttpAddress(SiteHost(), paths::kRegister));
    };
    画板_验证码->onRelease = [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton) LoadCaptcha();
    };
}

void LoginWindow::Open() {
    // Settings are read while the window opens; the password box's writes are not
    // wanted for what the file already holds.
    const QSignalBlocker quiet(编辑框_密码);
    const QSignalBlocker quietBox(选择框_记住密码);
    if (ReadSetting(keys::kRemember) == "1") {
        选择框_记住密码->setChecked(true);
        编辑框_用户->setText(ToQ(ReadSetting(keys::kUser)));
        编辑框_密码->setText(ToQ(RememberedPassword(ReadSetting(keys::kUser))));
    } else {
        编辑框_用户->setText(ToQ(ReadSetting(keys::kUser)));
    }
    QLineEdit* first = 编辑框_用户->text().isEmpty()   ? 编辑框_用户
                       : 编辑框_密码->text().isEmpty() ? 编辑框_密码
                                                       : 编辑框_验证码;
    标签_版本号->setText(ToQ(ReadSetting(keys::kVersion)));
    PumpEvents();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->availableGeometry();
        move(r.x() + (r.width() - width()) / 2, r.y() + (r.height() - height()) / 2);
    }
    show();
    raise();
    activateWindow();
    first->setFocus();
    WindowGuard guard(this);
    if (!QFile::exists(QString::fromStdString(Proc().bannerPath)) &&
        !guard.Run([] { UpdateBanner(SiteHost(), Proc().bannerPath); }))
        return;
    ShowBanner();
    if (!guard.Run(PumpEvents)) return;
    if (!guard.Run([this] { LoadCaptcha(); })) return;
    PumpEvents();
}

void LoginWindow::ShowBanner() {
    QFile f(QString::fromStdString(Proc().bannerPath));
    QPixmap pm;
    if (f.open(QIODevice::ReadOnly) && pm.loadFromData(f.readAll()))
        画板_公告->setPixmap(pm);
    else
        画板_公告->clear();
}

void LoginWindow::ShowCaptcha(const Bytes& image) {
    QPixmap pm;
    if (!image.empty() && pm.loadFromData(reinterpret_cast<const uchar*>(image.data()), static_cast<uint>(image.size())))
        画板_验证码->setPixmap(pm);
    else
        画板_验证码->clear();
}

void LoginWindow::LoadCaptcha() {
    WindowGuard guard(this);
    Bytes image;
    if (guard.Run([&] { image = FetchCaptcha(PortalHost()); })) ShowCaptcha(image);
}

void LoginWindow::SignIn() {
    WindowGuard guard(this);
    if (!guard.Run(PumpEvents)) return;
    按钮_登录->setEnabled(false);
    const Text captcha = FromQ(编辑框_验证码->text());
    const Text user = FromQ(编辑框_用户->text());
    if (captcha.size() < 4) {
        编辑框_验证码->setFocus();
        按钮_登录->setEnabled(true);
        return;
    }
    if (user.size() < 8) {
        编辑框_用户->setFocus();
        按钮_登录->setEnabled(true);
        return;
    }
    PortalResult result;
    if (!guard.Run([&] { result = PostLogin(PortalHost(), user, FromQ(编辑框_密码->text()), captcha); })) return;
    if (result.accepted()) {
        if (!guard.Run([this] {
                if (onSignedIn_) onSignedIn_();
            }))
            return;
        // Closing waits until this handler has returned.
        QTimer::singleShot(0, this, [this] { close(); });
        PumpEvents();
        return;
    }
    Bytes image;
    if (!guard.Run([&] {
            platform_.MessageBox(Gbk("登陆失败,请检查输入是否全部正确!"),
                                 box::kOkButton | box::kExclamationIcon | box::kInformationIcon, Gbk("失败"));
            image = FetchCaptchaPlain(PortalHost());
        }))
        return;
    ShowCaptcha(image);
    编辑框_验证码->clear();
    编辑框_验证码->setFocus();
    按钮_登录->setEnabled(true);
    PumpEvents();
}

void LoginWindow::RememberCredentials() {
    const Text previous = ReadSetting(keys::kUser);
    if (选择框_记住密码->isChecked()) {
        WriteSetting(keys::kRemember, "1");
        const Text user = FromQ(编辑框_用户->text());
        WriteSetting(keys::kUser, user);
        RememberPassword(user, previous, FromQ(编辑框_密码->text()));
    } else {
        // Only a password that was remembered is looked for in the keyring.
        const bool wasRemembered = ReadSetting(keys::kRemember) == "1";
        WriteSetting(keys::kRemember, "0");
        if (wasRemembered) ForgetPassword(previous);
        else WriteSetting(keys::kPassword, "");
    }
}

void LoginWindow::closeEvent(QCloseEvent* e) {
    if (closing_) {
        e->accept();
        return;
    }
    closing_ = true;
    RememberCredentials();
    e->accept();
    if (!(signedIn_ && signedIn_())) platform_.EndProgram();
}

void LoginWindow::keyPressEvent(QKeyEvent* e) {
    // Only when the window itself has the focus; Enter in the account or password box
    // reaches here too and must do nothing.
    QWidget* focus = focusWidget();
    if (IsEnter(e) && (focus == nullptr || focus == this)) {
        if (按钮_登录->isEnabled()) SignIn();
        return;
    }
    if (e->key() == Qt::Key_Escape) return; // Esc does not close this window
    QWidget::keyPressEvent(e);
}

bool LoginWindow::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && (watched == 编辑框_验证码 || watched == 选择框_记住密码)) {
        if (IsEnter(static_cast<QKeyEvent*>(e))) {
            if (按钮_登录->isEnabled()) SignIn();
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void LoginWindow::PositionChanged() {
    画板_公告->resize(width(), 画板_公告->height());
    选择框_记住密码->move(选择框_记住密码->x(), 画板_验证码->y() + 选择框_记住密码->height() - 9);
}

void LoginWindow::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    PositionChanged();
}

void LoginWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    PositionChanged();
    标签_版本号->move(标签_版本号->x(), height() - 标签_版本号->height());
}

} // namespace zv
