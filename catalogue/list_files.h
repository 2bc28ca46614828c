// Server-list ("GS%03d.vexar") and buddy-list ("BL%03d.vexar") files and the old buddy-list import.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/records.h"

namespace base {
class ByteSource;
class MessageSink;
}

namespace catalogue {

struct GameProfile;

constexpr size_t kServerRecordImageSize = 1640;
constexpr size_t kStatusBlockSize = 1544;
constexpr size_t kBuddyRecordImageSize = 50;

std::string ServerListFileName(uint32_t fileNumber);  // "GS%03d.vexar"
std::string BuddyListFileName(uint32_t fileNumber);   // "BL%03d.vexar"

// The 1544-byte status block and the whole 1640-byte record of the server-list file.
void WriteStatusBlock(const ServerRecord& record, uint8_t* block);
void ReadStatusBlock(const uint8_t* block, ServerRecord& record);
void WriteServerRecordImage(const ServerRecord& record, uint8_t* image);
// Fills a fresh record from an image as loading does: status block, address numbers, ports, ping,
// passwords; addressText rebuilt from the numbers; an empty name becomes "~ address:port"; not
// marked for refresh, no players, mod and game type names looked up again in the catalogue.
void ReadServerRecordImage(const uint8_t* image, ServerRecord& record, const Catalogue& catalogue, uint32_t kind);

// How far a list file was read: to its end (a trailing partial record is no error), or up to a read
// that failed before the end, with the whole records before it appended.
enum class ListRead { kWhole, kReadError };
ListRead readServerRecords(base::ByteSource& in, GameProfile& profile, const Catalogue& catalogue);
ListRead readBuddyRecords(base::ByteSource& in, GameProfile& profile);

// Writes every server of the profile in list order (an empty list gives an empty file). The file is
// replaced only once it is complete. Returns false when it could not be written.
bool saveServerList(const GameProfile& profile, const std::string& path);
// Appends the records of the file to the profile's list (creating an empty file when there is none)
// and sets listsLoaded. A trailing partial record is ignored. False when the file cannot be opened.
bool loadServerList(GameProfile& profile, const std::string& path, const Catalogue& catalogue);
bool saveBuddyList(const GameProfile& profile, const std::string& path);
bool loadBuddyList(GameProfile& profile, const std::string& path);

constexpr const char kOldBuddyFile[] = "vxrbl192.dat";
constexpr const char kOldBuddyBackup[] = "BL.OLD";

// Offers the old buddy list "vxrbl192.dat" of the folder for import into the profile: asks the user,
// appends the names that are not buddies yet, then tells the user and moves the file to "BL.OLD".
// Returns the number of entries offered (0 when there is no file, it is empty, or the user said No).
uint32_t importOldBuddyList(GameProfile& profile, const std::string& installFolder, base::MessageSink& sink);

}  // namespace catalogue
