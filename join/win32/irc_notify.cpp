// A DDEML client of its own for every notification: initialise, connect, execute, disconnect.
#include "join/win32/irc_notify.h"

#include <ddeml.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/settings_index.h"

namespace join::win32 {

namespace {

constexpr char kTopic[] = "COMMAND";
constexpr char kItem[] = "44";
constexpr DWORD kTransactionTimeoutMs = 1000;

HDDEDATA CALLBACK AnswerNothing(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// The instance's string handles, freed before the instance goes.
class DdeString {
  public:
    DdeString(DWORD instance, const char* text)
        : instance_(instance), handle_(DdeCreateStringHandleA(instance, text, CP_WINANSI)) {}
    ~DdeString() {
        if (handle_)
            DdeFreeStringHandle(instance_, handle_);
    }
    DdeString(const DdeString&) = delete;
    DdeString& operator=(const DdeString&) = delete;
    HSZ get() const { return handle_; }

  private:
    DWORD instance_;
    HSZ handle_;
};

}  // namespace

bool NotifyIrc(HWND owner, base::SettingsStore& settings, const char* text) {
    std::string service = base::ReadIniText(settings, base::ini::kDdeServer);

    DWORD instance = 0;
    UINT result = DdeInitializeA(&instance, AnswerNothing, APPCMD_CLIENTONLY, 0);
    if (result != DMLERR_NO_ERROR) {
        char message[64];
        std::snprintf(message, sizeof message, "Unable to initialise DDE, Error %x", result);
        MessageBoxA(owner, message, "Oops!", MB_OK);
        return false;
    }
    bool attempted = false;
    {
        DdeString serviceName(instance, service.c_str());
        DdeString topic(instance, kTopic);
        DdeString item(instance, kItem);
        HCONV conversation = DdeConnect(instance, serviceName.get(), topic.get(), nullptr);
        if (!conversation) {
            MessageBoxA(owner, "Couldn't connect with IRC!", "Oops!", MB_OK);
        } else {
            attempted = true;
            DWORD length = static_cast<DWORD>(std::strlen(text) + 1);
            DdeClientTransaction(reinterpret_cast<BYTE*>(const_cast<char*>(text)), length, conversation, item.get(),
                                 CF_TEXT, XTYP_EXECUTE, kTransactionTimeoutMs, nullptr);
            if (!DdeDisconnect(conversation))
                MessageBoxA(owner, "Unable to disconnect from mIRC!", "Oops!!", MB_ICONEXCLAMATION);
        }
    }
    if (!DdeUninitialize(instance))
        MessageBoxA(owner, "Unable to uninitialize DDE.", "Oops!!", MB_ICONEXCLAMATION);
    return attempted;
}

}  // namespace join::win32
