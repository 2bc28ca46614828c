// Server rows with their cell text copies, numbered through a Fenwick tree of live slots.
#include "views/server_rows.h"

#include <algorithm>

namespace views {

namespace {

// Deleted slots are dropped once they are this many and outnumber the live rows.
constexpr size_t kCompactAfter = 64;

size_t LowBit(size_t i) {
    return i & (~i + 1);
}

}  // namespace

void ServerRows::FillTexts(Slot& slot) {
    char buffer[kServerCellTextSize];
    slot.texts.clear();
    for (int c = 0; c < kServerColumnCount; ++c) {
        size_t n = ServerCellText(*slot.record, c, buffer, sizeof buffer);
        slot.start[c] = static_cast<uint16_t>(slot.texts.size());
        slot.texts.append(buffer, n);
        slot.texts.push_back('\0');
    }
}

int ServerRows::LiveBefore(size_t slot) const {
    int sum = 0;
    for (size_t i = slot; i > 0; i -= LowBit(i))
        sum += tree_[i];
    return sum;
}

size_t ServerRows::SlotOfRow(int row) const {
    // Descends the tree to the slot holding the (row + 1)-th live row.
    size_t pos = 0;
    int remaining = row + 1;
    size_t step = 1;
    while (step * 2 <= slots_.size())
        step *= 2;
    for (; step > 0; step /= 2) {
        if (pos + step <= slots_.size() && tree_[pos + step] < remaining) {
            pos += step;
            remaining -= tree_[pos];
        }
    }
    return pos;  // 0-based slot index
}

void ServerRows::AddToTree(size_t slot, int delta) {
    for (size_t i = slot + 1; i < tree_.size(); i += LowBit(i))
        tree_[i] += delta;
}

void ServerRows::Rebuild() {
    slots_.erase(std::remove_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.record == nullptr; }),
                 slots_.end());
    tree_.assign(slots_.size() + 1, 0);
    slotOf_.clear();
    slotOf_.reserve(slots_.size());
    for (size_t i = 0; i < slots_.size(); ++i) {
        slotOf_[slots_[i].record] = i;
        // Linear build: each node adds itself into its parent.
        tree_[i + 1] += 1;
        size_t parent = i + 1 + LowBit(i + 1);
        if (parent < tree_.size())
            tree_[parent] += tree_[i + 1];
    }
    live_ = static_cast<int>(slots_.size());
}

catalogue::ServerRecord* ServerRows::RecordAt(int row) const {
    if (row < 0 || row >= live_)
        return nullptr;
    return slots_[SlotOfRow(row)].record;
}

int ServerRows::RowOf(const catalogue::ServerRecord* record) const {
    auto it = slotOf_.find(record);
    if (it == slotOf_.end())
        return -1;
    return LiveBefore(it->second);
}

int ServerRows::Append(catalogue::ServerRecord* record) {
    if (!record)
        return -1;
    auto it = slotOf_.find(record);
    if (it != slotOf_.end()) {
        FillTexts(slots_[it->second]);
        return LiveBefore(it->second);
    }
    Slot slot;
    slot.record = record;
    FillTexts(slot);
    slots_.push_back(std::move(slot));
    // The new node covers slots (i - lowbit(i), i]: the live rows among the earlier ones, plus itself.
    const size_t i = slots_.size();
    if (tree_.empty())
        tree_.push_back(0);
    tree_.push_back(1 + LiveBefore(i - 1) - LiveBefore(i - LowBit(i)));
    slotOf_[record] = i - 1;
    return live_++;
}

void ServerRows::RefreshTexts(int row) {
    if (row >= 0 && row < live_)
        FillTexts(slots_[SlotOfRow(row)]);
}

void ServerRows::Erase(int row) {
    if (row < 0 || row >= live_)
        return;
    size_t s = SlotOfRow(row);
    slotOf_.erase(slots_[s].record);
    slots_[s] = Slot();
    AddToTree(s, -1);
    --live_;
    size_t dead = slots_.size() - static_cast<size_t>(live_);
    if (dead >= kCompactAfter && dead > static_cast<size_t>(live_))
        Rebuild();
}

void ServerRows::Clear() {
    slots_.clear();
    tree_.clear();
    slotOf_.clear();
    live_ = 0;
}

const char* ServerRows::Text(int row, int column) const {
    if (row < 0 || row >= live_ || column < 0 || column >= kServerColumnCount)
        return "";
    const Slot& s = slots_[SlotOfRow(row)];
    return s.texts.c_str() + s.start[column];
}

void ServerRows::Sort(const std::function<int(const SortKey&, const SortKey&)>& compare, std::mutex* recordLock) {
    // Empty slots go first; then a stable merge sort, which never relies on transitivity to stay
    // inside the range (unlike an introsort's unguarded partitions) and keeps equal rows in their
    // current order, as the list control's own sort does.
    slots_.erase(std::remove_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.record == nullptr; }),
                 slots_.end());
    {
        // One short hold for every row: the worker waits a moment instead of for the whole sort.
        std::unique_lock<std::mutex> guard;
        if (recordLock)
            guard = std::unique_lock(*recordLock);
        for (Slot& s : slots_)
            s.sortPing = s.record->ping;
    }
    std::stable_sort(slots_.begin(), slots_.end(), [&compare](const Slot& a, const Slot& b) {
        return compare(SortKey{*a.record, a.sortPing}, SortKey{*b.record, b.sortPing}) < 0;
    });
    Rebuild();
}

}  // namespace views
