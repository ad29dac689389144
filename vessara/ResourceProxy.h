// Name-keyed caches of the demo's resources and the registry of drawables.
//
// Use:
//   ResourceProxy<T, std::string>   cache[name] = object; then proxy[name] finds
//                                   it. A name that is not cached (or cached as
//                                   null) is fatal: "ResourceProxy::operator [] :
//                                   ResourceProxy not loaded: <name>". Names are
//                                   compared byte-wise, so case matters.
//   DrawableResourceProxy           add(name, drawable) caches the drawable under
//                                   its name and appends it to `drawables`, the
//                                   registration order (a repeated name replaces
//                                   the cache entry but both stay in the list).
// Nothing here owns what it points to: cached objects live until process exit.
#pragma once

#include "vessara/FatalError.h"

#include <map>
#include <string>
#include <vector>

namespace Vessara {

class Drawable;

template <typename T, typename Key = std::string>
class ResourceProxy {
public:
    T* operator[](const Key& name) const
    {
        auto found = cache.find(name);
        if (found == cache.end() || !found->second)
            fatalError("ResourceProxy::operator [] : ResourceProxy not loaded: " + std::string(name));
        return found->second;
    }

    std::map<Key, T*> cache;
};

class DrawableResourceProxy : public ResourceProxy<Drawable, std::string> {
public:
    void add(const std::string& name, Drawable* drawable)
    {
        cache[name] = drawable;
        drawables.push_back(drawable);
    }

    std::vector<Drawable*> drawables;
};

}  // namespace Vessara
