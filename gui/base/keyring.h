// The remembered password: in the desktop's keyring (the Secret Service) under the
// application id and the account when one answers within a second, else scrambled in the
// settings file. The keyring's libraries are loaded only when a password is read or written,
// and not at all where no session bus runs.
#pragma once

#include "net/text.h"

namespace zv {

namespace keyring {
enum class Result { kDone, kNotFound, kNoKeyring };
// Whether a keyring answers; asked once, then remembered for the rest of the run (so is a
// keyring that stopped answering).
bool Available();
Result Read(const Text& account, Text& password);
Result Write(const Text& account, const Text& password);
Result Remove(const Text& account);
} // namespace keyring

// The remembered password of the account: the scramble in the settings file when it holds one
// (a file from before the keyring, or saved while none answered), else the keyring's.
Text RememberedPassword(const Text& account);
// Keeps the password of the account; previousAccount is the one remembered until now, whose
// keyring entry goes when the account changed.
void RememberPassword(const Text& account, const Text& previousAccount, const Text& password);
// Forgets the account's password in the settings file and in the keyring.
void ForgetPassword(const Text& account);

} // namespace zv
