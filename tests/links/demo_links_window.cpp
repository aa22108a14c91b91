#include "tests/links/demo_links_window.h"

#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/events.h"
#include "platform/rt/list_source.h"
#include "platform/rt/props.h"

namespace links_demo {

rt::Queue<PersonRow> PEOPLE;
rt::Queue<SiteRow> SITES;
std::string LOC_HomePage;
std::string LOC_Notes;

namespace {
// The mail and site columns may be dragged; number and name stay.
constexpr const char* kPeopleFormat = "20R~No.~@n3@50L~Name~@s20@80L^~Mail~@s40@80L^~Site~@s40@";
}  // namespace

void ResetDemoData() {
  PEOPLE.Free();
  for (auto [no, name, mail, site] :
       {std::tuple{1, "Ann Lee", "ann@example.com", "https://ann.example.com"},
        {2, "Bo Ray", "bo@example.com", "www.bo.example"},
        {3, "Cy Doe", "cy@example.com", "http://cy.example/page one"}}) {
    PEOPLE->No = no;
    PEOPLE->Name = name;
    PEOPLE->Mail = mail;
    PEOPLE->Site = site;
    PEOPLE.Add();
  }
  SITES.Free();
  for (const char* site : {"https://example.org", "www.example.net"}) {
    SITES->Site = site;
    SITES.Add();
  }
  LOC_HomePage = "https://home.example.org/start";
  LOC_Notes = "Release notes";
}

rt::WindowDef DemoLinksWindow() {
  using rt::Kind;
  return rt::WindowDef{
      .label = "DemoLinks",
      .caption = "Links",
      .at = {0, 0, 240, 194},
      .controls = {
          {.feq = ctl::WEBLINK, .equate = "WEBLINK", .kind = Kind::String, .text = "www.example.org", .at = {10, 8, 80, 10}},
          {.feq = ctl::SCROLLLINK, .equate = "SCROLLLINK", .kind = Kind::SString, .text = "https://example.org/news",
           .at = {100, 8, 120, 10}},
          {.feq = ctl::MAILLINK, .equate = "MAILLINK", .kind = Kind::Prompt, .text = "Write to us", .at = {10, 24, 80, 10}},
          {.feq = ctl::HOMEPAGE, .equate = "LOC:HOMEPAGE", .kind = Kind::Entry, .at = {100, 22, 120, 12}, .use = LOC_HomePage},
          {.feq = ctl::SITES, .equate = "SITES", .kind = Kind::Combo, .at = {10, 40, 120, 12},
           .from = rt::From(SITES, [](const SiteRow& r) { return rt::Columns(r.Site); }), .format = "120L@s40@"},
          {.feq = ctl::PEOPLE, .equate = "PEOPLE", .kind = Kind::List, .at = {10, 58, 220, 80},
           .from = rt::From(PEOPLE, [](const PersonRow& r) { return rt::Columns(r.No, r.Name, r.Mail, r.Site); }),
           .format = kPeopleFormat},
          {.feq = ctl::OPENBUTTON, .equate = "OPENBUTTON", .kind = Kind::Button, .text = "Shop", .at = {10, 146, 50, 14}},
          {.feq = ctl::OLDLINK, .equate = "OLDLINK", .kind = Kind::String, .text = "www.gone.example", .at = {70, 148, 80, 10}},
          {.feq = ctl::NOTES, .equate = "LOC:NOTES", .kind = Kind::Text, .at = {10, 166, 220, 20}, .use = LOC_Notes},
          {.feq = ctl::MAPAREA, .equate = "MAPAREA", .kind = Kind::Region, .at = {160, 146, 70, 14}},
      }};
}

std::vector<rt::Kind> DemoKinds() {
  using rt::Kind;
  return {Kind::String, Kind::SString, Kind::Prompt, Kind::Entry, Kind::Combo, Kind::List, Kind::Button, Kind::Text,
          Kind::Region};
}

std::string DemoLinks::GetListURL(LONG LinkbrightControl, const std::string& LinkbrightURL,
                                  std::optional<std::string>, std::optional<std::string>) {
  rt::Window* w = rt::TargetWindow();
  const int row = CHOICE(LinkbrightControl);
  const auto column = static_cast<size_t>(std::atoi(LinkbrightURL.c_str()));
  if (w == nullptr || row < 1 || static_cast<size_t>(row) > w->ListRecords(LinkbrightControl)) return {};
  const std::vector<std::string> cells = w->ListRow(LinkbrightControl, static_cast<size_t>(row));
  if (column < 1 || column > cells.size()) return {};
  const std::string name = w->ListRow(LinkbrightControl, static_cast<size_t>(row))[1];
  return vrLinkbrightClass::GetListURL(LinkbrightControl, cells[column - 1], name);
}

void DemoLinks::SetStyle(LONG LinkbrightControl, LONG ListRow, LONG ListColumn, LONG Style) {
  if (ListRow > 0) rt::SetCellStyle(LinkbrightControl, ListRow, ListColumn, Style);
}

void SetUpLinks(DemoLinks& links) {
  links.HandCursorToUse = CURSOR::Hand;
  links.EncodeEmails = 1;
  links.Init(EVENT::MouseMove);
  links.AddItem(ctl::WEBLINK, {}, kBlue, kRed, 1);
  links.AddItem(ctl::SCROLLLINK, {}, kBlue, kRed, 1);
  links.AddString(ctl::MAILLINK, "ann@example.com?subject=Hello there", kBlue, kRed, FONT::Normal | FONT::Underline,
                  FONT::Bold | FONT::Underline);
  links.AddItem(ctl::HOMEPAGE, {}, kBlue, {}, 1, KEY::MouseLeft);
  links.AddItem(ctl::SITES, {}, kBlue);
  links.AddItem(ctl::PEOPLE, "3", kBlue, kRed, -1);
  links.AddItem(ctl::PEOPLE, "4", kBlue, kRed, -1);
  links.AddItem(ctl::OPENBUTTON, "https://shop.example.org");
  links.AddItem(ctl::OLDLINK, {}, kBlue, kRed, 1);
  links.AddItem(ctl::NOTES, "https://notes.example.org", kBlue);
  links.AddItem(ctl::MAPAREA, "https://map.example.org");
  links.SetActive(ctl::OLDLINK, 0);
  links.Refresh(0);
  links.SaveFormat(ctl::PEOPLE);
  // The list tells where the pointer is over it.
  rt::SetProp(ctl::PEOPLE, PROP::Imm, 1LL);
}

void TakeDemoEvent(DemoLinks& links) {
  links.TakeEvent();
  if (EVENT() == EVENT::ColumnResize && FIELD() == ctl::PEOPLE) {
    links.ChangeColumn(ctl::PEOPLE);
    links.SaveFormat(ctl::PEOPLE);
  }
}

void DemoLinksMain() {
  ResetDemoData();
  rt::Window* w = rt::OpenWindow(DemoLinksWindow());
  if (w == nullptr) return;
  DemoLinks links;
  while (rt::Accept(*w)) {
    if (EVENT() == EVENT::OpenWindow) {
      SetUpLinks(links);
      continue;
    }
    TakeDemoEvent(links);
  }
  rt::CloseWindow(*w);
}

}  // namespace links_demo
