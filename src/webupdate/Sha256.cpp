#include "webupdate/Sha256.h"

#include <QCryptographicHash>

#include <openssl/evp.h>

#include <dlfcn.h>

#include <mutex>

namespace {

// The run-time name of the library libcurl is built against on Debian 12 (OpenSSL 3).
constexpr const char* kLibraryName = "libcrypto.so.3";

template <typename Function>
bool Resolve(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

} // namespace

// libcrypto's digest functions.
struct Sha256::Crypto
{
    EVP_MD_CTX* (*newContext)();
    void (*freeContext)(EVP_MD_CTX*);
    const EVP_MD* (*sha256)();
    int (*init)(EVP_MD_CTX*, const EVP_MD*, ENGINE*);
    int (*update)(EVP_MD_CTX*, const void*, size_t);
    int (*final)(EVP_MD_CTX*, unsigned char*, unsigned int*);

    static const Crypto* Get()
    {
        static std::once_flag once;
        static const Crypto* crypto = nullptr;
        std::call_once(once, [] {
            static Crypto functions{};
            // Stays open for the life of the program.
            void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
            if (library != nullptr && Resolve(library, "EVP_MD_CTX_new", functions.newContext) &&
                Resolve(library, "EVP_MD_CTX_free", functions.freeContext) &&
                Resolve(library, "EVP_sha256", functions.sha256) &&
                Resolve(library, "EVP_DigestInit_ex", functions.init) &&
                Resolve(library, "EVP_DigestUpdate", functions.update) &&
                Resolve(library, "EVP_DigestFinal_ex", functions.final))
                crypto = &functions;
        });
        return crypto;
    }
};

Sha256::Sha256()
{
    const Crypto* crypto = Crypto::Get();
    if (crypto != nullptr) {
        EVP_MD_CTX* context = crypto->newContext();
        if (context != nullptr && crypto->init(context, crypto->sha256(), nullptr) == 1) {
            m_crypto = crypto;
            m_context = context;
            return;
        }
        if (context != nullptr)
            crypto->freeContext(context);
    }
    m_fallback = std::make_unique<QCryptographicHash>(QCryptographicHash::Sha256);
}

Sha256::~Sha256()
{
    if (m_context != nullptr)
        m_crypto->freeContext(static_cast<EVP_MD_CTX*>(m_context));
}

void Sha256::AddData(QByteArrayView data)
{
    if (m_context != nullptr)
        m_crypto->update(static_cast<EVP_MD_CTX*>(m_context), data.data(), size_t(data.size()));
    else
        m_fallback->addData(data);
}

QByteArray Sha256::HexResult()
{
    if (m_context == nullptr)
        return m_fallback->result().toHex();
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (m_crypto->final(static_cast<EVP_MD_CTX*>(m_context), digest, &length) != 1)
        return {};
    return QByteArray(reinterpret_cast<const char*>(digest), length).toHex();
}
