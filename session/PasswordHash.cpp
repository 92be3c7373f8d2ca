#include "PasswordHash.h"

#include "Errors.h"

#include <QCryptographicHash>

#include <sodium.h>

namespace {

// The cost of a new hash: libsodium's interactive settings (64 MiB, a fraction of
// a second), once per log-in and per changed password.
constexpr unsigned long long OpsLimit = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr size_t MemLimit = crypto_pwhash_MEMLIMIT_INTERACTIVE;

void initSodium()
{
    if (sodium_init() < 0)
        throw OrvellaError(QStringLiteral("Die Bibliothek für Passwörter (libsodium) lässt sich nicht starten."));
}

bool isMd5(const QString &stored)
{
    if (stored.size() != 32)
        return false;
    for (const QChar c : stored)
        if (!c.isDigit() && !(c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')))
            return false;
    return true;
}

bool isArgon2id(const QString &stored)
{
    return stored.startsWith(QLatin1String("$argon2id$")) && stored.size() < crypto_pwhash_STRBYTES;
}

} // namespace

namespace PasswordHash {

QByteArray windows1252(const QString &text)
{
    // 0x80..0x9F are the code page's own characters; the rest above 0x7F is Latin-1.
    static const char16_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
            continue;
        }
        char byte = '?';
        for (int i = 0; i < 32; ++i)
            if (high[i] == u && u != 0)
                byte = char(0x80 + i);
        out.append(byte);
    }
    return out;
}

QString md5Hex(const QString &password)
{
    return QString::fromLatin1(QCryptographicHash::hash(windows1252(password), QCryptographicHash::Md5).toHex());
}

QString make(const QString &password)
{
    initSodium();
    const QByteArray bytes = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, bytes.constData(), static_cast<unsigned long long>(bytes.size()), OpsLimit, MemLimit)
        != 0)
        throw OrvellaError(QStringLiteral("Das Passwort konnte nicht verschlüsselt werden (zu wenig Arbeitsspeicher)."));
    return QString::fromLatin1(out);
}

bool verify(const QString &password, const QString &stored)
{
    if (isMd5(stored)) {
        const QByteArray mine = md5Hex(password).toLatin1();
        const QByteArray theirs = stored.toLower().toLatin1();
        return sodium_memcmp(mine.constData(), theirs.constData(), 32) == 0;
    }
    if (!isArgon2id(stored))
        return false;
    initSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray bytes = password.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), bytes.constData(), static_cast<unsigned long long>(bytes.size()))
           == 0;
}

bool needsRehash(const QString &stored)
{
    if (!isArgon2id(stored))
        return true;
    initSodium();
    return crypto_pwhash_str_needs_rehash(stored.toLatin1().constData(), OpsLimit, MemLimit) != 0;
}

} // namespace PasswordHash
