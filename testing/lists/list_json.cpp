// The members of server and profile objects, and the files read and written with them.
#include "testing/lists/list_json.h"

#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "base/byte_reader.h"
#include "base/file_io.h"
#include "base/text.h"
#include "catalogue/catalogue.h"
#include "catalogue/list_files.h"
#include "catalogue/profiles.h"
#include "catalogue/records.h"

namespace lists {

namespace {

using catalogue::GameProfile;
using catalogue::ServerRecord;

// One member of an object: how it is read from a record and written into one.
template <typename Record>
struct Member {
    const char* key;
    std::function<Json(const Record&)> get;
    std::function<void(Record&, const Json&)> set;
};

template <typename T>
T CheckedNumber(const Json& value, const char* key) {
    int64_t n = value.AsNumber(key);
    if (n < static_cast<int64_t>(std::numeric_limits<T>::min()) ||
        n > static_cast<int64_t>(std::numeric_limits<T>::max()))
        throw JsonError(std::string(key) + " is out of range: " + std::to_string(n));
    return static_cast<T>(n);
}

template <typename Record, size_t N>
Member<Record> Text(const char* key, char (Record::*field)[N]) {
    return {key, [field](const Record& r) { return Json::Text(std::string(base::FieldText(r.*field))); },
            [field, key](Record& r, const Json& value) {
                const std::string& text = value.AsText(key);
                if (text.size() >= N)
                    throw JsonError(std::string(key) + " is longer than its " + std::to_string(N - 1) +
                                    " characters: \"" + text + "\"");
                if (text.find('\0') != std::string::npos)
                    throw JsonError(std::string(key) + " holds a NUL");
                base::CopyText(r.*field, text);
            }};
}

template <typename Record, typename T>
Member<Record> Number(const char* key, T Record::*field) {
    return {key, [field](const Record& r) { return Json::Number(static_cast<int64_t>(r.*field)); },
            [field, key](Record& r, const Json& value) { r.*field = CheckedNumber<T>(value, key); }};
}

template <typename Record, typename T, size_t N>
Member<Record> Numbers(const char* key, T (Record::*field)[N]) {
    return {key,
            [field](const Record& r) {
                Json array = Json::Array();
                for (T v : r.*field)
                    array.Add(Json::Number(static_cast<int64_t>(v)));
                return array;
            },
            [field, key](Record& r, const Json& value) {
                const std::vector<Json>& items = value.AsArray(key);
                if (items.size() != N)
                    throw JsonError(std::string(key) + " needs " + std::to_string(N) + " numbers, not " +
                                    std::to_string(items.size()));
                for (size_t i = 0; i < N; ++i)
                    (r.*field)[i] = CheckedNumber<T>(items[i], key);
            }};
}

// A dotted IPv4 address of four numbers 0 to 255; anything else is an error (the "octets" member
// writes numbers outside that range).
void SetAddress(ServerRecord& r, const Json& value) {
    const std::string& text = value.AsText("address");
    uint32_t octets[4] = {};
    size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        size_t end = text.find('.', pos);
        std::string part = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        std::optional<uint32_t> n = base::ParseDigits(part, 255);
        if (!n || (i < 3) != (end != std::string::npos))
            throw JsonError("address is not a dotted IPv4 address: \"" + text + "\"");
        octets[i] = *n;
        pos = end + 1;
    }
    std::memcpy(r.addressOctets, octets, sizeof octets);
    base::CopyText(r.addressText, text);
}

const std::vector<Member<ServerRecord>>& ServerMembers() {
    using R = ServerRecord;
    static const std::vector<Member<R>> members = {
        {"address", [](const R& r) { return Json::Text(std::string(base::FieldText(r.addressText))); }, SetAddress},
        Numbers("octets", &R::addressOctets),
        Number("port", &R::port),
        Number("host_port", &R::hostPort),
        Number("ping", &R::ping),
        Text("name", &R::hostName),
        Text("map", &R::mapName),
        Text("info", &R::infoText),
        Text("game", &R::gameName),
        Text("mod", &R::modDisplay),
        Text("web", &R::webAddress),
        Number("lives", &R::livesLeft),
        Text("location", &R::location),
        Number("joins", &R::joinCount),
        Number("favourite", &R::isFavourite),
        Text("version", &R::versionText),
        Number("max_rate", &R::maxRate),
        Number("time_limit", &R::timeLimit),
        Number("capture_limit", &R::captureLimit),
        Number("frag_limit", &R::fragLimit),
        Number("allow_download", &R::allowDownload),
        Number("allow_vote", &R::allowVote),
        Number("pure", &R::pure),
        Number("game_speed", &R::gameSpeed),
        Number("gravity", &R::gravity),
        Text("admin", &R::adminEmail),
        Number("max", &R::maxPlayers),
        Number("private", &R::privateSlots),
        Number("players", &R::playerCount),
        Text("password", &R::passwordText),
        Number("type_index", &R::gameTypeIndex),
        Number("mod_index", &R::modIndex),
        Number("protocol_version", &R::protocolVersion),
        Number("dedicated", &R::dedicated),
        Number("os", &R::serverOs),
        Number("is_mod", &R::isMod),
        Number("auto_refresh", &R::autoRefresh),
        Text("server_password", &R::serverPassword),
        Text("rcon_password", &R::rconPassword),
    };
    return members;
}

const std::vector<Member<GameProfile>>& ProfileMembers() {
    using P = GameProfile;
    static const std::vector<Member<P>> members = {
        Text("title", &P::title),
        Number("kind", &P::kind),
        Number("protocol", &P::protocol),
        Number("default_mark", &P::defaultMark),
        Text("master", &P::masterAddress),
        Number("port", &P::masterPort),
        Text("game_folder", &P::gameFolder),
        Number("master_timeout_ms", &P::masterTimeoutMs),
        Number("max_servers", &P::maxServers),
        Number("servers_per_query", &P::serversPerQuery),
        Number("file_number", &P::fileNumber),
        Number("icon", &P::iconIndex),
        Numbers("sort_descending", &P::sortDescending),
        Numbers("column_order", &P::columnOrder),
        Numbers("column_width", &P::columnWidth),
        Number("sort_column", &P::sortColumn),
        Numbers("colours", &P::colours),
    };
    return members;
}

template <typename Record>
Json ObjectOf(const Record& record, const std::vector<Member<Record>>& members) {
    Json object = Json::Object();
    for (const Member<Record>& m : members)
        object.Set(m.key, m.get(record));
    return object;
}

template <typename Record>
void Fill(Record& record, const Json& object, const std::vector<Member<Record>>& members, const char* what) {
    for (const auto& [key, value] : object.AsObject(what)) {
        const Member<Record>* member = nullptr;
        for (const Member<Record>& m : members) {
            if (key == m.key)
                member = &m;
        }
        if (!member)
            throw JsonError(std::string(what) + " has no member \"" + key + "\"");
        member->set(record, value);
    }
}

// The window colour new profiles take here, as the harness has always given them.
constexpr uint32_t kClassicButtonFace = 0xD4D0C8;

std::unique_ptr<GameProfile> ProfileFrom(const Json& object) {
    auto profile = std::make_unique<GameProfile>();
    if (const Json* hex = object.Find("image")) {
        if (object.AsObject("a profile").size() != 1)
            throw JsonError("a profile given as its image has no other members");
        const std::string& text = hex->AsText("image");
        if (text.size() != 2 * catalogue::kProfileImageSize)
            throw JsonError("image must be " + std::to_string(catalogue::kProfileImageSize) + " bytes in hex");
        uint8_t image[catalogue::kProfileImageSize];
        for (size_t i = 0; i < sizeof image; ++i) {
            int high = base::HexDigitValue(text[2 * i]), low = base::HexDigitValue(text[2 * i + 1]);
            if (high < 0 || low < 0)
                throw JsonError("image is not hexadecimal");
            image[i] = static_cast<uint8_t>(high << 4 | low);
        }
        catalogue::ReadProfileImage(image, *profile);
        return profile;
    }
    catalogue::ApplyProfileDefaults(*profile, kClassicButtonFace);
    Fill(*profile, object, ProfileMembers(), "a profile");
    return profile;
}

void Commit(base::AtomicFileWriter& out, const std::string& path) {
    if (!out.Commit())
        throw std::runtime_error("could not write " + path);
}

}  // namespace

