// Numbers handed to the client from outside: a tel: or callto: link, or "--dial NUMBER" on
// the command line, as a web browser or the desktop starts it.
#pragma once

#include "net/text.h"

namespace zv {

// What a command line asks to dial.
struct DialRequest {
    bool present = false; // a link or --dial was given
    Text given;           // the link or number as given
    Text number;          // the number for the callee box; empty when nothing can be dialled
};

// Takes the first tel: or callto: link, or the argument after "--dial", from the arguments
// after the program's own name.
DialRequest DialRequestOf(const TextList& arguments);

// The digits a link or a typed number names, or empty when it holds none: the scheme and any
// ";parameters" are dropped, so are the separators " ", "-", ".", "(" and ")". "+86" and a
// mobile number give its eleven digits, "+86" and an area code give "0" and the rest, any
// other "+" gives "00". Letters, nothing to dial, or more than 30 characters: empty.
Text DialableNumber(const Text& linkOrNumber);

} // namespace zv
