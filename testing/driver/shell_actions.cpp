// Actions on the shell's objects: what a shortcut points at, and where the special folders are.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>

#include "testing/driver/actions.h"
#include "testing/driver/support.h"

namespace driver {

namespace {

int SpecialFolderId(const std::string& name) {
    if (name == "desktop")
        return CSIDL_DESKTOPDIRECTORY;
    if (name == "startmenu")
        return CSIDL_STARTMENU;
    throw UsageError("FOLDER is desktop or startmenu");
}

}  // namespace

int SpecialFolder(const Args& args) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, SpecialFolderId(args.Text(0)), nullptr, SHGFP_TYPE_CURRENT, path)))
        Fail("SHGetFolderPath failed");
    printf("%s\n", path);
    return 0;
}

int LinkTarget(const Args& args) {
    if (FAILED(CoInitialize(nullptr)))
        Fail("CoInitialize failed");
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, args.Text(0), -1, wide, MAX_PATH);
    char target[MAX_PATH] = {};
    char description[MAX_PATH] = {};
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link));
    if (SUCCEEDED(hr))
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(hr))
        hr = file->Load(wide, STGM_READ);
    if (SUCCEEDED(hr))
        hr = link->GetPath(target, sizeof target, nullptr, SLGP_RAWPATH);
    if (SUCCEEDED(hr))
        hr = link->GetDescription(description, sizeof description);
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    if (FAILED(hr))
        Fail("reading the link failed (0x%08lx)", static_cast<unsigned long>(hr));
    printf("%s\n%s\n", target, description);
    return 0;
}

}  // namespace driver