void WriteServerFile(const Json& servers, const std::string& path) {
    GameProfile profile;
    for (const Json& object : servers.AsArray("the servers")) {
        auto record = std::make_unique<ServerRecord>();
        Fill(*record, object, ServerMembers(), "a server");
        catalogue::appendServer(profile.servers, std::move(record));
    }
    if (!catalogue::saveServerList(profile, path))
        throw std::runtime_error("could not write " + path);
}

Json ReadServerFile(const std::string& path) {
    base::FileReader in(path);
    if (!in.IsOpen())
        throw std::runtime_error("cannot open " + path);
    if (in.Size() % catalogue::kServerRecordImageSize)
        throw std::runtime_error(path + " does not hold whole records: " + std::to_string(in.Size()) + " bytes");
    const catalogue::Catalogue noGames;
    Json servers = Json::Array();
    uint8_t image[catalogue::kServerRecordImageSize];
    while (in.Read(image, sizeof image) == sizeof image) {
        ServerRecord record;
        catalogue::ReadServerRecordImage(image, record, noGames, 0);
        // Loading replaces some of what the file holds (an empty name, the player count): the
        // status block again, as it stands.
        catalogue::ReadStatusBlock(image, record);
        servers.Add(ObjectOf(record, ServerMembers()));
    }
    return servers;
}

