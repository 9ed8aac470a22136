// Small building blocks shared by the windows.
#pragma once

#include "qtext.h"
#include "text.h"

#include <QLabel>
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

// An invisible control that holds a Text (a fetched page).
class TextHolder : public QWidget {
public:
    explicit TextHolder(QWidget* parent = nullptr) : QWidget(parent) { hide(); }
    Text text;
};

// Places a child (already sized) centred on the screen, then moves its left edge
// relative to the parent's; the top stays centred.
QPoint NearParentPosition(int childWidth, int childHeight, int parentLeft, int parentWidth, int screenWidth,
                          int screenHeight);
void PlaceNearParent(QWidget* child, QWidget* parent);

// The program's style: Fusion, with password boxes masked by "*".
void InstallProgramStyle();

// The icon of the program, drawn rather than shipped.
QIcon ProgramIcon();

} // namespace zv
