// The resources Setup.exe carries besides the payload, read from this program, which links
// the same objects: the drive and folder bitmaps, icon group 1, the manifest, the version.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "instutils/PackedResource.h"
#include "resources/SetupResources.h"
#include "resources/SetupVersion.h"
#include "ui/Graphics.h"

namespace {

std::string ResourceText(LPCSTR name, LPCSTR type) {
  HRSRC info = FindResourceA(nullptr, name, type);
  if (!info) return {};
  auto bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, info)));
  return std::string(bytes, SizeofResource(nullptr, info));
}

TEST(ProgramResources, BitmapsHaveEveryDrawnSizeDepthAndTransparentCorner) {
  struct TBitmap {
    const char* name;
    int width, height, bits;
    COLORREF corner;  // the bottom-left pixel, drawn transparent (CLR_INVALID: none)
    int whiteX, whiteY;  // a logo's white pixel at 96 DPI
  } const bitmaps[] = {
      {"OPENFOLDER", 16, 16, 4, RGB(128, 128, 0), 0, 0},
      {"CLOSEDFOLDER", 16, 16, 4, RGB(128, 128, 0), 0, 0},
      {"FIXEDDRIVE", 16, 11, 4, RGB(0, 0, 255), 0, 0},
      {"REMOVABLEDRIVE", 16, 10, 4, RGB(255, 255, 255), 0, 0},
      // The logos' 96-DPI pictures travel in the payload.
      {"LOGO", 120, 260, 8, CLR_INVALID, 10, 110},
      {"LOGOSMALL", 32, 32, 8, CLR_INVALID, 0, 0},
  };
  HDC dc = CreateCompatibleDC(nullptr);
  for (const TBitmap& b : bitmaps) {
    for (const int scale : {100, 150, 200}) {
      const bool logo = b.corner == CLR_INVALID;
      if (logo && scale == 100) continue;
      const std::string name = scale == 100 ? b.name : b.name + ("_" + std::to_string(scale));
      SCOPED_TRACE(name);
      const int width = b.width * scale / 100, height = (b.height * scale + 50) / 100;
      // The 96-DPI pictures are bitmap resources; the larger sizes packed .bmp files, read
      // as the program reads them.
      ui::TDrawnSizes sizes(b.name);
      const HBITMAP bitmap = scale == 100 ? static_cast<HBITMAP>(LoadImageA(
                                                GetModuleHandleA(nullptr), name.c_str(),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))
                                          : sizes.Nearest(ui::kDesignDpi * scale / 100);
      ASSERT_NE(bitmap, nullptr);
      EXPECT_EQ(ui::BitmapSize(bitmap).cx, width);
      EXPECT_EQ(ui::BitmapSize(bitmap).cy, height);
      if (scale == 100) {
        DIBSECTION dib{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof dib, &dib), int(sizeof dib));
        EXPECT_EQ(dib.dsBm.bmBitsPixel, b.bits);
      } else {
        const payload::TInflatedBytes file = inst::PackedResource(name.c_str());
        ASSERT_GT(file.size(), sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER info;
        memcpy(&info, file.data() + sizeof(BITMAPFILEHEADER), sizeof info);
        EXPECT_EQ(info.biBitCount, b.bits);
      }
      HGDIOBJ old = SelectObject(dc, bitmap);
      if (!logo) {
        EXPECT_EQ(GetPixel(dc, 0, height - 1), b.corner);
        // The corner colour is background only: it is not the colour of the picture's middle.
        EXPECT_NE(GetPixel(dc, width / 2, height / 2), b.corner);
      } else {  // run-length compressed, read back whole
        EXPECT_EQ(GetPixel(dc, b.whiteX * scale / 100, b.whiteY * scale / 100), RGB(255, 255, 255));
      }
      SelectObject(dc, old);
      if (scale == 100) DeleteObject(bitmap);  // the larger ones are owned by sizes
    }
  }
  DeleteDC(dc);
}

