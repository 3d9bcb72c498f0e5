#pragma once

#include <QByteArray>
#include <QByteArrayView>

// SHA-256 of a whole buffer. A journalled save hashes every file it replaces
// twice (its old and its new bytes); on a processor with the SHA extensions
// the hash runs on them, several times faster than the portable code, which
// is used everywhere else. Both give the same digest.
class Sha256
{
public:
    // The 32-byte digest.
    static QByteArray hash(QByteArrayView bytes);
    // The digest by the portable code alone.
    static QByteArray portableHash(QByteArrayView bytes);
    // Whether hash() runs on the SHA extensions here.
    static bool accelerated();
};
