// Small building blocks shared by the windows.
#pragma once

#include "gui/base/qtext.h"
#include "net/text.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QWidget>
#include <functional>

namespace zv {

// Creates a named child at a fixed place; the object name is the control's name.
template <typename T, typename... Args>
T* Make(QWidget* parent, const char* name, const QRect& place, Args&&... args) {
    T* w = new T(std::forward<Args>(args)..., parent);
    w->setObjectName(U(name));
    w->setGeometry(place);
    return w;
}

// A label (canvas, picture, link) that reports the mouse button released over it.
class ClickLabel : public QLabel {
public:
    explicit ClickLabel(QWidget* parent = nullptr) : QLabel(parent) {}
    std::function<void(Qt::MouseButton)> onRelease;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// A label for text the program puts there: the text fits, or it is shown cut at the right
// with "…" and the whole of it in the tooltip. text() stays the whole text.
class ElidingLabel : public QLabel {
public:
    explicit ElidingLabel(QWidget* parent = nullptr) : QLabel(parent) {}
    bool elided() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;
};

// A drop-down list whose current text fits, or is shown cut in the middle (so the items
// "zrv_SetBotherVox1.pcm" to "…4.pcm" stay told apart) with the whole text in the tooltip;
// its open list is as wide as its widest item.
class ElidingComboBox : public QComboBox {
public:
    explicit ElidingComboBox(QWidget* parent = nullptr) : QComboBox(parent) {}
    bool elided() const;
    void showPopup() override;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;

private:
    QRect TextField() const;
};

// Items of a list or table whose text is cut at the right (as item views cut it) show the
// whole text in their tooltip.
void TipWhenElided(QAbstractItemView* view);

// The kinds of control the layouts are made of, each at its fixed place. A caption is a
// label whose text is fixed; a value label shows text the program puts there, never markup,
// and is an ElidingLabel. A drop-down list is an ElidingComboBox.
QLabel* Caption(QWidget* parent, const char* text, const QRect& place, const char* name = nullptr);
QLabel* ValueLabel(QWidget* parent, const char* name, const QRect& place);
QPushButton* Button(QWidget* parent, const char* name, const char* text, const QRect& place);
QGroupBox* Group(QWidget* parent, const char* name, const char* title, const QRect& place);
// A drop-down list whose items carry integer values; the first is selected.
void AddValueItems(QComboBox* box, std::initializer_list<std::pair<const char*, int>> items);
// The selected item's value, or -1 with nothing selected.
int SelectedValue(const QComboBox* box);

// Places a child (already sized) centred on the screen, then moves its left edge
// relative to the parent's; the top stays centred. Never past an edge of the screen.
QPoint NearParentPosition(int childWidth, int childHeight, int parentLeft, int parentWidth, int screenWidth,
                          int screenHeight);
// The same by the windows' outer sizes, frames included; a child not shown yet is taken to
// get the frame its parent has.
void PlaceNearParent(QWidget* child, QWidget* parent);

// The program's style: Fusion, with password boxes masked by "*".
void InstallProgramStyle();

// The icon of the program, drawn rather than shipped.
QIcon ProgramIcon();

} // namespace zv
