// The resources inside talvoric.exe: each one US English (1033), the icon group's five
// images, the background picture and the manifest.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "gui_test.h"
#include "resource_ids.h"

using namespace guitest;

namespace {

const WORD kUsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::optional<std::string> ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name) {
  const HRSRC found = FindResourceExW(module, type, name, kUsEnglish);
  if (found == nullptr) return std::nullopt;
  const HGLOBAL loaded = LoadResource(module, found);
  const auto* data = static_cast<const char*>(LockResource(loaded));
  return std::string(data, SizeofResource(module, found));
}

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

}  // namespace

GUI_SCENARIO(ResourcesAreUsEnglishAndComplete) {
  App app(ctx, "resources");
  const HMODULE module = LoadLibraryExW(app.PathOf("talvoric.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  REQUIRE(module != nullptr);

  CHECK(ResourceBytes(module, RT_MENU, TEXT(RES_MAIN_MENU)).has_value());
  CHECK(ResourceBytes(module, RT_DIALOG, TEXT(RES_ABOUT_BOX)).has_value());
  CHECK(ResourceBytes(module, RT_DIALOG, TEXT(RES_SETTINGS_BOX)).has_value());

  // Icon group: 64, 48, 32, 24 and 16 pixels, 32 bits each.
  const auto group = ResourceBytes(module, RT_GROUP_ICON, TEXT(RES_MAIN_ICON));
  REQUIRE(group.has_value() && group->size() >= 6);
  WORD count = 0;
  std::memcpy(&count, group->data() + 4, 2);
  REQUIRE_EQ(count, WORD{5});
  REQUIRE(group->size() >= 6 + 5 * sizeof(GroupIconEntry));
  const int sizes[] = {64, 48, 32, 24, 16};
  for (int i = 0; i < 5; ++i) {
    GroupIconEntry e;
    std::memcpy(&e, group->data() + 6 + i * sizeof e, sizeof e);
    CHECK_EQ_MSG(static_cast<int>(e.width), sizes[i], "icon width " + std::to_string(i));
    CHECK_EQ_MSG(static_cast<int>(e.height), sizes[i], "icon height " + std::to_string(i));
    CHECK_EQ_MSG(static_cast<int>(e.bitCount), 32, "icon bits " + std::to_string(i));
    CHECK_EQ_MSG(ResourceBytes(module, RT_ICON, MAKEINTRESOURCEW(e.id)).has_value(), true,
                 "icon image US English " + std::to_string(i));
  }

  // Background: 480 x 320, 24 bits, uncompressed, bottom-up, every pixel 128,128,128.
  const auto bitmap = ResourceBytes(module, RT_BITMAP, TEXT(RES_BACKGROUND));
  REQUIRE(bitmap.has_value() && bitmap->size() >= sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER info;
  std::memcpy(&info, bitmap->data(), sizeof info);
  CHECK_EQ(info.biWidth, 480L);
  CHECK_EQ(info.biHeight, 320L);
  CHECK_EQ(static_cast<int>(info.biBitCount), 24);
  CHECK_EQ(static_cast<unsigned long>(info.biCompression), static_cast<unsigned long>(BI_RGB));
  const std::string pixels = bitmap->substr(info.biSize);
  CHECK_EQ(pixels.size(), std::size_t{480 * 3 * 320});
  CHECK_EQ(pixels.find_first_not_of('\x80'), std::string::npos);

  // Manifest: asInvoker, no uiAccess, and no common-controls dependency.
  const auto manifest = ResourceBytes(module, RT_MANIFEST, MAKEINTRESOURCEW(1));
  REQUIRE(manifest.has_value());
  CHECK(manifest->find("level=\"asInvoker\"") != std::string::npos);
  CHECK(manifest->find("uiAccess=\"false\"") != std::string::npos);
  CHECK(manifest->find("dependency") == std::string::npos);
  FreeLibrary(module);
}

// The program itself: a 32-bit GUI executable that needs no DLL beyond the system's.
GUI_SCENARIO(ProgramIsStatic32BitGuiExecutable) {
  App app(ctx, "executable");
  const auto image = app.ReadFile("talvoric.exe");
  REQUIRE(image.has_value() && image->size() > 0x400);
  const std::string& pe = *image;
  auto at = [&](std::size_t offset, std::size_t size) -> unsigned long {
    unsigned long v = 0;
    if (offset + size > pe.size()) return 0;
    for (std::size_t i = 0; i < size; ++i) v |= static_cast<unsigned long>(static_cast<unsigned char>(pe[offset + i])) << (8 * i);
    return v;
  };
  const std::size_t header = at(0x3C, 4);
  REQUIRE_EQ(pe.substr(header, 4), std::string("PE\0\0", 4));
  CHECK_EQ(at(header + 4, 2), 0x14Cul);  // i386
  const std::size_t optional = header + 24;
  CHECK_EQ(at(optional, 2), 0x10Bul);       // PE32
  CHECK_EQ(at(optional + 68, 2), 2ul);      // Windows GUI subsystem
  const std::size_t sections = optional + at(header + 20, 2);
  const std::size_t sectionCount = at(header + 6, 2);
  auto fileOffset = [&](unsigned long rva) -> std::size_t {
    for (std::size_t i = 0; i < sectionCount; ++i) {
      const std::size_t s = sections + i * 40;
      const unsigned long va = at(s + 12, 4), size = at(s + 16, 4), raw = at(s + 20, 4);
      if (rva >= va && rva < va + size) return raw + (rva - va);
    }
    return 0;
  };
  // The import directory: every DLL named there must be one the system has.
  const std::size_t imports = fileOffset(at(optional + 104, 4));
  REQUIRE(imports != 0);
  const std::vector<std::string> system = {"COMDLG32.DLL", "GDI32.DLL", "KERNEL32.DLL", "MSVCRT.DLL", "USER32.DLL",
                                           "ADVAPI32.DLL", "SHELL32.DLL"};
  int count = 0;
  for (std::size_t d = imports; at(d + 12, 4) != 0; d += 20, ++count) {
    const std::size_t nameAt = fileOffset(at(d + 12, 4));
    std::string name = pe.c_str() + nameAt;
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    CHECK_EQ_MSG(std::find(system.begin(), system.end(), name) != system.end(), true, "imports " + name);
  }
  CHECK(count > 0);
}
