// Input filters of the edit boxes.
#pragma once

class QLineEdit;
class QObject;
class QValidator;

namespace zv {

// Accepts digits and the minus sign only, typed or pasted.
QValidator* DigitsValidator(QObject* parent);

// Refuses characters other than digits and the minus sign that are typed or committed by an
// input method; pasted text passes.
void RefuseTypedNonDigits(QLineEdit* box);

// Limits what the user types or an input method commits to limit characters in all (pasted
// text passes, as it passes the digits filter). Text the program sets is shown whole, also
// when it is longer; typing may then shorten it but not lengthen it.
void LimitTyping(QLineEdit* box, int limit);

} // namespace zv
