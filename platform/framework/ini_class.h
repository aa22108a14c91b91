#pragma once
// The settings object over one Windows-style INI file.
//
// Reading never fails loudly: a missing or unreadable file, a missing key, garbage and
// binary junk all read as absent. Every write reads the file afresh, changes one line and
// replaces the file through a temporary file and a rename, keeping every other section,
// key and comment; a failed write leaves the old file as it was, and so does any write to a
// file the user made read-only. WriteFailure() keeps why, for the program to tell the user.
//
// Derive to keep the program's own values: override Fetch() (called by Init) and Update(),
// calling the parent's, and add `using INIClass::Fetch; using INIClass::Update;` so that the
// other forms stay visible.
#include <functional>
#include <string>
#include <string_view>

class IniDocument;
namespace rt {
class Window;
}

class INIClass {
 public:
  virtual ~INIClass() = default;

  // Sets the file and loads the preserved values (Fetch()).
  void Init(std::string_view fileName);
  // Forgets the file: later reads are absent and later writes do nothing.
  void Kill();

  // Hooks for the values the program keeps; the framework itself keeps none.
  virtual void Fetch() {}
  virtual void Update() {}

  // The value, or "" when absent.
  std::string TryFetch(std::string_view section, std::string_view key) const;
  std::string Fetch(std::string_view section, std::string_view key, std::string_view fallback) const;
  // False when the value could not be stored (bad name or value, no file, write failed).
  bool Update(std::string_view section, std::string_view key, std::string_view value);
  bool Update(std::string_view section, std::string_view key, long long value);

  // A window's place in the section named after its procedure: "Maximize" and "Minimize"
  // ("Yes"/"No"), "XPos", "YPos", "Width", "Height". Fetch leaves the window at its designed
  // place when the section has no valid "Maximize", ignores values that are not sensible
  // numbers, and restores the size only of a resizable window. Update keeps the last normal
  // place while the window is maximized or minimized.
  void Fetch(std::string_view procedure, rt::Window& window) const;
  bool Update(std::string_view procedure, const rt::Window& window);

  const std::string& FileName() const { return fileName_; }
  // Why the first write since Init did not reach the file, as a sentence; "" when every
  // write did (a name or value refused by Update is not a write).
  const std::string& WriteFailure() const { return writeFailure_; }

 private:
  // One read-change-write cycle of the file; `edit` returns false to refuse the change.
  bool Edit(const std::function<bool(IniDocument&)>& edit);

  bool WriteFailed(std::string reason);

  std::string fileName_;
  std::string writeFailure_;
};
