#pragma once
// The switches a start-up script gives the program: the café action without a keystroke, and
// the undo of the last apply.
#include <string>
#include <string_view>

namespace netvane {

struct CommandLine {
  enum class Mode { Interactive, Number, Auto, Undo, Invalid };
  Mode mode = Mode::Interactive;
  std::string number;  // for Number: the machine number, as typed
};

// The switches, for the message box that answers any other command line.
inline constexpr std::string_view kCommandLineHelp =
    "可用的命令行参数：\r\n"
    "/number 机器号：按机器号配置本机，如 /number 019\r\n"
    "/auto：按 ipset.ini 机器表中本机网卡的机器号配置本机\r\n"
    "/undo：恢复最近一次修改前的设置（netvane-undo.reg）\r\n"
    "不带参数时照常打开窗口。";

// Reads the arguments after the program's name: nothing, "/number N" (N of 1 to 9 digits),
// "/auto" or "/undo"; switches in any case, with '-' for '/' too. Anything else is Invalid.
CommandLine ParseCommandLine(std::string_view arguments);

}  // namespace netvane
