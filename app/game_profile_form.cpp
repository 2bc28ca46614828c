// The Game Profile form's fields made into a profile.
#include "app/game_profile_form.h"

#include "base/text.h"

namespace app {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

uint32_t ParsePortText(std::string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return 0;
    uint32_t port = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        port = port * 10 + static_cast<uint32_t>(c - '0');
        // No port has more than five digits' worth: a longer number is as unreadable as letters.
        if (port > 65535)
            return 0;
    }
    return port;
}

std::unique_ptr<catalogue::GameProfile> MakeProfileFromFields(const GameProfileFields& fields,
                                                              const catalogue::Catalogue& catalogue) {
    if (fields.title.empty())
        return nullptr;
    auto p = std::make_unique<catalogue::GameProfile>();
    // The title field has room for 51 characters, but a title is 49 at most wherever it is entered.
    base::CopyText(p->title, kProfileTitleLimit + 1, fields.title);
    base::CopyText(p->masterAddress, fields.masterAddress);
    p->masterPort = ParsePortText(fields.port);
    base::CopyText(p->gameFolder, fields.gameFolder);
    p->kind = fields.kind;
    p->iconIndex = catalogue.iconIndexOf(fields.kind);
    p->protocol = fields.protocol;
    p->defaultMark = 0;
    p->serversPerQuery = 10;
    p->maxServers = 999;
    p->masterTimeoutMs = 2000;
    return p;
}

}  // namespace app
