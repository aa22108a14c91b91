// A list's column format as a program or a stored setting may give it, and the user's column
// moves over it. Rules: the columns read, joined again, give the front of the format text
// unchanged; moves keep every column exactly once, keep fixed columns where they stand
// unless another column is moved past them, and carry each column's cells and styles.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/rt/list_arrangement.h"
#include "platform/rt/list_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const std::string format = input.Text('\n');
  std::vector<rt::ListColumn> columns = rt::ParseListFormat(format);
  const std::string joined = rt::JoinListFormat(columns);
  FUZZ_CHECK(format.compare(0, joined.size(), joined) == 0, "[" + format + "]");

  rt::ListArrangement arrangement;
  arrangement.Reset(columns);
  const int count = static_cast<int>(columns.size());
  std::vector<std::string> cells;
  for (int source = 1; source <= count; ++source) {
    cells.push_back(std::to_string(source));
    arrangement.SetColumnStyle(source, source);
    arrangement.SetStyleOfCell(1, source, 100 + source);
  }
  while (!input.Empty()) {
    const int from = static_cast<int>(input.Below(static_cast<std::size_t>(count) + 2));
    const int to = static_cast<int>(input.Below(static_cast<std::size_t>(count) + 2));
    const bool movable = from >= 1 && from <= count && arrangement.Columns()[static_cast<std::size_t>(from - 1)].movable;
    const bool inside = from >= 1 && from <= count && to >= 1 && to <= count;
    FUZZ_CHECK(arrangement.Move(from, to) == (inside && movable), format);
  }
  std::vector<int> order = arrangement.Order();
  const std::vector<std::string> arranged = arrangement.Arrange(cells);
  // A row with fewer cells than columns shows the missing ones blank (or has none there).
  const std::size_t some = cells.empty() || size == 0 ? 0 : static_cast<std::size_t>(data[0]) % cells.size();
  const std::vector<std::string> shortRow = arrangement.Arrange(std::vector<std::string>(cells.begin(), cells.begin() + static_cast<std::ptrdiff_t>(some)));
  for (int position = 1; position <= count; ++position) {
    const auto source = static_cast<std::size_t>(arrangement.SourceAt(position));
    const auto at = static_cast<std::size_t>(position - 1);
    const std::string shown = at < shortRow.size() ? shortRow[at] : std::string();
    FUZZ_CHECK(shown == (source <= some ? cells[source - 1] : std::string()), format);
  }
  for (int position = 1; position <= count; ++position) {
    const int source = arrangement.SourceAt(position);
    FUZZ_CHECK(arranged[static_cast<std::size_t>(position - 1)] == std::to_string(source), format);
    FUZZ_CHECK(arrangement.ColumnStyle(position) == source, format);
    FUZZ_CHECK(arrangement.StyleOfCell(1, position) == 100 + source, format);
    FUZZ_CHECK(arrangement.Columns()[static_cast<std::size_t>(position - 1)].text == columns[static_cast<std::size_t>(source - 1)].text, format);
  }
  std::sort(order.begin(), order.end());
  for (int position = 1; position <= count; ++position) FUZZ_CHECK(order[static_cast<std::size_t>(position - 1)] == position, format);
  return 0;
}
