// Split reply reassembly of the Source query protocol.
#include "net/a2s_split.h"

#include <cstring>

#include "base/byte_reader.h"

namespace net {

namespace {

constexpr uint8_t kSplitHeader[4] = {0xFE, 0xFF, 0xFF, 0xFF};  // -2, little-endian
constexpr uint8_t kWholeHeader[4] = {0xFF, 0xFF, 0xFF, 0xFF};
constexpr uint32_t kCompressedBit = 0x80000000u;
constexpr size_t kSourceHeader = 10;
constexpr size_t kGoldSrcHeader = 9;
constexpr size_t kPartSizeField = 2;

bool StartsWhole(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, kWholeHeader, 4) == 0;
}

}  // namespace

void SplitAssembler::Reset() {
    active_ = false;
    held_ = 0;
    bytes_ = 0;
    parts_.clear();
    have_.clear();
}

SplitOutcome SplitAssembler::Take(const uint8_t* data, size_t size) {
    if (!data || size < 4 || std::memcmp(data, kSplitHeader, 4) != 0)
        return SplitOutcome::kNotSplit;
    const size_t header = form_ == A2sSplitForm::kSource ? kSourceHeader : kGoldSrcHeader;
    if (size < header)
        return SplitOutcome::kMalformed;
    const uint32_t id = base::LoadU32LE(data + 4);
    size_t total, number;
    if (form_ == A2sSplitForm::kSource) {
        if (id & kCompressedBit) {
            Reset();
            return SplitOutcome::kCompressed;
        }
        total = data[8];
        number = data[9];
    } else {
        total = data[8] & 0x0F;
        number = data[8] >> 4;
    }
    if (total == 0 || total > kMaxSplitParts || number >= total)
        return SplitOutcome::kMalformed;
    if (!active_ || id != id_ || total != total_) {
        Reset();
        active_ = true;
        id_ = id;
        total_ = total;
        parts_.resize(total);
        have_.assign(total, false);
    }
    if (have_[number])
        return SplitOutcome::kPending;
    const size_t length = size - header;
    if (bytes_ + length > kMaxAssembledSize) {
        Reset();
        return SplitOutcome::kMalformed;
    }
    parts_[number].assign(data + header, data + size);
    have_[number] = true;
    bytes_ += length;
    ++held_;
    return held_ == total_ ? Assemble() : SplitOutcome::kPending;
}

SplitOutcome SplitAssembler::Assemble() {
    // Today's Source servers put the part size before every part; older ones do not. The first part
    // tells: its reply header stands right at its start, or after the size (which is never FF FF).
    size_t skip = 0;
    if (form_ == A2sSplitForm::kSource && !StartsWhole(parts_[0], 0))
        skip = kPartSizeField;
    assembled_.clear();
    for (const std::vector<uint8_t>& part : parts_) {
        if (part.size() < skip) {
            Reset();
            return SplitOutcome::kMalformed;
        }
        assembled_.insert(assembled_.end(), part.begin() + static_cast<std::ptrdiff_t>(skip), part.end());
    }
    Reset();
    return StartsWhole(assembled_, 0) ? SplitOutcome::kComplete : SplitOutcome::kMalformed;
}

}  // namespace net
