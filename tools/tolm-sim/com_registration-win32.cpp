#include "com_registration-win32.h"

#include <oleauto.h>

#include <cstdio>

#include "core/utf16-win32.h"

namespace {

constexpr wchar_t kClassesKey[] = L"Software\\Classes\\";

std::wstring ClsidText(const CLSID& clsid) {
  wchar_t text[40] = {};
  StringFromGUID2(clsid, text, 40);
  return text;
}

LSTATUS SetDefaultValue(HKEY root, const std::wstring& path, const std::wstring& value) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return status;
}

std::wstring DefaultValue(HKEY root, const std::wstring& path) {
  wchar_t value[256] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  if (RegGetValueW(root, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return {};
  return value;
}

LSTATUS WriteKeys(HKEY root, const std::wstring& prog_id, const std::wstring& clsid, const std::wstring& description) {
  const std::wstring classes = kClassesKey;
  for (LSTATUS status : {SetDefaultValue(root, classes + prog_id, description),
                         SetDefaultValue(root, classes + prog_id + L"\\CLSID", clsid),
                         SetDefaultValue(root, classes + L"CLSID\\" + clsid, description),
                         SetDefaultValue(root, classes + L"CLSID\\" + clsid + L"\\ProgID", prog_id)}) {
    if (status != ERROR_SUCCESS) return status;
  }
  return ERROR_SUCCESS;
}

// Removes the ProgID only while it still names our class: someone may have
// registered the real program over it in the meantime.
void RemoveKeys(HKEY root, const std::wstring& prog_id, const std::wstring& clsid) {
  const std::wstring classes = kClassesKey;
  if (DefaultValue(root, classes + prog_id + L"\\CLSID") == clsid) RegDeleteTreeW(root, (classes + prog_id).c_str());
  RegDeleteTreeW(root, (classes + L"CLSID\\" + clsid).c_str());
}

bool Resolves(const std::wstring& prog_id, const CLSID& clsid) {
  CLSID found = CLSID_NULL;
  return SUCCEEDED(CLSIDFromProgID(prog_id.c_str(), &found)) && IsEqualCLSID(found, clsid);
}

std::string Status(LSTATUS status) {
  char text[32];
  std::snprintf(text, sizeof text, "error %ld", static_cast<long>(status));
  return text;
}

}  // namespace

bool ScopedClassRegistration::Register(std::wstring prog_id, const CLSID& clsid, const std::wstring& description,
                                       std::string& reason) {
  prog_id_ = std::move(prog_id);
  clsid_text_ = ClsidText(clsid);
  const std::string name = Utf16ToUtf8(prog_id_);
  // Another program's per-user registration is left alone: removing ours at
  // the end would otherwise take it away.
  const std::wstring existing = DefaultValue(HKEY_CURRENT_USER, kClassesKey + prog_id_ + L"\\CLSID");
  if (!existing.empty() && existing != clsid_text_) {
    reason = name + " is already registered for the current user to the class " + Utf16ToUtf8(existing);
    prog_id_.clear();
    return false;
  }
  if (LSTATUS status = WriteKeys(HKEY_CURRENT_USER, prog_id_, clsid_text_, description); status != ERROR_SUCCESS) {
    reason = "cannot register " + name + " for the current user: " + Status(status);
    return false;
  }
  if (Resolves(prog_id_, clsid)) return true;

  // Wine: per-user classes are not seen by the class lookup.
  CLSID other = CLSID_NULL;
  if (SUCCEEDED(CLSIDFromProgID(prog_id_.c_str(), &other))) {
    reason = name + " already names the class " + Utf16ToUtf8(ClsidText(other)) +
             " machine-wide, and the per-user registration does not take precedence here";
    return false;
  }
  wrote_machine_ = true;
  if (LSTATUS status = WriteKeys(HKEY_LOCAL_MACHINE, prog_id_, clsid_text_, description); status != ERROR_SUCCESS) {
    reason = "cannot register " + name +
             " (per-user classes are not seen and the machine's are not writable: " + Status(status) + ")";
    return false;
  }
  if (Resolves(prog_id_, clsid)) return true;
  reason = name + " does not resolve to its class after registration";
  return false;
}

ScopedClassRegistration::~ScopedClassRegistration() {
  if (prog_id_.empty()) return;
  RemoveKeys(HKEY_CURRENT_USER, prog_id_, clsid_text_);
  if (wrote_machine_) RemoveKeys(HKEY_LOCAL_MACHINE, prog_id_, clsid_text_);
}

bool ScopedActiveObject::Register(IUnknown* object, const CLSID& clsid, std::string& reason) {
  const HRESULT result = RegisterActiveObject(object, clsid, ACTIVEOBJECT_STRONG, &cookie_);
  if (SUCCEEDED(result)) {
    object_ = object;
    return true;
  }
  cookie_ = 0;
  char text[64];
  std::snprintf(text, sizeof text, "cannot enter the running object table (0x%08lX)",
                static_cast<unsigned long>(result));
  reason = text;
  return false;
}

ScopedActiveObject::~ScopedActiveObject() { Revoke(); }

void ScopedActiveObject::Revoke() {
  if (object_ == nullptr || cookie_ == 0) return;
  RevokeActiveObject(cookie_, nullptr);
  cookie_ = 0;
  // Drops the stubs of clients in other processes, so that nothing still
  // reaches the object once its owner lets it go.
  CoDisconnectObject(object_, 0);
}
