#include "tray/resource_loader.h"

#include <algorithm>

#include "platform/platform.h"

const char* CResource::Load(unsigned id) {
    m_nLast = (m_nLast + 1) % 3;
    auto& buffer = m_Buffers[static_cast<std::size_t>(m_nLast)];
    buffer[0] = '\0';
    // A missing entry copies nothing; the terminator is set here whatever the
    // loader reported.
    const int n = m_Module.LoadString(id, buffer.data(), kBufferSize);
    buffer[static_cast<std::size_t>(std::clamp(n, 0, kBufferSize - 1))] = '\0';
    return buffer.data();
}
