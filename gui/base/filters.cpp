#include "gui/base/filters.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace zv {

namespace {

class DigitKeysOnly : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(e);
            const QString t = k->text();
            const bool shortcut = k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            if (!shortcut && !t.isEmpty() && t.at(0).isPrint()) {
                for (QChar c : t)
                    if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('-')) return true;
            }
        }
        return QObject::eventFilter(watched, e);
    }
};

} // namespace

QValidator* DigitsValidator(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9-]*")), parent);
}

void RefuseTypedNonDigits(QLineEdit* box) { box->installEventFilter(new DigitKeysOnly(box)); }

} // namespace zv
