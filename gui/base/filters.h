// Input filters of the edit boxes.
#pragma once

class QLineEdit;
class QObject;
class QValidator;

namespace zv {

// Accepts digits and the minus sign only, typed or pasted.
QValidator* DigitsValidator(QObject* parent);

// Refuses typed characters other than digits and the minus sign; pasted text passes.
void RefuseTypedNonDigits(QLineEdit* box);

} // namespace zv
