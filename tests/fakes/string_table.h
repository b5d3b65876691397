#pragma once
#include <map>
#include <string>

// The string table of one of the program's resource scripts, read the way
// the resource compiler reads it: identifiers are the #defines of
// res/resource.h (a name, a number or name+number), texts are C strings with
// the escapes \n, \t, \\ and \" and "" for a quote. The fakes answer with
// the program's own texts instead of copies of them.
std::map<unsigned, std::string> ReadStringTable(const std::string& script);

// The English table, read once.
const std::map<unsigned, std::string>& EnglishStrings();
