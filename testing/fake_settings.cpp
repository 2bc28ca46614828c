// In-memory settings store for tests.
#include "testing/fake_settings.h"

#include "base/text.h"

namespace testing_support {

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = base::ToLowerAscii(c);
    return s;
}

}  // namespace

std::string FakeSettings::Key(const char* keyPath, const char* name) {
    std::string path = Lower(keyPath);
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path + "|" + Lower(name);
}

std::optional<uint32_t> FakeSettings::ReadDword(const char* keyPath, const char* name) {
    auto it = registry.find(Key(keyPath, name));
    if (it == registry.end() || !it->second.isDword)
        return std::nullopt;
    return it->second.dword;
}

void FakeSettings::WriteDword(const char* keyPath, const char* name, uint32_t value) {
    registry[Key(keyPath, name)] = Value{true, value, {}};
    ++writes;
}

std::optional<std::string> FakeSettings::ReadString(const char* keyPath, const char* name) {
    auto it = registry.find(Key(keyPath, name));
    if (it == registry.end() || it->second.isDword)
        return std::nullopt;
    return it->second.text.substr(0, 254);
}

bool FakeSettings::WriteString(const char* keyPath, const char* name, const std::string& text) {
    registry[Key(keyPath, name)] = Value{false, 0, text};
    ++writes;
    return true;
}

void FakeSettings::DeleteValue(const char* keyPath, const char* name) {
    registry.erase(Key(keyPath, name));
}

std::optional<std::string> FakeSettings::ReadBytes(const char* keyPath, const char* name, size_t maxBytes) {
    auto it = registry.find(Key(keyPath, name));
    if (it == registry.end())
        return std::nullopt;
    std::string bytes =
        it->second.isDword ? std::string(reinterpret_cast<const char*>(&it->second.dword), 4) : it->second.text;
    return bytes.substr(0, maxBytes);
}

std::string FakeSettings::ReadIni(const char* file,
                                  const char* section,
                                  const char* key,
                                  const char* fallback,
                                  size_t bufferSize) {
    auto it = ini.find(Lower(file) + "|" + Lower(section) + "|" + Lower(key));
    std::string value = it == ini.end() ? std::string(fallback) : it->second;
    return bufferSize ? value.substr(0, bufferSize - 1) : std::string();
}

void FakeSettings::WriteIni(const char* file, const char* section, const char* key, const char* value) {
    if (iniWritesFail)
        return;
    ini[Lower(file) + "|" + Lower(section) + "|" + Lower(key)] = value;
    ++writes;
}

}  // namespace testing_support
