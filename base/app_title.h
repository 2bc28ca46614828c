// The program's title: main window caption, single-instance mutex name, message box caption.
#pragma once

namespace base {

constexpr char kAppTitle[] = "Vexar! v2.0";
constexpr char kMainWindowClass[] = "VEXAR";

}  // namespace base
