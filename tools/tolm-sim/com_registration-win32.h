#pragma once
#include <windows.h>
#include <objbase.h>

#include <string>

// What makes a COM object findable the way the bridge looks for Tolm: the
// ProgID in the current user's classes, and the object in the running object
// table. Both undo exactly what they did when they go.

// Registers ProgID -> CLSID and CLSID -> ProgID under HKCU\Software\Classes.
// Wine's class lookup reads only the machine's classes (HKLM\Software\Classes)
// and ignores the per-user ones that Windows merges in, so when the ProgID
// does not resolve after the per-user entry is written and nothing else
// claims it, the same keys go into the machine's classes too (a Wine prefix
// lets its user write there). A ProgID that already names another class
// machine-wide is never overwritten.
class ScopedClassRegistration {
 public:
  ScopedClassRegistration(std::wstring prog_id, const CLSID& clsid, const std::wstring& description);
  ~ScopedClassRegistration();
  ScopedClassRegistration(const ScopedClassRegistration&) = delete;
  ScopedClassRegistration& operator=(const ScopedClassRegistration&) = delete;

  // True when CLSIDFromProgID now resolves the ProgID to the class.
  bool Ok() const { return error_.empty(); }
  // Why not, in UTF-8; empty when Ok().
  const std::string& Error() const { return error_; }

 private:
  std::wstring prog_id_;
  std::wstring clsid_text_;
  bool wrote_machine_ = false;
  std::string error_;
};

// Puts an object into the running object table as the active object of a
// class (strong registration: the table holds a reference), and revokes it and
// disconnects its remote clients when it goes.
class ScopedActiveObject {
 public:
  ScopedActiveObject(IUnknown* object, const CLSID& clsid);
  ~ScopedActiveObject();
  ScopedActiveObject(const ScopedActiveObject&) = delete;
  ScopedActiveObject& operator=(const ScopedActiveObject&) = delete;

  HRESULT Result() const { return result_; }
  bool Ok() const { return SUCCEEDED(result_); }
  // Revokes now; later calls and the destructor do nothing more.
  void Revoke();

 private:
  IUnknown* object_;
  DWORD cookie_ = 0;
  HRESULT result_;
};
