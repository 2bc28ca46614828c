// The steps of an installation: the payload written to the disk, the folder remembered in the
// registry, the shortcuts, the launch. Each step tells whether it worked.
#pragma once

#include <windows.h>

#include <string>

namespace installer::win32 {

// A payload resource of type "INSTALLER" and where it goes in the installation folder.
struct PayloadFile {
    WORD resource;
    const char* subfolder;  // "" for the installation folder itself
    const char* name;
};

inline constexpr PayloadFile kPayload[] = {
    {149, "", "vexar.exe"},
    {148, "", "vexar.ini"},
    {132, "Colour Schemes", "sky-zox.vxc"},
    {147, "Colour Schemes", "metallic-rook.vxc"},
};

// Whether the module carries every payload resource; false with the first missing one named. An
// installer without one is damaged: it must not install a part of the program and call that done.
bool HasWholePayload(HMODULE module, std::string& error);

// Writes one payload file: its folder is created (one level), the bytes go to a temporary file
// beside the target, which replaces the target only when complete. Returns false with the reason
// when the file could not be written or the resource is missing.
bool WritePayloadFile(HMODULE module, const std::string& folder, const PayloadFile& file, std::string& error);

// The installation folder typed by the user as a whole path, without "." or ".." parts and trailing
// backslashes; "" when the text names no drive root or network share ("Vexar", "C:Vexar", "\Vexar"),
// which would be taken from the installer's working folder and stored so.
std::string FullInstallFolder(const std::string& typed);

// Stores the folder as InstallDir, where the browser looks for it at start-up.
bool StoreInstallFolder(const std::string& folder, std::string& error);

// A shell link "Vexar!.lnk" to the installed program in a special folder (CSIDL_DESKTOPDIRECTORY,
// CSIDL_STARTMENU). COM must be initialised on the thread.
bool CreateProgramLink(int specialFolder, const std::string& programPath, std::string& error);

// "Program Files\Vexar", or the folder of an earlier installation.
std::string DefaultInstallFolder();

}  // namespace installer::win32
