// The contract cases, each run against the in-memory doubles and against the Win32 seams.
#include <algorithm>

#include "config/RegistryLayer.h"
#include "tests/contract/Fixtures.h"

namespace netvane::testing {

constexpr RootKey HKLM = RootKey::LocalMachine;
using M = MainControl;

// Raw bytes come back as set (Windows may add a NUL); odd data reads as absent, numbers keep all
// 32 bits, REG_MULTI_SZ items join with CR LF and an empty one keeps its place.
TEST_P(SeamContract, RegistryReadsTakeRawDataAsWindowsHandsItOver) {
  const std::tuple<std::uint32_t, std::string, std::string, std::string, int> rows[] = {
      {regtype::kMultiSz, "a\0b\0c\0\0"s, "a\r\nb\r\nc", "", 7},
      {regtype::kMultiSz, "a\0\0b\0\0"s, "a\r\n\r\nb", "", 7},
      {regtype::kMultiSz, "\0\0"s, "", "", 7},
      {regtype::kMultiSz, "10.0.0.1", "10.0.0.1", "", 7},
      {regtype::kSz, "手动配置\0"s, "手动配置", "手动配置", 7},
      {regtype::kSz, "abc", "abc", "abc", 7},
      {regtype::kSz, "\0"s, "", "", 7},
      {regtype::kSz, "25\0"s, "25", "25", 7},
      {regtype::kDword, "\x19\0\0\0"s, "", "", 25},
      {regtype::kDword, "\xFE\xFF\xFF\xFF"s, "", "", -2},
      {regtype::kDword, "\x19\0"s, "", "", 7},
      {regtype::kBinary, "10.0.0.1", "", "", 7},
  };
  Registry& registry = seams->registry();
  RegistryLayer layer(registry);
  ScopedKey writer(registry, registry.Open(HKLM, seams->key, KeyAccess::SetValue));
  ScopedKey reader(registry, registry.Open(HKLM, seams->key, KeyAccess::QueryValue));
  int row = 0;
  for (const auto& [type, data, multi, text, number] : rows) {
    const std::string name = std::to_string(row++), path = seams->key + "\\" + name;
    ASSERT_TRUE(registry.Set(writer.get(), name, type, data));
    const RegistryValue stored = registry.Query(reader.get(), name).value_or(RegistryValue{});
    EXPECT_EQ(stored.type, type) << name;
    EXPECT_EQ(stored.data.substr(0, data.size()), data) << name;
    EXPECT_EQ(layer.ReadMultiString(seams->key, name), multi) << name;
    EXPECT_EQ(layer.ReadRegistryText(HKLM, path), text) << name;
    EXPECT_EQ(layer.ReadRegistryNumber(HKLM, path, 7), number) << name;
  }
}

// Writes succeed in an existing key only; handles do only what they were opened for.
TEST_P(SeamContract, RegistryWritesNeedAnExistingKeyOpenedToSet) {
  Registry& registry = seams->registry();
  RegistryLayer layer(registry);
  const std::string missing = seams->key + "\\{NoSuchAdapter}", value = seams->key + "\\V";
  for (const std::string& key : {missing, seams->key}) {
    const bool exists = key == seams->key;
    EXPECT_EQ(layer.WriteMultiString(key, "IPAddress", ""), exists) << key;
    EXPECT_EQ(layer.WriteRegistryValue(HKLM, key + "\\EnableDHCP", 0xFFFFFFFEu), exists) << key;
    EXPECT_EQ(layer.WriteRegistryValue(HKLM, key + "\\V", "old"), exists) << key;
    EXPECT_EQ(layer.ReadRegistryNumber(HKLM, key + "\\EnableDHCP"), exists ? -2 : 0) << key;
  }
  EXPECT_FALSE(layer.DeleteRegistryValue(HKLM, missing + "\\V"));
  EXPECT_FALSE(ScopedKey(registry, registry.Open(HKLM, missing, KeyAccess::QueryValue)));
  ScopedKey reader(registry, registry.Open(HKLM, seams->key, KeyAccess::QueryValue));
  ScopedKey writer(registry, registry.Open(HKLM, seams->key, KeyAccess::SetValue));
  EXPECT_FALSE(registry.Set(reader.get(), "V", regtype::kSz, "new\0"s));
  EXPECT_EQ(registry.Delete(reader.get(), "V"), DeleteResult::Failed);
  EXPECT_FALSE(registry.Query(writer.get(), "V"));
  EXPECT_EQ(layer.ReadRegistryText(HKLM, value), "old");
  for (int twice = 0; twice < 2; ++twice) EXPECT_TRUE(layer.DeleteRegistryValue(HKLM, value));
  EXPECT_FALSE(layer.RegistryValueExists(HKLM, value));
}

// Paths and names ignore case and pass over a doubled backslash; a key lists its direct subkeys.
TEST_P(SeamContract, RegistryKeyPathsAndSubkeysAsWindowsHasThem) {
  const std::string base = seams->key + "\\Class";
  for (const char* key : {"\\0000\\Linkage", "\\0001", "\\Properties"})
    seams->CreateKey(base + key);
  RegistryLayer layer(seams->registry());
  ASSERT_TRUE(layer.WriteRegistryValue(HKLM, base + "\\0001\\Driver", "E100B"));
  std::vector<std::string> names = layer.SubkeyNames(HKLM, base);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"0000", "0001", "Properties"}));
  EXPECT_TRUE(layer.SubkeyNames(HKLM, base + "\\0001").empty());
  EXPECT_EQ(layer.ReadRegistryText(HKLM, seams->key + "\\CLASS\\0001\\driver"), "E100B");
  EXPECT_EQ(layer.ReadRegistryText(HKLM, base + "\\\\0001\\Driver"), "E100B");
}

