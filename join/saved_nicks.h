// Player names saved with their models in the game's INI file: 512 slots of "playernicks".
#pragma once

#include <string>
#include <vector>

#include "base/settings_store.h"

namespace join {

constexpr int kNickSlots = 512;

struct SavedNick {
    int slot;
    std::string name;
    bool operator==(const SavedNick&) const = default;
};

// The saved names of one game. With no INI file name every call finds nothing and stores nothing.
class SavedNicks {
  public:
    SavedNicks(base::SettingsStore& settings, const char* gameIniFile) : settings_(settings), file_(gameIniFile) {}

    // The slot holding name (letter case ignored) and its model, or -1.
    int FindNick(const std::string& name, std::string* model = nullptr);
    // Rewrites the slot of a saved name, or takes the first free slot (isNew set); -1 when all 512
    // slots are taken (nothing is written).
    int SaveNick(const std::string& name, const std::string& model, bool* isNew = nullptr);
    // Empties the name's slot (the keys stay, empty); returns that slot, or -1 when the name is not
    // saved.
    int DeleteNick(const std::string& name);
    // Every saved name with its slot, in slot order.
    std::vector<SavedNick> Names();
    // Names of an older version, stored in the registry value LN as zero-terminated strings: each
    // is saved with the model "munro"; the value is deleted once all of them are in the INI file
    // (kept for a later try when one could not be saved).
    void MigrateRegistryNicks();

    // The slot selected last ("LNI").
    int LastIndex();
    void SetLastIndex(int index);
    // The models offered in the Join dialog: "model1", "model2", ... of "models" up to the first
    // missing key.
    std::vector<std::string> Models();

  private:
    std::string Read(const char* section, const std::string& key, const char* fallback);
    void Write(const char* section, const std::string& key, const std::string& value);

    base::SettingsStore& settings_;
    const char* file_;
};

}  // namespace join
