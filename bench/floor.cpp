// The floor for start-up: a bare Win32 window with a label and an IP-address control.
#include <windows.h>
#include <commctrl.h>

namespace {

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  INITCOMMONCONTROLSEX controls = {};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_INTERNET_CLASSES;
  InitCommonControlsEx(&controls);
  WNDCLASSA type = {};
  type.lpfnWndProc = FloorProc;
  type.hInstance = instance;
  type.hCursor = LoadCursor(nullptr, IDC_ARROW);
  type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  type.lpszClassName = "NetvaneFloor";
  RegisterClassA(&type);
  HWND window = CreateWindowA("NetvaneFloor", "Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 400, 200, nullptr, nullptr, instance, nullptr);
  CreateWindowA("STATIC", "Address", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, window, nullptr,
                instance, nullptr);
  CreateWindowA(WC_IPADDRESSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 120, 10, 150, 22, window,
                nullptr, instance, nullptr);
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
