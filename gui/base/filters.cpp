#include "gui/base/filters.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <algorithm>

namespace zv {

namespace {

bool IsDigitOrMinus(QChar c) { return (c.isDigit() && c.unicode() < 128) || c == QLatin1Char('-'); }

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
                    if (!IsDigitOrMinus(c)) return true;
            }
        }
        if (e->type() == QEvent::InputMethod) {
            // What an input method commits is typed too: only its digits and minus signs stay.
            auto* im = static_cast<QInputMethodEvent*>(e);
            QString kept;
            for (QChar c : im->commitString())
                if (IsDigitOrMinus(c)) kept += c;
            if (kept != im->commitString()) im->setCommitString(kept, im->replacementStart(), im->replacementLength());
        }
        return QObject::eventFilter(watched, e);
    }
};

// Counts what the user types and what an input method commits; text the program sets never
// passes here. An input may make the text longer only up to the limit.
class TypingLimit : public QObject {
public:
    TypingLimit(QLineEdit* box, int limit) : QObject(box), box_(box), limit_(limit) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(e);
            const bool shortcut = k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            if (!shortcut && !k->text().isEmpty() && k->text().at(0).isPrint() && Room() < k->text().size()) return true;
        }
        if (e->type() == QEvent::InputMethod) {
            auto* im = static_cast<QInputMethodEvent*>(e);
            const qsizetype room = std::max<qsizetype>(0, Room());
            if (im->commitString().size() > room)
                im->setCommitString(im->commitString().left(room), im->replacementStart(), im->replacementLength());
        }
        return QObject::eventFilter(watched, e);
    }

private:
    // How many characters an input replacing the selection may bring.
    qsizetype Room() const {
        const qsizetype length = box_->text().size();
        return std::max<qsizetype>(limit_, length) - (length - box_->selectedText().size());
    }
    QLineEdit* box_;
    int limit_;
};

} // namespace

QValidator* DigitsValidator(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9-]*")), parent);
}

void RefuseTypedNonDigits(QLineEdit* box) { box->installEventFilter(new DigitKeysOnly(box)); }

void LimitTyping(QLineEdit* box, int limit) { box->installEventFilter(new TypingLimit(box, limit)); }

} // namespace zv
