// Dialog 169: a preset chooser and the four values, greyed unless the pace is the user's own.
#include "app/win32/settings/network_preferences.h"

#include "base/app_title.h"
#include "net/pacing.h"
#include "resources/resource.h"

namespace app::win32 {

namespace {

constexpr const char* kPresetNames[] = {"Classic", "Fast", "Custom"};
constexpr int kValueBoxes[] = {IDC_NET_BURST, IDC_NET_PAUSE, IDC_NET_TIMEOUT, IDC_NET_LIVES};

struct PreferencesDialog {
    base::SettingsStore& settings;
    net::Pacing shown;
};

net::PacingPreset ChosenPreset(HWND dialog) {
    LRESULT index = SendDlgItemMessageA(dialog, IDC_NET_PRESET, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? net::PacingPreset::kClassic : static_cast<net::PacingPreset>(index);
}

void Show(HWND dialog, const net::Pacing& pacing) {
    SendDlgItemMessageA(dialog, IDC_NET_PRESET, CB_SETCURSEL, static_cast<WPARAM>(pacing.preset), 0);
    SetDlgItemInt(dialog, IDC_NET_BURST, pacing.requestsPerBurst, FALSE);
    SetDlgItemInt(dialog, IDC_NET_PAUSE, pacing.pauseMs, FALSE);
    SetDlgItemInt(dialog, IDC_NET_TIMEOUT, pacing.timeoutMs, FALSE);
    SetDlgItemInt(dialog, IDC_NET_LIVES, static_cast<UINT>(pacing.lives), FALSE);
    for (int id : kValueBoxes)
        EnableWindow(GetDlgItem(dialog, id), pacing.preset == net::PacingPreset::kCustom);
}

// The values typed; an empty or unreadable box reads as 0, which no range allows.
net::Pacing Typed(HWND dialog) {
    net::Pacing typed;
    typed.preset = net::PacingPreset::kCustom;
    typed.requestsPerBurst = GetDlgItemInt(dialog, IDC_NET_BURST, nullptr, FALSE);
    typed.pauseMs = GetDlgItemInt(dialog, IDC_NET_PAUSE, nullptr, FALSE);
    typed.timeoutMs = GetDlgItemInt(dialog, IDC_NET_TIMEOUT, nullptr, FALSE);
    typed.lives = static_cast<int32_t>(GetDlgItemInt(dialog, IDC_NET_LIVES, nullptr, FALSE));
    return typed;
}

void OnOk(HWND dialog, PreferencesDialog& d) {
    net::Pacing chosen = net::PacingOf(ChosenPreset(dialog), Typed(dialog));
    if (auto problem = net::CheckPacing(chosen)) {
        MessageBoxA(dialog, problem->c_str(), base::kAppTitle, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    net::WritePacing(d.settings, chosen);
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK PreferencesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        auto* d = reinterpret_cast<PreferencesDialog*>(lParam);
        for (const char* name : kPresetNames)
            SendDlgItemMessageA(dialog, IDC_NET_PRESET, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        Show(dialog, d->shown);
        return TRUE;
    }
    auto* d = reinterpret_cast<PreferencesDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!d || message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_NET_PRESET:
            if (HIWORD(wParam) == CBN_SELCHANGE)
                Show(dialog, net::PacingOf(ChosenPreset(dialog), Typed(dialog)));
            return TRUE;
        case IDOK:
            OnOk(dialog, *d);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR RunNetworkPreferences(HINSTANCE instance, HWND owner, base::SettingsStore& settings) {
    PreferencesDialog d{settings, net::ReadPacing(settings)};
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_NETWORK_PREFERENCES), owner, PreferencesProc,
                           reinterpret_cast<LPARAM>(&d));
}

}  // namespace app::win32
