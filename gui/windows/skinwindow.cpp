#include "gui/windows/skinwindow.h"

#include "gui/base/skinlib.h"
#include "store/settings.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <dirent.h>
#include <sys/stat.h>

namespace zv {

namespace {

void AddSkinFiles(const Text& folder, QStringList& out) {
    DIR* d = opendir(folder.c_str());
    if (!d) return;
    while (dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.empty() || name[0] == '.' || name.size() < 4) continue;
        const std::string ext = name.substr(name.size() - 4);
        if (LowerAscii(ext) != ".she") continue;
        struct stat st;
        if (stat((folder + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        const QString entry = QString::fromStdString(name);
        if (!out.contains(entry)) out << entry; // a user's skin of a shipped name is that one
    }
    closedir(d);
}

} // namespace

QStringList SkinFiles() {
    QStringList out;
    AddSkinFiles(Proc().skinsFolder, out);
    if (!Proc().userSkinsFolder.empty()) AddSkinFiles(Proc().userSkinsFolder, out);
    return out;
}

SkinWindow::SkinWindow(const QPoint& mouse, int buttonWidth)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SkinWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(309, 184);
    setAutoFillBackground(true);

    选择框_设置窗体阴影 = Make<QCheckBox>(this, "选择框_设置窗体阴影", {4, 7, 110, 16});
    选择框_设置窗体阴影->setText(U("设置Aero特效"));
    分组框_色调 = Make<QGroupBox>(this, "分组框_色调", {4, 29, 176, 144});
    分组框_色调->setTitle(U("色调,饱和度,亮度,透明度"));
    struct Row {
        QLabel** label;
        const char* labelName;
        const char* caption;
        QRect labelPlace;
        QSlider** slider;
        const char* sliderName;
        QRect sliderPlace;
        int max;
    };
    const Row rows[] = {
        {&标签_色调, "标签4", "色调:", {8, 25, 36, 16}, &滑块_色调, "SD", {44, 21, 125, 24}, 180},
        {&标签_饱和度, "标签2", "饱和度:", {2, 51, 42, 24}, &滑块_饱和度, "BHD", {44, 52, 125, 24}, 100},
        {&标签_亮度, "标签3", "亮度:", {8, 83, 36, 24}, &滑块_亮度, "LD", {44, 83, 125, 24}, 100},
        {&标签_透明度, "标签5", "透明度:", {2, 114, 42, 24}, &滑块_透明度, "AERO_1", {44, 114, 125, 24}, 255},
    };
    for (const Row& r : rows) {
        *r.label = Make<QLabel>(分组框_色调, r.labelName, r.labelPlace);
        (*r.label)->setText(U(r.caption));
        *r.slider = Make<QSlider>(分组框_色调, r.sliderName, r.sliderPlace, Qt::Horizontal);
        (*r.slider)->setRange(0, r.max);
        (*r.slider)->setSingleStep(1);
        (*r.slider)->setPageStep(5);
    }
    滑块_色调->setValue(90);
    滑块_饱和度->setValue(50);
    滑块_亮度->setValue(50);
    滑块_透明度->setValue(100);
    分组框_选择皮肤 = Group(this, "分组框1", "选择皮肤", {182, 29, 121, 72});
    组合框_皮肤选择 = Make<ElidingComboBox>(分组框_选择皮肤, "组合框_皮肤选择", {5, 25, 105, 22});
    组合框_皮肤选择->setEditable(true);
    组合框_皮肤选择->setInsertPolicy(QComboBox::NoInsert);

    // Opening: the list, the saved choice and positions; none of it counts as a move.
    组合框_皮肤选择->addItems(SkinFiles());
    const int saved = ReadIntSetting(keys::kSkinIndex);
    const int count = 组合框_皮肤选择->count();
    组合框_皮肤选择->setCurrentIndex(saved < 0 ? -1 : std::min(saved, count - 1));
    if (saved < 0) 组合框_皮肤选择->setEditText(QString());
    move(static_cast<int>(static_cast<double>(mouse.x()) - width() - buttonWidth), mouse.y());
    选择框_设置窗体阴影->setChecked(ReadIntSetting(keys::kAero) != 0);
    滑块_色调->setValue(ReadIntSetting(keys::kHue));
    滑块_饱和度->setValue(ReadIntSetting(keys::kSaturation));
    滑块_透明度->setValue(ReadIntSetting(keys::kTransparency));
    滑块_亮度->setValue(ReadIntSetting(keys::kBrightness));

    // Only an entry picked from the list chooses a skin; Enter in the text field does not.
    组合框_皮肤选择->lineEdit()->installEventFilter(this);
    connect(组合框_皮肤选择, &QComboBox::activated, this, [this](int i) { SkinChosen(i); });
    connect(选择框_设置窗体阴影, &QCheckBox::clicked, this, [this] { EffectClicked(); });
    for (QSlider* s : {滑块_色调, 滑块_饱和度, 滑块_亮度})
        connect(s, &QSlider::valueChanged, this, [this] { ColourMoved(); });
    connect(滑块_透明度, &QSlider::valueChanged, this, [this] { TransparencyMoved(); });
}

void SkinWindow::SkinChosen(int index) {
    if (index < 0) return;
    const Text name = FromQ(组合框_皮肤选择->itemText(index));
    WriteSetting(keys::kSkinIndex, FromNumber(index));
    WriteSetting(keys::kSkinFile, name);
    SkinAttach(SkinPath(name));
}

void SkinWindow::EffectClicked() {
    const bool on = 选择框_设置窗体阴影->isChecked();
    SkinSetAero(on ? 1 : 0);
    WriteSetting(keys::kAero, on ? "1" : "0");
    分组框_色调->setEnabled(on);
}

void SkinWindow::ColourMoved() {
    SkinAdjustHSV(滑块_色调->value(), 滑块_饱和度->value(), 滑块_亮度->value());
    WriteSetting(keys::kHue, FromNumber(滑块_色调->value()));
    WriteSetting(keys::kSaturation, FromNumber(滑块_饱和度->value()));
    WriteSetting(keys::kBrightness, FromNumber(滑块_亮度->value()));
}

void SkinWindow::TransparencyMoved() {
    SkinAdjustAero(滑块_透明度->value());
    WriteSetting(keys::kTransparency, FromNumber(滑块_透明度->value()));
}

bool SkinWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == 组合框_皮肤选择->lineEdit() && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    return QWidget::eventFilter(watched, e);
}

bool SkinWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowDeactivate) {
        close();
        return true;
    }
    return QWidget::event(e);
}

} // namespace zv
