// Reading and writing the JSON documents of vexar-lists.
#include "testing/lists/json.h"

#include <cstdio>

#include "base/text.h"

namespace lists {

namespace {

const char* KindName(Json::Kind kind) {
    switch (kind) {
        case Json::Kind::kNull:
            return "null";
        case Json::Kind::kBool:
            return "a boolean";
        case Json::Kind::kNumber:
            return "a number";
        case Json::Kind::kText:
            return "a text";
        case Json::Kind::kArray:
            return "an array";
        case Json::Kind::kObject:
            return "an object";
    }
    return "?";
}

void Expect(const Json& value, Json::Kind kind, std::string_view what) {
    if (value.kind() != kind)
        throw JsonError(std::string(what) + " must be " + KindName(kind) + ", not " + KindName(value.kind()));
}

// Deep enough for any list document; a deeper one is refused rather than overflowing the stack.
constexpr int kMaxDepth = 32;

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    Json Document() {
        Json value = Value(0);
        SkipSpace();
        if (pos_ != text_.size())
            Fail("text after the document");
        return value;
    }

  private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw JsonError("JSON input, byte " + std::to_string(pos_) + ": " + what);
    }

    void SkipSpace() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
    }

    bool Take(char c) {
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    void Require(char c) {
        if (!Take(c))
            Fail(std::string("'") + c + "' expected");
    }

    bool TakeWord(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word)
            return false;
        pos_ += word.size();
        return true;
    }

    Json Value(int depth) {
        if (depth > kMaxDepth)
            Fail("nested too deeply");
        SkipSpace();
        if (pos_ >= text_.size())
            Fail("a value expected");
        char c = text_[pos_];
        if (c == '{')
            return ObjectValue(depth);
        if (c == '[')
            return ArrayValue(depth);
        if (c == '"')
            return Json::Text(TextValue());
        if (c == '-' || (c >= '0' && c <= '9'))
            return NumberValue();
        if (TakeWord("true"))
            return Json::Bool(true);
        if (TakeWord("false"))
            return Json::Bool(false);
        if (TakeWord("null"))
            return Json();
        Fail("a value expected");
    }

    Json ObjectValue(int depth) {
        Require('{');
        Json object = Json::Object();
        if (Take('}'))
            return object;
        do {
            SkipSpace();
            if (pos_ >= text_.size() || text_[pos_] != '"')
                Fail("a member name expected");
            std::string key = TextValue();
            if (object.Find(key))
                Fail("member \"" + key + "\" given twice");
            Require(':');
            object.Set(std::move(key), Value(depth + 1));
        } while (Take(','));
        Require('}');
        return object;
    }

    Json ArrayValue(int depth) {
        Require('[');
        Json array = Json::Array();
        if (Take(']'))
            return array;
        do
            array.Add(Value(depth + 1));
        while (Take(','));
        Require(']');
        return array;
    }

    Json NumberValue() {
        bool negative = text_[pos_] == '-';
        if (negative)
            ++pos_;
        if (pos_ >= text_.size() || text_[pos_] < '0' || text_[pos_] > '9')
            Fail("a digit expected");
        // Magnitudes up to 2^63 fit; the sign decides whether the last one does.
        uint64_t magnitude = 0;
        constexpr uint64_t kLimit = uint64_t{1} << 63;
        const size_t firstDigit = pos_;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            uint64_t digit = static_cast<uint64_t>(text_[pos_] - '0');
            if (magnitude > (kLimit - digit) / 10)
                Fail("number out of range");
            magnitude = magnitude * 10 + digit;
            ++pos_;
        }
        if (pos_ < text_.size() && (text_[pos_] == '.' || text_[pos_] == 'e' || text_[pos_] == 'E'))
            Fail("only whole numbers are used here");
        if (!negative && magnitude == kLimit)
            Fail("number out of range");
        if (pos_ - firstDigit > 1 && text_[firstDigit] == '0')
            Fail("a number does not begin with 0");
        return Json::Number(negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude));
    }

    int HexValue() {
        if (pos_ + 4 > text_.size())
            Fail("\\u needs four hexadecimal digits");
        int value = 0;
        for (int i = 0; i < 4; ++i) {
            int digit = base::HexDigitValue(text_[pos_++]);
            if (digit < 0)
                Fail("\\u needs four hexadecimal digits");
            value = value * 16 + digit;
        }
        return value;
    }

    std::string TextValue() {
        ++pos_;  // the opening quote
        std::string out;
        for (;;) {
            if (pos_ >= text_.size())
                Fail("unterminated text");
            unsigned char c = static_cast<unsigned char>(text_[pos_++]);
            if (c == '"')
                return out;
            if (c < 0x20)
                Fail("control character in a text");
            if (c >= 0x80)
                Fail("non-ASCII byte in a text (bytes 128 to 255 are written \\u0080 to \\u00ff)");
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (pos_ >= text_.size())
                Fail("unterminated text");
            char e = text_[pos_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    int value = HexValue();
                    if (value > 0xFF)
                        Fail("\\u" + std::string(text_.substr(pos_ - 4, 4)) + " is not a byte (the files hold bytes)");
                    out += static_cast<char>(value);
                    break;
                }
                default:
                    Fail(std::string("unknown escape \\") + e);
            }
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
};

