// Reassembly of the Source query protocol's split replies (FF FF FF FE), in the Source and the
// GoldSrc numbering.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace net {

// How a split reply numbers its parts.
// Source: FE header, 4-byte id, total byte, number byte, then (on today's servers) a 2-byte part
// size, then the part. An id with its top bit set marks a reply compressed before it was cut.
// GoldSrc: FE header, 4-byte id, one byte whose high nibble is the number and low nibble the total.
enum class A2sSplitForm { kSource, kGoldSrc };

constexpr size_t kMaxSplitParts = 32;
constexpr size_t kMaxAssembledSize = 65536;

enum class SplitOutcome {
    kNotSplit,    // no FF FF FF FE header
    kMalformed,   // a header that cannot be right (number beyond the total, too many parts, too big)
    kPending,     // a part was kept (or was a copy of one kept); more must come
    kComplete,    // Assembled() holds the whole reply, FF FF FF FF header first
    kCompressed,  // a compressed reply: refused, nothing kept
};

// One reply at a time: a part of another id, or of the same id with another total, starts over (the
// parts of the earlier reply are dropped). Parts may come in any order. The whole is bounded by
// kMaxSplitParts parts and kMaxAssembledSize bytes, and must start with FF FF FF FF.
class SplitAssembler {
  public:
    explicit SplitAssembler(A2sSplitForm form) : form_(form) {}

    SplitOutcome Take(const uint8_t* data, size_t size);
    // The reply of the last kComplete; valid until the next Take.
    const std::vector<uint8_t>& Assembled() const { return assembled_; }
    void Reset();
    // Reads the parts that follow in the other numbering (what is held now is dropped; the reply of
    // the last kComplete stays valid).
    void SetForm(A2sSplitForm form) {
        Reset();
        form_ = form;
    }

  private:
    SplitOutcome Assemble();

    A2sSplitForm form_;
    bool active_ = false;
    uint32_t id_ = 0;
    size_t total_ = 0;
    size_t held_ = 0;
    size_t bytes_ = 0;
    std::vector<std::vector<uint8_t>> parts_;
    std::vector<bool> have_;
    std::vector<uint8_t> assembled_;
};

}  // namespace net
