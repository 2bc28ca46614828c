// The rows of a server list: which record each row shows, its cell texts, and row lookup by record.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "catalogue/records.h"
#include "views/server_columns.h"
#include "views/server_sort.h"

namespace views {

// Rows refer to records and never own them. Row numbers are those of the list control (0-based,
// -1 = none); the pane mirrors every change here on its control, or shows the rows through a
// virtual (owner-data) list. The cell texts are copies taken when a row is added or refreshed, as a
// list control keeps them. Looking a row up by record or by number, appending and deleting all take
// O(log n), so that updating and removing rows of a 30,000-server list stays fast in any order.
// User-interface thread only.
class ServerRows {
  public:
    int size() const { return live_; }
    bool empty() const { return live_ == 0; }
    // nullptr when row is out of range.
    catalogue::ServerRecord* RecordAt(int row) const;
    // The record's row, or -1.
    int RowOf(const catalogue::ServerRecord* record) const;
    // Appends a row with the record's cell texts and returns it; a record that already has a row
    // keeps that row (returned, texts refreshed).
    int Append(catalogue::ServerRecord* record);
    // Rewrites the row's cell texts from its record.
    void RefreshTexts(int row);
    // Removes the row; later rows move up by one. Out-of-range rows are ignored.
    void Erase(int row);
    void Clear();
    // Cell text copy of a row ("" for an invalid row or column).
    const char* Text(int row, int column) const;

    // Stable sort of the rows by a comparison of their records (below 0: a above b), each with the
    // ping it had when the sort began: the pings are read first, all at once, with recordLock held
    // (when there is one). The comparison need not be a strict weak order (the "on top" rules are
    // not): the sort stays in bounds.
    void Sort(const std::function<int(const SortKey&, const SortKey&)>& compare, std::mutex* recordLock);

  private:
    // A slot keeps its position until the slots are compacted; a deleted row leaves an empty slot
    // (record nullptr). A Fenwick tree over the slots counts the live ones, which turns a slot into
    // a row number and back.
    struct Slot {
        catalogue::ServerRecord* record = nullptr;
        std::string texts;  // the ten cell texts, each followed by '\0'
        uint16_t start[kServerColumnCount] = {};
        uint32_t sortPing = 0;  // the record's ping when the last sort began
    };
    static void FillTexts(Slot& slot);
    int LiveBefore(size_t slot) const;
    size_t SlotOfRow(int row) const;
    void AddToTree(size_t slot, int delta);
    void Rebuild();

    std::vector<Slot> slots_;
    std::vector<int> tree_;  // 1-based Fenwick tree over slots_
    std::unordered_map<const catalogue::ServerRecord*, size_t> slotOf_;
    int live_ = 0;
};

}  // namespace views
