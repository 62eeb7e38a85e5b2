#include "framework/Sha256.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>

namespace {

constexpr ULONG kDigestBytes = 32;
// BCryptHashData takes a ULONG length: larger inputs go in parts.
constexpr size_t kMaxPart = 0x40000000;

// The provider and the hash object, both closed on every path.
struct CHashObjects {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    ~CHashObjects()
    {
        if (hash)
            BCryptDestroyHash(hash);
        if (algorithm)
            BCryptCloseAlgorithmProvider(algorithm, 0);
    }
};

} // namespace

std::string Sha256Hex(std::string_view bytes)
{
    CHashObjects objects;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&objects.algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ||
        !BCRYPT_SUCCESS(BCryptCreateHash(objects.algorithm, &objects.hash, nullptr, 0, nullptr, 0, 0)))
        return {};
    for (size_t done = 0; done < bytes.size();) {
        const ULONG part = static_cast<ULONG>(std::min(bytes.size() - done, kMaxPart));
        if (!BCRYPT_SUCCESS(BCryptHashData(objects.hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data() + done)),
                                           part, 0)))
            return {};
        done += part;
    }
    UCHAR digest[kDigestBytes] = {};
    if (!BCRYPT_SUCCESS(BCryptFinishHash(objects.hash, digest, kDigestBytes, 0)))
        return {};
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const UCHAR value : digest) {
        hex += kDigits[value >> 4];
        hex += kDigits[value & 0x0F];
    }
    return hex;
}
