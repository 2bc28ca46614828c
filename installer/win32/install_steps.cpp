// File, registry and shell-link work of the installer.
#include "installer/win32/install_steps.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>

#include "app/win32/settings/win32_settings.h"
#include "base/settings_index.h"
#include "base/win32/com_ptr.h"
#include "base/win32/handles.h"

namespace installer::win32 {

namespace {

constexpr char kResourceType[] = "INSTALLER";
constexpr char kLinkName[] = "\\Vexar!.lnk";
constexpr char kLinkDescription[] = "Vexar! Internet Game Finder";

std::string SystemError(const char* what, const std::string& path, DWORD code) {
    char text[64];
    std::snprintf(text, sizeof text, " (error %lu)", static_cast<unsigned long>(code));
    return what + path + text;
}

std::string DamagedInstaller(const PayloadFile& file) {
    return std::string("The installer is damaged: it does not hold ") + file.name + ".";
}

}  // namespace

bool HasWholePayload(HMODULE module, std::string& error) {
    for (const PayloadFile& file : kPayload) {
        if (!FindResourceA(module, MAKEINTRESOURCEA(file.resource), kResourceType)) {
            error = DamagedInstaller(file);
            return false;
        }
    }
    return true;
}

bool WritePayloadFile(HMODULE module, const std::string& folder, const PayloadFile& file, std::string& error) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(file.resource), kResourceType);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        error = DamagedInstaller(file);
        return false;
    }
    DWORD size = SizeofResource(module, found);

    std::string target = folder;
    if (*file.subfolder)
        target += std::string("\\") + file.subfolder;
    if (!CreateDirectoryA(target.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        error = SystemError("Couldn't create the folder ", target, GetLastError());
        return false;
    }
    target += std::string("\\") + file.name;
    std::string temporary = target + ".new";
    base::win32::FileHandle out(
        CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
        error = SystemError("Couldn't write ", target, GetLastError());
        return false;
    }
    DWORD written = 0;
    bool complete =
        WriteFile(out.get(), bytes, size, &written, nullptr) && written == size && FlushFileBuffers(out.get());
    DWORD code = GetLastError();
    out.Reset();
    if (!complete || !MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        code = complete ? GetLastError() : code;
        DeleteFileA(temporary.c_str());
        error = SystemError("Couldn't write ", target, code);
        return false;
    }
    return true;
}

bool StoreInstallFolder(const std::string& folder, std::string& error) {
    app::win32::Win32Settings registry{std::string()};
    if (!base::WriteText(registry, base::reg::kInstallDir, folder)) {
        error = "Couldn't store the installation folder in the registry";
        return false;
    }
    return true;
}

bool CreateProgramLink(int specialFolder, const std::string& programPath, std::string& error) {
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, specialFolder, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        error = "Couldn't find the folder for the shortcut";
        return false;
    }
    std::string linkPath = std::string(folder) + kLinkName;
    wchar_t wideLink[MAX_PATH] = {};
    base::win32::ComPtr<IShellLinkA> link;
    base::win32::ComPtr<IPersistFile> file;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.OutVoid());
    if (SUCCEEDED(hr))
        hr = link->SetPath(programPath.c_str());
    if (SUCCEEDED(hr))
        hr = link->SetDescription(kLinkDescription);
    if (SUCCEEDED(hr))
        hr = link->QueryInterface(IID_IPersistFile, file.OutVoid());
    if (SUCCEEDED(hr) && !MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wideLink, MAX_PATH))
        hr = E_FAIL;
    if (SUCCEEDED(hr))
        hr = file->Save(wideLink, TRUE);
    if (FAILED(hr)) {
        error = SystemError("Couldn't create the shortcut ", linkPath, static_cast<DWORD>(hr));
        return false;
    }
    return true;
}

std::string FullInstallFolder(const std::string& typed) {
    auto slash = [&typed](size_t i) { return i < typed.size() && (typed[i] == '\\' || typed[i] == '/'); };
    bool driveRoot = typed.size() >= 3 && IsCharAlphaA(typed[0]) && typed[1] == ':' && slash(2);
    bool share = slash(0) && slash(1) && typed.size() > 2 && !slash(2);
    if (!driveRoot && !share)
        return "";
    char full[MAX_PATH] = {};
    DWORD length = GetFullPathNameA(typed.c_str(), sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full)
        return "";
    std::string folder(full, length);
    // "C:\" keeps its backslash: without it the drive's working folder would be meant.
    while (folder.size() > 3 && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

std::string DefaultInstallFolder() {
    app::win32::Win32Settings registry{std::string()};
    if (std::optional<std::string> folder = base::ReadText(registry, base::reg::kInstallDir))
        return *folder;
    char programFiles[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programFiles);
    return std::string(programFiles) + "\\Vexar";
}

}  // namespace installer::win32
