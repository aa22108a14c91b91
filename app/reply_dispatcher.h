#pragma once
// Applies the unit's replies waiting in RETURN_QUEUE, oldest first, on each timer tick.
// Requests and replies are not paired: a reply is applied whenever it is decoded.
#include <cstddef>

class Textrope;

// What the replies change on the main window.
class ReplyView {
 public:
  virtual ~ReplyView() = default;
  // Highlights a row of "All Cabs" / "Favourite Cabs"; 0 highlights none.
  virtual void HighlightCab(std::size_t position) = 0;
  virtual void HighlightFavourite(std::size_t position) = 0;
  // Shows or hides the Left/Right radios.
  virtual void ShowCabSide(bool show) = 0;
  // Shows the variables again.
  virtual void Display() = 0;
};

// Decodes and deletes every row that is in RETURN_QUEUE now, in arrival order.
void ProcessReturnQueue(Textrope& ST, ReplyView& view);
