#include "gui/base/widgets.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <algorithm>

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

bool ElidingLabel::elided() const {
    return fontMetrics().horizontalAdvance(text()) > contentsRect().width() - 2 * margin();
}

void ElidingLabel::paintEvent(QPaintEvent* e) {
    if (!elided()) {
        QLabel::paintEvent(e);
        return;
    }
    QPainter p(this);
    const QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&p, r, static_cast<int>(alignment()), palette(), isEnabled(),
                          fontMetrics().elidedText(text(), Qt::ElideRight, r.width()), foregroundRole());
}

bool ElidingLabel::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        if (elided())
            QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(e);
}

QRect ElidingComboBox::TextField() const {
    QStyleOptionComboBox o;
    initStyleOption(&o);
    return style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, this);
}

bool ElidingComboBox::elided() const {
    return !isEditable() && fontMetrics().horizontalAdvance(currentText()) > TextField().width();
}

void ElidingComboBox::paintEvent(QPaintEvent* e) {
    if (!elided()) {
        QComboBox::paintEvent(e);
        return;
    }
    QStylePainter p(this);
    p.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox o;
    initStyleOption(&o);
    p.drawComplexControl(QStyle::CC_ComboBox, o);
    o.currentText = fontMetrics().elidedText(o.currentText, Qt::ElideMiddle, TextField().width());
    p.drawControl(QStyle::CE_ComboBoxLabel, o);
}

bool ElidingComboBox::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        if (elided())
            QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), currentText(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QComboBox::event(e);
}

void ElidingComboBox::showPopup() {
    int widest = 0;
    for (int i = 0; i < count(); ++i) widest = std::max(widest, view()->fontMetrics().horizontalAdvance(itemText(i)));
    // Room for the item's margins and a scroll bar.
    view()->setMinimumWidth(widest + 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 24);
    QComboBox::showPopup();
}

namespace {
class ElidedTipDelegate : public QStyledItemDelegate {
public:
    explicit ElidedTipDelegate(QAbstractItemView* view) : QStyledItemDelegate(view), view_(view) {}
    // A list lays its items out as wide as their text; they are cut where the list ends.
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(p, Visible(option), index);
    }
    bool helpEvent(QHelpEvent* e, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (e->type() != QEvent::ToolTip || index.data(Qt::ToolTipRole).isValid())
            return QStyledItemDelegate::helpEvent(e, view, option, index);
        QStyleOptionViewItem o = Visible(option);
        initStyleOption(&o, index);
        const QWidget* w = o.widget ? o.widget : view;
        const QRect text = w->style()->subElementRect(QStyle::SE_ItemViewItemText, &o, w);
        // The style keeps a margin of its own on both sides of the text.
        const int margin = w->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w) + 1;
        if (o.fontMetrics.horizontalAdvance(o.text) > text.width() - 2 * margin)
            QToolTip::showText(e->globalPos(), o.text, view);
        else
            QToolTip::hideText();
        return true;
    }

private:
    QStyleOptionViewItem Visible(const QStyleOptionViewItem& option) const {
        QStyleOptionViewItem o = option;
        if (qobject_cast<QListView*>(view_)) o.rect.setRight(std::min(o.rect.right(), view_->viewport()->rect().right()));
        return o;
    }
    QAbstractItemView* view_;
};
} // namespace

void TipWhenElided(QAbstractItemView* view) {
    view->setTextElideMode(Qt::ElideRight);
    view->setItemDelegate(new ElidedTipDelegate(view));
    if (qobject_cast<QListView*>(view)) view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QLabel* ValueLabel(QWidget* parent, const char* name, const QRect& place) {
    QLabel* l = Make<ElidingLabel>(parent, name, place);
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
    int top = (screenHeight - h) / 2;
    const double x = parentLeft - (static_cast<double>(w) - parentWidth) / 2.0;
    left = x >= -1e-7 ? static_cast<int>(x) : parentLeft;
    if (x - (static_cast<double>(screenWidth) - w) > 1e-7) left = screenWidth - w;
    // A parent partly off the screen, or a child larger than the screen, would put the child
    // past an edge; its left and top edges stay on the screen.
    left = std::max(0, std::min(left, screenWidth - w));
    top = std::max(0, std::min(top, screenHeight - h));
    return {left, top};
}

namespace {
// Places the child once more when the window manager has framed it: only then is its outer
// size known, and a position it is given is that of its frame.
class PlaceWhenFramed : public QObject {
public:
    PlaceWhenFramed(QWidget* child, QWidget* parent) : QObject(child), child_(child), parent_(parent) {
        child->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if ((e->type() == QEvent::Move || e->type() == QEvent::Resize || e->type() == QEvent::Show) &&
            child_->isVisible() && child_->frameGeometry().size() != child_->size()) {
            child_->removeEventFilter(this);
            deleteLater();
            PlaceNearParent(child_, parent_);
        }
        return false;
    }

private:
    QWidget* child_;
    QPointer<QWidget> parent_;
};
} // namespace

void PlaceNearParent(QWidget* child, QWidget* parent) {
    const QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect s = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    QSize outer = child->frameGeometry().size();
    if (outer == child->size() && parent && parent->frameGeometry().size() != parent->size()) {
        // Not framed yet: taken to get the frame its parent has, and placed again once framed.
        outer += parent->frameGeometry().size() - parent->size();
        new PlaceWhenFramed(child, parent);
    }
    const QRect p = parent ? parent->frameGeometry() : QRect(s.x() + (s.width() - outer.width()) / 2, 0, outer.width(), 0);
    child->move(s.topLeft() +
                NearParentPosition(outer.width(), outer.height(), p.left() - s.x(), p.width(), s.width(), s.height()));
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