#pragma pack(push, 2)
struct TGroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(TGroupIconEntry) == 14, "an entry of a group icon resource");

TEST(ProgramResources, IconGroupOneHoldsSeven32BitPngImages) {
  const std::string group = ResourceText(MAKEINTRESOURCEA(SETUP_ICON_ID), RT_GROUP_ICON);
  ASSERT_GE(group.size(), 6u);
  const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
  ASSERT_EQ(count, 7);
  ASSERT_EQ(group.size(), 6u + count * sizeof(TGroupIconEntry));
  const int sizes[] = {256, 48, 40, 32, 24, 20, 16};
  for (int i = 0; i < count; ++i) {
    TGroupIconEntry e;
    memcpy(&e, group.data() + 6 + i * sizeof e, sizeof e);
    SCOPED_TRACE(sizes[i]);
    EXPECT_EQ(e.width == 0 ? 256 : e.width, sizes[i]);
    EXPECT_EQ(e.height == 0 ? 256 : e.height, sizes[i]);
    EXPECT_EQ(e.bitCount, 32);
    const std::string image = ResourceText(MAKEINTRESOURCEA(e.id), RT_ICON);
    ASSERT_EQ(image.size(), e.bytes);
    EXPECT_EQ(image.substr(0, 8), "\x89PNG\r\n\x1a\n");
  }
  // Windows picks and draws them: the shell's sizes load.
  for (int size : {16, 20, 24, 32, 40, 48}) {
    HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                               MAKEINTRESOURCEA(SETUP_ICON_ID), IMAGE_ICON,
                                               size, size, 0));
    EXPECT_NE(icon, nullptr) << size;
    if (icon) DestroyIcon(icon);
  }
}

TEST(ProgramResources, ManifestAsksForCommonControls6AndHighestLevel) {
  const std::string manifest = ResourceText(CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("level=\"highestAvailable\""), std::string::npos);
  EXPECT_NE(manifest.find("<description>Windows Shell</description>"), std::string::npos);
  const size_t own = manifest.find("<assemblyIdentity");
  const std::string identity = manifest.substr(own, manifest.find("/>", own) - own);
  EXPECT_NE(identity.find("name=\"Setup\""), std::string::npos);
  EXPECT_NE(identity.find("version=\"" SETUP_VERSION_TEXT "\""), std::string::npos) << identity;
  EXPECT_NE(identity.find("processorArchitecture=\"x86\""), std::string::npos);

  // The manifest takes effect: comctl32 comes from the side-by-side store's version 6.
  HMODULE comctl = LoadLibraryA("comctl32.dll");
  ASSERT_NE(comctl, nullptr);
  char path[MAX_PATH] = "";
  GetModuleFileNameA(comctl, path, MAX_PATH);
  std::string loaded = path;
  for (char& c : loaded) c = char(tolower(static_cast<unsigned char>(c)));
  EXPECT_NE(loaded.find("microsoft.windows.common-controls_6595b64144ccf1df_6."),
            std::string::npos)
      << path;
  FreeLibrary(comctl);
}

TEST(ProgramResources, VersionNamesTheProduct) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  ASSERT_GT(size, 0u);
  std::string data(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data.data()));
  auto text = [&](const char* key) {
    char* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904E4\\") + key;
    if (!VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
      return std::string("<none>");
    return std::string(value);
  };
  EXPECT_EQ(text("ProductName"), "Zentrova Latvian Spellchecker");
  EXPECT_EQ(text("FileDescription"), "Zentrova Latvian Spellchecker - Setup");
  EXPECT_EQ(text("OriginalFilename"), "Setup.exe");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  // The build's one version, in the fixed part (which the setup log reads) and the texts.
  const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(numbers, SETUP_VERSION_TEXT);
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
  EXPECT_EQ(text("FileVersion"), SETUP_VERSION_TEXT);
  EXPECT_EQ(text("ProductVersion"), SETUP_VERSION_TEXT);
}

}  // namespace