void WriteBuddyFile(const Json& names, const std::string& path) {
    GameProfile profile;
    for (const Json& name : names.AsArray("the buddies")) {
        auto buddy = std::make_unique<catalogue::BuddyRecord>();
        Text("a buddy's name", &catalogue::BuddyRecord::name).set(*buddy, name);
        catalogue::appendBuddy(profile.buddies, std::move(buddy));
    }
    if (!catalogue::saveBuddyList(profile, path))
        throw std::runtime_error("could not write " + path);
}

Json ReadBuddyFile(const std::string& path) {
    // Loading makes a missing file; reading here leaves the folder as it is.
    if (!base::FileExists(path))
        throw std::runtime_error("cannot open " + path);
    GameProfile profile;
    if (!catalogue::loadBuddyList(profile, path))
        throw std::runtime_error("cannot open " + path);
    Json names = Json::Array();
    for (const catalogue::BuddyRecord* b = profile.buddies.head; b; b = b->next)
        names.Add(Json::Text(std::string(base::FieldText(b->name))));
    return names;
}

void WriteProfileFile(const Json& document, const std::string& path) {
    const Json* last = nullptr;
    const Json* profiles = nullptr;
    for (const auto& [key, value] : document.AsObject("the profile file")) {
        if (key == "last_file_number")
            last = &value;
        else if (key == "profiles")
            profiles = &value;
        else
            throw JsonError("the profile file has no member \"" + key + "\"");
    }
    if (!last || !profiles)
        throw JsonError("the profile file needs last_file_number and profiles");
    const std::vector<Json>& objects = profiles->AsArray("profiles");
    base::AtomicFileWriter out(path);
    uint8_t head[8];
    base::StoreU32LE(head, static_cast<uint32_t>(objects.size()));
    base::StoreU32LE(head + 4, CheckedNumber<uint32_t>(*last, "last_file_number"));
    out.Write(head, sizeof head);
    uint8_t image[catalogue::kProfileImageSize];
    for (const Json& object : objects) {
        catalogue::WriteProfileImage(*ProfileFrom(object), image);
        out.Write(image, sizeof image);
    }
    Commit(out, path);
}

Json ReadProfileFile(const std::string& path) {
    base::FileReader in(path);
    if (!in.IsOpen())
        throw std::runtime_error("cannot open " + path);
    uint8_t head[8];
    if (in.Read(head, sizeof head) != sizeof head)
        throw std::runtime_error(path + " is shorter than its head: " + std::to_string(in.Size()) + " bytes");
    Json document = Json::Object();
    document.Set("count", Json::Number(base::LoadU32LE(head)));
    document.Set("last_file_number", Json::Number(base::LoadU32LE(head + 4)));
    Json profiles = Json::Array();
    uint8_t image[catalogue::kProfileImageSize];
    int64_t whole = 0;
    while (in.Read(image, sizeof image) == sizeof image) {
        GameProfile profile;
        catalogue::ReadProfileImage(image, profile);
        profiles.Add(ObjectOf(profile, ProfileMembers()));
        ++whole;
    }
    document.Set("profiles", std::move(profiles));
    document.Set("trailing_bytes",
                 Json::Number(in.Size() - 8 - whole * static_cast<int64_t>(catalogue::kProfileImageSize)));
    return document;
}

void WriteProfileImageFile(const Json& profile, const std::string& path) {
    uint8_t image[catalogue::kProfileImageSize];
    catalogue::WriteProfileImage(*ProfileFrom(profile), image);
    base::AtomicFileWriter out(path);
    out.Write(image, sizeof image);
    Commit(out, path);
}

}  // namespace lists
