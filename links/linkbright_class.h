#pragma once
// vrLinkbrightClass: makes window controls and list columns behave as links, with a link
// colour, an underline, a hover colour, an inactive colour and the hand cursor, and opens
// their web address, e-mail address or file with the user's default programs.
//
// One object serves one window: Init after the window opens, AddItem / AddString per link,
// then hand every event to TakeEvent. Every operation is virtual and every internal call
// goes through the virtual function, so a derived class can replace any of them (SetStyle,
// RefreshURL and GetListURL are meant to be). Every operation first tests Disable.
//
// Arguments in std::optional are the ones a caller may omit; omitted and given differ.
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "links/link_queues.h"
#include "platform/win/types.h"

class vrLinkbrightClass {
 public:
  vrLinkbrightClass() = default;
  virtual ~vrLinkbrightClass() = default;
  vrLinkbrightClass(const vrLinkbrightClass&) = delete;
  vrLinkbrightClass& operator=(const vrLinkbrightClass&) = delete;

  // The operations, in the order of the class's table.
  virtual void AddItem(LONG LinkbrightControl, std::optional<std::string> LinkbrightURL = {},
                       std::optional<LONG> NormalColor = {}, std::optional<LONG> BrightColor = {},
                       std::optional<LONG> Features = {}, LONG UseStdAction = 0);
  virtual void Init(std::optional<LONG> UseHandCursor = {}, BYTE pOptions = 0);
  virtual void TakeListEvent();
  virtual void Refresh(LONG LinkbrightControl);
  virtual void Run(std::optional<LONG> LinkbrightControl = {}, LONG LimitURL = 0);
  virtual void SetStyle(LONG LinkbrightControl, LONG ListRow, LONG ListColumn, LONG Style);
  virtual void TakeEvent();
  virtual std::string GetListURL(LONG LinkbrightControl, const std::string& LinkbrightURL,
                                 std::optional<std::string> FirstEmailName = {},
                                 std::optional<std::string> LastEmailName = {});
  virtual void ChangeURL(LONG LinkbrightControl, std::optional<std::string> URLLink = {});
  virtual std::string GetHTMLString(const std::string& StringSent, std::optional<LONG> Options = {},
                                    std::optional<std::string> Reserved = {});
  virtual LONG ChangeColumn(LONG LinkbrightControl, std::optional<std::string> OldColumns = {},
                            std::optional<std::string> NewColumns = {}, std::optional<LONG> Options = {});
  virtual void SetControlProperties(LONG LinkbrightControl, std::optional<LONG> CreateRegion = {});
  virtual void SaveFormat(LONG LinkbrightControl, std::optional<LONG> FreshQueue = {});
  virtual void AddString(LONG LinkbrightControl, std::optional<std::string> LinkbrightURL = {},
                         std::optional<LONG> NormalColor = {}, std::optional<LONG> BrightColor = {},
                         std::optional<LONG> NormalStyle = {}, std::optional<LONG> BrightStyle = {},
                         std::optional<LONG> Reserved = {});
  virtual LONG RegCheck(const std::string& FileName, LONG Options = 0);
  virtual LONG SetActive(LONG LinkbrightControl, BYTE ActiveFlag);
  virtual void Debug(const std::string& DebugString);
  virtual std::string FormatString(const std::string& ToBeFormatted, const std::string& Surround);
  virtual void HandleError(LONG pErrorCode, const std::string& pError, const std::string& pHeader);
  virtual LONG RefreshURL(LONG LinkbrightControl);
  // Escapes URLToRun in place so that a mail program receives it intact (Run, EncodeEmails).
  virtual void MakeEmailURLSafe();

  // The object's fields. Texts are kept clipped (no trailing blanks) and never longer than
  // their width, 4096 for URLs; a program's command from the desktop is kept whole, however
  // long it is.
  std::unique_ptr<LinkItemQueue> ItemQ;
  std::string LinkbrightBrowser;   // the browser's open command
  std::string LinkbrightEmail;     // the mail program's open command
  std::string ThisExeToRun;        // when set, Run starts this program with the target, once
  LONG HandCursor = 0;             // the event on which TakeListEvent tracks the mouse (0 never)
  std::string ListURL;             // GetListURL's last result
  BYTE Inited = 0;
  std::string URLToRun;            // what Run opens
  std::unique_ptr<LinkTrackerQueue> TrackerQ;
  std::string OpenProgram;         // the program found by the last RegCheck
  BYTE CheckURLs = 0;              // 1: Refresh greys out links nothing can open
  BYTE EncodeEmails = 0;           // 1: e-mail URLs are escaped before they run
  LONG LastFieldSelected = 0;
  std::string HandCursorToUse;     // the Cursor of links (blank: the platform's default)
  LONG LimitURL = 0;               // e-mail URL length limit: 0 none, -1 by system version
  LONG URLIsNotAnEmail = 0;        // non-zero: URLToRun is never taken for an e-mail address
  LONG RegQueryHandle = 0;         // root of the last registry query (HKEY_CLASSES_ROOT)
  std::string RegSubkeyName;       // subkey of the last registry query
  LONG RegBufferSize = 0;          // size given to the last registry query
  std::string pszValue;            // spare
  std::string pszPath;             // the Windows directory
  ULONG pszBuffer = 4096;          // the size given with pszPath
  LONG LBModTempType = 0;          // kind of the control being handled (scratch)
  BYTE DebugSet = 0;               // 1 once the command line was tested for "/LBDebug"
  BYTE DebugOn = 0;
  BYTE TryToStartInExistingWindow = 0;  // 1: never start the browser program directly
  BYTE Disable = 0;                // 1: every operation returns at once

 protected:
  // The registry query the class makes everywhere: HKEY_CLASSES_ROOT, size 200, then the
  // size the registry asks for when the value is longer; `into` gets the whole value, only on
  // success. Leaves RegSubkeyName and the others.
  LONG QueryClassesRoot(const std::string& subKey, std::string& into);
  // Runs the link of the row in ItemQ's buffer.
  void RunRow();
  // Handles the current event for the row in ItemQ's buffer.
  void HandleRow(LONG eventControl);
  // Reads the Windows directory into pszPath and puts its drive ("C:") in place of the
  // first "%SystemDrive%" of LinkbrightEmail at or after `from` (1-based); false when the
  // directory could not be read.
  bool ReplaceSystemDrive(size_t from);
  // Shows a failing ShellExecuteA result; nothing for a success.
  void CheckShellResult(int result, const std::string& file);

 private:
  // REGION links that SetControlProperties disabled for being inactive, so that it enables
  // them again when they are active, and leaves alone a region its owner disabled.
  std::set<LONG> regionsMadeInactive_;
};
