#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "groups/caption_match.h"
#include "platform/text.h"

// Which windows a group names: by caption, as it always has, and by the
// program that shows them and their window class, each given criterion
// holding. A criterion that is empty, or made of stars alone, names nothing
// and takes every window.

// Whether text matches pattern: "*" stands for any run of characters (none
// too) and "?" for exactly one whole character of the code page; other
// characters compare regardless of letter case. In UTF-8 the letters of the
// Latin, Greek, Cyrillic and Armenian scripts and the full-width Latin ones
// fold by their simple case pairs; letters of other scripts, and every
// letter beyond ASCII in another code page, compare exactly.
bool WildcardMatch(std::string_view pattern, std::string_view text,
                   const text::CodePage& codePage = text::ProcessCodePage());

// An empty pattern, or one of stars alone: no criterion.
bool IsAnyName(std::string_view pattern);

// The program criterion against the full path of a process's executable:
// the file name is compared, or the whole path when the pattern holds a
// backslash. A process that could not be asked (no path) matches no
// program criterion.
bool ProgramMatches(std::string_view pattern, const std::optional<std::string>& imagePath,
                    const text::CodePage& codePage = text::ProcessCodePage());

// A window as a group could name it: its caption, its program's executable
// (nothing when the process cannot be asked) and its class.
struct OpenWindow {
    std::string caption;
    std::optional<std::string> image;
    std::string className;
};

// The file name at the end of a path (after its last backslash).
std::string FileNameOf(std::string_view path, const text::CodePage& codePage = text::ProcessCodePage());

// A group's criteria.
struct WindowCriteria {
    std::string search;
    int compare = GROUP_COMPARE_INCLUDE;
    std::string program;
    std::string className;
};

// The caption is asked when the group searches for a text, or names its
// windows in no other way (the group of an empty search text of before).
bool AsksCaption(const WindowCriteria& criteria);
// Whether the criteria leave out nearly every window that opens, as a group
// that hides its windows as they appear must: a program or a class, or a
// search text that the caption must include or equal.
bool NamesWindows(const WindowCriteria& criteria);

// What a match asks of a window, each fact only when a criterion needs it
// and at most once.
struct WindowFacts {
    std::function<std::string()> caption;
    std::function<std::string()> className;
    // The full path of its process's executable; nothing when the process
    // cannot be asked.
    std::function<std::optional<std::string>()> image;
};
// The class is asked first, then the program, then the caption: the first
// two are known once per window or process, a caption costs a question
// each time.
bool Matches(const WindowCriteria& criteria, const WindowFacts& facts);
