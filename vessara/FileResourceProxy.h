// A name-keyed cache that also knows how to load its resource type from a
// file: the base of the demo's texture, shader and mesh caches.
//
// Use:
//   proxy.loadDirectory("data/", "*.jpg")   loads every regular file in the
//       directory whose name matches the pattern ('*' any run of characters,
//       '?' one character, everything else itself, case-sensitive), in
//       ascending byte order of the names so runs are repeatable, and caches
//       each under its bare file name, replacing an earlier entry of that
//       name. A missing directory loads nothing.
//   proxy[name]                             the cached object (fatal if absent).
//   load(path)                              the per-type rule (ResourceProxies.h);
//       a file that cannot be read or compiled ends the process naming it.
//   files[name]                             the file each name was loaded from.
//   nameOf(path)                            the name cached from that file ("" if
//       none: a file another directory's file of the same name overrides).
//   reload(name, error)                     loads the name's file again into the
//       cached object itself, so every holder of its pointer sees the new one
//       (live reload of the maker's mode). false with the reason, naming the
//       file: the old object stays as it was, nothing ends.
// Loaded objects are never freed: they live until process exit.
#pragma once

#include "vessara/ResourceProxy.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace Vessara {

// Whole-name match of a file-name pattern with '*' and '?' wildcards.
bool matchesPattern(std::string_view name, std::string_view pattern);

// Names of the regular files in directory that match pattern, sorted.
// Directories and other non-files are skipped: loading one could only fail.
std::vector<std::string> matchingFiles(const std::string& directory, const std::string& pattern);

template <typename T>
class FileResourceProxy : public ResourceProxy<T, std::string> {
public:
    virtual ~FileResourceProxy() = default;

    virtual T* load(const std::string& path) = 0;

    virtual bool reload(const std::string& name, std::string& error)
    {
        error = name + ": this kind of file is not reloaded";
        return false;
    }

    void loadDirectory(const std::string& directory, const std::string& pattern)
    {
        for (const std::string& name : matchingFiles(directory, pattern)) {
            this->cache[name] = load(directory + name);
            files[name] = directory + name;
        }
    }

    std::string nameOf(const std::string& path) const
    {
        for (const auto& [name, file] : files)
            if (file == path)
                return name;
        return {};
    }

    std::map<std::string, std::string> files;
};

}  // namespace Vessara
