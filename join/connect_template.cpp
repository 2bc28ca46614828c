// Connect templates: variables in their recognition order, optional segments, the 255 limit.
#include "join/connect_template.h"

#include <algorithm>
#include <cstring>

#include "base/text.h"
#include "views/game_colours.h"

namespace join {

namespace {

// In recognition order: the first name that matches at a '$' wins ($port before $pw).
enum class Variable {
    kIp,
    kPort,
    kGame,
    kTime,
    kRconPw,
    kModel,
    kName,
    kPw,
    kServer,
    kFolder,
    kSpec,
    kPing,
    kHostPort
};

struct VariableName {
    std::string_view name;
    Variable variable;
};

constexpr VariableName kVariables[] = {
    {"ip", Variable::kIp},
    {"port", Variable::kPort},
    {"game", Variable::kGame},
    {"time", Variable::kTime},
    {"rconpw", Variable::kRconPw},
    {"model", Variable::kModel},
    {"name", Variable::kName},
    {"pw", Variable::kPw},
    {"server", Variable::kServer},
    {"folder", Variable::kFolder},
    {"spec", Variable::kSpec},
    {"ping", Variable::kPing},
    {"hostport", Variable::kHostPort},
};

// The variable named right after the '$' at text[pos], with the length of "$name".
const VariableName* VariableAt(std::string_view text, size_t pos) {
    for (const VariableName& v : kVariables) {
        std::string_view candidate = text.substr(pos + 1, v.name.size());
        if (base::EqualsNoCase(candidate, v.name))
            return &v;
    }
    return nullptr;
}

// Network text without control bytes, before anything else is done with it: a line end or other
// control byte has no place in a command line or an mIRC command.
std::string WithoutControlBytes(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= ' ' && c != '\x7F')
            out += c;
    }
    return out;
}

// In the mIRC text the name keeps its colours as IRC codes; on a command line it is plain.
std::string ServerNameValue(const catalogue::ServerRecord& record, uint32_t kind, bool commandLine) {
    std::string raw = WithoutControlBytes(base::FieldText(record.hostName));
    if (commandLine)
        return views::StripColourCodes(raw, views::ColourDialectOf(kind));
    std::string name = views::ColourTextToIrc(raw, views::ColourDialectOf(kind));
    std::replace(name.begin(), name.end(), '|', '\x7F');
    return name;
}

// Network text as one part of a command line. Some engines split their command line at every '+'
// and end a console command at ';' even inside quotes (the Jedi Knight 2 and Elite Force line,
// ET: Legacy, the Half-Life engine), so those go wherever the text lands, and with them quotes,
// which could close the template's own. Outside quotes a space or tab becomes '_' so the text
// stays one argument.
std::string CommandLinePart(std::string_view value, bool inQuotes) {
    std::string out;
    for (char c : value) {
        if (c == '"' || c == '\'' || c == '+' || c == ';')
            continue;
        if (!inQuotes && (c == ' ' || c == '\t'))
            c = '_';
        out += c;
    }
    // "...\" would make the template's closing quote a literal one.
    if (inQuotes) {
        while (!out.empty() && out.back() == '\\')
            out.pop_back();
    }
    return out;
}

class Expander {
  public:
    Expander(bool segments, const ExpansionInput& input) : segments_(segments), in_(input) {}

    std::string Run(std::string_view text) {
        size_t i = 0;
        while (i < text.size() && out_.size() < kExpansionLimit) {
            char c = text[i];
            if (segments_ && c == ']') {
                ++i;
            } else if (segments_ && c == '[') {
                size_t close = text.find(']', i + 1);
                size_t end = close == std::string_view::npos ? text.size() : close;
                std::string_view inside = text.substr(i + 1, end - i - 1);
                if (SegmentStays(inside))
                    Expand(inside);
                i = close == std::string_view::npos ? text.size() : close + 1;
            } else {
                size_t next = text.find_first_of(segments_ ? "[]" : "", i);
                std::string_view plain = text.substr(i, next == std::string_view::npos ? text.size() - i : next - i);
                Expand(plain);
                i += plain.size();
            }
        }
        return out_;
    }

