// The arguments of an action, the action table's row, and every action's handler.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <limits>
#include <span>
#include <type_traits>

namespace driver {

// The arguments after the action's name. The table has checked their count; a text that should
// be a number and is not, or is out of range, is a UsageError.
class Args {
  public:
    explicit Args(std::span<char* const> values) : values_(values) {}

    size_t Count() const { return values_.size(); }
    const char* Text(size_t i) const;
    const char* TextOr(size_t i, const char* fallback) const { return i < Count() ? Text(i) : fallback; }

    // A decimal number (or hexadecimal with 0x) between min and max.
    template <typename T>
    T Number(size_t i, T min = std::numeric_limits<T>::min(), T max = std::numeric_limits<T>::max()) const {
        return static_cast<T>(ParseNumber(i, static_cast<long long>(min), ClampedMax(max)));
    }
    template <typename T>
    T NumberOr(size_t i,
               T fallback,
               T min = std::numeric_limits<T>::min(),
               T max = std::numeric_limits<T>::max()) const {
        return i < Count() ? Number<T>(i, min, max) : fallback;
    }
    // A time limit in milliseconds, fallback when the argument is not given.
    DWORD MillisecondsOr(size_t i, DWORD fallback) const;

  private:
    // max, or the largest long long when max is larger.
    template <typename T>
    static long long ClampedMax(T max) {
        if constexpr (std::is_unsigned_v<T>)
            return static_cast<long long>(std::min<unsigned long long>(max, std::numeric_limits<long long>::max()));
        else
            return max;
    }
    long long ParseNumber(size_t i, long long min, long long max) const;

    std::span<char* const> values_;
};

// One exit code: 0 success, 1 failure (2, usage errors, comes from the table).
using Handler = int (*)(const Args& args);

struct Action {
    const char* name;
    size_t minArgs;
    size_t maxArgs;
    const char* usage;    // the arguments, as shown in the usage
    const char* summary;  // what the action does and prints
    Handler handler;
};

// Main window (window_actions.cpp).
int WaitMain(const Args& args);
int CountWindows(const Args& args);
int Command(const Args& args);
int Key(const Args& args);
int Send(const Args& args);
int Mouse(const Args& args);
int Rect(const Args& args);
int MenuState(const Args& args);
int Show(const Args& args);
int Visible(const Args& args);
int Close(const Args& args);
int WaitIdle(const Args& args);
int WatchRefresh(const Args& args);
int Probe(const Args& args);

// Message boxes and dialogs (dialog_actions.cpp).
int Message(const Args& args);
int NoMessage(const Args& args);
int Answer(const Args& args);
int DlgWait(const Args& args);
int DlgText(const Args& args);
int DlgClick(const Args& args);
int DlgRows(const Args& args);
int DlgTable(const Args& args);
int DlgEnabled(const Args& args);
int DlgRead(const Args& args);
int DlgItems(const Args& args);
int DlgSelect(const Args& args);
int DlgChecked(const Args& args);

// List and tab controls (list_actions.cpp).
int Tabs(const Args& args);
int SelectTab(const Args& args);
int Rows(const Args& args);
int Table(const Args& args);
int WindowRows(const Args& args);
int WindowTable(const Args& args);
int WindowSelectRow(const Args& args);
int WindowChildText(const Args& args);
int WindowSetItemText(const Args& args);
int WindowCommand(const Args& args);
int SelectRow(const Args& args);

// Shell objects (shell_actions.cpp).
int SpecialFolder(const Args& args);
int LinkTarget(const Args& args);

// Registry values (registry_actions.cpp).
int RegDword(const Args& args);
int RegText(const Args& args);

}  // namespace driver