void WriteText(const std::string& text, std::string& out) {
    out += '"';
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += ch;
        }
    }
    out += '"';
}

void WriteValue(const Json& value, std::string& out, int indent) {
    const std::string inner(static_cast<size_t>(indent + 1) * 2, ' ');
    switch (value.kind()) {
        case Json::Kind::kNull:
            out += "null";
            break;
        case Json::Kind::kBool:
            out += value.AsNumber("") ? "true" : "false";
            break;
        case Json::Kind::kNumber:
            out += std::to_string(value.AsNumber(""));
            break;
        case Json::Kind::kText:
            WriteText(value.AsText(""), out);
            break;
        case Json::Kind::kArray: {
            const auto& items = value.AsArray("");
            // Arrays of numbers (colours, column widths) stay on one line.
            bool flat = true;
            for (const Json& item : items)
                flat = flat && item.kind() == Json::Kind::kNumber;
            out += '[';
            for (size_t i = 0; i < items.size(); ++i) {
                out += i ? (flat ? ", " : ",\n" + inner) : (flat ? "" : "\n" + inner);
                WriteValue(items[i], out, indent + 1);
            }
            if (!flat && !items.empty())
                out += "\n" + std::string(static_cast<size_t>(indent) * 2, ' ');
            out += ']';
            break;
        }
        case Json::Kind::kObject: {
            const auto& members = value.AsObject("");
            out += '{';
            for (size_t i = 0; i < members.size(); ++i) {
                out += (i ? ",\n" : "\n") + inner;
                WriteText(members[i].first, out);
                out += ": ";
                WriteValue(members[i].second, out, indent + 1);
            }
            if (!members.empty())
                out += "\n" + std::string(static_cast<size_t>(indent) * 2, ' ');
            out += '}';
            break;
        }
    }
}

}  // namespace

Json Json::Number(int64_t value) {
    Json j;
    j.kind_ = Kind::kNumber;
    j.number_ = value;
    return j;
}

Json Json::Text(std::string value) {
    Json j;
    j.kind_ = Kind::kText;
    j.text_ = std::move(value);
    return j;
}

Json Json::Bool(bool value) {
    Json j;
    j.kind_ = Kind::kBool;
    j.number_ = value ? 1 : 0;
    return j;
}

Json Json::Array() {
    Json j;
    j.kind_ = Kind::kArray;
    return j;
}

Json Json::Object() {
    Json j;
    j.kind_ = Kind::kObject;
    return j;
}

int64_t Json::AsNumber(std::string_view what) const {
    if (kind_ != Kind::kBool)
        Expect(*this, Kind::kNumber, what);
    return number_;
}

const std::string& Json::AsText(std::string_view what) const {
    Expect(*this, Kind::kText, what);
    return text_;
}

const std::vector<Json>& Json::AsArray(std::string_view what) const {
    Expect(*this, Kind::kArray, what);
    return items_;
}

const std::vector<std::pair<std::string, Json>>& Json::AsObject(std::string_view what) const {
    Expect(*this, Kind::kObject, what);
    return members_;
}

const Json* Json::Find(std::string_view key) const {
    for (const auto& [name, value] : members_) {
        if (name == key)
            return &value;
    }
    return nullptr;
}

void Json::Add(Json value) {
    Expect(*this, Kind::kArray, "the value added to");
    items_.push_back(std::move(value));
}

void Json::Set(std::string key, Json value) {
    Expect(*this, Kind::kObject, "the value given a member");
    for (auto& [name, existing] : members_) {
        if (name == key) {
            existing = std::move(value);
            return;
        }
    }
    members_.emplace_back(std::move(key), std::move(value));
}

Json ParseJson(std::string_view text) {
    return Parser(text).Document();
}

std::string WriteJson(const Json& value) {
    std::string out;
    WriteValue(value, out, 0);
    out += '\n';
    return out;
}

}  // namespace lists
