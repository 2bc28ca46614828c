// Server rows with their cell text copies and an index from record to row.
#include "views/server_rows.h"

#include <algorithm>

namespace views {

catalogue::ServerRecord* ServerRows::recordAt(int row) const {
    if (row < 0 || row >= size())
        return nullptr;
    return rows_[static_cast<size_t>(row)].record;
}

void ServerRows::Renumber() const {
    for (size_t i = numberedUpTo_; i < rows_.size(); ++i)
        index_[rows_[i].record] = static_cast<int>(i);
    numberedUpTo_ = rows_.size();
}

int ServerRows::rowOf(const catalogue::ServerRecord* record) const {
    auto it = index_.find(record);
    if (it == index_.end())
        return -1;
    if (static_cast<size_t>(it->second) < numberedUpTo_)
        return it->second;
    Renumber();
    return index_.find(record)->second;
}

void ServerRows::FillTexts(Row& row) {
    char buffer[kServerCellTextSize];
    row.texts.clear();
    for (int c = 0; c < kServerColumnCount; ++c) {
        size_t n = ServerCellText(*row.record, c, buffer, sizeof buffer);
        row.start[c] = static_cast<uint16_t>(row.texts.size());
        row.texts.append(buffer, n);
        row.texts.push_back('\0');
    }
}

int ServerRows::append(catalogue::ServerRecord* record) {
    if (!record)
        return -1;
    int existing = rowOf(record);
    if (existing >= 0) {
        refreshTexts(existing);
        return existing;
    }
    Row row;
    row.record = record;
    FillTexts(row);
    rows_.push_back(std::move(row));
    int at = size() - 1;
    index_[record] = at;
    if (numberedUpTo_ == rows_.size() - 1)
        numberedUpTo_ = rows_.size();
    return at;
}

void ServerRows::refreshTexts(int row) {
    if (row >= 0 && row < size())
        FillTexts(rows_[static_cast<size_t>(row)]);
}

void ServerRows::erase(int row) {
    if (row < 0 || row >= size())
        return;
    index_.erase(rows_[static_cast<size_t>(row)].record);
    rows_.erase(rows_.begin() + row);
    numberedUpTo_ = std::min(numberedUpTo_, static_cast<size_t>(row));
}

void ServerRows::clear() {
    rows_.clear();
    index_.clear();
    numberedUpTo_ = 0;
}

const char* ServerRows::text(int row, int column) const {
    if (row < 0 || row >= size() || column < 0 || column >= kServerColumnCount)
        return "";
    const Row& r = rows_[static_cast<size_t>(row)];
    return r.texts.c_str() + r.start[column];
}

void ServerRows::sort(
    const std::function<int(const catalogue::ServerRecord&, const catalogue::ServerRecord&)>& compare) {
    // A stable merge sort never relies on transitivity to stay inside the range, unlike an
    // introsort's unguarded partitions; it also keeps equal rows in their current order, as the
    // list control's own sort does.
    std::stable_sort(rows_.begin(), rows_.end(),
                     [&compare](const Row& a, const Row& b) { return compare(*a.record, *b.record) < 0; });
    numberedUpTo_ = 0;
}

int ServerRows::compareRows(const catalogue::ServerRecord* a, const catalogue::ServerRecord* b) const {
    return rowOf(a) - rowOf(b);
}

}  // namespace views
