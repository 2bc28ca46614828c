// Small builders for the built-in game tables.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"

namespace catalogue::tables {

using TypeList = std::initializer_list<std::pair<const char*, const char*>>;

inline std::vector<GameTypeDefinition> Types(const char* key, TypeList types) {
    std::vector<GameTypeDefinition> list;
    for (const auto& [name, value] : types)
        list.push_back(GameTypeDefinition{name, 1, key, value});
    return list;
}

inline ModDefinition Mod(const char* key, const char* value, const char* display, std::vector<GameTypeDefinition> types = {}) {
    ModDefinition m;
    m.displayName = display;
    m.modKey = key;
    m.modValue = value;
    m.gameTypes = std::move(types);
    return m;
}

inline std::vector<VersionDefinition> Versions(std::initializer_list<std::pair<const char*, uint32_t>> versions) {
    std::vector<VersionDefinition> list;
    for (const auto& [name, protocol] : versions)
        list.push_back(VersionDefinition{name, protocol});
    return list;
}

}  // namespace catalogue::tables
