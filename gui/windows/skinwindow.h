// The skin panel: skin list, effect switch and the four sliders.
#pragma once

#include "gui/base/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QSlider>

namespace zv {

class SkinWindow : public QWidget {
public:
    // buttonWidth: the width of the main window's picture button, for the placement.
    SkinWindow(const QPoint& mouse, int buttonWidth);

    QCheckBox* 选择框_设置窗体阴影;
    QGroupBox* 分组框_色调;
    QLabel* 标签_色调;
    QSlider* 滑块_色调;      // "SD"
    QLabel* 标签_饱和度;
    QSlider* 滑块_饱和度;    // "BHD"
    QLabel* 标签_亮度;
    QSlider* 滑块_亮度;      // "LD"
    QLabel* 标签_透明度;
    QSlider* 滑块_透明度;    // "AERO_1"
    QGroupBox* 分组框_选择皮肤;
    QComboBox* 组合框_皮肤选择;

    void SkinChosen(int index);
    void EffectClicked();
    void ColourMoved();
    void TransparencyMoved();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
};

// The "*.she" files of the shipped skins folder and then of the user's own, each in the order
// the file system gives them.
QStringList SkinFiles();

} // namespace zv
