#pragma once
// A group frame that reads on a wallpaper: an etched line (a dark line with a light one
// beside it) around the group, broken by the title, whatever the desktop's style draws.
#include <QGroupBox>

namespace qtscreen {

class EtchedGroup final : public QGroupBox {
 public:
  explicit EtchedGroup(QWidget* parent);
  // Off: nothing is drawn (an option that only groups its radios).
  void SetEtched(bool etched);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool etched_ = true;
};

}  // namespace qtscreen
