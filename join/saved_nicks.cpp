// Saved player names: find, save, delete, the list for the Join dialog and the old registry list.
#include "join/saved_nicks.h"

#include <algorithm>

#include "base/settings_index.h"
#include "base/text.h"

namespace join {

namespace {

// Read for a missing key: no name can equal it, since names are typed into a one-line box.
constexpr char kMissing[] = "\t\t\t\t";
constexpr size_t kValueBuffer = 256;
constexpr char kNickSection[] = "playernicks";
constexpr char kMigratedModel[] = "munro";
// The old registry list is read up to this many bytes.
constexpr size_t kOldListBytes = 255;
// As long as the Join dialog's name box takes.
constexpr size_t kLongestName = 40;
// The models list ends at its first missing key; a file cannot list more than this.
constexpr int kMostModels = 4096;

std::string SlotKey(const char* format, int slot) {
    char key[32];
    base::FormatText(key, sizeof key, format, slot);
    return key;
}

}  // namespace

std::string SavedNicks::Read(const char* section, const std::string& key, const char* fallback) {
    return settings_.ReadIni(file_, section, key.c_str(), fallback, kValueBuffer);
}

void SavedNicks::Write(const char* section, const std::string& key, const std::string& value) {
    settings_.WriteIni(file_, section, key.c_str(), value.c_str());
}

int SavedNicks::FindNick(const std::string& name, std::string* model) {
    if (!file_ || !*file_)
        return -1;
    for (int slot = 0; slot < kNickSlots; ++slot) {
        if (!base::EqualsNoCase(Read(kNickSection, SlotKey(base::ini::kNickFormat, slot), kMissing), name))
            continue;
        if (model)
            *model = Read(kNickSection, SlotKey(base::ini::kNickModelFormat, slot), kMissing);
        return slot;
    }
    return -1;
}

int SavedNicks::SaveNick(const std::string& name, const std::string& model, bool* isNew) {
    if (isNew)
        *isNew = false;
    if (!file_ || !*file_)
        return -1;
    int slot = FindNick(name);
    if (slot < 0) {
        for (int free = 0; free < kNickSlots && slot < 0; ++free) {
            std::string value = Read(kNickSection, SlotKey(base::ini::kNickFormat, free), kMissing);
            if (value.empty() || value == kMissing)
                slot = free;
        }
        if (slot < 0)
            return -1;
        if (isNew)
            *isNew = true;
    }
    Write(kNickSection, SlotKey(base::ini::kNickFormat, slot), name);
    Write(kNickSection, SlotKey(base::ini::kNickModelFormat, slot), model);
    return slot;
}

int SavedNicks::DeleteNick(const std::string& name) {
    int slot = FindNick(name);
    if (slot < 0)
        return -1;
    Write(kNickSection, SlotKey(base::ini::kNickFormat, slot), "");
    Write(kNickSection, SlotKey(base::ini::kNickModelFormat, slot), "");
    return slot;
}

std::vector<SavedNick> SavedNicks::Names() {
    std::vector<SavedNick> names;
    if (!file_ || !*file_)
        return names;
    for (int slot = 0; slot < kNickSlots; ++slot) {
        std::string value = Read(kNickSection, SlotKey(base::ini::kNickFormat, slot), "");
        if (!value.empty())
            names.push_back({slot, value});
    }
    return names;
}

void SavedNicks::MigrateRegistryNicks() {
    const base::RegistryValue& old = base::reg::kOldNicknames;
    std::optional<std::string> list = settings_.ReadBytes(old.keyPath, old.name, kOldListBytes);
    if (!list)
        return;
    // The value goes only once every name is in the INI file, read back: an INI write that failed
    // says nothing, and a game without a file or with all slots taken keeps none.
    bool allSaved = file_ && *file_;
    size_t start = 0;
    while (start < list->size()) {
        size_t end = list->find('\0', start);
        if (end == std::string::npos)
            end = list->size();
        if (end > start) {
            std::string name = list->substr(start, std::min(end - start, kLongestName));
            SaveNick(name, kMigratedModel);
            allSaved = FindNick(name) >= 0 && allSaved;
        }
        start = end + 1;
    }
    if (allSaved)
        settings_.DeleteValue(old.keyPath, old.name);
}

int SavedNicks::LastIndex() {
    if (!file_ || !*file_)
        return 0;
    return base::ParseDecimal(base::ReadIniText(settings_, base::ini::kLastNickIndex, file_));
}

void SavedNicks::SetLastIndex(int index) {
    if (file_ && *file_)
        base::WriteIniText(settings_, base::ini::kLastNickIndex, std::to_string(index), file_);
}

std::vector<std::string> SavedNicks::Models() {
    std::vector<std::string> models;
    if (!file_ || !*file_)
        return models;
    for (int n = 1; n <= kMostModels; ++n) {
        std::string value = Read(base::ini::kModelsSection, SlotKey("model%d", n), kMissing);
        if (value == kMissing)
            break;
        models.push_back(value);
    }
    return models;
}

}  // namespace join
