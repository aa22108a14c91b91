#pragma once
// How a list's columns stand now and the styles its cells are drawn in. The user may drag
// columns into another order; each column keeps its identity (its place in the format the
// program gave, its "source"), so its cells, its default style and its cells' styles go
// with it. Positions and sources count from 1.
#include <cstddef>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/rt/list_format.h"

namespace rt {

struct StyledCell {
  std::size_t row = 0;
  int column = 0;  // position
  int style = 0;
};

class ListArrangement {
 public:
  // A new format from the program: its columns stand in the order it gives them. Styles
  // stay with their source columns.
  void Reset(std::vector<ListColumn> columns);

  // Columns in their present order.
  const std::vector<ListColumn>& Columns() const { return shown_; }
  // The source column at a position (0 outside), and the present order of the sources.
  int SourceAt(int position) const;
  const std::vector<int>& Order() const { return order_; }
  bool Moved() const;

  // Takes the column at `from` out and puts it in at `to`; the columns between shift by
  // one. Refused (false) when either position does not exist or the column is not movable.
  bool Move(int from, int to);

  // A row's cells in the present column order (cells beyond the format keep their place).
  std::vector<std::string> Arrange(std::vector<std::string> cells) const;

  int ColumnStyle(int position) const;
  void SetColumnStyle(int position, int style);
  int StyleOfCell(std::size_t row, int position) const;
  void SetStyleOfCell(std::size_t row, int position, int style);
  // Every cell given a style, by row and present position.
  std::vector<StyledCell> CellStyles() const;

 private:
  std::vector<ListColumn> source_;
  std::vector<ListColumn> shown_;
  std::vector<int> order_;                                // source of each position
  std::map<int, int> columnStyles_;                       // by source
  std::map<std::pair<std::size_t, int>, int> cellStyles_;  // by (row, source)
};

}  // namespace rt
