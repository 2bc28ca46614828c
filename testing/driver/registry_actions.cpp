// Actions that read the program's values under its registry key.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/settings_store.h"
#include "testing/driver/actions.h"
#include "testing/driver/support.h"

namespace driver {

namespace {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// A value under the program's key; nullopt when the key or the value does not exist.
std::optional<RegistryValue> ReadValue(const char* name) {
    HKEY opened = nullptr;
    LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, base::kRegistryKey, 0, KEY_QUERY_VALUE, &opened);
    if (rc == ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    if (rc != ERROR_SUCCESS)
        FailCall("RegOpenKeyExA", rc);
    OwnedKey key(opened);
    RegistryValue value;
    DWORD size = 0;
    rc = RegQueryValueExA(key.get(), name, nullptr, &value.type, nullptr, &size);
    if (rc == ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    if (rc != ERROR_SUCCESS)
        FailCall("RegQueryValueExA", rc);
    value.data.resize(size);
    rc = RegQueryValueExA(key.get(), name, nullptr, &value.type, value.data.data(), &size);
    if (rc != ERROR_SUCCESS)
        FailCall("RegQueryValueExA", rc);
    value.data.resize(size);
    return value;
}

// A number as it is, or text with its prefix ("text:" where a number is expected, or "dword:"
// before a number where text is).
int PrintValue(const char* name, bool textExpected) {
    std::optional<RegistryValue> value = ReadValue(name);
    if (!value) {
        printf("missing\n");
        return 0;
    }
    if (value->type == REG_DWORD) {
        DWORD number = 0;
        if (value->data.size() != sizeof number)
            Fail("the REG_DWORD value %s has %lu bytes", name, static_cast<unsigned long>(value->data.size()));
        memcpy(&number, value->data.data(), sizeof number);
        printf("%s%lu\n", textExpected ? "dword:" : "", static_cast<unsigned long>(number));
        return 0;
    }
    // Text up to its NUL, which the stored value may lack.
    std::string text(value->data.begin(), value->data.end());
    text.resize(strnlen(text.c_str(), text.size()));
    printf("%s%s\n", textExpected ? "" : "text:", text.c_str());
    return 0;
}

}  // namespace

int RegDword(const Args& args) {
    return PrintValue(args.Text(0), false);
}

int RegText(const Args& args) {
    return PrintValue(args.Text(0), true);
}

}  // namespace driver
