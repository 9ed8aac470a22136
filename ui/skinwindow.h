// The skin panel: skin list, effect switch and the four sliders.
#pragma once

#include "widgets.h"

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
    QLabel* 标签4;
    QSlider* SD;
    QLabel* 标签2;
    QSlider* BHD;
    QLabel* 标签3;
    QSlider* LD;
    QLabel* 标签5;
    QSlider* AERO_1;
    QGroupBox* 分组框1;
    QComboBox* 组合框_皮肤选择;

    void SkinChosen(int index);
    void EffectClicked();
    void ColourMoved();
    void TransparencyMoved();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
};

// The "*.she" files of the skins folder, in the order the file system gives them.
QStringList SkinFiles();

} // namespace zv
