#include "gui/base/widgets.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleFactory>

namespace zv {

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (onRelease && rect().contains(e->position().toPoint())) onRelease(e->button());
}

QLabel* Caption(QWidget* parent, const char* text, const QRect& place, const char* name) {
    QLabel* l = new QLabel(U(text), parent);
    if (name) l->setObjectName(U(name));
    l->setGeometry(place);
    return l;
}

QLabel* ValueLabel(QWidget* parent, const char* name, const QRect& place) {
    QLabel* l = Make<QLabel>(parent, name, place);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QPushButton* Button(QWidget* parent, const char* name, const char* text, const QRect& place) {
    QPushButton* b = Make<QPushButton>(parent, name, place);
    b->setText(U(text));
    b->setAutoDefault(false);
    return b;
}

QGroupBox* Group(QWidget* parent, const char* name, const char* title, const QRect& place) {
    QGroupBox* g = Make<QGroupBox>(parent, name, place);
    g->setTitle(U(title));
    return g;
}

void AddValueItems(QComboBox* box, std::initializer_list<std::pair<const char*, int>> items) {
    for (const auto& [text, value] : items) box->addItem(U(text), value);
    box->setCurrentIndex(0);
}

int SelectedValue(const QComboBox* box) { return box->currentIndex() < 0 ? -1 : box->currentData().toInt(); }

QPoint NearParentPosition(int w, int h, int parentLeft, int parentWidth, int screenWidth, int screenHeight) {
    int left = (screenWidth - w) / 2;
    const int top = (screenHeight - h) / 2;
    const double x = parentLeft - (static_cast<double>(w) - parentWidth) / 2.0;
    left = x >= -1e-7 ? static_cast<int>(x) : parentLeft;
    if (x - (static_cast<double>(screenWidth) - w) > 1e-7) left = screenWidth - w;
    return {left, top};
}

void PlaceNearParent(QWidget* child, QWidget* parent) {
    const QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect s = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const QSize size = child->frameGeometry().size();
    const QRect p = parent ? parent->frameGeometry() : QRect((s.width() - size.width()) / 2, 0, size.width(), 0);
    child->move(NearParentPosition(size.width(), size.height(), p.left(), p.width(), s.width(), s.height()));
}

namespace {
class ProgramStyle : public QProxyStyle {
public:
    ProgramStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};
} // namespace

void InstallProgramStyle() { QApplication::setStyle(new ProgramStyle); }

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(24, 110, 200));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(0.5, 0.5, size - 1, size - 1));
        p.setPen(QPen(Qt::white, size / 8.0));
        const double m = size * 0.28;
        p.drawLine(QPointF(m, m), QPointF(size - m, m));
        p.drawLine(QPointF(size - m, m), QPointF(m, size - m));
        p.drawLine(QPointF(m, size - m), QPointF(size - m, size - m));
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace zv
