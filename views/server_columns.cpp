// Cell texts, captions and the info tip of the server list.
#include "views/server_columns.h"

#include "base/text.h"
#include "views/colour_text.h"

namespace views {

namespace {

const char* YesNo(int32_t value) {
    return value ? "Yes" : "No";
}

}  // namespace

const int kServerColumnInsertOrder[kServerColumnCount] = {
    kColumnAddress, kColumnPlayers, kColumnMod,         kColumnGameType,  kColumnMap,
    kColumnPing,    kColumnTitle,   kColumnAutoRefresh, kColumnFavourite, kColumnPassword,
};

const char* ServerColumnCaption(int column) {
    switch (column) {
        case kColumnTitle:
            return "Server Title";
        case kColumnPing:
            return "Ping";
        case kColumnMap:
            return "Map";
        case kColumnGameType:
            return "Game Type";
        case kColumnMod:
            return "Mod";
        case kColumnPlayers:
            return "Players";
        case kColumnAddress:
            return "Server Address";
        default:
            return "";
    }
}

size_t ServerCellText(const catalogue::ServerRecord& r, int column, char* out, size_t outSize) {
    switch (column) {
        case kColumnPassword:
            return base::CopyText(out, outSize, r.NeedsPassword() ? "Y" : " ");
        case kColumnFavourite:
            return base::CopyText(out, outSize, r.isFavourite ? "Y" : " ");
        case kColumnAutoRefresh:
            return base::CopyText(out, outSize, r.autoRefresh ? "Y" : " ");
        case kColumnTitle:
            return base::CopyText(out, outSize, base::FieldText(r.hostName));
        case kColumnPing:
            return base::FormatText(out, outSize, "%d", static_cast<int>(r.ping));
        case kColumnMap:
            return base::CopyText(out, outSize, base::FieldText(r.mapName));
        case kColumnGameType:
            return base::CopyText(out, outSize, base::FieldText(r.gameTypeDisplay));
        case kColumnMod:
            return base::CopyText(out, outSize, base::FieldText(r.modDisplay));
        case kColumnPlayers:
            if (r.privateSlots != 0)
                return base::FormatText(out, outSize, "%d/%d (-%d)", r.playerCount, r.maxPlayers, r.privateSlots);
            return base::FormatText(out, outSize, "%d/%d", r.playerCount, r.maxPlayers);
        case kColumnAddress: {
            std::string_view address = base::FieldText(r.addressText);
            return base::FormatText(out, outSize, "%.*s:%d", static_cast<int>(address.size()), address.data(),
                                    static_cast<int>(r.port));
        }
        default:
            return base::CopyText(out, outSize, "");
    }
}

std::string ServerCellText(const catalogue::ServerRecord& record, int column) {
    char buffer[kServerCellTextSize];
    size_t n = ServerCellText(record, column, buffer, sizeof buffer);
    return std::string(buffer, n);
}

std::string ServersVisibleText(size_t rows, uint32_t serverCount) {
    char buffer[64];
    size_t n = base::FormatText(buffer, sizeof buffer, "%d/%d Servers visible", static_cast<int>(rows),
                                static_cast<int>(serverCount));
    return std::string(buffer, n);
}

std::string ServerInfoTip(const catalogue::ServerRecord& r, ColourDialect dialect) {
    char number[48];
    std::string tip = "Server: ";
    tip += StripColourCodes(base::FieldText(r.hostName), dialect);
    tip += "\r\nVersion: ";
    tip += base::FieldText(r.versionText);
    tip += "\r\nIP Address: ";
    tip += base::FieldText(r.addressText);
    base::FormatText(number, sizeof number, ":%d", static_cast<int>(r.port));
    tip += number;
    tip += "\r\nGametype: ";
    tip += base::FieldText(r.gameTypeDisplay);
    tip += "\r\nServer Mod: ";
    tip += base::FieldText(r.modDisplay);
    tip += "\r\nPure Server: ";
    tip += YesNo(r.pure);
    tip += "\r\nVoting Allowed: ";
    tip += YesNo(r.allowVote);
    tip += "\r\nD/L Allowed: ";
    tip += YesNo(r.allowDownload);
    base::FormatText(number, sizeof number, "\r\nGravity: %d", r.gravity);
    tip += number;
    base::FormatText(number, sizeof number, "\r\nSpeed: %d", r.gameSpeed);
    tip += number;
    base::FormatText(number, sizeof number, "\r\nMax Rate: %d", r.maxRate);
    tip += number;
    base::FormatText(number, sizeof number, "\r\nCapture Limit (CTF): %d", r.captureLimit);
    tip += number;
    base::FormatText(number, sizeof number, "\r\nTime Limit: %d", r.timeLimit);
    tip += number;
    if (r.location[0]) {
        tip += "\r\nLocation: ";
        tip += base::FieldText(r.location);
    }
    if (r.webAddress[0]) {
        tip += "\r\nWebsite: ";
        tip += base::FieldText(r.webAddress);
    }
    if (r.adminEmail[0]) {
        tip += "\r\nEmail: ";
        tip += base::FieldText(r.adminEmail);
    }
    base::FormatText(number, sizeof number, "\r\nJoined Server: %d time(s)", static_cast<int>(r.joinCount));
    tip += number;
    return tip;
}

}  // namespace views
