#include <windows.h>

#include <bcrypt.h>

#include <cstdio>

#include "platform/win32/diagnostics.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_platform.h"

namespace {

// CNG is loaded from the system directory on first use.
struct Cng {
    using OpenFn = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE*, LPCWSTR, LPCWSTR, ULONG);
    using CloseFn = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, ULONG);
    using RandomFn = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, ULONG);
    using DeriveFn = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, PUCHAR, ULONG, ULONGLONG, PUCHAR, ULONG,
                                       ULONG);
    OpenFn open = nullptr;
    CloseFn close = nullptr;
    RandomFn random = nullptr;
    DeriveFn derive = nullptr;

    static const Cng& Get() {
        static const Cng cng = [] {
            Cng c;
            if (HMODULE dll = LoadSystemLibrary("bcrypt.dll")) {
                const auto find = [dll](const char* name) {
                    return reinterpret_cast<void (*)()>(::GetProcAddress(dll, name));
                };
                c.open = reinterpret_cast<OpenFn>(find("BCryptOpenAlgorithmProvider"));
                c.close = reinterpret_cast<CloseFn>(find("BCryptCloseAlgorithmProvider"));
                c.random = reinterpret_cast<RandomFn>(find("BCryptGenRandom"));
                c.derive = reinterpret_cast<DeriveFn>(find("BCryptDeriveKeyPBKDF2"));
            } else {
                diag::Failed("LoadLibrary(bcrypt.dll)", ::GetLastError());
            }
            return c;
        }();
        return cng;
    }
};

// An NTSTATUS is no Win32 error code: it is named beside what was asked.
void CngFailed(const char* what, NTSTATUS status) {
    char text[128];
    std::snprintf(text, sizeof(text), "%s (NTSTATUS 0x%08lX)", what, static_cast<unsigned long>(status));
    diag::Failed(text, 0);
}

}  // namespace

std::vector<std::uint8_t> Win32Crypto::Random(std::size_t count) {
    const Cng& cng = Cng::Get();
    if (!cng.random) return {};
    std::vector<std::uint8_t> bytes(count);
    const NTSTATUS status =
        cng.random(nullptr, bytes.data(), static_cast<ULONG>(bytes.size()), BCRYPT_USE_SYSTEM_PREFERRED_RNG);
    if (status < 0) {
        CngFailed("BCryptGenRandom", status);
        return {};
    }
    return bytes;
}

std::vector<std::uint8_t> Win32Crypto::Pbkdf2Sha256(std::string_view password, const std::vector<std::uint8_t>& salt,
                                                    std::uint32_t iterations, std::size_t length) {
    const Cng& cng = Cng::Get();
    if (!cng.open || !cng.close || !cng.derive) return {};
    BCRYPT_ALG_HANDLE hmac = nullptr;
    NTSTATUS status = cng.open(&hmac, BCRYPT_SHA256_ALGORITHM, nullptr, BCRYPT_ALG_HANDLE_HMAC_FLAG);
    if (status < 0) {
        CngFailed("BCryptOpenAlgorithmProvider(SHA256, HMAC)", status);
        return {};
    }
    std::vector<std::uint8_t> key(length);
    std::string text(password);
    std::vector<std::uint8_t> saltCopy = salt;
    status = cng.derive(hmac, reinterpret_cast<PUCHAR>(text.data()), static_cast<ULONG>(text.size()),
                        saltCopy.empty() ? nullptr : saltCopy.data(), static_cast<ULONG>(saltCopy.size()),
                        iterations, key.data(), static_cast<ULONG>(key.size()), 0);
    // The typed text is not left behind in this copy.
    ::SecureZeroMemory(text.data(), text.size());
    cng.close(hmac, 0);
    if (status < 0) {
        CngFailed("BCryptDeriveKeyPBKDF2", status);
        return {};
    }
    return key;
}
