// Quake-III style status replies: the info line of key/value pairs and the player lines after it.
#include <cstring>

#include "base/info_keys.h"
#include "base/text.h"
#include "net/reply_families.h"

namespace net {

namespace {

using catalogue::PlayerRecord;
using catalogue::ServerRecord;

// The header is four 0xFF bytes and "statusResponse" followed by a newline (one more type byte for
// kind 4), so the search for the newline that ends the info line starts right behind it.
size_t InfoLineSearchStart(uint32_t kind) {
    return kind == catalogue::kMedalOfHonour ? 20 : 19;
}

// Offset of the newline that ends the info line, or npos.
size_t InfoLineEnd(uint32_t kind, std::string_view reply) {
    size_t start = InfoLineSearchStart(kind);
    if (start >= reply.size())
        return std::string_view::npos;
    return reply.find('\n', start);
}

// Walks the newline-terminated lines that follow the info line. A trailing piece without its newline
// is not a line.
class PlayerLines {
  public:
    PlayerLines(uint32_t kind, std::string_view reply) : reply_(reply) {
        size_t end = InfoLineEnd(kind, reply);
        pos_ = end == std::string_view::npos ? reply.size() : end + 1;
    }
    bool Next(std::string_view* line) {
        if (pos_ >= reply_.size())
            return false;
        size_t nl = reply_.find('\n', pos_);
        if (nl == std::string_view::npos) {
            pos_ = reply_.size();
            return false;
        }
        *line = reply_.substr(pos_, nl - pos_);
        pos_ = nl + 1;
        return true;
    }

  private:
    std::string_view reply_;
    size_t pos_ = 0;
};

// One player line: `score ping "name"`, or `ping "name"` for kind 4. The score and the ping are
// stored as soon as they are read, so a line that fails later may leave them behind.
bool ParseLine(uint32_t kind, std::string_view line, PlayerRecord& slot) {
    if (line.size() > kMaxPlayerLineLength)
        return false;
    size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return false;
    std::string_view rest = line.substr(space + 1);
    if (kind == catalogue::kMedalOfHonour) {
        slot.ping = base::ParseDecimal(line.substr(0, space));
    } else {
        slot.score = base::ParseDecimal(line.substr(0, space));
        size_t pingEnd = rest.find(' ');
        if (pingEnd == std::string_view::npos)
            return false;
        slot.ping = base::ParseDecimal(rest.substr(0, pingEnd));
        rest = rest.substr(pingEnd + 1);
        // DarkPlaces team games put the player's team number before the name.
        if (catalogue::IsDarkPlaces(kind) && !rest.empty() && rest[0] != '"') {
            size_t teamEnd = rest.find(' ');
            if (teamEnd == std::string_view::npos)
                return false;
            rest = rest.substr(teamEnd + 1);
        }
    }
    // The name starts behind its opening quote (one character, whatever it is) and ends before the
    // next double quote.
    if (rest.empty())
        return false;
    std::string_view name = rest.substr(1);
    size_t close = name.find('"');
    if (close == std::string_view::npos)
        return false;
    std::memset(slot.name, 0, sizeof slot.name);
    base::CopyText(slot.name, name.substr(0, close));
    slot.viewMark = 0;
    return true;
}

int32_t DecimalOf(std::string_view info, std::string_view key, int32_t fallback) {
    auto value = base::lookupKey(info, key);
    return value ? base::ParseDecimal(*value) : fallback;
}

}  // namespace

std::string_view Quake3InfoPart(uint32_t kind, std::string_view reply) {
    size_t end = InfoLineEnd(kind, reply);
    return end == std::string_view::npos ? reply : reply.substr(0, end);
}

int countPlayerLines(uint32_t kind, std::string_view reply) {
    size_t end = InfoLineEnd(kind, reply);
    if (end == std::string_view::npos)
        return 0;
    int count = 0;
    for (size_t i = end + 1; i < reply.size(); ++i) {
        if (reply[i] == '\n')
            ++count;
    }
    return count;
}

bool parsePlayerLine(uint32_t kind, std::string_view reply, int lineNumber, PlayerRecord& slot) {
    if (lineNumber < 1 || lineNumber > catalogue::kMaxPlayerSlots)
        return false;
    PlayerLines lines(kind, reply);
    std::string_view line;
    for (int n = 1; n <= lineNumber; ++n) {
        if (!lines.Next(&line))
            return false;
    }
    return ParseLine(kind, line, slot);
}

void ParseQuake3Info(ServerRecord& record, std::string_view info, int playerLines) {
    ClearDescriptiveFields(record);
    if (auto v = base::lookupKey(info, "sv_hostname"))
        base::CopyText(record.hostName, *v);
    ReadDescriptiveKeys(record, info, "version");
    record.maxPlayers = DecimalOf(info, "sv_maxclients", record.maxPlayers);
    record.playerCount = playerLines;
    if (auto v = base::lookupKey(info, "g_needpass"))
        base::CopyText(record.passwordText, *v);
    record.pure = DecimalOf(info, "sv_pure", record.pure);
    record.gameSpeed = DecimalOf(info, "g_speed", record.gameSpeed);
    record.allowDownload = DecimalOf(info, "sv_allowdownload", record.allowDownload);
    record.allowVote = DecimalOf(info, "g_allowvote", record.allowVote);
    record.gravity = DecimalOf(info, "g_gravity", record.gravity);
    record.captureLimit = DecimalOf(info, "capturelimit", record.captureLimit);
    record.fragLimit = DecimalOf(info, "fraglimit", record.fragLimit);
    record.timeLimit = DecimalOf(info, "timelimit", record.timeLimit);
    record.maxRate = DecimalOf(info, "sv_maxrate", record.maxRate);
    record.privateSlots = DecimalOf(info, "sv_privateClients", 0);
}

namespace {

// DarkPlaces servers name themselves under "hostname" (bots are listed as players with ping 0, and
// counted under "bots").
void ReadDarkPlacesInfo(ServerRecord& record, std::string_view info) {
    if (record.hostName[0])
        return;
    if (auto v = base::lookupKey(info, "hostname"))
        base::CopyText(record.hostName, *v);
}

}  // namespace

void ApplyQuake3Reply(ServerRecord& record,
                      std::string_view text,
                      uint32_t kind,
                      const catalogue::Catalogue& catalogue,
                      const uint8_t* data,
                      size_t size,
                      RawReply* rawCopy) {
    record.hostName[0] = '\0';
    std::string_view info = Quake3InfoPart(kind, text);
    ParseQuake3Info(record, info, countPlayerLines(kind, text));
    if (catalogue::IsDarkPlaces(kind))
        ReadDarkPlacesInfo(record, info);
    if (rawCopy)
        rawCopy->CopyFrom(data, size);

    // Lines 1..playerCount go into slots 0..; more than 128 lines are counted but not stored. The
    // lines are walked once rather than searched again for every number.
    int toRead = record.playerCount < catalogue::kMaxPlayerSlots ? record.playerCount : catalogue::kMaxPlayerSlots;
    if (toRead > 0) {
        record.MakePlayerSlots(toRead);
        PlayerLines lines(kind, text);
        std::string_view line;
        for (int n = 0; n < toRead && lines.Next(&line); ++n)
            ParseLine(kind, line, *record.PlayerAt(n));
    }
    catalogue.classifyReply(info, record, kind);
}

}  // namespace net
