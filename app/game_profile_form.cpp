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
    // A number beyond any port is as unreadable as letters.
    return base::ParseDigits(text, 65535).value_or(0);
}

std::unique_ptr<catalogue::GameProfile> MakeProfileFromFields(const GameProfileFields& fields,
                                                              const catalogue::Catalogue& catalogue) {
    if (fields.title.empty())
        return nullptr;
    auto p = std::make_unique<catalogue::GameProfile>();
    // The title field has room for 51 characters, but a title is 49 at most wherever it is entered.
    base::CopyText(p->title, kProfileTitleLimit + 1, fields.title);
    base::CopyText(p->masterAddress, fields.masterAddress);
    if (fields.masterAddress.size() > kMasterAddressLimit)
        p->masterHostName = fields.masterAddress.substr(0, kMasterHostLimit);
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
