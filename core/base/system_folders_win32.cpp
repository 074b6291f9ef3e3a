#include "base/system_folders.h"

#include <cstdlib>
#include <random>

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include "base/format.h"
#include "base/utf16.h"

namespace tessaly::base {
namespace {

// Inside the program paths use '/', which every Windows API takes as well.
std::string ForwardSlashes(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

std::string Variable(const wchar_t* name) {
  const wchar_t* value = ::_wgetenv(name);
  return value && *value ? ForwardSlashes(Utf16ToUtf8(value)) : std::string();
}

}  // namespace

std::string HomeFolder() {
  if (std::string home = Variable(L"USERPROFILE"); !home.empty()) return home;
  wchar_t path[MAX_PATH];
  if (::SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK)
    return ForwardSlashes(Utf16ToUtf8(path));
  if (std::string appData = Variable(L"APPDATA"); !appData.empty()) return appData.substr(0, appData.rfind('/'));
  return "C:/";
}

std::string UserConfigFolder() {
  if (std::string appData = Variable(L"APPDATA"); !appData.empty()) return appData;
  std::string home = HomeFolder();
  if (home.back() == '/') home.pop_back();
  return home + "/AppData/Roaming";
}

std::string ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return ".";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::string exe = ForwardSlashes(Utf16ToUtf8(path));
  const size_t slash = exe.rfind('/');
  return slash == std::string::npos ? "." : exe.substr(0, slash);
}

std::string NewTemporaryFolder() {
  wchar_t base[MAX_PATH + 1];
  const DWORD n = ::GetTempPathW(MAX_PATH + 1, base);
  if (n == 0 || n > MAX_PATH) return {};
  std::string folder = ForwardSlashes(Utf16ToUtf8(std::wstring_view(base, n)));
  if (folder.back() != '/') folder += '/';
  std::random_device seed;
  std::mt19937 random(seed());
  // The user's temporary folder is private to the user already.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = folder + Format("tessaly-%06x", static_cast<unsigned>(random() & 0xFFFFFF));
    if (::CreateDirectoryW(Utf8ToUtf16(path).c_str(), nullptr)) return path;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
  return {};
}

}  // namespace tessaly::base