// As Windows: names ignore case, values trim and unquote, writes keep GBK and the rest, or fail.
TEST_P(SeamContract, IniFilesReadAndWriteAsWindowsDoes) {
  IniFile& ini = seams->ini();
  const std::string path = seams->directory + "\\ipset.ini", fresh = path + ".new", x600(600, 'x');
  const std::string text =
      "; by hand\r\n[机器表]\r\n 00-1A-2B-3C-4D-5E = 019 \r\n\r\n; note\r\n"
      "bare line\r\nquoted=\"7\"\r\n=5\r\n[机器表]\r\nlater=9\r\n[Settings]\r\n"
      "Name=Old\r\nSpaced =  \"in quotes\"  \r\nLong=";
  ASSERT_TRUE(seams->files().WriteWholeFile(path, text + x600 + "\r\n"));
  EXPECT_EQ(ini.ReadSection(path, "机器表"),
            (std::vector<std::string>{"00-1A-2B-3C-4D-5E=019", "bare line", "quoted=\"7\"", "=5"}));
  const std::string writes[][4] = {{path, "Settings", "Name", "New"},
                                   {path, "配置", "地址", "192.168."},
                                   {fresh, "配置", "增位", "真"},
                                   {fresh, "配置", "密码", ""}};
  for (const auto& [file, section, key, value] : writes) {
    ASSERT_TRUE(ini.WriteString(file, section, key, value)) << key;
  }
  const std::string reads[][4] = {
      {path, "settings", "NAME", "New"}, {path, "Settings", "SPACED", "in quotes"},
      {path, "Settings", "Long", x600},  {path, "配置", "地址", "192.168."},
      {fresh, "配置", "增位", "真"},     {fresh, "配置", "密码", ""}};
  for (const auto& [file, section, key, value] : reads) {
    EXPECT_EQ(ini.ReadString(file, section, key, "none"), value) << key;
  }
  EXPECT_EQ(seams->files().ReadWholeFile(path).value_or("").rfind("; by hand\r\n", 0), 0u);
  EXPECT_FALSE(ini.WriteString(seams->directory, "配置", "机器", "User"));
}

