// A small JSON document model for vexar-lists: integers, byte texts, arrays and objects.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lists {

// Malformed input, or a value of the wrong kind or range; what() says where and what.
class JsonError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One value. Texts are byte strings: each character of a JSON text is one byte (code points 0 to
// 255, as "latin-1" gives them in Python), which is how the program's files hold their texts.
// Numbers are integers. Object members keep their order.
class Json {
  public:
    enum class Kind { kNull, kBool, kNumber, kText, kArray, kObject };

    Json() = default;
    static Json Number(int64_t value);
    static Json Text(std::string value);
    static Json Bool(bool value);
    static Json Array();
    static Json Object();

    Kind kind() const { return kind_; }
    // The value as that kind; a JsonError naming `what` when it is of another kind.
    int64_t AsNumber(std::string_view what) const;
    const std::string& AsText(std::string_view what) const;
    const std::vector<Json>& AsArray(std::string_view what) const;
    const std::vector<std::pair<std::string, Json>>& AsObject(std::string_view what) const;
    // The member named key of an object, or nullptr.
    const Json* Find(std::string_view key) const;

    // Appends to an array; sets (or adds) a member of an object.
    void Add(Json value);
    void Set(std::string key, Json value);

  private:
    Kind kind_ = Kind::kNull;
    int64_t number_ = 0;
    std::string text_;
    std::vector<Json> items_;
    std::vector<std::pair<std::string, Json>> members_;
};

// Parses one whole document (surrounding white space allowed); a JsonError with the byte offset
// on anything else.
Json ParseJson(std::string_view text);

// The document as JSON text, ASCII only (other bytes and control characters as \u00XX).
std::string WriteJson(const Json& value);

}  // namespace lists
