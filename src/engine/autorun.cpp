#include "engine/autorun.h"

#include <cstring>
#include <string>

char* GetModulePath(platform::IModule& module, char* buffer, std::size_t size) {
    if (size == 0) return nullptr;
    buffer[0] = '\0';
    const std::string path = module.ModulePath();
    if (path.empty() || path.size() >= size) return nullptr;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return buffer;
}

bool WriteRunValue(platform::IRunKey& runKey, const char* name, const char* text) {
    return runKey.WriteValue(name, text);
}

bool DeleteRunValue(platform::IRunKey& runKey, const char* name) { return runKey.DeleteValue(name); }

bool AddToAutorun(platform::IModule& module, platform::IRunKey& runKey, const char* name) {
    char path[kModulePathSize];
    if (!GetModulePath(module, path, sizeof(path))) return false;
    return WriteRunValue(runKey, name, path);
}
