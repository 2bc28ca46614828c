// Provoking the modal-loop shape in-process: a message box that comes up inside a callback runs a
// real modal loop, and the test changes the world from inside it (timers fire, replies come in, a
// refresh closes, servers go) before the box is closed; afterwards it checks counts, rows and the
// busy flag, and FreedMemoryWatch tells whether anything freed was written to.
#pragma once

#include <windows.h>

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <string>

#include "testing/fake_message_sink.h"

namespace testing_support {

// What a test does inside a modal loop; box is the message box that runs it.
using Meanwhile = std::function<void(HWND box)>;

// Shows a real message box (MessageBoxA with these flags), runs meanwhile inside its modal loop and
// then closes the box with answer (IDOK, IDYES, IDNO). Returns what MessageBoxA returned.
int RunModalLoop(HWND owner, const std::string& text, UINT flags, const Meanwhile& meanwhile, int answer = IDOK);

// A message sink that records like FakeMessageSink. A message or question whose text a test
// registered with During comes up as a real message box, as the program's own sink shows it, and
// the registered script runs inside its modal loop; then the box is closed (a question with the
// registered answer). Each registration serves one box; texts without one only are recorded.
class ModalLoopSink : public FakeMessageSink {
  public:
    void During(const std::string& text, Meanwhile meanwhile, bool yes = false);
    // Registrations not used yet, of every text.
    size_t Unused() const;

    bool AskYesNo(std::string_view text, base::MessageIcon icon) override;
    void Tell(std::string_view text, base::MessageIcon icon) override;

    // The boxes' owner; nullptr: the window `mainWindow` holds when a box comes (a shell's main
    // window, which may not be there yet or any more).
    HWND owner = nullptr;
    const HWND* mainWindow = nullptr;
    // The boxes that came up, with the depth of boxes already up when each came (0: none).
    std::vector<std::pair<std::string, int>> boxes;

  private:
    struct Script {
        Meanwhile meanwhile;
        bool yes = false;
    };
    bool RunIfRegistered(std::string_view text, UINT flags, bool& yes);

    std::map<std::string, std::deque<Script>> scripts_;
    int depth_ = 0;
};

// What a modal loop would dispatch meanwhile: a timer of a window (WM_TIMER, as its expiry), and
// whatever the thread's queue holds.
void FireTimer(HWND window, UINT_PTR id);
// Dispatches what the thread's queue holds now (a WM_QUIT is dropped: the test goes on).
void PumpWaiting();
void PumpFor(DWORD ms);
// Pumps until done() holds or timeoutMs passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// While a watch lives, every block the program frees with operator delete (on any thread) is
// filled with a pattern and kept instead of being given back; when it ends, the blocks are checked
// and freed. One watch at a time.
class FreedMemoryWatch {
  public:
    FreedMemoryWatch();
    ~FreedMemoryWatch();
    FreedMemoryWatch(const FreedMemoryWatch&) = delete;
    FreedMemoryWatch& operator=(const FreedMemoryWatch&) = delete;

    // Blocks freed since the watch began that were written to after they were freed.
    size_t TouchedAfterFree() const;
    // Blocks freed since the watch began.
    size_t Freed() const;
};

}  // namespace testing_support
