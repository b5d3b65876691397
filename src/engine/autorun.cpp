#include "engine/autorun.h"

#include "platform/text.h"

std::string RunCommand(std::string_view path) {
    if (path.find(' ') == std::string_view::npos) return std::string(path);
    return "\"" + std::string(path) + "\"";
}

bool AddToAutorun(platform::IModule& module, platform::IRunKey& runKey, const char* name) {
    const std::string path = module.ModulePath();
    if (path.empty() || text::CountChars(path) >= kModulePathSize) return false;
    return runKey.WriteValue(name, RunCommand(path));
}
