#include "app/Application.h"

namespace netvane {

Application::Application(Services& services, std::string devconImage)
    : services_(services),
      main_(state_, services, std::move(devconImage)),
      identity_(services.registry),
      discovery_(state_, services, main_, identity_),
      apply_(state_, services, main_, identity_, discovery_),
      quickSetup_(state_, services, main_, apply_),
      advanced_(state_, services.windows, main_, [this] { apply_.CollectMainWindowFields(); },
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

void Application::Start() { main_.Open(); }

}  // namespace netvane
