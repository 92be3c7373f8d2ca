#pragma once

#include <QByteArray>
#include <QString>

// The password hashes of the user table. New and changed passwords are stored as
// libsodium's Argon2id string ("$argon2id$v=19$m=...", salted and slow to guess).
// Data sets written by older versions hold the bare MD5 of the password, 32 hex
// digits; those are still accepted and replaced at the user's next log-in.
namespace PasswordHash {

// Argon2id of the password's UTF-8 bytes. Throws OrvellaError when the hash
// cannot be made (not enough memory).
QString make(const QString &password);
// True when the password matches the stored hash, in either form.
bool verify(const QString &password, const QString &stored);
// True for an MD5 hash and for an Argon2id hash made with weaker settings than
// the current ones: the next successful log-in writes a new one.
bool needsRehash(const QString &stored);

// The older form: MD5 of the password's Windows-1252 bytes as 32 lowercase hex digits.
QString md5Hex(const QString &password);
// The text in the Windows-1252 code page; characters it lacks become "?".
QByteArray windows1252(const QString &text);

} // namespace PasswordHash
