#include "app/Application.h"

#include "base/Text.h"

namespace netvane {

Application::Application(Services& services, std::string devconImage)
    : services_(services),
      main_(state_, services, std::move(devconImage)),
      identity_(services.registry, services.windows),
      discovery_(state_, services, main_, identity_),
      advanced_(state_, services.windows, main_, [this] { CollectMainWindowFields(); },
                [this] { ShowConfigInMainWindow(); }) {
  MainWindow::Actions& actions = main_.actions();
  actions.enumerateAdapters = [this] { discovery_.EnumerateAdapters(); };
  actions.showSelectedAdapter = [this] { discovery_.ShowSelectedAdapter(); };
  actions.openAdvanced = [this] { advanced_.Open(); };
}

void Application::Start() { main_.Open(); }

void Application::CollectMainWindowFields() {
  WindowSystem& w = services_.windows;
  AdapterConfig& c = state_.config;
  const std::string preferred = w.Text(MainControl::首选框);
  const std::string alternate = w.Text(MainControl::备用框);
  if (preferred.empty() && alternate.empty()) {
    c.dnsList.Remove(1);
    c.dnsList.Remove(1);
  } else {
    for (std::size_t at = 1; at <= 2; ++at) {
      const std::string& text = at == 1 ? preferred : alternate;
      if (at == 2 && alternate.empty()) {
        c.dnsList.Remove(2);
      } else if (c.dnsList.Count() >= at) {
        c.dnsList.Replace(at, text);
      } else {
        c.dnsList.Append(text);
      }
    }
  }
  const std::string gateway = w.Text(MainControl::网关框);
  if (gateway.empty()) {
    c.gatewayList.Remove(1);
  } else if (c.gatewayList.Empty()) {
    c.gatewayList.Append({gateway, "0"});
  } else {
    const std::string& metric = c.gatewayList.At(1).secondary;
    c.gatewayList.Replace(1, {gateway, IntegerValue(metric) == 0 ? "0" : metric});
  }
  const ListEntry address{w.Text(MainControl::地址框), w.Text(MainControl::掩码框)};
  if (address.primary.empty()) {
    c.addressList.Remove(1);
  } else if (c.addressList.Empty()) {
    c.addressList.Append(address);
  } else {
    c.addressList.Replace(1, address);
  }
}

void Application::ShowConfigInMainWindow() {
  WindowSystem& w = services_.windows;
  const AdapterConfig& c = state_.config;
  const ListEntry none;
  const ListEntry& address = c.addressList.Empty() ? none : c.addressList.At(1);
  w.SetText(MainControl::地址框, address.primary);
  w.SetText(MainControl::掩码框, address.secondary);
  w.SetText(MainControl::网关框, c.gatewayList.Empty() ? "" : c.gatewayList.At(1).primary);
  w.SetText(MainControl::首选框, c.dnsList.Count() >= 1 ? c.dnsList.At(1) : "");
  w.SetText(MainControl::备用框, c.dnsList.Count() >= 2 ? c.dnsList.At(2) : "");
}

}  // namespace netvane
