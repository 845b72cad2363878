#include "app/Application.h"

#include "config/UndoFile.h"

namespace netvane {

Application::Application(Services& services, std::string devconImage)
    : services_(services),
      main_(state_, services, std::move(devconImage)),
      identity_(services.registry),
      discovery_(state_, services, main_, identity_),
      apply_(state_, services, main_, identity_, discovery_),
      quickSetup_(state_, services, main_, apply_),
      advanced_(state_, services.windows, main_,
                [this] { return apply_.CollectMainWindowFields(); },
                [this] { apply_.ShowConfigInMainWindow(); }) {
  MainWindow::Actions& actions = main_.actions();
  actions.enumerateAdapters = [this] { discovery_.EnumerateAdapters(); };
  actions.showSelectedAdapter = [this] { discovery_.ShowSelectedAdapter(); };
  actions.loadQuickSetup = [this] { quickSetup_.LoadQuickSetup(); };
  actions.saveQuickSetup = [this] { quickSetup_.SaveQuickSetup(); };
  actions.fillFromMachineNumber = [this] { quickSetup_.FillFromMachineNumber(); };
  actions.runModify = [this] { apply_.RunModify(); };
  actions.openAdvanced = [this] { advanced_.Open(); };
}

void Application::Start() {
  main_.Open();
  tableLookup_ = quickSetup_.FillFromMachineTable();
}

std::optional<int> Application::Run(std::string_view arguments) {
  const CommandLine command = ParseCommandLine(arguments);
  using Mode = CommandLine::Mode;
  if (command.mode == Mode::Invalid) {
    services_.windows.ShowMessage(WindowId::Main,
                                  "无法识别的命令行参数：" + std::string(arguments) + "\r\n\r\n" +
                                      std::string(kCommandLineHelp),
                                  kErrorTitle, MessageIcon::Exclamation);
    Log(arguments, 2, "命令行参数无效，未作修改");
    return 2;
  }
  if (command.mode != Mode::Interactive) {
    // Closed by hand before the run is done: the script learns it, and the log says so.
    main_.actions().ending = [this, line = std::string(arguments)] {
      Log(line, 1, "未完成即被关闭");
      return 1;
    };
  }
  Start();
  if (command.mode == Mode::Interactive) return std::nullopt;
  apply_.WriteOnlyChanges(true);  // a script may run at every boot

  if (command.mode == Mode::Undo) {
    const std::optional<bool> undone = RunUndo();
    const int code = !undone ? 2 : *undone ? 0 : 1;
    Log(arguments, code, !undone ? "没有可用的撤销文件" : *undone ? "已恢复" : "恢复失败");
    return code;
  }
  std::string number = command.number;
  if (command.mode == Mode::Auto) {
    if (tableLookup_ != TableLookup::Filled) {
      Log(arguments, 2, tableLookup_ == TableLookup::Clash ? "机器表有误，未作修改"
                        : !state_.quickSetupLoaded             ? "没有 ipset.ini，未作修改"
                        : tableLookup_ == TableLookup::NoTable ? "没有机器表，未作修改"
                                                              : "机器表中没有本机网卡，未作修改");
      return 2;
    }
    number = services_.windows.Text(MainControl::机器数框);
  }
  const ApplyResult result = RunCafeAction(number);
  const int code = result == ApplyResult::Failed ? 1 : result == ApplyResult::NotApplied ? 2 : 0;
  // A refusal says why, as its message box did: a boot script's log is read without the box.
  const std::string outcome = result == ApplyResult::Applied     ? "修改完成"
                              : result == ApplyResult::Unchanged ? "无需修改"
                              : result == ApplyResult::Failed    ? "修改失败"
                              : !state_.quickSetupLoaded         ? "没有 ipset.ini，未作修改"
                              : state_.refusal.empty()           ? "未作修改"
                                                                 : "未作修改：" + state_.refusal;
  // What the machine holds now, as the closing refresh shows it.
  WindowSystem& windows = services_.windows;
  Log(std::string(arguments) + "  机器号 " + number + "  " + windows.Text(MainControl::MAC信息框) +
          "  " + windows.Text(MainControl::机器名框) + "  " + windows.Text(MainControl::地址框),
      code, outcome);
  return code;
}

ApplyResult Application::RunCafeAction(const std::string& number) {
  WindowSystem& windows = services_.windows;
  apply_.ResetLastResult();
  windows.SelectPage(MainControl::功能选择夹, 0);
  main_.RunCafeAction();
  windows.SetText(MainControl::机器数框, number);
  main_.RunCafeAction();
  return apply_.LastResult();
}

std::optional<bool> Application::RunUndo() {
  const auto bytes = services_.files.ReadWholeFile(apply_.UndoPath());
  const auto values = bytes ? ParseUndoFile(*bytes) : std::nullopt;
  if (!values) return std::nullopt;
  // The start page is the one value of the user's own: run as another user (a scheduled task)
  // it may have nowhere to go, and that is no failure of the undo, as it is none of the apply.
  bool all = true;
  for (const PlannedValue& value : *values) {
    all = (services_.registry.Store(value) || value.root == RootKey::CurrentUser) && all;
  }
  main_.RefreshAdapters();
  return all;
}

void Application::Log(std::string_view arguments, int exitCode, std::string_view outcome) {
  std::string line = services_.clock.LocalTimeText() + "  netvane " + std::string(arguments) +
                     "  退出码 " + std::to_string(exitCode) + "  " + std::string(outcome);
  for (char& c : line) c = c == '\r' || c == '\n' ? ' ' : c;  // one run, one line
  line += "\r\n";
  services_.files.AppendToFile(services_.files.ProgramDirectory() + "\\netvane.log", line);
}

}  // namespace netvane
