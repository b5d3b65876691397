#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace platform {
class IModule;
}

// The program's string loader.
class CResource {
public:
    // A text keeps at most 255 characters; the buffer holds that many of the
    // widest and the terminator.
    static constexpr std::size_t kMaxChars = 255;
    static constexpr int kBufferSize = text::BufferFor(kMaxChars);

    explicit CResource(platform::IModule& module) : m_Module(module) {}
    CResource(const CResource&) = delete;
    CResource& operator=(const CResource&) = delete;

    // The text of string-table entry id, cut to 255 whole characters of the
    // process's code page; empty when the entry is missing.
    std::string Load(unsigned id) const;

private:
    platform::IModule& m_Module;
};

// Fills a format text of the resources. A resource is data that anyone with
// a resource editor can change, so it is never handed to printf: each %s, %u
// or %d takes the next argument, in order; %% is one percent sign. Any other
// percent sequence, and a placeholder with no argument left, is copied as it
// stands.
std::string FillFormat(std::string_view format, std::initializer_list<std::string_view> args);