  private:
    // Copies ordinary text and replaces the variables in it.
    void Expand(std::string_view text) {
        for (size_t i = 0; i < text.size() && out_.size() < kExpansionLimit;) {
            const VariableName* v = text[i] == '$' ? VariableAt(text, i) : nullptr;
            if (!v) {
                Append(std::string_view(&text[i], 1));
                ++i;
                continue;
            }
            std::string value = ValueOf(v->variable);
            if (segments_ && (v->variable == Variable::kServer || v->variable == Variable::kFolder))
                value = CommandLinePart(value, InQuotes());
            Append(value);
            i += 1 + v->name.size();
        }
    }

    bool SegmentStays(std::string_view inside) const {
        for (size_t i = 0; i < inside.size(); ++i) {
            const VariableName* v = inside[i] == '$' ? VariableAt(inside, i) : nullptr;
            if (!v)
                continue;
            if (v->variable == Variable::kSpec) {
                if (in_.joinAsSpectator)
                    return true;
            } else if (v->variable != Variable::kTime && !ValueOf(v->variable).empty()) {
                return true;
            }
            i += v->name.size();
        }
        return false;
    }

    std::string ValueOf(Variable v) const {
        const catalogue::ServerRecord& r = in_.record;
        const JoinDetails& d = in_.details;
        switch (v) {
            case Variable::kIp:
                return std::string(base::FieldText(r.addressText));
            case Variable::kPort:
                return std::to_string(r.port);
            case Variable::kGame: {
                const char* shortName = in_.catalogue.shortNameOf(in_.kind);
                return shortName ? shortName : "";
            }
            case Variable::kTime:
                return std::string();
            case Variable::kRconPw:
                return std::string(base::FieldText(d.rconPassword));
            case Variable::kModel:
                return std::string(base::FieldText(d.model));
            case Variable::kName:
                return std::string(base::FieldText(d.playerName));
            case Variable::kPw:
                return std::string(base::FieldText(d.serverPassword));
            case Variable::kServer:
                return ServerNameValue(r, in_.kind, segments_);
            case Variable::kFolder: {
                std::string folder = WithoutControlBytes(base::FieldText(r.gameName));
                if (!segments_)
                    std::replace(folder.begin(), folder.end(), '|', '\x7F');
                return folder;
            }
            case Variable::kSpec:
                return in_.joinAsSpectator ? SpectatorArgument() : std::string();
            case Variable::kPing:
                return std::to_string(static_cast<int32_t>(r.ping)) + "ms";
            case Variable::kHostPort:
                return std::to_string(r.hostPort);
        }
        return std::string();
    }

    // The mod's argument; a server whose mod the catalogue does not know is still a server of the
    // game, so it takes the game's.
    std::string SpectatorArgument() const {
        if (const char* argument = in_.catalogue.spectatorArgumentFor(in_.kind, in_.record))
            return argument;
        const catalogue::GameDefinition* game = in_.catalogue.GameOf(in_.kind);
        return game ? game->spectatorArgument : std::string();
    }

    void Append(std::string_view text) { out_.append(text.substr(0, kExpansionLimit - out_.size())); }

    bool InQuotes() const { return std::count(out_.begin(), out_.end(), '"') % 2 == 1; }

    bool segments_;
    const ExpansionInput& in_;
    std::string out_;
};

}  // namespace

std::string ExpandConnectTemplate(bool segments, const ExpansionInput& input, std::string_view text) {
    return Expander(segments, input).Run(text);
}

void ExpandConnectTemplate(bool segments,
                           const ExpansionInput& input,
                           std::string_view text,
                           char (&destination)[kExpansionLimit + 1]) {
    base::CopyText(destination, ExpandConnectTemplate(segments, input, text));
}

}  // namespace join
