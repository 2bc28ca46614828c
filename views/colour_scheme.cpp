// The scheme file mapping: halves swapped against the entry order, slots 12-15 carried.
#include "views/colour_scheme.h"

#include "base/byte_reader.h"
#include "base/file_io.h"
#include "base/text.h"

namespace views {

namespace {

constexpr int kHalf = catalogue::kSchemeColours / 2;
constexpr char kExtension[] = ".vxc";
constexpr size_t kExtensionLength = sizeof kExtension - 1;

// The entry stored in a slot of the file (slots 0-11).
int EntryOfSlot(int slot) {
    return (slot + kHalf) % catalogue::kSchemeColours;
}

}  // namespace

void SchemeToBuffer(const SchemeColours& colours, SchemeBuffer& buffer) {
    for (int slot = 0; slot < catalogue::kSchemeColours; ++slot)
        base::StoreU32LE(buffer.bytes + 4 * slot, colours[EntryOfSlot(slot)]);
}

void BufferToScheme(const SchemeBuffer& buffer, SchemeColours& colours) {
    for (int slot = 0; slot < catalogue::kSchemeColours; ++slot)
        colours[EntryOfSlot(slot)] = base::LoadU32LE(buffer.bytes + 4 * slot);
}

void SetDefaultScheme(SchemeColours& colours, uint32_t buttonFaceColour) {
    static constexpr uint32_t kDefaults[catalogue::kSchemeColours - 1] = {
        0x00FBF8F4, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00008000,
        0x00000000, 0x00000000, 0x0000FF00, 0x00FF0000, 0x00000000};
    for (int i = 0; i < catalogue::kSchemeColours - 1; ++i)
        colours[i] = kDefaults[i];
    colours[catalogue::kSchemeColours - 1] = buttonFaceColour;
}

bool ReadSchemeFile(const std::string& path, SchemeBuffer& buffer) {
    base::FileReader file(path);
    if (!file.IsOpen())
        return false;
    SchemeBuffer read = buffer;
    file.Read(read.bytes, kSchemeFileSize);
    buffer = read;
    return true;
}

bool WriteSchemeFile(const std::string& path, const SchemeBuffer& buffer) {
    base::AtomicFileWriter file(path);
    return file.Write(buffer.bytes, kSchemeFileSize) && file.Commit();
}

std::string WithSchemeExtension(const std::string& path) {
    if (path.size() > kExtensionLength + 1 &&
        base::EqualsNoCase(std::string_view(path).substr(path.size() - kExtensionLength), kExtension))
        return path;
    return path + kExtension;
}

}  // namespace views
