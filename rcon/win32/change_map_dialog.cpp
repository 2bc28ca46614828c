// Dialog 147: a sorted list of the server's maps; nothing is sent without a choice. Dialog 200: a
// reason for a kick.
#include "rcon/win32/change_map_dialog.h"

#include "base/app_title.h"
#include "resources/resource.h"

namespace rcon::win32 {

namespace {

struct MapDialog {
    const std::vector<std::string>& maps;
    const RunCommand& run;
    HWND list = nullptr;
};

INT_PTR CALLBACK ChangeMapProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        auto* d = reinterpret_cast<MapDialog*>(lParam);
        d->list = GetDlgItem(dialog, IDC_MAP_LIST);
        for (const std::string& map : d->maps)
            SendMessageA(d->list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(map.c_str()));
        return TRUE;
    }
    auto* d = reinterpret_cast<MapDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!d || message != WM_COMMAND)
        return FALSE;
    if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    if (LOWORD(wParam) != IDOK)
        return FALSE;
    LRESULT chosen = SendMessageA(d->list, LB_GETCURSEL, 0, 0);
    if (chosen == LB_ERR) {
        MessageBoxA(dialog, "Highlight the required map!", base::kAppTitle, MB_OK);
        return TRUE;
    }
    std::string map(static_cast<size_t>(SendMessageA(d->list, LB_GETTEXTLEN, chosen, 0)), '\0');
    SendMessageA(d->list, LB_GETTEXT, chosen, reinterpret_cast<LPARAM>(map.data()));
    d->run("map " + map);
    EndDialog(dialog, IDOK);
    return TRUE;
}

constexpr int kLongestKickText = 253;
constexpr char kDefaultKickReason[] = "You were kicked by Vexar! v2.0 RCon tool.";

struct KickDialog {
    const std::string& name;
    std::string& reason;
};

INT_PTR CALLBACK KickProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        auto* d = reinterpret_cast<KickDialog*>(lParam);
        SetDlgItemTextA(dialog, IDC_KICK_NAME, d->name.substr(0, kLongestKickText).c_str());
        SendDlgItemMessageA(dialog, IDC_KICK_REASON, EM_LIMITTEXT, kLongestKickText, 0);
        return TRUE;
    }
    auto* d = reinterpret_cast<KickDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!d || message != WM_COMMAND || (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL))
        return FALSE;
    if (LOWORD(wParam) == IDOK) {
        char reason[kLongestKickText + 1] = {};
        GetDlgItemTextA(dialog, IDC_KICK_REASON, reason, sizeof reason);
        d->reason = reason[0] ? reason : kDefaultKickReason;
    }
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
}

}  // namespace

INT_PTR RunKickPlayer(HINSTANCE instance, HWND owner, const std::string& name, std::string& reason) {
    KickDialog d{name, reason};
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_KICK_PLAYER), owner, KickProc, reinterpret_cast<LPARAM>(&d));
}

INT_PTR RunChangeMap(HINSTANCE instance, HWND owner, const std::vector<std::string>& maps, const RunCommand& run) {
    MapDialog d{maps, run};
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CHANGE_MAP), owner, ChangeMapProc,
                           reinterpret_cast<LPARAM>(&d));
}

}  // namespace rcon::win32
