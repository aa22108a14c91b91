#include "platform/rt/dialogs.h"

#include <cstdlib>
#include <vector>

#include "platform/rt/screen.h"
#include "platform/rt/user_action.h"

namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

struct ButtonName {
  int button;
  const char* name;
};
constexpr ButtonName kButtons[] = {{BUTTON::OK, "OK"},         {BUTTON::Yes, "Yes"},       {BUTTON::No, "No"},
                                   {BUTTON::Abort, "Abort"},   {BUTTON::Retry, "Retry"},   {BUTTON::Ignore, "Ignore"},
                                   {BUTTON::Cancel, "Cancel"}, {BUTTON::Help, "Help"}};

}  // namespace

int MESSAGE(std::string_view text, std::string_view caption, std::string_view icon, int buttons, int defaultButton) {
  rt::MessageRequest request{std::string(text), std::string(caption), std::string(icon), {}, 1};
  std::vector<int> shown;
  for (const auto& b : kButtons) {
    if ((buttons & b.button) == 0) continue;
    shown.push_back(b.button);
    request.buttons.emplace_back(b.name);
    if (b.button == defaultButton) request.defaultButton = static_cast<int>(shown.size());
  }
  if (shown.empty()) {
    shown.push_back(BUTTON::OK);
    request.buttons.emplace_back("OK");
  }
  int chosen = rt::CurrentScreen().Message(request);
  if (chosen < 1 || chosen > static_cast<int>(shown.size())) chosen = request.defaultButton;
  return shown[static_cast<std::size_t>(chosen - 1)];
}

int MESSAGE(std::string_view text, std::string_view caption, std::string_view icon, std::string_view buttonList,
            int defaultButton) {
  rt::MessageRequest request{std::string(text), std::string(caption), std::string(icon), Split(buttonList, '|'), 1};
  int count = static_cast<int>(request.buttons.size());
  request.defaultButton = defaultButton >= 1 && defaultButton <= count ? defaultButton : 1;
  int chosen = rt::CurrentScreen().Message(request);
  return chosen >= 1 && chosen <= count ? chosen : request.defaultButton;
}

bool FILEDIALOG(std::string_view title, std::string& file, std::string_view filter, int flags,
                std::string_view defaultExtension) {
  rt::FileRequest request;
  request.kind = (flags & FILEDLG::Save) ? rt::FileRequest::Kind::Save : rt::FileRequest::Kind::Open;
  request.title = std::string(title);
  request.file = file;
  std::vector<std::string> parts = filter.empty() ? std::vector<std::string>{} : Split(filter, '|');
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) request.filters.push_back({parts[i], parts[i + 1]});
  request.defaultExtension = std::string(defaultExtension);
  request.mustExist = (flags & FILEDLG::MustExist) != 0;
  request.overwritePrompt = (flags & FILEDLG::OverwritePrompt) != 0;
  std::optional<std::string> chosen = rt::CurrentScreen().ChooseFile(request);
  if (!chosen || chosen->empty()) return false;
  file = *chosen;
  return true;
}

int POPUP(std::string_view menu) {
  rt::PopupRequest request{Split(menu, '|')};
  int count = 0;
  for (const auto& entry : request.entries) count += entry == "-" ? 0 : 1;
  int chosen = rt::CurrentScreen().Popup(request);
  if (chosen < 1 || chosen > count) return 0;
  // The entry acts on the values: what the user typed goes in first.
  if (rt::Window* active = rt::user::ActiveWindow()) rt::CurrentScreen().CommitEdit(*active);
  return chosen;
}

void BEEP() { rt::CurrentScreen().Beep(); }

void STOP(std::string_view text) {
  if (MESSAGE(text, "Stop", ICON::Hand, BUTTON::Abort | BUTTON::Ignore, BUTTON::Ignore) == BUTTON::Abort) HALT(1);
}

void HALT(int status, std::string_view text) {
  if (!text.empty()) MESSAGE(text, "Halt", ICON::Hand);
  rt::UseScreen(nullptr);  // the screen finishes its output before the process ends
  std::exit(status);
}
