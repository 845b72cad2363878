#include "app/Application.h"

namespace netvane {

Application::Application(Services& services, std::string devconImage)
    : services_(services),
      main_(state_, services, std::move(devconImage)),
      identity_(services.registry, services.windows),
      discovery_(state_, services, main_, identity_),
      apply_(state_, services, main_, identity_, discovery_),
      quickSetup_(state_, services, main_, apply_) {
  MainWindow::Actions& actions = main_.actions();
  actions.enumerateAdapters = [this] { discovery_.EnumerateAdapters(); };
  actions.showSelectedAdapter = [this] { discovery_.ShowSelectedAdapter(); };
  actions.loadQuickSetup = [this] { quickSetup_.LoadQuickSetup(); };
  actions.saveQuickSetup = [this] { quickSetup_.SaveQuickSetup(); };
  actions.fillFromMachineNumber = [this] { quickSetup_.FillFromMachineNumber(); };
  actions.runModify = [this] { apply_.RunModify(); };
  actions.openAdvanced = [this] { OpenAdvancedWindow(); };
}

void Application::Start() {
  main_.Open();
  tableLookup_ = quickSetup_.FillFromMachineTable();
}

// For now the advanced window only opens and closes again; it edits nothing yet.
void Application::OpenAdvancedWindow() {
  WindowSystem& windows = services_.windows;
  windows.SetHandler(WindowId::Advanced, [&windows](const WindowEvent& event) {
    const bool closing =
        event.kind == EventKind::CloseRequest ||
        (event.kind == EventKind::Click &&
         (event.control == static_cast<int>(AdvancedControl::确定按钮) ||
          event.control == static_cast<int>(AdvancedControl::取消按钮)));
    if (closing) windows.Close(WindowId::Advanced);
  });
  windows.OpenModal(WindowId::Advanced, WindowId::Main);
}

}  // namespace netvane
