// The descriptive fields shared by the Quake-III and GameSpy key/value replies.
#include <cstring>

#include "base/info_keys.h"
#include "base/text.h"
#include "net/reply_families.h"

namespace net {

using catalogue::ServerRecord;

void ClearDescriptiveFields(ServerRecord& record) {
    std::memset(record.infoText, 0, sizeof record.infoText);
    record.hostName[0] = '\0';
    record.gameName[0] = '\0';
    record.webAddress[0] = '\0';
    record.location[0] = '\0';
    record.adminEmail[0] = '\0';
    base::CopyText(record.passwordText, "0");
}

void ReadDescriptiveKeys(ServerRecord& record, std::string_view text, std::string_view versionKey) {
    if (auto v = base::lookupKey(text, "gamename"))
        copyStripped(*v, record.gameName);
    if (auto v = base::lookupKey(text, "email"))
        copyStripped(*v, record.adminEmail);
    if (auto v = base::lookupKey(text, "location"))
        copyStripped(*v, record.location);
    if (auto v = base::lookupKey(text, "url"))
        copyStripped(*v, record.webAddress);
    else if (auto w = base::lookupKey(text, "website"))
        copyStripped(*w, record.webAddress);
    if (auto v = base::lookupKey(text, versionKey))
        copyStripped(*v, record.versionText);
    if (auto v = base::lookupKey(text, "mapname"))
        base::CopyText(record.mapName, *v);
}

}  // namespace net
