#pragma once
#include <windows.h>
#include <objbase.h>

#include <string>

// What makes a COM object findable the way the bridge looks for Tolm: the
// ProgID in the current user's classes, and the object in the running object
// table. Each is made empty and then registered once; both undo exactly what
// they did when they go.

// Registers ProgID -> CLSID and CLSID -> ProgID under HKCU\Software\Classes.
// Wine's class lookup reads only the machine's classes (HKLM\Software\Classes)
// and ignores the per-user ones that Windows merges in, so when the ProgID
// does not resolve after the per-user entry is written and nothing else
// claims it, the same keys go into the machine's classes too (a Wine prefix
// lets its user write there). A ProgID that already names another class
// machine-wide is never overwritten.
class ScopedClassRegistration {
 public:
  ScopedClassRegistration() = default;
  ~ScopedClassRegistration();
  ScopedClassRegistration(const ScopedClassRegistration&) = delete;
  ScopedClassRegistration& operator=(const ScopedClassRegistration&) = delete;

  // True when CLSIDFromProgID then resolves the ProgID to the class; false,
  // with the reason in UTF-8, when it does not.
  [[nodiscard]] bool Register(std::wstring prog_id, const CLSID& clsid, const std::wstring& description,
                              std::string& reason);

 private:
  std::wstring prog_id_;
  std::wstring clsid_text_;
  bool wrote_machine_ = false;
};

// Puts an object into the running object table as the active object of a
// class (strong registration: the table holds a reference), and revokes it and
// disconnects its remote clients when it goes.
class ScopedActiveObject {
 public:
  ScopedActiveObject() = default;
  ~ScopedActiveObject();
  ScopedActiveObject(const ScopedActiveObject&) = delete;
  ScopedActiveObject& operator=(const ScopedActiveObject&) = delete;

  // False, with the reason (the system's code in it), when the table refused
  // the object.
  [[nodiscard]] bool Register(IUnknown* object, const CLSID& clsid, std::string& reason);
  // Revokes now; later calls and the destructor do nothing more.
  void Revoke();

 private:
  IUnknown* object_ = nullptr;
  DWORD cookie_ = 0;
};
