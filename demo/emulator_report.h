#pragma once
// What the demonstration emulator shows: the command line it received, each argument with
// what it names, a file with its size or one of Lumarel's options. Plain functions.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumarel::demo {

// What the disk holds at a path.
struct FileOnDisk {
    bool exists = false;
    std::wstring name;  // the file's long name, without its directory
    std::uint64_t size = 0;
};
using FileLookup = std::function<FileOnDisk(const std::wstring& path)>;

struct NamedArgument {
    std::wstring argument;  // an option and its value share one line ("-m 9")
    std::wstring names;
};

// Each argument of a command line split as the emulator receives it (the program's own path
// first) and what it names.
std::vector<NamedArgument> NameArguments(const std::vector<std::wstring>& arguments,
                                         const FileLookup& lookUp);

// The whole text of the window: the command line, each argument on its line with what it
// names, whether a maximised window was asked for, and how to use a real Snes9x instead.
std::wstring EmulatorReport(const std::wstring& commandLine,
                            const std::vector<std::wstring>& arguments, bool maximisedAsked,
                            const FileLookup& lookUp);

}  // namespace lumarel::demo
