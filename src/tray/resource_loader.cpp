#include "tray/resource_loader.h"

#include "platform/platform.h"

CResource theResource;

const char* CResource::Load(unsigned id) {
    m_nLast = (m_nLast + 1) % 3;
    auto& buffer = m_Buffers[static_cast<std::size_t>(m_nLast)];
    buffer[0] = '\0';
    if (m_pModule) {
        const int n = m_pModule->LoadString(id, buffer.data(), kBufferSize);
        // LoadString terminates what it copies; a missing entry copies nothing.
        buffer[n > 0 && n < kBufferSize ? n : (n <= 0 ? 0 : kBufferSize - 1)] = '\0';
    }
    return buffer.data();
}
