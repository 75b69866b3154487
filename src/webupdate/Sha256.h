#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

class QCryptographicHash;

// The SHA-256 of data given in pieces. Uses OpenSSL's libcrypto, opened on first use as libcurl is
// (it hashes with the processor's SHA instructions, some twenty times faster than Qt's own code),
// and Qt's QCryptographicHash where libcrypto cannot be opened.
class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void AddData(QByteArrayView data);
    // The digest in lower-case hexadecimal. Ends the hashing: call once.
    QByteArray HexResult();

private:
    struct Crypto;
    const Crypto* m_crypto = nullptr;
    void* m_context = nullptr;
    std::unique_ptr<QCryptographicHash> m_fallback;
};
