#include "engine/autorun.h"

#include <string>

bool AddToAutorun(platform::IModule& module, platform::IRunKey& runKey, const char* name) {
    const std::string path = module.ModulePath();
    if (path.empty() || path.size() >= kModulePathSize) return false;
    return runKey.WriteValue(name, path);
}
