// Dialog 150: the colon moves a port into its box; OK checks, resolves and hands the server back.
#include "rcon/win32/add_server_dialog.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "base/app_title.h"
#include "base/win32/dialog_text.h"
#include "net/win32/win32_network.h"
#include "resources/resource.h"

namespace rcon::win32 {

namespace {

constexpr int kAddressLimit = 255;
// How long a host name may take to resolve.
constexpr auto kLookupLimit = std::chrono::seconds(5);

struct AddDialog {
    const catalogue::DefaultPorts& ports;
    AddedServer& server;
};

std::string Text(HWND dialog, int id) {
    return base::win32::DialogItemText(dialog, id, kAddressLimit);
}

// The IPv4 address of a host name, looked up by the program's resolver on a thread of its own;
// nothing when the name does not resolve within the limit (the lookup then ends on its own).
std::optional<std::array<uint32_t, 4>> Resolve(const std::string& name) {
    struct Lookup {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::optional<uint32_t> address;  // network byte order
    };
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, name] {
        std::optional<uint32_t> address = net::win32::HostResolver().Resolve(name.c_str());
        std::lock_guard lock(lookup->mutex);
        lookup->address = address;
        lookup->finished = true;
        lookup->done.notify_one();
    }).detach();
    std::unique_lock lock(lookup->mutex);
    lookup->done.wait_for(lock, kLookupLimit, [&] { return lookup->finished; });
    if (!lookup->address)
        return std::nullopt;
    const auto* b = reinterpret_cast<const uint8_t*>(&*lookup->address);
    return std::array<uint32_t, 4>{b[0], b[1], b[2], b[3]};
}

void Tell(HWND dialog, const char* message) {
    MessageBoxA(dialog, message, base::kAppTitle, MB_OK);
}

// Moves a port typed after a colon into the port box.
void TakePortFromAddress(HWND dialog) {
    std::string text = Text(dialog, IDC_ADD_ADDRESS);
    if (text.find(':') == std::string::npos)
        return;
    TypedAddress typed = SplitTypedAddress(text);
    if (typed.port)
        SetDlgItemTextA(dialog, IDC_ADD_PORT, typed.port->c_str());
    SetDlgItemTextA(dialog, IDC_ADD_ADDRESS, typed.address.c_str());
}

void OnOk(HWND dialog, AddDialog& d) {
    TakePortFromAddress(dialog);
    std::string address = Text(dialog, IDC_ADD_ADDRESS);
    if (address.empty())
        return Tell(dialog, kEnterAddressMessage);
    std::optional<std::array<uint32_t, 4>> octets;
    if (address[0] >= '0' && address[0] <= '9') {
        octets = ParseDottedAddress(address);
        if (!octets)
            return Tell(dialog, kInvalidAddressMessage);
    } else {
        octets = Resolve(address);
        if (!octets)
            return Tell(dialog, kUnresolvedMessage);
        SetDlgItemTextA(dialog, IDC_ADD_ADDRESS, DottedAddress(*octets).c_str());
    }
    uint32_t port = ParsePortText(Text(dialog, IDC_ADD_PORT));
    uint32_t hostPort = d.ports.asksHostPort ? ParsePortText(Text(dialog, IDC_ADD_HOST_PORT)) : port;
    if (port == 0 || hostPort == 0)
        return Tell(dialog, kInvalidPortsMessage);
    d.server = {*octets, port, hostPort, IsDlgButtonChecked(dialog, IDC_ADD_FAVOURITE) == BST_CHECKED};
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK AddServerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        auto* d = reinterpret_cast<AddDialog*>(lParam);
        SendDlgItemMessageA(dialog, IDC_ADD_ADDRESS, EM_LIMITTEXT, kAddressLimit, 0);
        SetDlgItemInt(dialog, IDC_ADD_PORT, d->ports.defaultPort, FALSE);
        SetDlgItemInt(dialog, IDC_ADD_HOST_PORT, d->ports.defaultHostPort, FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_ADD_HOST_PORT), d->ports.asksHostPort != 0);
        d->server.favourite = false;
        SetFocus(GetDlgItem(dialog, IDC_ADD_ADDRESS));
        return FALSE;
    }
    auto* d = reinterpret_cast<AddDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!d || message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_ADD_ADDRESS:
            if (HIWORD(wParam) == EN_UPDATE) {
                std::string text = Text(dialog, IDC_ADD_ADDRESS);
                size_t colon = text.find(':');
                if (colon != std::string::npos && colon + 1 < text.size()) {
                    // Typing goes on in the port box: setting the address put its caret back at the
                    // start, where the next digit would land.
                    TakePortFromAddress(dialog);
                    HWND port = GetDlgItem(dialog, IDC_ADD_PORT);
                    SetFocus(port);
                    SendMessageA(port, EM_SETSEL, GetWindowTextLengthA(port), GetWindowTextLengthA(port));
                }
            }
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

INT_PTR RunAddServerDialog(HINSTANCE instance, HWND owner, const catalogue::DefaultPorts& ports, AddedServer& server) {
    AddDialog d{ports, server};
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ADD_SERVER), owner, AddServerProc,
                           reinterpret_cast<LPARAM>(&d));
}

}  // namespace rcon::win32
