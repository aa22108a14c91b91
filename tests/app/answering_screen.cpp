#include "tests/app/answering_screen.h"

#include <algorithm>
#include <memory>

namespace app_test {

int AnsweringScreen::Message(const rt::MessageRequest& request) {
  messages.push_back(request);
  if (buttons.empty()) return request.defaultButton;
  const std::string wanted = buttons.front();
  buttons.pop_front();
  auto at = std::find(request.buttons.begin(), request.buttons.end(), wanted);
  return at == request.buttons.end() ? request.defaultButton : static_cast<int>(at - request.buttons.begin()) + 1;
}

std::optional<std::string> AnsweringScreen::ChooseFile(const rt::FileRequest& request) {
  fileRequests.push_back(request);
  if (files.empty()) return std::nullopt;
  auto answer = files.front();
  files.pop_front();
  return answer;
}

AnsweringScreen& UseAnsweringScreen() {
  auto screen = std::make_unique<AnsweringScreen>();
  AnsweringScreen& installed = *screen;
  rt::UseScreen(std::move(screen));
  return installed;
}

}  // namespace app_test
