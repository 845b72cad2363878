// The initialisation-file and file seams: the same suite runs against the in-memory doubles
// natively and against Windows' own functions under Wine.
#include "tests/contract/Fixtures.h"

namespace netvane::testing {

TEST_P(FilesContract, IniKeysRoundTripInGbk) {
  IniFile& ini = fixture_->ini();
  const std::string path = fixture_->PathOf("ipset.ini");
  EXPECT_EQ(ini.ReadString(path, "配置", "机器", "none"), "none");
  ASSERT_TRUE(ini.WriteString(path, "配置", "机器", "User"));
  ASSERT_TRUE(ini.WriteString(path, "配置", "增位", "真"));
  ASSERT_TRUE(ini.WriteString(path, "配置", "密码", ""));
  EXPECT_TRUE(fixture_->files().Exists(path));
  EXPECT_EQ(ini.ReadString(path, "配置", "机器", "none"), "User");
  EXPECT_EQ(ini.ReadString(path, "配置", "增位", "none"), "真");
  EXPECT_EQ(ini.ReadString(path, "配置", "密码", "none"), "");
  EXPECT_EQ(ini.ReadString(path, "配置", "地址", "none"), "none");
  EXPECT_EQ(ini.ReadString(path, "其他", "机器", "none"), "none");
}

TEST_P(FilesContract, IniWriteReplacesAKeyAndKeepsUnknownLines) {
  IniFile& ini = fixture_->ini();
  const std::string path = fixture_->PathOf("ipset.ini");
  fixture_->StoreRaw(path,
                     "; written by hand\r\n[配置]\r\n机器=Old\r\n备注=keep me\r\n"
                     "[Other]\r\n机器=Elsewhere\r\n");
  ASSERT_TRUE(ini.WriteString(path, "配置", "机器", "New"));
  ASSERT_TRUE(ini.WriteString(path, "配置", "地址", "192.168.16."));
  EXPECT_EQ(ini.ReadString(path, "配置", "机器", ""), "New");
  EXPECT_EQ(ini.ReadString(path, "配置", "地址", ""), "192.168.16.");
  EXPECT_EQ(ini.ReadString(path, "配置", "备注", ""), "keep me");
  EXPECT_EQ(ini.ReadString(path, "Other", "机器", ""), "Elsewhere");
  EXPECT_NE(fixture_->ReadRaw(path).find("; written by hand"), std::string::npos);
}

TEST_P(FilesContract, IniReadsAsWindowsDoes) {
  IniFile& ini = fixture_->ini();
  const std::string path = fixture_->PathOf("ipset.ini");
  fixture_->StoreRaw(path,
                     "[Settings]\r\nName =  spaced out  \r\nQuoted=\"in quotes\"\r\n"
                     "Long=" + std::string(600, 'x') + "\r\n");
  EXPECT_EQ(ini.ReadString(path, "settings", "NAME", ""), "spaced out");
  EXPECT_EQ(ini.ReadString(path, "Settings", "Quoted", ""), "in quotes");
  EXPECT_EQ(ini.ReadString(path, "Settings", "Long", ""), std::string(600, 'x'));
}

TEST_P(FilesContract, IniSectionReadsAsWindowsDoes) {
  IniFile& ini = fixture_->ini();
  const std::string path = fixture_->PathOf("ipset.ini");
  fixture_->StoreRaw(path,
                     "[配置]\r\n机器=User\r\n[机器表]\r\n 00-1A-2B-3C-4D-5E = 019 \r\n\r\n"
                     "; note\r\nbare line\r\nquoted=\"7\"\r\n=5\r\n[机器表]\r\nlater=9\r\n");
  EXPECT_EQ(ini.ReadSection(path, "机器表"),
            (std::vector<std::string>{"00-1A-2B-3C-4D-5E=019", "bare line", "quoted=\"7\"", "=5"}));
}

TEST_P(FilesContract, IniWriteFailsWhereADirectoryStands) {
  const std::string path = fixture_->PathOf("ipset.ini");
  fixture_->MakeDirectory(path);
  EXPECT_FALSE(fixture_->ini().WriteString(path, "配置", "机器", "User"));
}

TEST_P(FilesContract, WholeFileWritesReplaceAndSizesAreReported) {
  FileSystem& files = fixture_->files();
  const std::string path = fixture_->PathOf("devcon.exe");
  const std::string image = std::string("MZ\0\x90", 4) + std::string(5000, '\xCC');
  EXPECT_FALSE(files.Exists(path));
  EXPECT_EQ(files.FileSize(path), std::nullopt);
  ASSERT_TRUE(files.WriteWholeFile(path, ""));
  EXPECT_EQ(files.FileSize(path), 0u);
  ASSERT_TRUE(files.WriteWholeFile(path, image));
  EXPECT_TRUE(files.Exists(path));
  EXPECT_EQ(files.FileSize(path), image.size());
  EXPECT_EQ(fixture_->ReadRaw(path), image);
}

}  // namespace netvane::testing
