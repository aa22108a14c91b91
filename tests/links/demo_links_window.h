#pragma once
// A window for tests only, holding one link of each kind the screens draw: a string, a
// scrolling string, a prompt with a mail address, an entry that runs on a left click, a
// combo, two link columns of a list, a button, a string link that is inactive, a text box and
// a region.
// DemoLinks derives from the link class as a program would: list links open the cell
// under the click, and hovered list rows are drawn through the cells' styles.
#include <string>
#include <vector>

#include "links/linkbright_class.h"
#include "platform/rt/queue.h"
#include "platform/rt/window_def.h"

namespace links_demo {

namespace ctl {
enum : int { WEBLINK = 1, SCROLLLINK, MAILLINK, HOMEPAGE, SITES, PEOPLE, OPENBUTTON, OLDLINK, NOTES, MAPAREA };
}  // namespace ctl

inline constexpr LONG kBlue = 0xFF0000;   // colours are 0xBBGGRR
inline constexpr LONG kRed = 0x0000FF;
inline constexpr LONG kGrey = 0x808080;

struct PersonRow {
  LONG No = 0;
  std::string Name;
  std::string Mail;
  std::string Site;
};
struct SiteRow {
  std::string Site;
};

extern rt::Queue<PersonRow> PEOPLE;
extern rt::Queue<SiteRow> SITES;
extern std::string LOC_HomePage;
extern std::string LOC_Notes;

// Fills the queues and the entry afresh.
void ResetDemoData();
rt::WindowDef DemoLinksWindow();
// The control kinds the window holds (announce them before opening it).
std::vector<rt::Kind> DemoKinds();

class DemoLinks : public vrLinkbrightClass {
 public:
  // The cell of the clicked row in the link's column; a mail address with the person's name.
  std::string GetListURL(LONG LinkbrightControl, const std::string& LinkbrightURL,
                         std::optional<std::string> FirstEmailName = {},
                         std::optional<std::string> LastEmailName = {}) override;
  void SetStyle(LONG LinkbrightControl, LONG ListRow, LONG ListColumn, LONG Style) override;
};

// Registers the window's links on the open window (the target).
void SetUpLinks(DemoLinks& links);
// The window's events for the link object; a column dragged in the list is followed.
void TakeDemoEvent(DemoLinks& links);
// The whole procedure: opens the window, runs its loop, closes it.
void DemoLinksMain();

}  // namespace links_demo