// An IP-address box reads as its four fields; an edit box reports every text set, even the same,
// and a number box keeps only the digits.
TEST_P(SeamContract, WindowTextBoxesReadBackAndReportEveryChange) {
  WindowSystem& w = seams->windows();
  std::vector<int> changed;
  w.SetHandler(WindowId::Main, [&](const WindowEvent& event) {
    if (event.kind == EventKind::TextChange) changed.push_back(event.control);
  });
  w.OpenModeless(WindowId::Main);
  const std::tuple<M, const char*, const char*> texts[] = {
      {M::掩码框, "192.168.16.5", "192.168.16.5"}, {M::掩码框, "10...", "10..."},
      {M::掩码框, "255.255.255", "255.255.255."},  {M::掩码框, "", ""},
      {M::机器名框, "本地连接 2", "本地连接 2"},   {M::机器名框, "本地连接 2", "本地连接 2"},
      {M::机器数框, "0x1 9", "019"}};  // a number box keeps the digits of a paste too
  for (const auto& [box, set, read] : texts) {
    w.SetText(box, set);
    EXPECT_EQ(w.Text(box), read) << set;
  }
  EXPECT_EQ(changed, (std::vector<int>{int(M::机器名框), int(M::机器名框), int(M::机器数框)}));
}

// Lists keep their items' order, and the selection through a new text and a removal before it.
TEST_P(SeamContract, WindowListsKeepTheirItemsAndSelection) {
  WindowSystem& w = seams->windows();
  w.OpenModeless(WindowId::Main);
  w.OpenModeless(WindowId::Advanced);
  for (ControlRef list : {ControlRef(M::网卡选择框), ControlRef(AdvancedControl::DNS列表框)}) {
    for (const char* item : {"Realtek", "Intel", "未发现网卡信息"}) w.AddItem(list, item);
    w.Select(list, 2);
    w.SetItem(list, 2, "9.9.9.9");
    w.RemoveItem(list, 0);
    EXPECT_EQ(w.Item(list, 0) + "," + w.Item(list, 1), "Intel,9.9.9.9");
    EXPECT_EQ(w.Selection(list), 1);
    w.ClearItems(list);
    EXPECT_EQ(std::pair(w.ItemCount(list), w.Selection(list)), std::pair(0, -1));
  }
}

// A disabled focused control passes the focus to the default button, or else to the next
// control; a hidden one loses it.
TEST_P(SeamContract, WindowDisabledOrHiddenControlsLoseTheFocus) {
  WindowSystem& w = seams->windows();
  w.OpenModeless(WindowId::Main);
  const auto focused = [&] { return static_cast<M>(w.Focused(WindowId::Main)); };
  w.SetFocus(M::刷新按钮);
  w.SetEnabled(M::刷新按钮, false);
  EXPECT_EQ(focused(), M::网吧按钮);
  w.SetEnabled(M::网吧按钮, false);
  EXPECT_EQ(focused(), M{});
  w.SetEnabled(M::刷新按钮, true);
  w.SetEnabled(M::网吧按钮, true);
  EXPECT_EQ(focused(), M::网吧按钮);
  w.SetFocus(M::地址框);  // the focus lands in one of the box's fields
  EXPECT_EQ(focused(), M::地址框);
  w.SelectPage(M::功能选择夹, 1);  // keys must not reach a field nobody sees
  EXPECT_EQ(focused(), M{});
  w.SelectPage(M::功能选择夹, 0);
  w.SetFocus(M::机器名框);
  w.SelectPage(M::功能选择夹, 1);  // the box goes with page 0
  EXPECT_EQ(focused(), M{});
  w.SetFocus(M::机器数框);
  w.SetVisible(M::机器数框, false);
  EXPECT_EQ(focused(), M{});
  using A = AdvancedControl;
  w.OpenModeless(WindowId::Advanced);  // with no default button, on to where Tab would go
  w.SetFocus(A::编辑按钮1);
  w.SetEnabled(A::编辑按钮1, false);
  EXPECT_EQ(w.Focused(WindowId::Advanced), static_cast<int>(A::删除按钮1));
}

}  // namespace netvane::testing
